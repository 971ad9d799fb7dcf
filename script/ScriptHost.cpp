#include "script/ScriptHost.h"

#include "foundation/StringUtils.h"
#include "script/ScriptArray.h"
#include "script/ScriptChannel.h"
#include "script/ScriptGuids.h"
#include "script/ScriptObjects.h"

namespace {
const TScriptEventName kEventNames[] = {
    {EventOnLoad, L"onLoad"},
    {EventOnUnload, L"onUnload"},
    {EventOnConnect, L"onConnect"},
    {EventOnDisconnect, L"onDisconnect"},
    {EventOnChannelText, L"onChannelText"},
    {EventOnChannelNotice, L"onChannelNotice"},
    {EventOnChannelAction, L"onChannelAction"},
    {EventOnTalkText, L"onTalkText"},
    {EventOnTalkNotice, L"onTalkNotice"},
    {EventOnTalkAction, L"onTalkAction"},
    {EventOnDccChatText, L"onDccChatText"},
    {EventOnJoin, L"onJoin"},
    {EventOnPart, L"onPart"},
    {EventOnQuit, L"onQuit"},
    {EventOnKick, L"onKick"},
    {EventOnNick, L"onNick"},
    {EventOnMode, L"onMode"},
    {EventOnTopic, L"onTopic"},
    {EventOnInvite, L"onInvite"},
    {EventOnError, L"onError"},
    {EventOnNumericReply, L"onNumericReply"},
    {EventOnCtcp, L"onCtcp"},
    {EventOnCtcpReply, L"onCtcpReply"},
    {EventOnDccSend, L"onDccSend"},
    {EventOnDccChat, L"onDccChat"},
    {EventOnModeChange, L"onModeChange"},
    {EventOnHighlight, L"onHighlight"},
    {EventOnNewTalk, L"onNewTalk"},
    {EventOnSendingCommand, L"onSendingCommand"},
};
} // namespace

const TScriptEventName* GetScriptEventNames(int& count)
{
    count = (int)std::size(kEventNames);
    return kEventNames;
}

TScriptHost::TScriptHost(IScriptServer* server, IScriptFrame* frame) : server(server), frame(frame), timers(this)
{
    SetItemName(L"event");
}

void TScriptHost::OnEngineDropped()
{
    timers.ForgetAll();
    ReportMessage(L"Script stopped: it went on after its time-out; load it again to run it");
}

const GUID& TScriptHost::GetPrimaryIdentity() const { return CLSID_ScriptHost; }

const GUID& TScriptHost::GetClassIdentity() const { return DIID_IScriptHost; }

const IID& TScriptHost::GetEventIdentity() const { return DIID_IScriptHostEvent; }

void TScriptHost::ReportMessage(const CString& text)
{
    frame->WriteScriptConsole(server->GetName(), scriptName, text, TScriptConsoleLine::Error);
    OutputDebugStringW(text + L"\n");
}

void TScriptHost::ReportScriptError(const CString& description, const CString& source, ULONG line)
{
    CString text;
    text.Format(L"%s (%s line %lu)", description.GetString(), source.GetString(), line + 1);
    ReportMessage(text);
}

const TDispatchTable& TScriptHost::GetDispatchTable() const
{
    using Self = TScriptHost;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "appActive", AppActive),
        KV_PROPERTY(Self, "name", Name),
        KV_PROPERTY(Self, "connected", Connected),
        KV_PROPERTY(Self, "myAwayStatus", MyAwayStatus),
        KV_PROPERTY(Self, "myNick", MyNick),
        KV_PROPERTY(Self, "myUsername", MyUsername),
        KV_PROPERTY(Self, "myAddress", MyAddress),
        KV_PROPERTY(Self, "myIPAddress", MyIPAddress),
        KV_PROPERTY(Self, "channels", Channels),
        KV_PROPERTY(Self, "selectedText", SelectedText),
        KV_PROPERTY(Self, "selectedChannel", SelectedChannel),
        KV_PROPERTY(Self, "windowsUser", WindowsUser),
        KV_PROPERTY(Self, "appRootPath", AppRootPath),
        KV_PROPERTY(Self, "userRootPath", UserRootPath),
        KV_PROPERTY(Self, "userScriptPath", UserScriptPath),
        KV_PROPERTY(Self, "userScriptFilePath", UserScriptFilePath),
        KV_PROPERTY(Self, "clipboard", Clipboard),
        KV_METHOD(Self, "log", Log),
        KV_METHOD(Self, "connect", Connect),
        KV_METHOD(Self, "disconnect", Disconnect),
        KV_METHOD(Self, "findChannel", FindChannel),
        KV_METHOD(Self, "sendRaw", SendRaw),
        KV_METHOD(Self, "send", Send),
        KV_METHOD(Self, "action", Action),
        KV_METHOD(Self, "join", Join),
        KV_METHOD(Self, "part", Part),
        KV_METHOD(Self, "quit", Quit),
        KV_METHOD(Self, "kick", Kick),
        KV_METHOD(Self, "nick", Nick),
        KV_METHOD(Self, "mode", Mode),
        KV_METHOD(Self, "topic", Topic),
        KV_METHOD(Self, "invite", Invite),
        KV_METHOD(Self, "whois", Whois),
        KV_METHOD(Self, "away", Away),
        KV_METHOD(Self, "ctcp", Ctcp),
        KV_METHOD(Self, "ctcpReply", CtcpReply),
        KV_METHOD(Self, "showBalloon", ShowBalloon),
        KV_METHOD(Self, "executeMenu", ExecuteMenu),
        KV_METHOD(Self, "browseUrl", BrowseUrl),
        KV_METHOD(Self, "playSound", PlaySoundFile),
        KV_METHOD(Self, "selectChannel", SelectChannel),
        KV_METHOD(Self, "setTimeout", SetTimeout),
        KV_METHOD(Self, "setInterval", SetInterval),
        KV_METHOD(Self, "clearInterval", ClearInterval),
        KV_METHOD(Self, "openFile", OpenFile),
        KV_METHOD(Self, "executeCommand", ExecuteCommand),
        KV_METHOD(Self, "shellExplore", ShellExplore),
        KV_METHOD(Self, "shellOpen", ShellOpen),
        KV_METHOD(Self, "print", Print),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptHost};
    return table;
}

// Properties are read-only: an assignment is accepted and changes nothing.
#define KV_READ_ONLY(call)                                                                                             \
    if ((call).IsPut())                                                                                                \
    return S_OK

HRESULT TScriptHost::AppActive(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnBool(frame->IsAppActive());
}

HRESULT TScriptHost::Name(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(server->GetName());
}

HRESULT TScriptHost::Connected(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnBool(server->IsConnected());
}

HRESULT TScriptHost::MyAwayStatus(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnBool(server->IsAway());
}

HRESULT TScriptHost::MyNick(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(server->GetMyNick());
}

HRESULT TScriptHost::MyUsername(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(server->GetMyUsername());
}

HRESULT TScriptHost::MyAddress(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(server->GetMyHost());
}

HRESULT TScriptHost::MyIPAddress(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(server->GetMyIPAddress());
}

HRESULT TScriptHost::Channels(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnObject(new TScriptChannelArray(server));
}

HRESULT TScriptHost::SelectedText(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnString(frame->GetSelectedText());
}

HRESULT TScriptHost::SelectedChannel(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    TIRCChannel* channel = nullptr;
    if (!frame->GetSelection(server, channel))
        return call.ReturnObject(nullptr);
    return call.ReturnObject(new TScriptChannel(server, channel));
}

HRESULT TScriptHost::ReturnFolder(TDispatchCall& call, CString folder)
{
    KV_READ_ONLY(call);
    if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    return call.ReturnString(folder);
}

HRESULT TScriptHost::WindowsUser(TDispatchCall& call) { return ReturnFolder(call, frame->GetWindowsUserName()); }

HRESULT TScriptHost::AppRootPath(TDispatchCall& call) { return ReturnFolder(call, frame->GetProgramFolder()); }

HRESULT TScriptHost::UserRootPath(TDispatchCall& call) { return ReturnFolder(call, frame->GetUserFolder()); }

HRESULT TScriptHost::UserScriptPath(TDispatchCall& call) { return ReturnFolder(call, frame->GetScriptFolder()); }

HRESULT TScriptHost::UserScriptFilePath(TDispatchCall& call)
{
    return ReturnFolder(call, frame->GetScriptFilesFolder());
}

HRESULT TScriptHost::Clipboard(TDispatchCall& call)
{
    KV_READ_ONLY(call);
    return call.ReturnObject(new TScriptClipboard);
}
