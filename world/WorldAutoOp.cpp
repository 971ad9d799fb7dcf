// Settings edited on copies and handed back: the auto-op masks of the tree, the user groups.

#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "world/IRCWorld.h"

// A record finds its server (the first of that name) and its channels by name, as the dialog
// finds its items by their text.
void TIRCWorld::ApplyAutoOpSettings(const TWorldConfig& edited)
{
    tree->AutoOpMasks = edited.AutoOpMasks;
    for (const TUnitConfig& record : edited.Units) {
        TIRCUnit* unit = FindUnit(record.Name);
        if (!unit)
            continue;
        unit->SetAutoOpMasks(record.AutoOpMasks);
        for (const TChannelConfig& channelRecord : record.Channels)
            for (TIRCChannel* channel : unit->GetChannels())
                if (channel->GetKind() == TIRCChannel::KindChannel && channel->GetConfig().Name == channelRecord.Name) {
                    channel->GetConfig().AutoOpMasks = channelRecord.AutoOpMasks;
                    break;
                }
    }
}

void TIRCWorld::RefreshAllMemberLists()
{
    for (TIRCUnit* unit : units)
        for (TIRCChannel* channel : unit->GetChannels()) {
            channel->GetMembers().ClassifyAll();
            channel->GetMembers().RefreshView();
        }
}
