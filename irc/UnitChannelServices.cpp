// What channels ask of their unit, and the mask checks the received side runs: ignore masks,
// user groups, auto-op and the part-and-rejoin that wins operator status back.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

namespace {

// Built in one block: every received message asks for its sender's address.
CString AddressOf(const CString& nick, const CString& user, const CString& host)
{
    CString address;
    address.Preallocate(nick.GetLength() + user.GetLength() + host.GetLength() + 2);
    address += nick;
    address += L'!';
    address += user;
    address += L'@';
    address += host;
    return address;
}

bool MatchesAny(const std::vector<CString>& masks, const CString& address)
{
    for (const CString& mask : masks)
        if (MatchWildcard(mask, address))
            return true;
    return false;
}

} // namespace

IReceivedScriptEvents* GetNullReceivedScriptEvents()
{
    static TNullReceivedScriptEvents events;
    return &events;
}

void TIRCUnit::SetReceivedScriptEvents(IReceivedScriptEvents* events)
{
    receivedScripts = events ? events : GetNullReceivedScriptEvents();
}

int TIRCUnit::GetMemberSortMethod() { return preference->MemberSortMethod; }

void TIRCUnit::MemberListFull(const TIRCMemberManager& members)
{
    for (TIRCChannel* channel : channels)
        if (&channel->GetMembers() == &members)
            PrintSystemText(channel, LoadResourceString(IDS_MEMBER_LIST_FULL));
}

void TIRCUnit::SendChannelMode(TIRCChannel* channel, const CString& text)
{
    CString line = text;
    line.TrimRight();
    SendCommand(L"MODE", channel->GetIRCName(), line, CountModePenalty(line), 0);
}

// At most three parameters per MODE, the removals first.
void TIRCUnit::SendModeChanges(TIRCChannel* channel, wchar_t letter, const std::vector<CString>& removals,
                               const std::vector<CString>& additions)
{
    CString letters, params;
    int count = 0;
    wchar_t sign = 0;
    auto flush = [&]() {
        SendChannelMode(channel, letters + params);
        letters.Empty(), params.Empty();
        count = 0, sign = 0;
    };
    for (const auto* list : {&removals, &additions}) {
        wchar_t wanted = list == &removals ? L'-' : L'+';
        for (const CString& item : *list) {
            if (sign != wanted)
                letters += wanted, sign = wanted;
            letters += letter;
            params += L" " + item;
            if (++count == 3)
                flush();
        }
    }
    if (count > 0)
        flush();
}

IMemberListView* TIRCUnit::CreateMemberView(TIRCChannel* channel)
{
    return channelWindows ? channelWindows->CreateMemberView(this, channel) : nullptr;
}

void TIRCUnit::DestroyMemberView(TIRCChannel* channel)
{
    if (channelWindows)
        channelWindows->DestroyMemberView(this, channel);
}

IMaskList* TIRCUnit::CreateMaskList(TIRCChannel* channel, const CString& title)
{
    return channelWindows ? channelWindows->CreateMaskList(this, channel, title) : nullptr;
}

void TIRCUnit::SendWho(const CString& target) { SendCommand(L"WHO", target, L"", 2, 0); }

bool TIRCUnit::IsIgnored(const CString& nick, const CString& user, const CString& host) const
{
    return worldSetting && !worldSetting->IgnoreMasks.empty() &&
           MatchesAny(worldSetting->IgnoreMasks, AddressOf(nick, user, host));
}

void TIRCUnit::ClassifyUser(TIRCMember& member) const
{
    member.groupKind = 0;
    member.groupIndex = -1;
    const TUserGroupList& groups = preference->userGroups;
    if (member.nick == session.currentNick) {
        member.groupKind = 2;
        return;
    }
    // A NAMES burst classifies thousands of members, mostly with no groups set at all.
    bool anyMasks = false;
    for (const TUserGroup& group : groups.groups)
        anyMasks = anyMasks || !group.masks.empty();
    if (!anyMasks)
        return;
    CString address = AddressOf(member.nick, member.user, member.host);
    if (MatchesAny(groups.groups[0].masks, address)) {
        member.groupKind = 2;
        return;
    }
    for (int i = 1; i < TUserGroupList::GroupCount; i++) {
        if (MatchesAny(groups.groups[i].masks, address)) {
            member.groupKind = 1;
            member.groupIndex = i - 1;
            return;
        }
    }
}

void TIRCUnit::CheckAutoOp(TIRCChannel* channel, const CString& nick, const CString& user, const CString& host)
{
    if (!channel || !channel->op)
        return;
    CString address = AddressOf(nick, user, host);
    if ((worldSetting && MatchesAny(worldSetting->AutoOpMasks, address)) || MatchesAny(settings.AutoOpMasks, address) ||
        MatchesAny(channel->GetConfig().AutoOpMasks, address))
        channel->QueueAutoOp(nick);
}

void TIRCUnit::StoreSenderAddress(TIRCChannel* channel, const TIRCReceiveMessage& message)
{
    if (channel->UpdateMemberUserHost(message.nick, message.user, message.host))
        CheckAutoOp(channel, message.nick, message.user, message.host);
}

void TIRCUnit::CheckAutoOpAll(TIRCChannel* channel)
{
    if (!channel || !channel->op)
        return;
    for (const CString& nick : channel->GetMembers().GetNicks()) {
        TIRCMember* member = channel->FindMember(nick);
        if (member && member->nick != session.currentNick && !member->o)
            CheckAutoOp(channel, member->nick, member->user, member->host);
    }
}

// Alone in a channel without operator status: leaving and coming back makes the user its operator.
void TIRCUnit::RejoinToRecoverOp(TIRCChannel* channel)
{
    if (!preference->RejoinToRecoverOp || !channel || channel->GetKind() != TIRCChannel::KindChannel)
        return;
    if (!channel->modesKnown || channel->mode.anonymous || channel->mode.reop || channel->op ||
        channel->GetMembers().GetCount() >= 2)
        return;
    const CString& name = channel->GetName();
    if (name.IsEmpty() || (name[0] != L'#' && name[0] != L'&'))
        return;
    CString ircName = channel->GetIRCName();
    SendPart(ircName, ExpandText(settings.PartMessage));
    SendJoin(ircName, channel->mode.key);
    // The topic came from the server with its codes already in place: markup-like text in it is
    // someone's words and goes back as it was.
    if (!channel->topic.IsEmpty())
        SendCommand(L"TOPIC", ircName, L":" + channel->topic, 2, 0);
}
