// The command interpreter: one command line from the user, a macro or a script turned into IRC
// traffic. Known words get their builder; every other word goes out as typed.

#include "irc/IRCUnit.h"

#include "foundation/StringUtils.h"
#include "irc/UserCommand.h"
#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

namespace {

const int kIso2022Jp = 50221;

typedef void (*TCommandRun)(TIRCUnit& unit, const TUserCommand& command);

struct TCommandRow {
    const wchar_t* word;
    TCommandRun run;
};

void RunCtcp(TIRCUnit& unit, const TUserCommand& c) { unit.SendCtcpQuery(c.target, c.text); }
void RunCtcpReply(TIRCUnit& unit, const TUserCommand& c) { unit.SendCtcpReply(c.target, c.text); }
void RunCtcpPing(TIRCUnit& unit, const TUserCommand& c) { unit.SendCtcpQuery(c.target, L"PING"); }
void RunMode(TIRCUnit& unit, const TUserCommand& c) { unit.SendMode(c.target, c.text); }
void RunQuit(TIRCUnit& unit, const TUserCommand& c) { unit.SendQuit(c.text); }
void RunPart(TIRCUnit& unit, const TUserCommand& c) { unit.SendPart(c.target, c.text); }
void RunJoin(TIRCUnit& unit, const TUserCommand& c) { unit.SendJoin(c.target, c.text); }
void RunAway(TIRCUnit& unit, const TUserCommand& c) { unit.SendAway(c.text); }

void RunNick(TIRCUnit& unit, const TUserCommand& c)
{
    if (!c.text.IsEmpty())
        unit.SendNick(c.text, false);
}

void RunKick(TIRCUnit& unit, const TUserCommand& c)
{
    CString comment = c.text;
    CString nicks = CutFirstWord(comment);
    unit.SendKick(c.target, nicks, StripLeadingColon(comment), CountKickPenalty(nicks));
}

void RunTopic(TIRCUnit& unit, const TUserCommand& c)
{
    // One colon went in parsing, so "::" typed is ":" here and clears the topic.
    if (c.text.IsEmpty())
        unit.QueryTopic(c.target);
    else
        unit.SendTopic(c.target, c.text == L":" ? CString() : c.text);
}

const TCommandRow kCommandRows[] = {
    {L"CTCP", RunCtcp}, {L"CTCPREPLY", RunCtcpReply}, {L"CTCPPING", RunCtcpPing}, {L"NICK", RunNick},
    {L"MODE", RunMode}, {L"KICK", RunKick},           {L"QUIT", RunQuit},         {L"TOPIC", RunTopic},
    {L"PART", RunPart}, {L"JOIN", RunJoin},           {L"AWAY", RunAway},
};

bool IsMessageCommand(const CString& word) { return word == L"PRIVMSG" || word == L"NOTICE" || word == L"ACTION"; }

bool TakesTargetList(const CString& word)
{
    static const wchar_t* const kWords[] = {L"PRIVMSG",  L"NOTICE", L"ACTION", L"CTCP", L"CTCPREPLY",
                                            L"CTCPPING", L"JOIN",   L"PART",   L"KICK"};
    for (const wchar_t* listWord : kWords)
        if (word == listWord)
            return true;
    return false;
}

} // namespace

void TIRCUnit::ExecuteCommand(CString line, bool quiet)
{
    TIRCChannel* current = frame->GetSelectedChannel(this);
    TUserCommand command;
    // Nothing after a line break may reach the server as a command of its own.
    if (!ParseUserCommand(CutAtLineBreak(line), current ? current->GetName() : CString(), command))
        return;
    command.text = PrepareParamText(command.text);
    // While connecting the commands run and the send core drops their lines: a QUIT still ends
    // the attempt, and scripts and macros still see their words.
    if (!connection.IsActive()) {
        RunOfflineMacros(command, quiet);
        return;
    }
    if (TakesTargetList(command.command))
        command.target = ResolveTargetList(command.target, command.command != L"JOIN");
    else if (command.command == L"INVITE")
        command.text = ResolveTarget(command.text, true);
    else
        command.target = ResolveTarget(command.target, true);
    DispatchCommand(command, quiet);
}

// Macros may offer words of their own that work offline.
void TIRCUnit::RunOfflineMacros(const TUserCommand& command, bool quiet)
{
    if (quiet || IsIRCCommand(command.command))
        return;
    TIRCReceiveMessage record;
    record.prefix = record.nick = session.currentNick;
    record.command = command.command;
    record.params = {command.target, command.text};
    RunMacros(record, session.currentNick);
}

// With ISO-2022-JP and the kana setting 0 the text is shown as the encoder will send it.
CString TIRCUnit::PrepareParamText(const CString& text) const
{
    if (session.codePage == kIso2022Jp && preference->KanaEncodingMethod == 0)
        return Decode(Encode(text));
    return text;
}

CString TIRCUnit::ResolveTarget(const CString& token, bool safeChannels) const
{
    if (token.IsEmpty() || token[0] == L'=')
        return token;
    if ((safeChannels && IsSafeChannelName(token)) || IsChannelAlias(token)) {
        TIRCChannel* channel = LookupChannel(token);
        if (channel && !channel->GetIRCName().IsEmpty())
            return channel->GetIRCName();
    }
    return token;
}

CString TIRCUnit::ResolveTargetList(const CString& list, bool safeChannels) const
{
    CString resolved, rest = list;
    while (!rest.IsEmpty()) {
        CString token = ResolveTarget(CutFirstCommaToken(rest), safeChannels);
        if (!token.IsEmpty())
            resolved += resolved.IsEmpty() ? token : L"," + token;
    }
    return resolved;
}

void TIRCUnit::DispatchCommand(const TUserCommand& command, bool quiet)
{
    if (IsMessageCommand(command.command)) {
        SendUserMessage(command, quiet);
        return;
    }
    for (const TCommandRow& row : kCommandRows)
        if (command.command == row.word) {
            row.run(*this, command);
            return;
        }
    SendOtherCommand(command, quiet);
}

void TIRCUnit::SendOtherCommand(const TUserCommand& command, bool quiet)
{
    if (!quiet && !IsIRCCommand(command.command)) {
        if (sendScripts->FireOnSendingCommand(command.command, command.text))
            return;
        TIRCReceiveMessage record = MakeOwnRecord(command.command);
        record.params = {command.target, command.text};
        if (RunMacros(record, session.currentNick))
            return;
    }
    SendCommand(command.command, command.target, command.text, 2, 0);
}
