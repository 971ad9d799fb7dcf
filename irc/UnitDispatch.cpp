// Connection events, the received-line dispatch and the end of a session.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/Preference.h"

#include <cstring>

struct TDispatchRow {
    const wchar_t* command;
    void (TIRCUnit::*handler)(const TIRCReceiveMessage& message, TDispatchResult& result);
};

// Tried in this order; the first word that matches exactly wins.
const TDispatchRow TIRCUnit::kCommands[14] = {
    {L"PRIVMSG", &TIRCUnit::HandlePrivmsg}, {L"JOIN", &TIRCUnit::HandleJoin},     {L"QUIT", &TIRCUnit::HandleQuit},
    {L"PART", &TIRCUnit::HandlePart},       {L"MODE", &TIRCUnit::HandleMode},     {L"NICK", &TIRCUnit::HandleNick},
    {L"PING", &TIRCUnit::HandlePing},       {L"TOPIC", &TIRCUnit::HandleTopic},   {L"NOTICE", &TIRCUnit::HandleNotice},
    {L"KICK", &TIRCUnit::HandleKick},       {L"INVITE", &TIRCUnit::HandleInvite}, {L"ERROR", &TIRCUnit::OnErrorMessage},
    {L"WALLOPS", &TIRCUnit::OnWallops},     {L"KILL", &TIRCUnit::OnKill},
};

namespace {

const wchar_t* MacroWordOf(const TModeChange& change)
{
    if (change.letter == L'o')
        return change.adding ? L"OP" : L"DEOP";
    if (change.letter == L'v')
        return change.adding ? L"VOICE" : L"DEVOICE";
    return nullptr;
}

} // namespace

void TIRCUnit::OnConnect(TIRCConnection*) { Register(); }

void TIRCUnit::OnClose(TIRCConnection*)
{
    // Closing here, not later, lets the next connect start clean even when no reconnect follows.
    connection.Close();
    Disconnect(false, false);
}

void TIRCUnit::OnResolve(TIRCConnection*) {}

void TIRCUnit::OnReceive(TIRCConnection*, TIRCReceiveMessageA* raw)
{
    TIRCReceiveMessage message;
    message.rawLine = Decode(raw->rawLine);
    LogReceivedText(message.rawLine);
    message.prefix = Decode(raw->prefix);
    message.nick = Decode(raw->nick);
    message.user = Decode(raw->user);
    message.host = Decode(raw->host);
    message.command = Decode(raw->command);
    message.numeric = raw->numeric;
    message.params.reserve(raw->params.size());
    for (size_t i = 0; i < raw->params.size(); i++) {
        const CStringA& param = raw->params[i];
        bool last = i + 1 == raw->params.size();
        message.params.push_back(last ? DecodeTail(param, raw->rawLine, message.rawLine) : Decode(param));
    }
    TDispatchResult result;
    Dispatch(message, result);
    RunMacros(message, result);
}

void TIRCUnit::Dispatch(const TIRCReceiveMessage& message, TDispatchResult& result)
{
    if (message.numeric > 0) {
        HandleNumericReply(message);
        return;
    }
    for (const TDispatchRow& row : kCommands)
        if (message.command == row.command) {
            (this->*row.handler)(message, result);
            return;
        }
}

void TIRCUnit::RunMacros(const TIRCReceiveMessage& message, const TDispatchResult& result)
{
    if (world->AreMacrosStopped())
        return;
    ProcessMacroEvent(message, session.currentNick);
    if (result.keyword) {
        TIRCReceiveMessage keyword(message);
        keyword.command = L"KEYWORD";
        ProcessMacroEvent(keyword, session.currentNick);
    }
    if (message.command != L"MODE")
        return;
    for (const TModeChange& change : result.modeChanges) {
        const wchar_t* word = change.memberMode ? MacroWordOf(change) : nullptr;
        if (!word)
            continue;
        TIRCReceiveMessage event(message);
        event.command = word;
        event.params.clear();
        event.params.push_back(message.GetParam(0));
        event.params.push_back(change.param);
        ProcessMacroEvent(event, session.currentNick);
    }
}

void TIRCUnit::OnSend(TIRCConnection*, TIRCSendMessage* message)
{
    int end = message->line.Find("\r\n");
    LogSentLine(end < 0 ? message->line : message->line.Left(end));
}

void TIRCUnit::OnError(TIRCConnection*, CString text)
{
    PrintErrorText(text);
    connection.Close();
    Disconnect(false, false);
}

// The channels joined, and those the login asked for that were still unanswered: a link lost in
// the middle of the login's joins must not cost the user the rest of their channels.
void TIRCUnit::CollectRejoinList()
{
    TJoinList& list = session.rejoinList;
    list.clear();
    session.rejoinPending = true;
    for (TIRCChannel* channel : channels)
        if (channel->GetKind() == TIRCChannel::KindChannel && channel->IsJoined() &&
            !IsPartedInSession(channel->GetIRCName()))
            AddToRejoinList(channel->GetIRCName(), channel->GetConfig().Password, 0);
    size_t joined = list.size();
    for (const auto& awaited : session.awaitedJoins)
        AddToRejoinList(awaited.first, awaited.second, joined);
}

// Adds the channel unless one of the first `checked` entries names it already, as asked or as
// the server answered.
void TIRCUnit::AddToRejoinList(const CString& channel, const CString& key, size_t checked)
{
    TJoinList& list = session.rejoinList;
    for (size_t i = 0; i < checked; i++)
        if (IsSameChannel(list[i].first, channel))
            return;
    list.emplace_back(channel, key);
}

void TIRCUnit::Disconnect(bool byUser, bool byTimeout)
{
    int previous = session.state;
    session.ResetForDisconnect();
    RefreshTreeItem(nullptr);
    CString text = LoadResourceString(byUser      ? IDS_DISCONNECTED_BY_USER
                                      : byTimeout ? IDS_DISCONNECTED_BY_TIMEOUT
                                                  : IDS_DISCONNECTED);
    PrintSystemText(nullptr, text);
    // A login that never chose its channels (its AWAY or a login command lost the link) leaves
    // the next login the same choice.
    if (previous == StateLoggedIn && session.joinListTaken)
        CollectRejoinList();
    session.awaitedJoins.clear();
    session.partedChannels.clear();
    for (TIRCChannel* channel : channels) {
        if (channel->GetKind() == TIRCChannel::KindDccChat || !channel->IsJoined())
            continue;
        // The server log's line above is the one the all-channels log gets.
        PrintSystemLine(channel, text);
        channel->OnLeft();
        RefreshTreeItem(channel);
    }
    if (session.shutdown) {
        session.reconnectArmed = false;
        CloseServerLog();
    }
    world->OnConnectionEnded(this);
    world->UpdateTitleIfUnitSelected(this);
    if (byUser)
        session.reconnectArmed = false;
    else if (session.reconnectArmed)
        session.reconnectCountdown = preference->ReconnectTime;
    // Nothing queued in this session may ask anything of the next one.
    whoManager.Reset(0);
    rejoinManager.Clear();
    nickQuestionLength = 0;
    if (preference->EnableDisconnectSound)
        PlaySoundFile(preference->DisconnectSoundFile);
    scripts->FireOnDisconnect();
}
