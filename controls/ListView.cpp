#include "controls/ListView.h"

#include "controls/KeyState.h"

#include <windowsx.h>

BOOL TListView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        return HandleKeyDown((UINT)msg->wParam);
    if (msg->message == WM_SYSKEYDOWN && !IsShiftF10((UINT)msg->wParam))
        return listener && listener->OnSysKeyDown((UINT)msg->wParam);
    return FALSE;
}

bool TListView::HandleKeyDown(UINT key)
{
    if (IsNeverReportedKey(key) || !listener)
        return false;
    if (key >= VK_PRIOR && key <= VK_DOWN && !IsAnyModifierDown())
        return false;
    return listener->OnKeyDown(key);
}

BOOL TListView::OnItemChanged(NMHDR* header, LRESULT*)
{
    NMLISTVIEW* change = (NMLISTVIEW*)header;
    if (clicking && (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
        toggledRow = change->iItem;
    return FALSE; // the parent sees the change too
}

LRESULT TListView::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    toggledRow = -1;
    clicking = true;
    LRESULT result = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    clicking = false;
    return result;
}

LRESULT TListView::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    int row = toggledRow;
    toggledRow = -1;
    if (row >= 0 && row < GetItemCount()) {
        // A double click on a check box toggles it twice, like two clicks, before the owner
        // hears of it; the owner acts on the row whose box it was.
        ListView_SetCheckState(m_hWnd, row, !ListView_GetCheckState(m_hWnd, row));
        if (!(GetStyle() & LVS_SINGLESEL))
            DeselectAll();
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (listener)
        listener->OnDoubleClick(this, (UINT)wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
}

LRESULT TListView::OnRightClick(NMHDR*)
{
    if (listener)
        listener->OnRightClick(this);
    return 0;
}

LRESULT TListView::OnContextMenu(WPARAM, LPARAM lParam)
{
    if (!listener)
        return 0;
    POINT point;
    if (IsKeyboardContextMenu(lParam)) {
        int item = GetNextItem(-1, LVNI_SELECTED);
        RECT rect;
        if (item >= 0 && GetItemRect(item, &rect, LVIR_LABEL)) {
            int half = (rect.bottom - rect.top) / 2;
            point = {rect.left + half, rect.top + half};
        } else {
            GetClientRect(&rect);
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
        ClientToScreen(&point);
    } else {
        ::GetCursorPos(&point);
    }
    listener->OnContextMenu(this, point.x, point.y);
    return 0;
}

LRESULT TListView::OnCustomDraw(NMHDR* header)
{
    LRESULT result = CDRF_DODEFAULT;
    if (listener)
        listener->OnCustomDraw(this, header, &result);
    return result;
}

LRESULT TListView::OnColumnClick(NMHDR* header)
{
    if (listener)
        listener->OnColumnClick(this, ((NMLISTVIEW*)header)->iSubItem);
    return 0;
}

LRESULT TListView::OnSize(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_SIZE, wParam, lParam);
    HWND headerControl = GetHeader();
    if (LOWORD(lParam) >= 1 && HIWORD(lParam) >= 1 && headerControl)
        ::InvalidateRect(headerControl, nullptr, TRUE);
    return result;
}

void TListView::DeselectAll()
{
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        SetItemState(i, 0, LVIS_SELECTED);
}

void TListView::ClearSelectionAndFocus()
{
    int count = GetItemCount();
    for (int i = 0; i < count; i++)
        SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

int TListView::FindItemByText(const CString& text) const
{
    int count = GetItemCount();
    for (int i = 0; i < count; i++)
        if (GetItemText(i, 0) == text)
            return i;
    return -1;
}

int TListView::FindItemByData(LPARAM value) const
{
    int count = GetItemCount();
    for (int i = 0; i < count; i++)
        if (GetItemData(i) == value)
            return i;
    return -1;
}

int TListView::GetItemImage(int item) const
{
    LVITEMW lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    GetItem(&lv);
    return lv.iImage;
}

void TListView::SetItemImage(int item, int image)
{
    LVITEMW lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    lv.iImage = image;
    SetItem(&lv);
}

CString TListView::GetItemText(int item, int column) const
{
    // The control copies at most room - 1 characters, so a text that fills that may be cut.
    const int limit = 1048576;
    CString text;
    for (int room = 256;; room *= 2) {
        LVITEMW lv = {};
        lv.iSubItem = column;
        lv.cchTextMax = room;
        lv.pszText = text.GetBuffer(room);
        int length = (int)SendMessage(LVM_GETITEMTEXTW, (WPARAM)item, (LPARAM)&lv);
        text.ReleaseBuffer(length);
        if (length < room - 1 || room >= limit)
            return text;
    }
}

void TListView::GetSelectedItemIndexes(std::vector<int>& indexes) const
{
    indexes.clear();
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        indexes.push_back(i);
}

void TListView::GetSelectedItemTexts(std::vector<CString>& texts) const
{
    std::vector<int> indexes;
    GetSelectedItemIndexes(indexes);
    texts.clear();
    for (int i : indexes)
        texts.push_back(GetItemText(i, 0));
}

void TListView::GetSelectedItemData(std::vector<LPARAM>& data) const
{
    std::vector<int> indexes;
    GetSelectedItemIndexes(indexes);
    data.clear();
    for (int i : indexes)
        data.push_back(GetItemData(i));
}

int TListView::MoveItem(int from, int to)
{
    LVITEMW row = {};
    row.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_STATE | LVIF_INDENT;
    row.iItem = from;
    row.stateMask = (UINT)-1;
    if (!GetItem(&row))
        return -1;
    HWND headerControl = GetHeader();
    int columns = headerControl ? (int)::SendMessageW(headerControl, HDM_GETITEMCOUNT, 0, 0) : 1;
    std::vector<CString> texts;
    for (int column = 0; column < (columns > 0 ? columns : 1); column++)
        texts.push_back(GetItemText(from, column));
    SendMessage(LVM_DELETEITEM, (WPARAM)from);
    row.mask |= LVIF_TEXT;
    row.iItem = to;
    row.pszText = (LPWSTR)texts[0].GetString();
    int item = (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&row);
    for (size_t column = 1; item >= 0 && column < texts.size(); column++)
        SetItemText(item, (int)column, texts[column]);
    return item;
}

int TListView::GetViewIndex() const
{
    switch (GetStyle() & LVS_TYPEMASK) {
    case LVS_ICON:
        return 0;
    case LVS_SMALLICON:
        return 1;
    case LVS_LIST:
        return 2;
    default:
        return 3;
    }
}

bool TListView::GetCellAtMessagePos(int& row, int& column) const
{
    LVHITTESTINFO hit = {};
    DWORD position = ::GetMessagePos();
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ScreenToClient(m_hWnd, &hit.pt);
    ::SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
    row = hit.iItem;
    column = hit.iSubItem;
    return row >= 0;
}
