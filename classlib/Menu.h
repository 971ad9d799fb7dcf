#pragma once
// CMenu: owns a menu handle (loaded or made) and destroys it; GetSubMenu hands out popups that
// stay owned by their menu.

#include "classlib/App.h"

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { DestroyMenu(); }

    BOOL LoadMenu(UINT id) { return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id))); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL Attach(HMENU menu)
    {
        DestroyMenu();
        m_hMenu = menu;
        return menu != nullptr;
    }
    HMENU Detach()
    {
        HMENU menu = m_hMenu;
        m_hMenu = nullptr;
        return menu;
    }
    BOOL DestroyMenu()
    {
        BOOL ok = m_hMenu && ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        return ok;
    }

    operator HMENU() const { return m_hMenu; }
    HMENU GetSubMenu(int pos) const { return ::GetSubMenu(m_hMenu, pos); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    DWORD CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    // Shows a popup of this menu (m_hMenu itself when pos is -1) at a screen point.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, int pos = -1) const
    {
        return ::TrackPopupMenu(pos < 0 ? m_hMenu : GetSubMenu(pos), flags, x, y, 0, owner, nullptr);
    }

    HMENU m_hMenu = nullptr;
};
