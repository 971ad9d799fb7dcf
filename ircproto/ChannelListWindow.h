#pragma once
// The channel list window of a unit, as the engine fills and answers it. The world makes the
// real window; without it (tests, start-up) LIST replies are printed as text.

#include "classlib/String.h"

#include <windows.h>

class IChannelListWindow;
class TIRCUnit;

class IListDialogListener {
public:
    virtual void OnUpdateList(IChannelListWindow* dialog) = 0;
    // The owner deletes the window here.
    virtual void OnListDialogClose(IChannelListWindow* dialog) = 0;
    virtual void OnJoinChannel(IChannelListWindow* dialog, const CString& channel) = 0;
    virtual void OnGetMemberInfo(IChannelListWindow* dialog, const CString& channel) = 0;
    virtual void OnGetDetailedMemberInfo(IChannelListWindow* dialog, const CString& channel) = 0;

protected:
    ~IListDialogListener() = default;
};

class IChannelListWindow {
public:
    virtual ~IChannelListWindow() = default;
    virtual void ClearItems() = 0;
    // Rows arrive unsorted, the newest at the top.
    virtual void AddChannel(const CString& name, int users, const CString& topic) = 0;
    virtual void SortItems() = 0;
    // Restored when minimised, brought to the top and activated.
    virtual void Activate() = 0;
    virtual void KickIdle(WPARAM wParam, LPARAM lParam) = 0;
    // With the main window: off while a modal dialog is over it.
    virtual void Enable(bool) {}
};

class IChannelListWindows {
public:
    // Null when the window cannot be made.
    virtual IChannelListWindow* CreateChannelListWindow(TIRCUnit* unit, IListDialogListener* listener,
                                                        const CString& title) = 0;

protected:
    ~IChannelListWindows() = default;
};
