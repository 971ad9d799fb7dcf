#pragma once
// CFrameWnd: a top-level window with a menu, accelerators, an icon and a title from resources
// sharing one id; menu items and tool-bar buttons follow the frame's update handlers.

#include "classlib/Wnd.h"

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Menu, accelerator table, icon and title string (when present) all carry resourceId.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr);
    // The tool bar whose buttons are updated in idle time (not owned).
    void SetToolBar(HWND toolBar) { m_hToolBar = toolBar; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Items without a handler of either kind are greyed, as users expect of a frame's menu.
    BOOL m_bAutoMenuEnable = TRUE;

protected:
    void UpdateToolBar();

    HACCEL m_hAccelTable = nullptr;
    HICON m_hIcon = nullptr;
    HWND m_hToolBar = nullptr;

private:
    // Idle time comes after every message a flood brings; the tool bar and the idle handlers
    // run at most once a display frame, the last request from a timer.
    bool IsIdleUpdateDue();

    DWORD m_idleUpdatedAt = 0;
    bool m_idleUpdateWaiting = false;
};
