#include "controls/ListBox.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "controls/KeyState.h"

#include <windowsx.h>

BOOL TListBox::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= WS_HSCROLL;
    return TRUE;
}

BOOL TListBox::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        return listener && listener->OnKeyDown(this, (UINT)msg->wParam);
    if (msg->message == WM_SYSKEYDOWN && !IsShiftF10((UINT)msg->wParam))
        return listener && listener->OnSysKeyDown(this, (UINT)msg->wParam);
    return FALSE;
}

void TListBox::GetItems(std::vector<CString>& items) const
{
    items.clear();
    int count = GetCount();
    for (int i = 0; i < count; i++)
        items.push_back(GetText(i));
}

void TListBox::SetItems(const std::vector<CString>& items)
{
    ResetContent();
    for (const CString& item : items)
        AddString(item);
    UpdateHorizontalExtent();
}

int TListBox::FindItem(const CString& text, int (*compare)(const CString&, const CString&)) const
{
    int count = GetCount();
    for (int i = 0; i < count; i++)
        if (compare(GetText(i), text) == 0)
            return i;
    return -1;
}

void TListBox::SelectNear(int index)
{
    int count = GetCount();
    if (count > 0)
        SetCurSel(index < count ? index : count - 1);
}

int TListBox::WidestItemText() const
{
    CClientDC dc(m_hWnd);
    CSelectObject select(dc, GetFont());
    int widest = 0, count = GetCount();
    for (int i = 0; i < count; i++) {
        int width = dc.GetTextExtent(GetText(i)).cx;
        if (width > widest)
            widest = width;
    }
    return widest;
}

void TListBox::UpdateHorizontalExtent() { SetHorizontalExtent(WidestItemText() + 6); }

int TListBox::ItemFromPoint(int, int y) const
{
    int height = GetItemHeight(0);
    if (height <= 0)
        return -1;
    int index = GetTopIndex() + y / height;
    return index < 0 || index >= GetCount() ? -1 : index;
}

LRESULT TListBox::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (ItemFromPoint(x, y) < 0) {
        // The list box sends no notice for a selection cleared from here: the owner's step runs
        // as for one, so what it shows of the selection goes with it.
        if (GetCurSel() >= 0) {
            SetCurSel(-1);
            OnSelChange();
        }
        return 0;
    }
    if (listener)
        listener->OnClick(this, (UINT)wParam, x, y);
    return DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT TListBox::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    // A double click on a check box only toggles it.
    if (ItemFromPoint(x, y) >= 0 && listener && !checkChanged)
        listener->OnDoubleClick(this, (UINT)wParam, x, y);
    return DefWindowProc(WM_LBUTTONDBLCLK, wParam, lParam);
}

void TListBox::OnSelChange()
{
    if (listener)
        listener->OnSelChange(this);
}

BOOL TCheckListBox::PreCreateWindow(CREATESTRUCTW& cs)
{
    TListBox::PreCreateWindow(cs);
    cs.style = (cs.style & ~(LBS_OWNERDRAWVARIABLE | LBS_SORT)) | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    return TRUE;
}

void TCheckListBox::UpdateHorizontalExtent() { SetHorizontalExtent(WidestItemText() + GetItemHeight(0) + 6); }

// The check state is kept as the item's data.
bool TCheckListBox::GetCheck(int index) const { return SendMessage(LB_GETITEMDATA, (WPARAM)index) == 1; }

void TCheckListBox::SetCheck(int index, bool check)
{
    SendMessage(LB_SETITEMDATA, (WPARAM)index, check ? 1 : 0);
    RECT rect;
    SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)&rect);
    InvalidateRect(&rect);
}

void TCheckListBox::ToggleCheck(int index)
{
    SetCheck(index, !GetCheck(index));
    checkChanged = true;
    if (checkListener)
        checkListener->OnCheckChange(this);
}

bool TCheckListBox::ToggleIfOnBox(LPARAM lParam)
{
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    int index = ItemFromPoint(x, y);
    if (index < 0)
        return false;
    // The box is drawn at the item's left edge, which the list moves left by its sideways
    // scroll (in the drawing's origin or in the item rectangle, by system).
    int left = -::GetScrollPos(m_hWnd, SB_HORZ);
    if (x < left || x >= left + GetItemHeight(0))
        return false;
    ToggleCheck(index);
    return true;
}

LRESULT TCheckListBox::OnCheckDown(WPARAM wParam, LPARAM lParam)
{
    checkChanged = false;
    boxClick = ToggleIfOnBox(lParam);
    return OnLButtonDown(wParam, lParam);
}

LRESULT TCheckListBox::OnCheckDblClk(WPARAM wParam, LPARAM lParam)
{
    boxClick = ToggleIfOnBox(lParam);
    return OnLButtonDblClk(wParam, lParam);
}

LRESULT TCheckListBox::OnCheckUp(WPARAM wParam, LPARAM lParam)
{
    // The release gives the capture up before the list box tells of the selection, which is
    // still the click's.
    releasing = true;
    LRESULT result = DefWindowProc(WM_LBUTTONUP, wParam, lParam);
    releasing = false;
    boxClick = false;
    return result;
}

LRESULT TCheckListBox::OnCaptureChanged(WPARAM wParam, LPARAM lParam)
{
    // A press whose release goes elsewhere (Alt+Tab, a window that opened) ends with its capture,
    // so the selection notices of later keys are picks again.
    if (!releasing)
        boxClick = false;
    return DefWindowProc(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT TCheckListBox::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    int index = GetCurSel();
    if (wParam == VK_SPACE && index >= 0)
        ToggleCheck(index);
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT TCheckListBox::OnDrawItem(WPARAM, LPARAM lParam)
{
    DRAWITEMSTRUCT* item = (DRAWITEMSTRUCT*)lParam;
    if (item->itemID == (UINT)-1)
        return TRUE;
    CDC dc(item->hDC);
    RECT rect = item->rcItem;
    int box = rect.bottom - rect.top;
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    RECT text = rect;
    text.left += box + 2;
    dc.FillSolidRect(rect, ::GetSysColor(COLOR_WINDOW));
    dc.FillSolidRect(text, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT check = {rect.left + 1, rect.top + 1, rect.left + box - 1, rect.bottom - 1};
    ::DrawFrameControl(dc, &check, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (GetCheck((int)item->itemID) ? DFCS_CHECKED : 0));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    text.left += 2;
    dc.DrawText(GetText((int)item->itemID), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item->itemState & ODS_FOCUS)
        dc.DrawFocusRect(rect);
    return TRUE;
}
