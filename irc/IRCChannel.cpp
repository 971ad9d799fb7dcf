#include "irc/IRCChannel.h"

TIRCChannel::TIRCChannel(TIRCUnit* owner, const TChannelConfig& entry, int channelKind)
    : unit(owner), config(entry), ircName(entry.Name), kind(channelKind)
{
}
