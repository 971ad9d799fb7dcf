#pragma once
// The host of one script file of one server: the script's global object (the host object with
// its properties and methods) and the source of the server's script events.

#include "script/ActiveScriptHost.h"
#include "script/ScriptServer.h"
#include "script/ScriptTimerManager.h"

// Dispatch ids of the events.
enum TScriptEventId : DISPID {
    EventOnLoad = 1,
    EventOnUnload = 2,
    EventOnConnect = 3,
    EventOnDisconnect = 4,
    EventOnChannelText = 101,
    EventOnChannelNotice = 102,
    EventOnChannelAction = 103,
    EventOnTalkText = 104,
    EventOnTalkNotice = 105,
    EventOnTalkAction = 106,
    EventOnDccChatText = 107,
    EventOnJoin = 111,
    EventOnPart = 112,
    EventOnQuit = 113,
    EventOnKick = 114,
    EventOnNick = 115,
    EventOnMode = 116,
    EventOnTopic = 117,
    EventOnInvite = 118,
    EventOnError = 119,
    EventOnNumericReply = 120,
    EventOnCtcp = 131,
    EventOnCtcpReply = 132,
    EventOnDccSend = 133,
    EventOnDccChat = 134,
    EventOnModeChange = 141,
    EventOnHighlight = 142,
    EventOnNewTalk = 143,
    EventOnSendingCommand = 201,
};

const TScriptEventName* GetScriptEventNames(int& count);

class TScriptHost : public CActiveScriptHost {
public:
    TScriptHost(IScriptServer* server, IScriptFrame* frame);
    // The engine closes while this host can still answer its calls.
    ~TScriptHost() override { ReleaseEngine(); }

    void SetScriptName(const CString& name) { scriptName = name; }
    size_t GetTimerCount() const { return timers.GetCount(); }
    void StopTimers() { timers.ClearAll(); }

    void ReportMessage(const CString& text) override;
    void ReportScriptError(const CString& description, const CString& source, ULONG line) override;
    const TDispatchTable& GetDispatchTable() const override;

    // Properties.
    HRESULT AppActive(TDispatchCall& call);
    HRESULT Name(TDispatchCall& call);
    HRESULT Connected(TDispatchCall& call);
    HRESULT MyAwayStatus(TDispatchCall& call);
    HRESULT MyNick(TDispatchCall& call);
    HRESULT MyUsername(TDispatchCall& call);
    HRESULT MyAddress(TDispatchCall& call);
    HRESULT MyIPAddress(TDispatchCall& call);
    HRESULT Channels(TDispatchCall& call);
    HRESULT SelectedText(TDispatchCall& call);
    HRESULT SelectedChannel(TDispatchCall& call);
    HRESULT WindowsUser(TDispatchCall& call);
    HRESULT AppRootPath(TDispatchCall& call);
    HRESULT UserRootPath(TDispatchCall& call);
    HRESULT UserScriptPath(TDispatchCall& call);
    HRESULT UserScriptFilePath(TDispatchCall& call);
    HRESULT Clipboard(TDispatchCall& call);
    // Methods.
    HRESULT Log(TDispatchCall& call);
    HRESULT Connect(TDispatchCall& call);
    HRESULT Disconnect(TDispatchCall& call);
    HRESULT FindChannel(TDispatchCall& call);
    HRESULT SendRaw(TDispatchCall& call);
    HRESULT Send(TDispatchCall& call);
    HRESULT Action(TDispatchCall& call);
    HRESULT Join(TDispatchCall& call);
    HRESULT Part(TDispatchCall& call);
    HRESULT Quit(TDispatchCall& call);
    HRESULT Kick(TDispatchCall& call);
    HRESULT Nick(TDispatchCall& call);
    HRESULT Mode(TDispatchCall& call);
    HRESULT Topic(TDispatchCall& call);
    HRESULT Invite(TDispatchCall& call);
    HRESULT Whois(TDispatchCall& call);
    HRESULT Away(TDispatchCall& call);
    HRESULT Ctcp(TDispatchCall& call);
    HRESULT CtcpReply(TDispatchCall& call);
    HRESULT ShowBalloon(TDispatchCall& call);
    HRESULT ExecuteMenu(TDispatchCall& call);
    HRESULT BrowseUrl(TDispatchCall& call);
    HRESULT PlaySoundFile(TDispatchCall& call);
    HRESULT SelectChannel(TDispatchCall& call);
    HRESULT SetTimeout(TDispatchCall& call);
    HRESULT SetInterval(TDispatchCall& call);
    HRESULT ClearInterval(TDispatchCall& call);
    HRESULT OpenFile(TDispatchCall& call);
    HRESULT ExecuteCommand(TDispatchCall& call);
    HRESULT ShellExplore(TDispatchCall& call);
    HRESULT ShellOpen(TDispatchCall& call);
    HRESULT Print(TDispatchCall& call);

protected:
    const GUID& GetPrimaryIdentity() const override;
    const GUID& GetClassIdentity() const override;
    const IID& GetEventIdentity() const override;
    const TScriptEventName* GetEventNames(int& count) const override { return GetScriptEventNames(count); }
    void OnEngineDropped() override;

private:
    HRESULT ReturnFolder(TDispatchCall& call, CString folder);
    // The command with its optional last argument when that is a string.
    HRESULT Issue(const CString& command);
    HRESULT IssueWithOptional(TDispatchCall& call, const CString& command, UINT optional, const wchar_t* separator);
    CString BelowScriptFiles(const CString& name) const;

    IScriptServer* server;
    IScriptFrame* frame;
    TScriptTimerManager timers;
    CString scriptName;
};
