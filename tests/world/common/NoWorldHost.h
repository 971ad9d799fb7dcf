#pragma once
// A world host for tests that need no main window: no clipboard and no action commands.

#include "world/IRCWorld.h"

class TNoHost : public IIRCWorldHost {
public:
    void CopyTextToClipboard(const CString&) override {}
    int FindActionCommand(const CString&) override { return 0; }
};
