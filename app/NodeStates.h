#pragma once
// The states of the selected server and channel that the main window's commands ask about.

#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"

inline bool IsLoggedIn(const TIRCUnit* unit) { return unit && unit->GetState() == TIRCUnit::StateLoggedIn; }

inline bool IsJoinedChannel(const TIRCChannel* channel)
{
    return channel && channel->GetKind() == TIRCChannel::KindChannel && channel->IsJoined();
}
