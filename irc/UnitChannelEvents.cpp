// MODE, TOPIC, INVITE and KICK: modes, topics and member flags of channels, the user's own
// modes, invitations and being kicked.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitEvents.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>

void TIRCUnit::HandleMode(const TIRCReceiveMessage& message, TDispatchResult& result)
{
    CString target = message.GetParam(0);
    CString modes = message.GetParamsFrom(1);
    modes.TrimRight();
    TLogFormatter formatter(*logFormat);
    TIRCChannel* channel = nullptr;
    if (target == session.currentNick) {
        session.userMode.ApplyModeChange(modes);
        PrintToServer(L"", message.nick, formatter.FormatUserMode(target, modes), EVENT_USER_MODE, 0, false, L"");
        UpdateTitleIfUnitSelected();
    } else if ((channel = FindChannelByIRCName(target)) != nullptr) {
        ApplyChannelMode(channel, message, modes, result);
    } else {
        PrintToServer(target, message.nick, formatter.FormatMode(message, target, modes), EVENT_MODE, 0, false, L"");
    }
    receivedScripts->FireOnMode(message, target, modes);
    if (!channel)
        return;
    for (const TModeChange& change : result.modeChanges) {
        CString signLetter;
        signLetter.Format(L"%c%c", change.adding ? L'+' : L'-', change.letter);
        receivedScripts->FireOnModeChange(message, target, signLetter, change.param);
    }
}

void TIRCUnit::ApplyChannelMode(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& modes,
                                TDispatchResult& result)
{
    StoreSenderAddress(channel, message);
    bool wasAnonymous = channel->mode.anonymous;
    channel->mode.ApplyModeChange(modes, result.modeChanges);
    if (channel->mode.anonymous != wasAnonymous)
        OnAnonymousChanged(channel);
    for (const TModeChange& change : result.modeChanges)
        ApplyMemberModeChange(channel, change);
    CString text = TLogFormatter(*logFormat).FormatMode(message, message.GetParam(0), modes);
    PrintToChannel(channel, message.nick, text, EVENT_MODE, 0, false);
    UpdateTitleIfSelected(channel);
}

// Anonymous channels list nobody but the user; leaving that state needs a fresh WHO.
void TIRCUnit::OnAnonymousChanged(TIRCChannel* channel)
{
    if (channel->mode.anonymous) {
        TIRCMember* own = channel->FindMember(session.currentNick);
        TIRCMember copy = own ? *own : TIRCMember();
        channel->GetMembers().Clear();
        if (own)
            channel->GetMembers().AddMember(copy, false);
    } else {
        channel->whoComplete = false;
        SendWho(channel->GetIRCName());
    }
}

void TIRCUnit::ApplyMemberModeChange(TIRCChannel* channel, const TModeChange& change)
{
    if (change.memberMode) {
        bool opLetter = change.letter == L'q' || change.letter == L'a' || change.letter == L'o';
        TIRCMember* own = change.param == session.currentNick ? channel->FindMember(change.param) : nullptr;
        if (!opLetter || !own) {
            channel->ChangeMemberMode(change.param, change.letter, change.adding);
            return;
        }
        bool wasOp = own->IsOp();
        channel->ChangeMemberMode(change.param, change.letter, change.adding);
        own = channel->FindMember(change.param);
        channel->op = own && own->IsOp();
        if (wasOp && !channel->op)
            channel->ClearAutoOpQueue();
        else if (!wasOp && channel->op && channel->whoComplete && preference->EnableAutoOpOnBeingOperator)
            CheckAutoOpAll(channel);
        return;
    }
    IMaskList* list = channel->GetMaskList(TIRCChannel::MaskListIndex(change.letter));
    if (!list || change.param.IsEmpty())
        return;
    if (change.adding)
        channel->AddListedMask(TIRCChannel::MaskListIndex(change.letter), change.param);
    else
        list->RemoveMask(change.param);
}

void TIRCUnit::HandleTopic(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString channelText = message.GetParam(0), topic = message.GetParam(1);
    CString text = TLogFormatter(*logFormat).FormatTopic(message, channelText, topic);
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    if (!channel) {
        PrintToServer(channelText, message.nick, text, EVENT_TOPIC, 0, false, L"");
    } else {
        StoreSenderAddress(channel, message);
        channel->topic = topic;
        PrintToChannel(channel, message.nick, text, EVENT_TOPIC, 0, false);
        UpdateTitleIfSelected(channel);
    }
    receivedScripts->FireOnTopic(message, channelText, topic);
}

void TIRCUnit::HandleInvite(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString channelText = message.GetParam(1);
    channelText.TrimRight();
    CString text = TLogFormatter(*logFormat).FormatInvite(message, channelText);
    CString eventData;
    eventData.Format(L"INVITE %08X %s", GetSerial(), channelText.GetString());
    PrintToServer(L"", message.nick, text, EVENT_INVITE, 0, false, eventData);
    if (preference->EnableInviteSound)
        PlaySoundFile(preference->InviteSoundFile);
    if (preference->InviteAction == InviteJoin)
        JoinChannelByName(channelText, L"");
    // The window's OK joins what it shows.
    else if (preference->InviteAction == InviteShowDialog && channelWindows && CanJoinByName(channelText))
        ShowInviteDialog(message.nick, channelText);
    receivedScripts->FireOnInvite(message, channelText);
}

void TIRCUnit::ShowInviteDialog(const CString& nick, const CString& channelName)
{
    // A unit on its way out opens no window it would leave behind.
    if (session.shutdown)
        return;
    IInviteRequest* dialog = channelWindows->ShowInvitation(this, nick, channelName, preference->ActivateInviteDialog);
    if (dialog)
        inviteDialogs.push_back(dialog);
}

void TIRCUnit::OnInviteDialogOK(IInviteRequest* dialog)
{
    if (std::find(inviteDialogs.begin(), inviteDialogs.end(), dialog) != inviteDialogs.end())
        SendJoin(dialog->GetChannel(), L"");
}

void TIRCUnit::OnInviteDialogClose(IInviteRequest* dialog)
{
    auto found = std::find(inviteDialogs.begin(), inviteDialogs.end(), dialog);
    if (found == inviteDialogs.end())
        return;
    inviteDialogs.erase(found);
    delete dialog;
    if (channelWindows)
        channelWindows->OnInviteDialogClosed();
}

void TIRCUnit::CloseInviteDialogs()
{
    std::vector<IInviteRequest*> open;
    open.swap(inviteDialogs);
    for (IInviteRequest* dialog : open) {
        delete dialog;
        if (channelWindows)
            channelWindows->OnInviteDialogClosed();
    }
}

void TIRCUnit::HandleKick(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString channelText = message.GetParam(0), target = message.GetParam(1);
    if (target == session.currentNick)
        EndJoinWait(channelText);
    CString text = TLogFormatter(*logFormat).FormatKick(message, channelText, target, message.GetParam(2));
    TIRCChannel* channel = FindChannelByIRCName(channelText);
    if (!channel)
        PrintToServer(channelText, message.nick, text, EVENT_KICK, 0, false, L"");
    else
        LeaveOnKick(channel, message, text);
    receivedScripts->FireOnKick(message, channelText, target, message.GetParam(2));
}

void TIRCUnit::LeaveOnKick(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& text)
{
    CString channelText = message.GetParam(0), target = message.GetParam(1);
    PrintToChannel(channel, message.nick, text, EVENT_KICK, 0, false);
    if (target == session.currentNick) {
        CString key = channel->mode.key;
        PrintSystemLine(channel, LoadResourceString(IDS_KICKED_FROM_CHANNEL));
        channel->OnLeft();
        RefreshTreeItem(channel);
        if (preference->EnableKickSound)
            PlaySoundFile(preference->KickSoundFile);
        if (preference->RejoinOnKick)
            SendJoin(channelText, key);
    } else {
        StoreSenderAddress(channel, message);
        channel->RemoveMember(target);
        RejoinToRecoverOp(channel);
    }
    UpdateTitleIfSelected(channel);
}
