// Numeric replies about channels: modes, topic, creation time, mask lists, WHO and NAMES.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitEvents.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <cstdlib>

namespace {

long long ReadSignedReply(const CString& text)
{
    CString digits = text;
    digits.TrimLeft(L' ');
    bool negative = !digits.IsEmpty() && digits[0] == L'-';
    unsigned long long value =
        ReadUnsignedReply(negative || (!digits.IsEmpty() && digits[0] == L'+') ? digits.Mid(1) : digits);
    long long clipped = value > 0x7FFFFFFFFFFFFFFFULL ? 0x7FFFFFFFFFFFFFFFLL : (long long)value;
    return negative ? -clipped : clipped;
}

// The member flags of a WHO reply's flag word.
void ReadWhoFlags(const CString& flags, bool& q, bool& a, bool& o, bool& h, bool& v)
{
    q = flags.Find(L'~') >= 0;
    a = flags.Find(L'&') >= 0;
    o = flags.Find(L'@') >= 0 || q;
    h = flags.Find(L'%') >= 0;
    v = flags.Find(L'+') >= 0;
}

} // namespace

TIRCChannel* TIRCUnit::FindJoinedChannel(const CString& name) const
{
    TIRCChannel* channel = FindChannelByIRCName(name);
    return channel && channel->joined ? channel : nullptr;
}

void TIRCUnit::PrintReplyToChannel(const CString& channelName, const CString& text, int type)
{
    if (TIRCChannel* channel = FindJoinedChannel(channelName))
        PrintToChannel(channel, L"", text, type, 0, false);
    else
        PrintToServer(L"", L"", text, type, 0, false, L"");
}

void TIRCUnit::OnChannelModeReply(const TIRCReceiveMessage& message)
{
    CString name = message.GetParam(1), modes = message.GetParamsFrom(2);
    modes.TrimRight();
    TIRCChannel* channel = FindJoinedChannel(name);
    if (channel && modes == L"+") {
        channel->modesKnown = true;
        RejoinToRecoverOp(channel);
        return;
    }
    CString text = TLogFormatter(*logFormat).FormatModeReply(name, modes);
    if (!channel) {
        PrintToServer(L"", L"", text, EVENT_MODE_REPLY, 0, false, L"");
        return;
    }
    bool wasAnonymous = channel->mode.anonymous;
    channel->mode.Clear();
    std::vector<TModeChange> changes;
    channel->mode.ApplyModeChange(modes, changes);
    if (channel->mode.anonymous != wasAnonymous)
        OnAnonymousChanged(channel);
    channel->modesKnown = true;
    RejoinToRecoverOp(channel);
    UpdateTitleIfSelected(channel);
    PrintToChannel(channel, L"", text, EVENT_MODE_REPLY, 0, false);
}

void TIRCUnit::OnCreationTimeReply(const TIRCReceiveMessage& message)
{
    CString text;
    text.Format(L"*created at %s", FormatServerTime(message.GetParam(2)).GetString());
    PrintReplyToChannel(message.GetParam(1), text, EVENT_REPLY);
}

void TIRCUnit::OnTopicReply(const TIRCReceiveMessage& message, bool withTopic)
{
    CString name = message.GetParam(1), topic = withTopic ? message.GetParam(2) : CString();
    CString text = TLogFormatter(*logFormat).FormatTopicReply(name, topic);
    if (TIRCChannel* channel = FindJoinedChannel(name))
        channel->topic = topic;
    PrintReplyToChannel(name, text, EVENT_TOPIC_REPLY);
}

void TIRCUnit::OnTopicSetterReply(const TIRCReceiveMessage& message)
{
    CString text;
    text.Format(L"*%s set the topic at %s", message.GetParam(2).GetString(),
                FormatServerTime(ReadSignedReply(message.GetParam(3)), message.GetParam(3)).GetString());
    PrintReplyToChannel(message.GetParam(1), text, EVENT_REPLY);
}

void TIRCUnit::OnInvitingReply(const TIRCReceiveMessage& message)
{
    CString text = TLogFormatter(*logFormat).FormatInviting(message.GetParam(1), message.GetParam(2));
    PrintToServer(L"", L"", text, EVENT_INVITING, 0, false, L"");
}

namespace {

// The mask list a reply fills or ends: 344/345 reop, 346/347 invite, 348/349 exception, 367/368 ban.
int MaskListOfReply(int number)
{
    switch (number) {
    case 344:
    case 345:
        return TIRCChannel::ReopList;
    case 346:
    case 347:
        return TIRCChannel::InviteList;
    case 348:
    case 349:
        return TIRCChannel::BanExceptionList;
    default:
        return TIRCChannel::BanList;
    }
}

} // namespace

void TIRCUnit::OnMaskListReply(const TIRCReceiveMessage& message)
{
    TIRCChannel* channel = FindJoinedChannel(message.GetParam(1));
    // A mask past the window's bound is shown as a reply line, as without a window.
    if (!channel || !channel->AddListedMask(MaskListOfReply(message.numeric), message.GetParam(2)))
        PrintReplyParams(message);
}

void TIRCUnit::OnMaskListEndReply(const TIRCReceiveMessage& message)
{
    TIRCChannel* channel = FindJoinedChannel(message.GetParam(1));
    if (!channel || !channel->GetMaskList(MaskListOfReply(message.numeric)))
        PrintReplyParams(message);
}

void TIRCUnit::OnWhoReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kWhoListing] = true;
    CString name = message.GetParam(1), user = message.GetParam(2), host = message.GetParam(3);
    CString server = message.GetParam(4), nick = message.GetParam(5), flags = message.GetParam(6);
    CString hops = message.GetParam(7), realName;
    int blank = hops.Find(L' ');
    if (blank >= 0) {
        realName = hops.Mid(blank + 1);
        hops = hops.Left(blank);
    }
    TIRCChannel* channel = FindJoinedChannel(name);
    if (channel && !channel->whoComplete && !nick.IsEmpty()) {
        bool q, a, o, h, v;
        ReadWhoFlags(flags, q, a, o, h, v);
        channel->AddOrUpdateMember(nick, user, host, server, realName, q, a, o, h, v);
        return;
    }
    CString text;
    text.Format(L"*who %s : %s (%s@%s) %s [%s] %s hop=%s", name.GetString(), nick.GetString(), user.GetString(),
                host.GetString(), realName.GetString(), flags.GetString(), server.GetString(), hops.GetString());
    PrintReply(text);
}

void TIRCUnit::OnWhoEndReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kWhoListing] = false;
    TIRCChannel* channel = FindJoinedChannel(message.GetParam(1));
    if (!channel || channel->whoComplete)
        return;
    channel->whoComplete = true;
    PrintSystemLine(channel, LoadResourceString(IDS_WHO_DONE));
    if (preference->EnableAutoOpOnBeingOperator && channel->op)
        CheckAutoOpAll(channel);
}

void TIRCUnit::OnNamesReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kNamesListing] = true;
    CString name = message.GetParam(2), names = message.GetParam(3);
    names.TrimRight();
    CString text = TLogFormatter(*logFormat).FormatNamesReply(name, names);
    TIRCChannel* channel = FindJoinedChannel(name);
    if (!channel) {
        PrintToServer(L"", L"", text, EVENT_NAMES_REPLY, 0, false, L"");
        return;
    }
    if (!channel->namesComplete)
        AddNamesMembers(channel, names);
    PrintToChannel(channel, L"", text, EVENT_NAMES_REPLY, 0, false);
}

void TIRCUnit::AddNamesMembers(TIRCChannel* channel, const CString& names)
{
    static const wchar_t kPrefixes[] = L"~&@%+";
    for (int start = 0; start < names.GetLength();) {
        int end = names.Find(L' ', start);
        if (end < 0)
            end = names.GetLength();
        CString word = names.Mid(start, end - start);
        start = end + 1;
        if (word.IsEmpty())
            continue;
        TIRCMember member;
        const wchar_t* prefix = wcschr(kPrefixes, word[0]);
        if (word[0] != 0 && prefix) {
            switch (*prefix) {
            case L'~':
                member.q = member.o = true;
                break;
            case L'&':
                member.a = true;
                break;
            case L'@':
                member.o = true;
                break;
            case L'%':
                member.h = true;
                break;
            case L'+':
                member.v = true;
                break;
            }
            word = word.Mid(1);
        }
        // A lone prefix character names nobody.
        if (word.IsEmpty())
            continue;
        member.nick = word;
        if (IRCCompareNoCase(word, session.currentNick) == 0 && member.IsOp())
            channel->op = true;
        if (!channel->GetMembers().AddMember(member, true))
            return;
    }
}

void TIRCUnit::OnNamesEndReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kNamesListing] = false;
    TIRCChannel* channel = FindJoinedChannel(message.GetParam(1));
    if (!channel || channel->namesComplete)
        return;
    channel->namesComplete = true;
    UpdateTitleIfSelected(channel);
    const TChannelConfig& config = channel->GetConfig();
    bool alone = channel->GetMembers().GetCount() <= 1;
    // By the name the server knows: a '%' alias is a '#' channel there.
    bool takesStored = IsModeChannelName(channel->GetIRCName());
    // A channel the user has just made gets its stored modes and topic.
    if (alone && channel->op) {
        if (takesStored && !config.Mode.IsEmpty())
            SendChannelMode(channel, config.Mode);
        channel->modesKnown = true;
    } else {
        SendCommand(L"MODE", channel->GetIRCName(), L"", 2, 0);
    }
    if (alone) {
        if (takesStored && !config.Topic.IsEmpty())
            SetTopic(channel, ExpandText(config.Topic));
        channel->whoComplete = true;
    } else if (preference->WhoTiming == WhoAtOnce) {
        SendWho(channel->GetIRCName());
    } else if (preference->WhoTiming == WhoFast || preference->WhoTiming == WhoSlow) {
        whoManager.Add(channel->GetIRCName(), channel->GetMembers().GetCount());
    }
}

bool TIRCUnit::OnNoSuchChannel(const TIRCReceiveMessage& message)
{
    // A safe channel we asked for by its short name does not exist yet: ask to create it, once.
    CString name = message.GetParam(1);
    if (IsSafeChannelName(name) && safeJoinManager.Contains(name)) {
        safeJoinManager.Remove(name);
        if (name.GetLength() > 1)
            SendJoin(L"!" + name, CString());
        return false;
    }
    PrintErrorReply(message);
    return true;
}
