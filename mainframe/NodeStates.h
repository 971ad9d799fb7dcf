#pragma once
// The states of the selected server and channel that the main window's commands ask about, and
// the away text they offer.

#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"

inline bool IsLoggedIn(const TIRCUnit* unit) { return unit && unit->GetState() == TIRCUnit::StateLoggedIn; }

inline bool IsJoinedChannel(const TIRCChannel* channel)
{
    return channel && channel->GetKind() == TIRCChannel::KindChannel && channel->IsJoined();
}

// The away text offered: the one in use, else the server's setting with its variables expanded.
inline CString CurrentAwayMessage(TIRCUnit* unit)
{
    CString message = unit->GetSession().awayMessage;
    return message.IsEmpty() ? unit->ExpandText(unit->GetSettings().AwayMessage) : message;
}
