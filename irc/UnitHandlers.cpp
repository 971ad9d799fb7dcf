// Received commands that only the session itself cares about.

#include "irc/IRCUnit.h"

void TIRCUnit::HandlePing(const TIRCReceiveMessage& message, TDispatchResult&)
{
    session.keepAliveCount = 0;
    SendPong(message.GetParam(0));
}
