// Numeric replies: one case per reply, the bodies live in files by topic.

#include "irc/IRCUnit.h"

void TIRCUnit::HandleNumericReply(const TIRCReceiveMessage& message)
{
    switch (message.numeric) {
    case 1: OnLoggedIn(message); break;
    case 376: OnLoggedIn(message); break;
    case 422: OnLoggedIn(message); break;
    default: PrintUnknownReply(message); break;
    }
}
