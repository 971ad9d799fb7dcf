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

TScriptHost::TScriptHost(IScriptServer* server, IScriptFrame* frame) : server(server), frame(frame)
{
    SetItemName(L"event");
}

const GUID& TScriptHost::GetPrimaryIdentity() const { return CLSID_ScriptHost; }

const GUID& TScriptHost::GetClassIdentity() const { return DIID_IScriptHost; }

const IID& TScriptHost::GetEventIdentity() const { return DIID_IScriptHostEvent; }

void TScriptHost::ReportMessage(const CString& text)
{
    frame->WriteScriptConsole(server->GetName(), scriptName, text, true);
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
        KV_DISPATCH(Self, "appActive", AppActive),
        KV_DISPATCH(Self, "name", Name),
        KV_DISPATCH(Self, "connected", Connected),
        KV_DISPATCH(Self, "myAwayStatus", MyAwayStatus),
        KV_DISPATCH(Self, "myNick", MyNick),
        KV_DISPATCH(Self, "myUsername", MyUsername),
        KV_DISPATCH(Self, "myAddress", MyAddress),
        KV_DISPATCH(Self, "myIPAddress", MyIPAddress),
        KV_DISPATCH(Self, "channels", Channels),
        KV_DISPATCH(Self, "selectedText", SelectedText),
        KV_DISPATCH(Self, "selectedChannel", SelectedChannel),
        KV_DISPATCH(Self, "windowsUser", WindowsUser),
        KV_DISPATCH(Self, "appRootPath", AppRootPath),
        KV_DISPATCH(Self, "userRootPath", UserRootPath),
        KV_DISPATCH(Self, "userScriptPath", UserScriptPath),
        KV_DISPATCH(Self, "userScriptFilePath", UserScriptFilePath),
        KV_DISPATCH(Self, "clipboard", Clipboard),
        KV_DISPATCH(Self, "log", Log),
        KV_DISPATCH(Self, "connect", Connect),
        KV_DISPATCH(Self, "disconnect", Disconnect),
        KV_DISPATCH(Self, "findChannel", FindChannel),
        KV_DISPATCH(Self, "sendRaw", SendRaw),
        KV_DISPATCH(Self, "send", Send),
        KV_DISPATCH(Self, "action", Action),
        KV_DISPATCH(Self, "join", Join),
        KV_DISPATCH(Self, "part", Part),
        KV_DISPATCH(Self, "quit", Quit),
        KV_DISPATCH(Self, "kick", Kick),
        KV_DISPATCH(Self, "nick", Nick),
        KV_DISPATCH(Self, "mode", Mode),
        KV_DISPATCH(Self, "topic", Topic),
        KV_DISPATCH(Self, "invite", Invite),
        KV_DISPATCH(Self, "whois", Whois),
        KV_DISPATCH(Self, "away", Away),
        KV_DISPATCH(Self, "ctcp", Ctcp),
        KV_DISPATCH(Self, "ctcpReply", CtcpReply),
        KV_DISPATCH(Self, "showBalloon", ShowBalloon),
        KV_DISPATCH(Self, "executeMenu", ExecuteMenu),
        KV_DISPATCH(Self, "browseUrl", BrowseUrl),
        KV_DISPATCH(Self, "playSound", PlaySoundFile),
        KV_DISPATCH(Self, "selectChannel", SelectChannel),
        KV_DISPATCH(Self, "setTimeout", SetTimeout),
        KV_DISPATCH(Self, "setInterval", SetInterval),
        KV_DISPATCH(Self, "clearInterval", ClearInterval),
        KV_DISPATCH(Self, "openFile", OpenFile),
        KV_DISPATCH(Self, "executeCommand", ExecuteCommand),
        KV_DISPATCH(Self, "shellExplore", ShellExplore),
        KV_DISPATCH(Self, "shellOpen", ShellOpen),
        KV_DISPATCH(Self, "print", Print),
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
