#pragma once
// A macro engine over a temporary settings tree, with a listener that records every call as a
// line of text, and helpers to write macro files and build events.

#include "macro/MacroManager.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// A file's bytes as they are; empty when it cannot be read.
std::string Bytes(const CString& path);

class TMacroRecorder : public IMacroManagerListener {
public:
    void OnMacroFileLoadError(const CString& name) override { Record("loadError", name); }
    void Print(const CString& channel, const CString& text) override { Record("print", channel, text); }
    bool IsSelf(const CString& nick, const CString&, const CString&) override { return self.count(Narrow(nick)) > 0; }
    bool IsPrefixInUserGroup(int group, const CString& nick, const CString&, const CString&) override
    {
        return groups.count(std::to_string(group) + ":" + Narrow(nick)) > 0;
    }
    bool IsChannelOperator(const CString& channel, const CString& nick) override
    {
        return operators.count(Narrow(channel) + ":" + Narrow(nick)) > 0;
    }
    bool IsAway() override { return away; }
    CString GetCurrentChannelName() override { return currentChannel; }
    CString GetSelectedText() override { return selectedText; }
    CString GetMyAddressText() override { return L"192.0.2.1"; }
    void Execute(const CString& line, bool minimized) override { Record(minimized ? "execmin" : "exec", line); }
    void OpenUrl(const CString& url, const CString& target) override { Record("url", url, target); }
    void ExecuteCommand(const CString& text, bool fromUserMenu, bool splitLines) override
    {
        calls.push_back("command " + Narrow(text) + (fromUserMenu ? " [menu]" : "") + (splitLines ? " [lines]" : ""));
        if (onCommand)
            onCommand();
    }
    void GiveOp(const CString& channel, const CString& nick) override { Record("giveop", channel, nick); }
    void PlaySound(const CString& file) override { Record("sound", file); }
    void SelectChannel(const CString& channel) override { Record("select", channel); }
    void SetChannelCondition(const CString& channel, const CString& word) override { Record("mark", channel, word); }
    void WindowAction(const CString& word) override { Record("window", word); }
    void ExecuteMenu(const CString& name) override { Record("menu", name); }
    void ShowBalloon(const CString& title, const CString& text) override { Record("balloon", title, text); }

    void Record(const char* what, const CString& a, const CString& b = L"\x01")
    {
        std::string line = std::string(what) + " " + Narrow(a);
        if (b != L"\x01")
            line += " | " + Narrow(b);
        calls.push_back(line);
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<std::string> calls;
    std::set<std::string> self;      // nicks the user counts as himself
    std::set<std::string> groups;    // "index:nick"
    std::set<std::string> operators; // "#channel:nick"
    bool away = false;
    CString currentChannel;
    CString selectedText;
    // What the unit does while it runs a command, such as expanding its own texts.
    std::function<void()> onCommand;
};

// Lines of the word, seven digits, a blank and 80 dots, each ending in CR LF, until the bytes
// reach size.
CStringA NumberedLines(const char* word, long long size);

// "nick!user@host" or a server name, the command, the parameters.
TIRCReceiveMessage MakeEvent(const CString& prefix, const CString& command, std::vector<CString> params);

class MacroTest : public ::testing::Test {
protected:
    void SetUp() override;
    // A macro file of the given lines (after the UTF-8 first line), enabled for the engine.
    void WriteMacroFile(const CString& name, const std::vector<std::string>& lines);
    void Enable(std::vector<CString> names);
    // One rule line from its fields.
    static std::string Rule(const std::string& user, const std::string& command, const std::string& channel,
                            const std::string& message, const std::string& action, const std::string& target,
                            const std::string& argument, int ownState = 0, int senderState = 0, bool stop = false);
    bool Process(const CString& prefix, const CString& command, std::vector<CString> params);
    CString Files(const wchar_t* name) const { return folder.path + L"files\\" + name; }
    CString Expanded(const CString& text);
    // Runs one action as a rule of the user's would.
    void RunAction(const char* action, const CString& target, const CString& argument);

    TTempFolder folder;
    TMacroRecorder listener;
    TMacroManager engine;
};
