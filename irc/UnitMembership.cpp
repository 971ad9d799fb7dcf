// NICK, QUIT, JOIN and PART: channels, talks and member lists follow who comes, goes and
// changes names.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitEvents.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

void TIRCUnit::HandleNick(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString oldNick = message.nick, newNick = message.GetParam(0);
    newNick.TrimRight();
    // A NICK without a new name would rename members and talks to nothing.
    if (oldNick.IsEmpty() || newNick.IsEmpty())
        return;
    CString text = TLogFormatter(*logFormat).FormatNick(message, newNick);
    bool own = oldNick == session.currentNick;
    if (own) {
        session.currentNick = newNick;
        session.nickRetryCount = 0;
    }
    for (TIRCChannel* channel : channels) {
        if (!channel->joined)
            continue;
        if (channel->GetKind() == TIRCChannel::KindDccChat) {
            if (CompareNames(channel->GetPeerName(), oldNick) == 0)
                channel->SetPeerName(newNick);
        } else if (channel->FindMember(oldNick)) {
            PrintChannelLine(EVENT_NICK, channel, newNick, text, 0, false);
            channel->RenameMember(oldNick, newNick);
            if (channel->UpdateMemberUserHost(newNick, message.user, message.host) &&
                channel->GetKind() == TIRCChannel::KindChannel)
                CheckAutoOp(channel, newNick, message.user, message.host);
        }
    }
    if (own)
        PrintServerLine(L"", newNick, text, EVENT_NICK, 0, false, L"");
    CopyServerLineToAllLog(L"", newNick, text, EVENT_NICK, 0, false);
    dccManager->RenameNick(this, oldNick, newNick);

    RenameWhoisDialog(oldNick, newNick);
    TIRCChannel* talk = FindChannel(oldNick);
    if (talk && talk->GetKind() == TIRCChannel::KindTalk) {
        TIRCChannel* other = FindChannel(newNick);
        if (other && other != talk)
            DeleteChannel(other);
        talk->GetConfig().Name = newNick;
        talk->SetIRCName(newNick);
        if (channelWindows)
            channelWindows->OnChannelRenamed(this, talk);
    }
    if (own)
        UpdateTitleIfUnitSelected();
    else
        UpdateTitleIfSelected(talk && talk->GetKind() == TIRCChannel::KindTalk ? talk : nullptr);
    receivedScripts->FireOnNick(message, newNick);
}

void TIRCUnit::HandleQuit(const TIRCReceiveMessage& message, TDispatchResult&)
{
    if (message.nick.IsEmpty())
        return;
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
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    if (channel) {
        if (IsSafeChannelName(channelText))
            channel->SetIRCName(channelText);
    } else {
        TChannelConfig config;
        config.Name = NodeNameOf(channelText);
        channel = AddChannel(config, TIRCChannel::KindChannel);
        if (channel)
            channel->SetIRCName(channelText);
        // Stores the tree even when nothing was created.
        if (channelWindows && channel)
            channelWindows->OnChannelAdded(this, channel, true);
        else if (channelWindows)
            channelWindows->SaveServerTree();
    }
    if (channel) {
        channel->OnJoined();
        RefreshTreeItem(channel);
    }
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
    if (message.nick.IsEmpty() || channelText.IsEmpty())
        return;
    CString text = TLogFormatter(*logFormat).FormatJoin(message, channelText);
    TIRCMember joiner(message.nick, message.user, message.host);
    joiner.o = op;

    if (message.nick == session.currentNick) {
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
    // Nobody is listed in an anonymous channel.
    if (!channel->mode.anonymous && channel->joined) {
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
    if (message.nick.IsEmpty() || channelText.IsEmpty())
        return;
    if (message.nick == session.currentNick)
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
    if (message.nick == session.currentNick) {
        PrintSystemLine(channel, LoadResourceString(IDS_LEFT_CHANNEL));
        channel->OnLeft();
        RefreshTreeItem(channel);
    } else {
        channel->RemoveMember(message.nick);
        RejoinToRecoverOp(channel);
    }
    UpdateTitleIfSelected(channel);
}
