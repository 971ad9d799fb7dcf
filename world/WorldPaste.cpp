#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "world/IRCWorld.h"

void TIRCWorld::SendPastedText(TIRCUnit* unit, TIRCChannel* channel, const CString& text, bool notice)
{
    if (unit && !text.IsEmpty())
        unit->SendTextLines(channel, text, notice);
}
