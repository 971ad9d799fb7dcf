#pragma once
// One of a channel's ban, exception, invite and reop list windows, as the channel uses it.

#include "classlib/String.h"
#include "foundation/ModelessWindow.h"

#include <vector>

class IMaskList : public IModelessWindow {
public:
    virtual ~IMaskList() = default;
    // A mask the server listed: into the shown list and the record of what it was filled with.
    virtual void AddMask(const CString& mask) = 0;
    // A mask the user puts in, as the window's Add button does: into the shown list only, so OK
    // sends it.
    virtual void AddShownMask(const CString& mask) = 0;
    // Into the window's edit box, for the user to adjust before adding.
    virtual void SetMaskText(const CString& mask) = 0;
    virtual void RemoveMask(const CString& mask) = 0;
    virtual void ClearMasks() = 0;
    virtual int GetMaskCount() = 0;
    // The masks shown now, and those it showed when the server had filled it.
    virtual void GetMasks(std::vector<CString>& now, std::vector<CString>& filled) = 0;
    // Restored when minimised, brought to the top and focused.
    virtual void Show() = 0;
    // The idle-time update of its buttons.
    virtual void KickIdle() = 0;
};
