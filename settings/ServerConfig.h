#pragma once
// The stored server tree: plain value records that every user copies whole and hands back.

#include "classlib/String.h"

#include <vector>

struct TAltServer {
    CString Hostname;
    int Port = 6667;
};

struct TChannelConfig {
    CString Name;
    CString Password;
    CString Mode = L"+sn";
    CString Topic;
    CString ExtraText; // carried with copies, never stored
    bool AutoJoin = true;
    bool Update = true;
    bool Console = true;
    bool Keyword = true;
    std::vector<CString> AutoOpMasks;
    bool ExtraFlag = false; // carried with copies, never stored
};

struct TUnitSetting {
    // Keeps AltNickList the blank-separated words of AltNicks.
    void SetAltNicks(const CString& text);
    // The enabled scripts by file name, compared exactly; -1 when absent.
    int FindScriptFile(const CString& name) const;
    void AddScriptFile(const CString& name);
    void RemoveScriptFile(const CString& name);

    CString Name;
    CString Hostname;
    int Port = 6667;
    bool UseSSL = false;
    std::vector<TAltServer> AltServers;
    bool EnablePassword = false;
    CString Password; // plain text in memory
    CString Nick;
    CString Username;
    CString Realname;
    CString AltNicks;
    std::vector<CString> AltNickList;
    CString PartMessage = L"Leaving...";
    CString QuitMessage = L"Leaving...";
    CString AwayMessage = L"Gone";
    CString UserInfo;
    bool AutoConnect = false;
    bool Update = true;
    bool Console = true;
    bool Keyword = true;
    bool Invisible = true;
    bool AutoAway = false;
    int Codepage = 50221;
    bool EnableNickLen = false;
    int NickLen = 9;
    std::vector<CString> LoginCommands;
    std::vector<CString> AutoOpMasks;
    std::vector<CString> MacroFiles;
    int MacroHeaderWidth = 60;
    std::vector<CString> ScriptFiles;
    int ScriptHeaderWidth = 60;
    bool EnableSocks = false;
    CString SocksHostname;
    int SocksPort = 1080;
    int SocksVersion = 4;
    bool EnableSocksAuth = false;
    CString SocksUsername;
    CString SocksPassword;
    bool ExtraFlag = false; // carried with copies, never stored
};

// A server: its settings part followed by its channels.
struct TUnitConfig : TUnitSetting {
    std::vector<TChannelConfig> Channels;
};

struct TWorldSetting {
    std::vector<CString> AutoOpMasks;
    std::vector<CString> IgnoreMasks;
};

// The whole tree: the world-wide masks followed by the servers in tree order.
struct TWorldConfig : TWorldSetting {
    std::vector<TUnitConfig> Units;
};
