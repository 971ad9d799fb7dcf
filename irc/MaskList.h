#pragma once
// One of a channel's ban, exception, invite and reop list windows, as the channel uses it.

#include "classlib/String.h"

#include <vector>

class IMaskList {
public:
    virtual ~IMaskList() = default;
    virtual void AddMask(const CString& mask) = 0;
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
    // With the main window: off while a modal dialog is over it.
    virtual void Enable(bool) {}
};
