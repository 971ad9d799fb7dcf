// Typed and pasted text to PRIVMSG, NOTICE and ACTION lines: cut to fit the relayed line, echoed
// as the user's own, and reported to scripts and macros.

#include "irc/IRCUnit.h"

#include "foundation/IrcMarkup.h"
#include "foundation/StringUtils.h"
#include "irc/UserCommand.h"
#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

namespace {

const wchar_t* const kMessageWords[] = {L"PRIVMSG", L"NOTICE", L"ACTION"};

// Services answer messages but are nobody to talk to.
bool IsServiceName(const CString& name)
{
    return IRCCompareNoCase(name, L"NickServ") == 0 || IRCCompareNoCase(name, L"ChanServ") == 0;
}

} // namespace

CString TIRCUnit::GetWireName(const TIRCChannel* channel)
{
    return channel->GetIRCName().IsEmpty() ? channel->GetName() : channel->GetIRCName();
}

TIRCReceiveMessage TIRCUnit::MakeOwnRecord(const CString& command) const
{
    TIRCReceiveMessage record;
    record.prefix = session.currentNick + L"!" + session.userName + L"@" + session.host;
    record.nick = session.currentNick;
    record.user = session.userName;
    record.host = session.host;
    record.command = command;
    return record;
}

bool TIRCUnit::RunMacros(const TIRCReceiveMessage& record, const CString& nick)
{
    if (world->AreMacrosStopped())
        return false;
    return ProcessMacroEvent(record, nick);
}

bool TIRCUnit::ProcessMacroEvent(const TIRCReceiveMessage& record, const CString& nick)
{
    // A macro's action may wait in a dialog's loop, where the unit can be deleted.
    macroRuns++;
    bool handled = macros->ProcessEvent(record, nick);
    macroRuns--;
    return handled;
}

bool TIRCUnit::SendInput(TIRCChannel* channel, CString text, bool notice, bool action, bool allowCommand)
{
    // The rest of a line with a break in it would reach the server as a command of its own.
    text = CutAtLineBreak(text);
    if (text.IsEmpty())
        return false;
    const CString& prefix = preference->CommandPrefix;
    bool command = allowCommand && preference->EnableCommand && !prefix.IsEmpty() &&
                   text.GetLength() >= prefix.GetLength() && text.Left(prefix.GetLength()) == prefix;
    if (command) {
        ExecuteCommand(text.Mid(prefix.GetLength()), false);
        return true;
    }
    if (channel && channel->GetKind() == TIRCChannel::KindDccChat) {
        if (!channel->IsJoined())
            return false;
        SendText(channel, text, 0);
        CString shown = ConvertMarkupToControlCodes(text);
        // A copy: the talk may be gone once the script has run.
        CString name = channel->GetName();
        sendScripts->FireOnDccChatText(name, session.currentNick, shown);
        TIRCReceiveMessage record = MakeOwnRecord(L"DCCCHATMESSAGE");
        record.params = {name, shown};
        RunMacros(record, session.currentNick);
        return true;
    }
    if (session.state != StateLoggedIn || !channel || !channel->IsJoined())
        return false;
    if (channel->GetKind() == TIRCChannel::KindTalk && preference->UnawayOnSendTalk && session.userMode.away)
        SendAway(CString());
    int kind = notice ? 1 : action ? 2 : 0;
    SendMessagePieces(channel, kMessageWords[kind], kind, text, true);
    return true;
}

void TIRCUnit::SendTextLines(TIRCChannel* channel, CString text, bool notice)
{
    bool dccChat = channel && channel->GetKind() == TIRCChannel::KindDccChat;
    if (!channel || !channel->IsJoined() || (!dccChat && session.state != StateLoggedIn))
        return;
    int kind = notice ? 1 : 0;
    CString name = channel->GetName();
    // A script's message loop takes the server's lines meanwhile; one may remove the talk, and a
    // new one may take its memory: the talk is known by its serial number.
    unsigned serial = channel->GetSerial();
    for (const CString& line : SplitLines(text)) {
        channel = FindChannelBySerial(serial);
        if (!channel)
            return;
        if (line.IsEmpty())
            continue;
        if (dccChat) {
            SendText(channel, line, 0);
            sendScripts->FireOnDccChatText(name, session.currentNick, line);
            TIRCReceiveMessage record = MakeOwnRecord(L"DCCCHATMESSAGE");
            record.params = {name, line};
            RunMacros(record, session.currentNick);
        } else {
            SendMessagePieces(channel, kMessageWords[kind], kind, line, false);
        }
    }
}

void TIRCUnit::SendMessagePieces(TIRCChannel* channel, const CString& command, int kind, CString text, bool convert)
{
    TIRCReceiveMessage record = MakeOwnRecord(command);
    CString target = GetWireName(channel);
    unsigned serial = channel->GetSerial();
    while (true) {
        CString rest;
        bool cut = SplitMessageText(command, target, text, rest);
        if (cut && text.IsEmpty())
            return; // not one character fits beside nick, host and target
        SendText(channel, text, kind);
        CString shown = convert ? ConvertMarkupToControlCodes(text) : text;
        FireOwnMessageEvent(record, target, shown, kind, channel->GetKind() == TIRCChannel::KindChannel);
        record.params = {target, shown};
        RunMacros(record, session.currentNick);
        // A script's message loop takes the server's lines meanwhile; a NICK may remove the talk
        // and a new talk take its memory.
        if (!cut)
            return;
        channel = FindChannelBySerial(serial);
        if (!channel)
            return;
        text = rest;
    }
}

void TIRCUnit::SendText(TIRCChannel* channel, CString text, int kind)
{
    if (!channel)
        return;
    text = PrepareParamText(ConvertMarkupToControlCodes(text));
    PrintToChannel(channel, session.currentNick, text, kind, 1, false);
    if (channel->GetKind() == TIRCChannel::KindDccChat) {
        channel->SendDCCChatLine(text);
        return;
    }
    if (kind == 2)
        SendCommand(L"PRIVMSG", GetWireName(channel), L":" + QuoteCtcp(L"ACTION " + text), 2, 0);
    else
        SendCommand(kMessageWords[kind], GetWireName(channel), L":" + text, 2, 0);
    if (kind == 0)
        ScoreActivity(channel, text);
}

// The member a text addresses moves up in nick completion.
void TIRCUnit::ScoreActivity(TIRCChannel* channel, const CString& text)
{
    for (const CString& nick : GetAddressedNicks(text))
        if (TIRCMember* member = channel->FindMember(nick)) {
            member->AddActivity();
            return;
        }
}

void TIRCUnit::FireOwnMessageEvent(const TIRCReceiveMessage& record, const CString& target, const CString& text,
                                   int kind, bool channel)
{
    typedef void (IUnitSendScripts::*TFire)(const TIRCReceiveMessage&, const CString&, const CString&);
    // By message kind: text, notice, action.
    static const TFire kChannelEvents[] = {&IUnitSendScripts::FireOnChannelText, &IUnitSendScripts::FireOnChannelNotice,
                                           &IUnitSendScripts::FireOnChannelAction};
    static const TFire kTalkEvents[] = {&IUnitSendScripts::FireOnTalkText, &IUnitSendScripts::FireOnTalkNotice,
                                        &IUnitSendScripts::FireOnTalkAction};
    (sendScripts->*(channel ? kChannelEvents : kTalkEvents)[kind])(record, target, text);
}

// The message commands of the interpreter: several targets at once, pieces framed alike.
void TIRCUnit::SendUserMessage(const TUserCommand& command, bool quiet)
{
    if (command.text.IsEmpty())
        return;
    CString targets, rest = command.target;
    while (!rest.IsEmpty()) {
        CString token = CutFirstCommaToken(rest);
        // DCC chat talks ("=nick") are reached through their own connection, not the server.
        if (!token.IsEmpty() && token[0] == L'=') {
            TIRCChannel* talk = FindChannel(token);
            if (talk && talk->GetKind() == TIRCChannel::KindDccChat && talk->IsJoined())
                SendDccChatText(talk, command.text, quiet);
        } else if (!token.IsEmpty()) {
            targets += targets.IsEmpty() ? token : L"," + token;
        }
    }
    if (targets.IsEmpty())
        return;
    // While connecting the server's lines are dropped: a message shown as sent would be a lie.
    if (!CanSendLines()) {
        RunOfflineMacros(command, quiet);
        return;
    }
    int kind = command.command == L"NOTICE" ? 1 : command.command == L"ACTION" ? 2 : 0;
    TIRCReceiveMessage record = MakeOwnRecord(command.command);
    CString text = command.text;
    while (true) {
        CString restText;
        bool cut = SplitMessageText(command.command, targets, text, restText);
        if (cut && text.IsEmpty())
            return;
        if (kind == 2)
            SendCommand(L"PRIVMSG", targets, L":" + QuoteCtcp(L"ACTION " + text), 2, 0);
        else
            SendCommand(command.command, targets, L":" + text, 2, 0);
        CString tokens = targets;
        while (!tokens.IsEmpty())
            EchoMessagePiece(CutFirstCommaToken(tokens), text, kind, quiet, record);
        if (!quiet) {
            record.params = {targets, text};
            RunMacros(record, session.currentNick);
        }
        if (!cut)
            return;
        text = restText;
    }
}

void TIRCUnit::EchoMessagePiece(const CString& token, const CString& piece, int kind, bool quiet,
                                const TIRCReceiveMessage& record)
{
    if (token.IsEmpty())
        return;
    TIRCChannel* channel = LookupChannel(token);
    if (!channel && !IsChannelNameOrAlias(token) && !IsServiceName(token))
        channel = OpenTalk(TIRCMember(token, CString(), CString()));
    if (channel)
        PrintToChannel(channel, session.currentNick, piece, kind, 1, false);
    else
        PrintToServer(token, session.currentNick, piece, kind, 1, false, CString());
    if (!quiet)
        FireOwnMessageEvent(record, token, piece, kind, IsChannelNameOrAlias(token));
}
