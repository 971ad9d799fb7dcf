#pragma once
// A server and a main window that record what scripts do to them, and a fixture that loads
// script files through a real script manager into Wine's JScript.

#include "../common/StringPrinter.h"
#include "../common/TempFolder.h"
#include "script/ScriptManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

struct TFakeChannel {
    TScriptChannelRecord record;
    std::vector<TScriptMemberRecord> members;
    std::vector<CString> memberNicks; // member-list order
    unsigned serial = 0;
};

class TFakeScriptServer : public IScriptServer {
public:
    CString GetName() override { return L"testnet"; }
    bool IsConnected() override { return connected; }
    bool IsAway() override { return false; }
    CString GetMyNick() override { return L"me"; }
    CString GetMyUsername() override { return L"meuser"; }
    CString GetMyHost() override { return L"me.example"; }
    CString GetMyIPAddress() override { return L"192.0.2.7"; }
    void Connect() override { commands.push_back(L"<connect>"); }
    void Disconnect() override { commands.push_back(L"<disconnect>"); }
    void ExecuteCommand(const CString& line) override { commands.push_back(line); }
    void PrintScriptText(TIRCChannel* channel, const CString& text) override
    {
        printed.push_back((channel ? Find(channel)->record.name : CString(L"<server>")) + L": " + text);
    }
    std::vector<TIRCChannel*> GetChannels() override
    {
        std::vector<TIRCChannel*> list;
        for (TFakeChannel* channel : channels)
            list.push_back(Handle(channel));
        return list;
    }
    TIRCChannel* FindChannel(const CString& name) override
    {
        for (TFakeChannel* channel : channels) {
            if (channel->record.name.CompareNoCase(name) == 0)
                return Handle(channel);
        }
        return nullptr;
    }
    TIRCChannel* LookupChannel(const CString& name) override { return FindChannel(name); }
    unsigned GetChannelSerial(TIRCChannel* channel) override { return Find(channel)->serial; }
    TIRCChannel* FindChannelBySerial(unsigned serial) override
    {
        for (TFakeChannel* channel : channels)
            if (channel->serial == serial)
                return Handle(channel);
        return nullptr;
    }
    TScriptChannelRecord GetChannelRecord(TIRCChannel* channel) override { return Find(channel)->record; }
    std::vector<CString> GetMemberNicks(TIRCChannel* channel) override
    {
        nickListReads++;
        return Find(channel)->memberNicks;
    }
    bool FindMember(TIRCChannel* channel, const CString& nick, TScriptMemberRecord& member) override
    {
        for (const TScriptMemberRecord& m : Find(channel)->members) {
            if (m.nick.CompareNoCase(nick) == 0) {
                member = m;
                return true;
            }
        }
        return false;
    }
    void SetChannelMark(TIRCChannel* channel, TScriptChannelMark mark, bool set, bool repaint) override
    {
        Find(channel)->record.marks[mark] = set;
        repaints += repaint ? 1 : 0;
    }

    TFakeChannel* AddChannel(const CString& name, int kind = 0)
    {
        TFakeChannel* channel = new TFakeChannel;
        channel->record.name = name;
        channel->record.kind = kind;
        channel->serial = ++lastSerial;
        channels.push_back(channel);
        return channel;
    }
    // A new channel made where a removed one stood, as the heap may hand the memory out again.
    void ReplaceChannel(TFakeChannel* channel, const CString& name)
    {
        *channel = TFakeChannel();
        channel->record.name = name;
        channel->serial = ++lastSerial;
    }
    void RemoveChannel(TFakeChannel* channel)
    {
        channels.erase(std::find(channels.begin(), channels.end(), channel));
        delete channel;
    }
    ~TFakeScriptServer()
    {
        for (TFakeChannel* channel : channels)
            delete channel;
    }
    static TIRCChannel* Handle(TFakeChannel* channel) { return reinterpret_cast<TIRCChannel*>(channel); }
    TFakeChannel* Find(TIRCChannel* handle)
    {
        auto found = std::find(channels.begin(), channels.end(), reinterpret_cast<TFakeChannel*>(handle));
        return found != channels.end() ? *found : nullptr;
    }

    bool connected = true;
    unsigned lastSerial = 0;
    int nickListReads = 0;
    std::vector<TFakeChannel*> channels;
    std::vector<CString> commands;
    std::vector<CString> printed;
    int repaints = 0;
};

class TFakeScriptFrame : public IScriptFrame {
public:
    HWND GetMainWindow() override { return nullptr; }
    bool IsAppActive() override { return appActive; }
    CString GetSelectedText() override { return L"picked"; }
    bool GetSelection(IScriptServer*, TIRCChannel*& channel) override
    {
        channel = selected;
        return selectionHere;
    }
    void Select(IScriptServer*, TIRCChannel* channel) override { selections.push_back(channel); }
    void ShowBalloon(const CString& title, const CString& text) override
    {
        calls.push_back(L"balloon " + title + L"/" + text);
    }
    void ExecuteAction(const CString& name) override { calls.push_back(L"action " + name); }
    void OpenUrl(const CString& url) override { calls.push_back(L"url " + url); }
    void StartMessageAlert() override { calls.push_back(L"flash"); }
    void StartHighlightAlert() override { calls.push_back(L"blink"); }
    void RestoreTitle() override { calls.push_back(L"restore"); }
    // A further line of one log is recorded with "+" for its place.
    void WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                            TScriptConsoleLine kind) override
    {
        CString place = kind == TScriptConsoleLine::LogContinued ? CString(L"+") : serverName + L"/" + scriptName;
        (kind == TScriptConsoleLine::Error ? errors : logs).push_back(place + L": " + text);
    }
    CString GetWindowsUserName() override { return L"tester"; }
    CString GetProgramFolder() override { return L"C:\\Program\\"; }
    CString GetUserFolder() override { return L"C:\\Users\\tester\\"; }
    CString GetScriptFolder() override { return scriptFolder; }
    CString GetScriptFilesFolder() override { return filesFolder; }
    // What the scripts logged, without the server and script names.
    std::vector<CString> Logged() const
    {
        std::vector<CString> texts;
        for (const CString& line : logs)
            texts.push_back(line.Mid(line.Find(L": ") + 2));
        return texts;
    }

    bool appActive = false;
    bool selectionHere = false;
    TIRCChannel* selected = nullptr;
    std::vector<TIRCChannel*> selections;
    std::vector<CString> calls;
    std::vector<CString> logs;
    std::vector<CString> errors;
    CString scriptFolder;
    CString filesFolder;
};

struct TComApartment {
    TComApartment() { CoInitialize(nullptr); }
    ~TComApartment() { CoUninitialize(); }
};

// Script files in a fresh folder, run by a script manager of the fake server.
class ScriptFixture : public ::testing::Test {
protected:
    ScriptFixture() : manager(&server, &frame)
    {
        frame.scriptFolder = folder.path;
        frame.filesFolder = folder.path;
    }

    void WriteScript(const wchar_t* name, const char* text) { ASSERT_TRUE(WriteFileBytes(folder.File(name), text)); }
    void Load(std::vector<CString> names) { manager.LoadScripts(names); }
    // Writes and loads one script as "test.js".
    void Run(const char* text)
    {
        WriteScript(L"test.js", text);
        Load({L"test.js"});
    }
    std::vector<CString> Logged() const { return frame.Logged(); }
    CString LastLog() const { return frame.logs.empty() ? CString() : Logged().back(); }

    TComApartment apartment;
    TTempFolder folder;
    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TScriptManager manager;
};
