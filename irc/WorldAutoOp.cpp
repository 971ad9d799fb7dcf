// Settings edited on copies and handed back: the auto-op masks of the tree, the user groups.

#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "irc/IRCWorld.h"

#include <map>

// Records and units are paired by name in tree order, the n-th record of a name with the n-th
// server of that name, so servers sharing a name do not take each other's masks.
void TIRCWorld::ApplyAutoOpSettings(const TWorldConfig& edited)
{
    tree->AutoOpMasks = edited.AutoOpMasks;
    std::vector<TIRCUnit*> ordered;
    GetUnitsInTreeOrder(ordered);
    std::map<CString, int> seen;
    for (const TUnitConfig& record : edited.Units) {
        int wanted = seen[record.Name]++;
        TIRCUnit* unit = nullptr;
        for (TIRCUnit* candidate : ordered)
            if (candidate->GetName() == record.Name && wanted-- == 0) {
                unit = candidate;
                break;
            }
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
