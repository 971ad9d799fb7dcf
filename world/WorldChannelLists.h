#pragma once
// Makes the units' channel list windows for the world.

#include "ircproto/ChannelListWindow.h"

struct TWindowGeometry;

class TWorldChannelLists : public IChannelListWindows {
public:
    IChannelListWindow* CreateChannelListWindow(TIRCUnit* unit, IListDialogListener* listener,
                                                const CString& title) override;

    // Where the windows keep their place and column widths.
    TWindowGeometry* geometry = nullptr;
};
