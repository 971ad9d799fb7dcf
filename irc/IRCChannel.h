#pragma once
// A channel, private talk or DCC chat talk of a server unit: its stored entry, its name on the
// server and whether the user is in it. Views, members and log files join it later.

#include "irc/Modes.h"
#include "settings/ServerConfig.h"

class TIRCUnit;

class TIRCChannel {
public:
    enum TKind { KindChannel = 0, KindTalk = 1, KindDccChat = 2 };

    TIRCChannel(TIRCUnit* unit, const TChannelConfig& config, int kind);
    TIRCChannel(const TIRCChannel&) = delete;
    TIRCChannel& operator=(const TIRCChannel&) = delete;
    virtual ~TIRCChannel() = default;

    void OnJoined() { joined = true; }
    void OnLeft() { joined = false; }

    TIRCUnit* GetUnit() const { return unit; }
    const TChannelConfig& GetConfig() const { return config; }
    const CString& GetName() const { return config.Name; }
    // The name the server uses; differs from the configured one for safe channels.
    const CString& GetIRCName() const { return ircName; }
    void SetIRCName(const CString& name) { ircName = name; }
    int GetKind() const { return kind; }
    bool IsJoined() const { return joined; }

    TChannelMode mode;

private:
    TIRCUnit* unit;
    TChannelConfig config;
    CString ircName;
    int kind;
    bool joined = false;
};
