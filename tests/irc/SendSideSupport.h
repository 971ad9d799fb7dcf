#pragma once
// A logged-in unit without a socket, with recorders for what the sending side hands to scripts,
// the DCC side and the main window.

#include "tests/irc/IrcTestSupport.h"

#include "irc/UnitSendServices.h"

// A request dialog as the unit sees it; counts itself so tests see the unit delete it.
struct TChatRequestFake : IDCCChatRequest {
    TChatRequestFake(const CString& n, const CString& a, int p, int* live) : nick(n), address(a), port(p), alive(live)
    {
        ++*alive;
    }
    ~TChatRequestFake() override { --*alive; }
    CString GetNick() const override { return nick; }
    HWND GetWindowHandle() const override { return nullptr; }
    CString GetAddress() const override { return address; }
    int GetPort() const override { return port; }
    CString nick, address;
    int port;
    int* alive;
};

class TSendRecorder : public IUnitSendScripts, public IUnitDccManager, public IUnitFrame {
public:
    void FireOnChannelText(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onChannelText", c, t);
    }
    void FireOnChannelNotice(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onChannelNotice", c, t);
    }
    void FireOnChannelAction(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onChannelAction", c, t);
    }
    void FireOnTalkText(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onTalkText", c, t);
    }
    void FireOnTalkNotice(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onTalkNotice", c, t);
    }
    void FireOnTalkAction(const TIRCReceiveMessage&, const CString& c, const CString& t) override
    {
        Event("onTalkAction", c, t);
    }
    void FireOnDccChatText(const CString& talk, const CString&, const CString& t) override
    {
        Event("onDccChatText", talk, t);
    }
    bool FireOnSendingCommand(const CString& command, const CString& text) override
    {
        Event("onSendingCommand", command, text);
        return takeCommands;
    }
    void FireOnCtcp(const TIRCReceiveMessage&, const CString& target, const CString& command,
                    const CString& argument) override
    {
        Event("onCtcp", target, command + L" " + argument);
    }
    void FireOnCtcpReply(const TIRCReceiveMessage&, const CString& target, const CString& command,
                         const CString& argument) override
    {
        Event("onCtcpReply", target, command + L" " + argument);
    }
    void FireOnDccSend(const TIRCReceiveMessage&, const CString&, const CString& file, unsigned long long size,
                       const CString& address, int port) override;
    void FireOnDccChat(const TIRCReceiveMessage&, const CString&, const CString& address, int port) override;

    void AddReceiveItem(TIRCUnit*, int variant, bool automatic, const CString& nick, const CString& fileName, int port,
                        long long size, const TInetAddress& address) override;
    bool FindReceiveFileSize(TIRCUnit*, const CString&, int, long long& size) override;
    bool HandleResumeRequest(TIRCUnit*, const CString& nick, int port, long long position) override;
    void HandleResumeAccept(TIRCUnit*, const CString& nick, int port, long long position) override;
    void AddSendItem(TIRCUnit*, const CString& nick, const CString& path) override
    {
        dcc.push_back("send " + Narrow(nick) + " " + Narrow(path));
        dccNames.push_back(path);
    }

    TIRCChannel* GetSelectedChannel(TIRCUnit*) override { return selected; }
    CString GetCurrentChannelName(TIRCUnit*) override { return selected ? selected->GetName() : CString(); }
    void Select(TIRCUnit*, TIRCChannel* channel) override
    {
        Frame("select " + (channel ? Narrow(channel->GetName()) : std::string("server")));
    }
    void OpenUrl(const CString& url) override { Frame("url " + Narrow(url)); }
    CString GetSelectedText() override { return selectedText; }
    void RedrawTree() override { Frame("redraw"); }
    void WindowAction(const CString& word) override { Frame("window " + Narrow(word)); }
    bool ExecuteAction(const CString& name) override
    {
        Frame("menu " + Narrow(name));
        return true;
    }
    void ShowBalloon(const CString& title, const CString& text) override
    {
        Frame("balloon " + Narrow(title) + " " + Narrow(text));
    }
    void RunProgram(const CString& program, const CString& arguments, const CString& folder, bool minimized) override
    {
        Frame("run [" + Narrow(program) + "] [" + Narrow(arguments) + "] [" + Narrow(folder) + "]" +
              (minimized ? " min" : ""));
    }
    CString GetSoundsFolder() override { return L"C:\\Sounds\\"; }
    void ShowDCCDialog(bool minimized) override { dcc.push_back(minimized ? "window minimized" : "window"); }
    void BringDCCDialogToFront() override {}
    void BlinkDCCDialog() override {}
    // Made only while dialogLimit allows; each open one counts in liveDialogs.
    IDCCChatRequest* OpenDCCChatDialog(IDCCChatDialogListener*, const CString& nick, const CString& address, int port,
                                       bool activate) override;
    void OnDCCChatDialogClosed() override { dcc.push_back("chat dialog closed"); }
    void ShowIgnoreList(const CString& mask) override { Frame("ignore " + Narrow(mask)); }
    // Answers with chosenFile; an empty one is a cancelled chooser.
    bool ChooseFileToSend(const CString& nick, CString& path) override
    {
        Frame("choose " + Narrow(nick));
        path = chosenFile;
        return !chosenFile.IsEmpty();
    }

    void Event(const char* name, const CString& target, const CString& text);
    void Frame(const std::string& call) { frame.push_back(call); }

    // "name target text" per script event.
    std::vector<std::string> events;
    // One line per call into the DCC side; the port of each receive item and the file name of
    // each receive or send item.
    std::vector<std::string> dcc;
    std::vector<int> dccPorts;
    std::vector<CString> dccNames;
    // The port of each chat offer asked about, as offered.
    std::vector<int> chatPorts;
    // One line per call into the main window.
    std::vector<std::string> frame;
    CString selectedText;
    CString chosenFile;
    bool takeCommands = false;
    // Size of the file the DCC side holds for a resume; negative for none.
    long long fileSize = -1;
    TIRCChannel* selected = nullptr;
    int dialogLimit = 0;
    int liveDialogs = 0;
};

class TSendSideTest : public TUnitTest {
protected:
    // Registered as kvnick!kvuser@host.example, queues empty.
    void LogIn();
    TIRCChannel* AddJoined(const CString& name, TIRCChannel::TKind kind = TIRCChannel::KindChannel);
    // Runs one command line and returns the lines it queued.
    std::vector<std::string> Run(const CString& line, bool quiet = false);

    TSendRecorder send;
};
