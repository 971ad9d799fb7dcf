#include "controls/TreeView.h"

#include "controls/KeyState.h"

#include <windowsx.h>

BOOL TTreeView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        return HandleKeyDown((UINT)msg->wParam);
    if (msg->message == WM_SYSKEYDOWN && !IsShiftF10((UINT)msg->wParam))
        return listener && listener->OnSysKeyDown((UINT)msg->wParam);
    return FALSE;
}

// The tree control keeps Alt to itself; given to the system's own handling, a tap of Alt enters
// the menu bar here as it does from every other control.
LRESULT TTreeView::OnSysKeyDownMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_MENU)
        return ::DefWindowProcW(m_hWnd, WM_SYSKEYDOWN, wParam, lParam);
    return DefWindowProc(WM_SYSKEYDOWN, wParam, lParam);
}

bool TTreeView::HandleKeyDown(UINT key)
{
    if (IsNeverReportedKey(key) || !listener)
        return false;
    // Plus and minus expand and collapse, with or without modifiers.
    if (key == VK_ADD || key == VK_SUBTRACT || key == VK_OEM_PLUS || key == VK_OEM_MINUS)
        return false;
    // Up and Down go to the owner, which may move the selection itself.
    if (((key >= VK_PRIOR && key <= VK_LEFT) || key == VK_RIGHT) && !IsAnyModifierDown())
        return false;
    return listener->OnKeyDown(key);
}

HTREEITEM TTreeView::ItemAtScreenPoint(POINT screen) const
{
    ScreenToClient(&screen);
    UINT flags = 0;
    HTREEITEM item = HitTest(screen, &flags);
    const UINT onItem = TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT;
    return (flags & onItem) ? item : nullptr;
}

void TTreeView::ReportContextMenu(HTREEITEM item, POINT screen)
{
    if (listener)
        listener->OnContextMenu(this, item, screen.x, screen.y);
}

LRESULT TTreeView::OnSelChanged(NMHDR* header)
{
    NMTREEVIEWW* change = (NMTREEVIEWW*)header;
    if (listener)
        listener->OnSelChanged(this, change->itemNew.hItem, change->itemOld.hItem);
    return 0;
}

// Answered as handled: the control would otherwise send itself WM_CONTEXTMENU as well and the
// owner would see the same click twice.
LRESULT TTreeView::OnRightClick(NMHDR*)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    ReportContextMenu(ItemAtScreenPoint(cursor), cursor);
    return 1;
}

LRESULT TTreeView::OnContextMenu(WPARAM, LPARAM lParam)
{
    POINT point;
    HTREEITEM item = nullptr;
    if (IsKeyboardContextMenu(lParam)) {
        item = GetSelectedItem();
        RECT rect;
        if (item && GetItemRect(item, &rect, FALSE)) {
            int half = (rect.bottom - rect.top) / 2;
            point = {rect.left + half, rect.top + half};
        } else {
            item = nullptr;
            GetClientRect(&rect);
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
        ClientToScreen(&point);
    } else {
        ::GetCursorPos(&point);
        item = ItemAtScreenPoint(point);
    }
    ReportContextMenu(item, point);
    return 0;
}

LRESULT TTreeView::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (listener) {
        POINT client = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        listener->OnDoubleClick(this, ItemAtScreenPoint(cursor), client.x, client.y);
    }
    return DefWindowProc(WM_LBUTTONDBLCLK, wParam, lParam);
}

BOOL TTreeView::OnDblClkNotify(NMHDR*, LRESULT* result)
{
    if (expandOnDoubleClick)
        return FALSE;
    *result = 1; // keeps the control from expanding or collapsing
    return TRUE;
}

LRESULT TTreeView::OnCustomDraw(NMHDR* header)
{
    LRESULT result = CDRF_DODEFAULT;
    if (listener)
        listener->OnCustomDraw(this, header, &result);
    return result;
}
