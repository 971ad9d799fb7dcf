// Received commands. What the session itself relies on lives here; channel, member and message
// display belong with the channel and world code and arrive with it.

#include "irc/IRCUnit.h"

void TIRCUnit::HandlePing(const TIRCReceiveMessage& message, TDispatchResult&)
{
    session.keepAliveCount = 0;
    SendPong(message.GetParam(0));
}

// The own JOIN marks the channel joined, so a lost connection knows what to rejoin.
void TIRCUnit::HandleJoin(const TIRCReceiveMessage& message, TDispatchResult&)
{
    if (message.nick != session.currentNick)
        return;
    CString name = message.GetParam(0);
    TIRCChannel* channel = FindChannelByIRCName(name);
    if (!channel)
        return;
    channel->SetIRCName(name);
    channel->OnJoined();
    RefreshTreeItem(channel);
}

void TIRCUnit::HandlePart(const TIRCReceiveMessage& message, TDispatchResult&)
{
    if (message.nick != session.currentNick)
        return;
    if (TIRCChannel* channel = FindChannelByIRCName(message.GetParam(0))) {
        channel->OnLeft();
        RefreshTreeItem(channel);
    }
}

// The server knows the user by the new nick from now on.
void TIRCUnit::HandleNick(const TIRCReceiveMessage& message, TDispatchResult&)
{
    CString newNick = message.GetParam(0);
    if (message.nick == session.currentNick && !newNick.IsEmpty())
        session.currentNick = newNick;
}

// The applied changes go to the macro step, which derives OP, DEOP, VOICE and DEVOICE from them.
void TIRCUnit::HandleMode(const TIRCReceiveMessage& message, TDispatchResult& result)
{
    if (TIRCChannel* channel = FindChannelByIRCName(message.GetParam(0)))
        channel->mode.ApplyModeChange(message.GetParamsFrom(1), result.modeChanges);
}

void TIRCUnit::OnErrorMessage(const TIRCReceiveMessage& message, TDispatchResult&)
{
    PrintErrorText(message.GetParamsFrom(0));
}

void TIRCUnit::HandlePrivmsg(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::HandleQuit(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::HandleTopic(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::HandleNotice(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::HandleKick(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::HandleInvite(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::OnWallops(const TIRCReceiveMessage&, TDispatchResult&) {}
void TIRCUnit::OnKill(const TIRCReceiveMessage&, TDispatchResult&) {}
