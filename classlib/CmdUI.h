#pragma once
// Command user-interface updates: a CCmdUI stands for one menu item, control or tool-bar button
// and lets the UPDATE_UI_HANDLER entries of a window's map enable or check it.

#include <windows.h>

class CWnd;

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (buttons only).
    virtual void SetCheck(int check = 1);
    virtual void SetText(LPCWSTR text);

    // Asks the target's map for an update handler; without one, and when asked to, the item is
    // disabled unless the map has a command handler for it. True when a handler ran.
    BOOL DoUpdate(CWnd* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;       // position in m_hMenu
    HMENU m_hMenu = nullptr; // set for a menu item
    HWND m_hOther = nullptr; // set for a control
    BOOL m_bEnableChanged = FALSE;
};

// Updates every child control of the target that has an id.
void UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler);
// Updates the command items of a popup about to open; separators and submenus are left alone.
void UpdateMenuPopup(CWnd* target, HMENU popup, BOOL disableIfNoHandler);
