#include "classlib/CmdUI.h"

#include "classlib/MsgMap.h"
#include "classlib/Wnd.h"

void CCmdUI::Enable(BOOL on)
{
    if (m_hMenu) {
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    } else if (m_hOther) {
        // A control losing its enabled state while it has the focus would strand the keyboard.
        if (!on && ::GetFocus() == m_hOther)
            ::SendMessageW(::GetParent(m_hOther), WM_NEXTDLGCTL, 0, FALSE);
        ::EnableWindow(m_hOther, on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_hMenu)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    else if (m_hOther && (::SendMessageW(m_hOther, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
        ::SendMessageW(m_hOther, BM_SETCHECK, (WPARAM)check, 0);
}

void CCmdUI::SetText(LPCWSTR text)
{
    if (m_hMenu) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(text);
        ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_hOther) {
        ::SetWindowTextW(m_hOther, text);
    }
}

BOOL CCmdUI::DoUpdate(CWnd* target, BOOL disableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    LRESULT result = 0;
    if (target->ProcessWindowMessage(WM_KV_UPDATECMDUI, m_nID, (LPARAM)this, result))
        return TRUE;
    if (disableIfNoHandler && !target->ProcessWindowMessage(WM_KV_HASCOMMAND, m_nID, 0, result))
        Enable(FALSE);
    return FALSE;
}

void UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler)
{
    for (HWND child = ::GetWindow(target->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        int id = ::GetDlgCtrlID(child);
        if (id == 0 || id == -1 || id == 0xFFFF)
            continue;
        CCmdUI state;
        state.m_nID = (UINT)id;
        state.m_hOther = child;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

void UpdateMenuPopup(CWnd* target, HMENU popup, BOOL disableIfNoHandler)
{
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; i++) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == (UINT)-1)
            continue;
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = (UINT)i;
        state.m_hMenu = popup;
        state.DoUpdate(target, disableIfNoHandler);
    }
}
