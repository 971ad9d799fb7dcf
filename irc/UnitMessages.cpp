// PRIVMSG, NOTICE and ACTION texts: where they are shown (channel, talk or server log), ignore
// masks, user groups and keywords, sounds, balloons; and ERROR, KILL and WALLOPS.

#include "irc/IRCUnit.h"

#include "irc/Ctcp.h"
#include "irc/UnitEvents.h"
#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

namespace {

enum { KindPrivmsg = 0, KindNotice = 1, KindAction = 2 };

} // namespace

void TIRCUnit::HandlePrivmsg(const TIRCReceiveMessage& message, TDispatchResult& result)
{
    CString text = message.GetParam(1), ctcp;
    if (GetCtcpBody(text, ctcp))
        OnCtcpQuery(message, ctcp, result);
    else
        ShowMessage(message, KindPrivmsg, text, result);
}

void TIRCUnit::HandleNotice(const TIRCReceiveMessage& message, TDispatchResult& result)
{
    CString text = message.GetParam(1), ctcp;
    if (GetCtcpBody(text, ctcp))
        OnCtcpReply(message, ctcp);
    else
        ShowMessage(message, KindNotice, text, result);
}

void TIRCUnit::ShowMessage(const TIRCReceiveMessage& message, int kind, const CString& messageText,
                           TDispatchResult& result)
{
    CString nick = message.nick, target = message.GetParam(0), text = messageText;
    if (target == L"*")
        target.Empty();
    if (kind != KindAction && text.IsEmpty() && message.params.size() <= 1) {
        text = target;
        target.Empty();
    }
    if (nick.IsEmpty()) {
        if (CompareNames(target, session.currentNick) != 0)
            text = target + L" " + text;
        target.Empty();
    }
    if (IsIgnored(nick, message.user, message.host))
        return;
    TIRCMember sender(nick, message.user, message.host);
    ClassifyUser(sender);
    int nickStyle = sender.groupKind == 2 ? 1 : sender.groupKind == 1 ? sender.groupIndex + 2 : 0;
    const TLogKeyword& keywords = preference->keyword;
    const bool groupSwitches[] = {keywords.EnableGroup1, keywords.EnableGroup2, keywords.EnableGroup3,
                                  keywords.EnableGroup4, keywords.EnableGroup5};
    bool keyword = sender.groupKind == 2   ? false
                   : sender.groupKind == 1 ? groupSwitches[sender.groupIndex]
                                           : keywords.EnableNormal;
    if (kind == KindNotice && keywords.IgnoreNotice)
        keyword = false;

    bool toUser = !target.IsEmpty() && !IsChannelName(target) && CompareNames(target, session.currentNick) == 0;
    bool talkPath = toUser && message.prefix != nick;
    TIRCChannel* node = nullptr;
    bool newTalk = false, hit;
    if (talkPath)
        hit = ShowInTalk(message, kind, text, nickStyle, keyword, node, newTalk);
    else
        hit = ShowInChannel(message, kind, target, toUser, text, nickStyle, keyword, node);
    result.keyword = result.keyword || hit;
    ShowBalloon(kind, nick, target, text, node);

    static const wchar_t* const kEvents[3][2] = {
        {L"ChannelText", L"TalkText"}, {L"ChannelNotice", L"TalkNotice"}, {L"ChannelAction", L"TalkAction"}};
    static const wchar_t* const kCommands[3] = {L"PRIVMSG", L"NOTICE", L"ACTION"};
    receivedScripts->FireOnMessage(kEvents[kind][talkPath ? 1 : 0], message, target, text);
    if (newTalk)
        receivedScripts->FireOnNewTalk(message, kCommands[kind], text);
    if (hit)
        receivedScripts->FireOnHighlight(message, kCommands[kind], target, text);
}

// A line to the user's own nick from a sender without user and host (a service) goes to a talk of
// that name when there is one, else to the server log without a channel name.
bool TIRCUnit::ShowInChannel(const TIRCReceiveMessage& message, int kind, const CString& target, bool toUser,
                             const CString& text, int nickStyle, bool keyword, TIRCChannel*& channel)
{
    // The server names a masked or safe channel in full; a talk is found by its nick.
    channel = target.IsEmpty() ? nullptr : FindChannelByIRCName(target);
    if (!channel && !target.IsEmpty())
        channel = FindChannel(target);
    bool hit;
    if (channel) {
        StoreSenderAddress(channel, message);
        hit = PrintToChannel(channel, message.nick, text, kind, nickStyle, keyword);
        if (kind != KindNotice)
            MarkUpdate(channel);
        if (kind == KindPrivmsg)
            if (TIRCMember* member = channel->FindMember(message.nick))
                member->AddSecondActivity(session.currentNick, text);
    } else {
        hit = PrintToServer(toUser ? CString() : target, message.nick, text, kind, nickStyle, keyword, L"");
        if (kind != KindNotice)
            MarkUpdate(nullptr);
    }
    if (!(hit && preference->EnableKeywordSound) && !message.prefix.IsEmpty() && preference->EnableChannelMessageSound)
        PlaySoundFile(preference->ChannelMessageSoundFile);
    return hit;
}

bool TIRCUnit::ShowInTalk(const TIRCReceiveMessage& message, int kind, const CString& text, int nickStyle, bool keyword,
                          TIRCChannel*& talk, bool& newTalk)
{
    talk = FindChannel(message.nick);
    if (!talk && preference->RegisterOnTalk && !(preference->IgnoreNoticeOnTalk && kind == KindNotice)) {
        talk = OpenTalk(TIRCMember(message.nick, message.user, message.host));
        if (talk) {
            newTalk = true;
            MarkNewTalk(talk);
            if (preference->FocusOnTalk && channelWindows)
                channelWindows->Select(this, talk);
        }
    }
    bool hit;
    if (talk) {
        if (!talk->FindMember(message.nick))
            talk->GetMembers().AddMember(TIRCMember(message.nick, message.user, message.host), true);
        else
            talk->UpdateMemberUserHost(message.nick, message.user, message.host);
        hit = PrintToChannel(talk, message.nick, text, kind, nickStyle, keyword);
    } else {
        hit = PrintToServer(L"", message.nick, text, kind, nickStyle, keyword, L"");
    }
    if (kind != KindNotice)
        MarkUpdate(talk);
    bool quiet =
        (newTalk && preference->EnableTalkSound) || (hit && preference->EnableKeywordSound) || message.prefix.IsEmpty();
    if (!quiet && preference->EnableTalkMessageSound)
        PlaySoundFile(preference->TalkMessageSoundFile);
    return hit;
}

void TIRCUnit::ShowBalloon(int kind, const CString& nick, const CString& target, const CString& text, TIRCChannel* node)
{
    if (!channelWindows || !preference->EnableBaloon)
        return;
    if (preference->ShowBalloonOnInactive && world->IsMainWindowActive())
        return;
    if (kind == KindNotice && preference->IgnoreNoticeForBalloon)
        return;
    if (preference->BalloonFollowsAllLog && !(node ? node->GetConfig().Console : settings.Console))
        return;
    CString title = IsChannelName(target) ? TLogFormatter(*logFormat).FormatChannelPrefix(target) : CString();
    channelWindows->ShowBalloon(title + nick, text);
}

void TIRCUnit::OnErrorMessage(const TIRCReceiveMessage& message, TDispatchResult&)
{
    PrintErrorText(TLogFormatter(*logFormat).FormatError(message, message.GetParam(0)));
    receivedScripts->FireOnError(message.GetParam(0));
}

void TIRCUnit::OnKill(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString victim = message.GetParam(0);
    CString text = TLogFormatter(*logFormat).FormatKill(message, victim, message.GetParam(1));
    for (TIRCChannel* channel : channels) {
        if (!channel->FindMember(victim))
            continue;
        PrintChannelLine(EVENT_KILL, channel, L"", text, 0, false);
        channel->RemoveMember(victim);
        RejoinToRecoverOp(channel);
        UpdateTitleIfSelected(channel);
    }
    CopyServerLineToAllLog(L"", L"", text, EVENT_KILL, 0, false);
}

void TIRCUnit::OnWallops(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString text;
    text.Format(L"*%s %s", message.command.GetString(), message.GetParam(0).GetString());
    PrintReply(text);
}
