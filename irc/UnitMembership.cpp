// NICK, QUIT, JOIN and PART: channels, talks and member lists follow who comes, goes and
// changes names.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitEvents.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

// Exact, as the server spells the nick; a line without a sender is nobody's, even before the
// welcome has named the user.
bool TIRCUnit::IsOwnNick(const CString& nick) const { return !nick.IsEmpty() && nick == session.currentNick; }

void TIRCUnit::HandleNick(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString oldNick = message.nick, newNick = message.GetParam(0);
    newNick.TrimRight();
    // Without both names nothing is renamed (that would make a member or talk of no name); the
    // line is still shown and reported.
    bool rename = !oldNick.IsEmpty() && !newNick.IsEmpty();
    CString text = TLogFormatter(*logFormat).FormatNick(message, newNick);
    bool own = IsOwnNick(oldNick);
    if (own && rename) {
        session.currentNick = newNick;
        session.nickRetryCount = 0;
    }
    for (TIRCChannel* channel : channels) {
        if (!channel->joined || oldNick.IsEmpty())
            continue;
        if (channel->GetKind() == TIRCChannel::KindDccChat) {
            if (rename && CompareNames(channel->GetPeerName(), oldNick) == 0)
                channel->SetPeerName(newNick);
        } else if (channel->FindMember(oldNick)) {
            PrintChannelLine(EVENT_NICK, channel, newNick, text, 0, false);
            if (!rename)
                continue;
            channel->RenameMember(oldNick, newNick);
            if (channel->UpdateMemberUserHost(newNick, message.user, message.host) &&
                channel->GetKind() == TIRCChannel::KindChannel)
                CheckAutoOp(channel, newNick, message.user, message.host);
        }
    }
    if (own)
        PrintServerLine(L"", newNick, text, EVENT_NICK, 0, false, L"");
    CopyServerLineToAllLog(L"", newNick, text, EVENT_NICK, 0, false);
    TIRCChannel* talk = rename ? FollowNickChange(oldNick, newNick) : nullptr;
    if (own)
        UpdateTitleIfUnitSelected();
    else
        UpdateTitleIfSelected(talk);
    receivedScripts->FireOnNick(message, newNick);
}

// DCC items, the WHOIS window and the talk of the old nick take the new one; another node already
// of that name gives way. Returns the renamed talk, or null when there is none.
TIRCChannel* TIRCUnit::FollowNickChange(const CString& oldNick, const CString& newNick)
{
    dccManager->RenameNick(this, oldNick, newNick);
    RenameWhoisDialog(oldNick, newNick);
    TIRCChannel* talk = FindChannel(oldNick);
    if (!talk || talk->GetKind() != TIRCChannel::KindTalk)
        return nullptr;
    TIRCChannel* other = FindChannel(newNick);
    if (other && other != talk) {
        // The user was reading the talk that gives way: the same person's talk takes its place.
        if (channelWindows && IsSelected(other))
            channelWindows->Select(this, talk);
        DeleteChannel(other);
    }
    CString oldName = talk->GetName();
    talk->GetConfig().Name = newNick;
    talk->SetIRCName(newNick);
    if (channelWindows)
        channelWindows->OnChannelRenamed(this, talk, oldName);
    return talk;
}

void TIRCUnit::HandleQuit(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString text = TLogFormatter(*logFormat).FormatQuit(message, message.GetParam(0));
    for (TIRCChannel* channel : channels) {
        if (!channel->FindMember(message.nick))
            continue;
        PrintChannelLine(EVENT_QUIT, channel, message.nick, text, 0, false);
        channel->RemoveMember(message.nick);
        RejoinToRecoverOp(channel);
        UpdateTitleIfSelected(channel);
    }
    CopyServerLineToAllLog(L"", message.nick, text, EVENT_QUIT, 0, false);
    receivedScripts->FireOnQuit(message, message.GetParam(0));
}

namespace {

// The name a node made for this channel gets: safe channels by their short form, channels under
// the server mask by their '%' alias.
CString NodeNameOf(const CString& channelText)
{
    if (IsSafeChannelName(channelText))
        return GetSafeChannelShortName(channelText);
    if (IsMaskedChannelName(channelText))
        return MakeChannelAlias(channelText);
    return channelText;
}

} // namespace

TIRCChannel* TIRCUnit::EnterJoinedChannel(const TIRCReceiveMessage& message, const CString& channelText)
{
    session.userName = message.user;
    session.host = message.host;
    if (addressTexts[0].IsEmpty()) {
        addressTexts[0] = message.host;
        if (addressMethod == 1 && !message.host.IsEmpty()) {
            resolver.SetHostName(message.host);
            resolver.Resolve();
        }
    }
    // A JOIN of no channel makes no node of no name.
    if (channelText.IsEmpty())
        return nullptr;
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    bool known = channel != nullptr;
    if (known) {
        if (IsSafeChannelName(channelText))
            channel->SetIRCName(channelText);
    } else {
        TChannelConfig config;
        config.Name = NodeNameOf(channelText);
        channel = AddChannel(config, TIRCChannel::KindChannel);
        if (channel) {
            channel->SetIRCName(channelText);
            if (channelWindows)
                channelWindows->OnChannelAdded(this, channel);
        }
    }
    if (channel) {
        channel->OnJoined();
        RefreshTreeItem(channel);
    }
    // A channel new to the tree is stored once joined, so its record says so; the tree is stored
    // even when no node could be made.
    if (!known && channelWindows)
        channelWindows->SaveServerTree();
    return channel;
}

void TIRCUnit::HandleJoin(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString channelText = message.GetParam(0);
    channelText.TrimRight();
    bool op = false;
    int bell = channelText.Find(L'\x07');
    if (bell >= 0) {
        op = bell + 1 < channelText.GetLength() && channelText[bell + 1] == L'o';
        channelText = channelText.Left(bell);
    }
    CString text = TLogFormatter(*logFormat).FormatJoin(message, channelText);
    TIRCMember joiner(message.nick, message.user, message.host);
    joiner.o = op;

    if (IsOwnNick(message.nick)) {
        TIRCChannel* channel = EnterJoinedChannel(message, channelText);
        if (channel) {
            PrintSystemLine(channel, LoadResourceString(IDS_JOINED_CHANNEL));
            PrintToChannel(channel, message.nick, text, EVENT_JOIN, 0, false);
            channel->GetMembers().AddMember(joiner, true);
            RefreshTreeItem(channel);
            UpdateTitleIfSelected(channel);
            bool select = preference->FocusOnJoin || session.selectFirstChannel;
            if (!preference->FocusOnJoin)
                session.selectFirstChannel = false;
            if (select && channelWindows)
                channelWindows->Select(this, channel);
        }
        // Joined: no retry is due, and a later 403 must not create the channel anew. The
        // managers may hold the name as it was sent, short or with its id.
        CString shortName = GetSafeChannelShortName(channelText);
        EndJoinWait(channelText);
        ForgetPart(channelText);
        rejoinManager.Forget(channelText);
        rejoinManager.Forget(shortName);
        if (IsSafeChannelName(channelText) && !IsSafeChannelCreateName(channelText)) {
            safeJoinManager.Remove(channelText);
            safeJoinManager.Remove(shortName);
        }
        receivedScripts->FireOnJoin(message, channelText);
        return;
    }
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    if (!channel) {
        PrintToServer(channelText, message.nick, text, EVENT_JOIN, 0, false, L"");
        receivedScripts->FireOnJoin(message, channelText);
        return;
    }
    // Nobody is listed in an anonymous channel, nor a joiner without a name.
    if (!channel->mode.anonymous && channel->joined && !message.nick.IsEmpty()) {
        channel->GetMembers().AddMember(joiner, true);
        CheckAutoOp(channel, message.nick, message.user, message.host);
        UpdateTitleIfSelected(channel);
    }
    PrintToChannel(channel, message.nick, text, EVENT_JOIN, 0, false);
    receivedScripts->FireOnJoin(message, channelText);
}

void TIRCUnit::HandlePart(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString channelText = message.GetParam(0);
    if (IsOwnNick(message.nick))
        EndJoinWait(channelText);
    CString text = TLogFormatter(*logFormat).FormatPart(message, channelText, message.GetParam(1));
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    if (!channel)
        PrintToServer(channelText, message.nick, text, EVENT_PART, 0, false, L"");
    else
        LeaveOnPart(channel, message, text);
    receivedScripts->FireOnPart(message, channelText, message.GetParam(1));
}

void TIRCUnit::LeaveOnPart(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& text)
{
    PrintToChannel(channel, message.nick, text, EVENT_PART, 0, false);
    if (IsOwnNick(message.nick)) {
        PrintSystemLine(channel, LoadResourceString(IDS_LEFT_CHANNEL));
        channel->OnLeft();
        RefreshTreeItem(channel);
    } else if (!message.nick.IsEmpty()) { // a sender of no name was never listed
        channel->RemoveMember(message.nick);
        RejoinToRecoverOp(channel);
    }
    UpdateTitleIfSelected(channel);
}
