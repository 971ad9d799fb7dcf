// Row arithmetic and expansion helpers of the tree view.
#include "controls/TreeView.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"

int TTreeView::GetItemDepth(HTREEITEM item) const
{
    int depth = 0;
    for (HTREEITEM up = GetParentItem(item); up; up = GetParentItem(up))
        depth++;
    return depth;
}

bool TTreeView::IsItemVisible(HTREEITEM item) const
{
    for (HTREEITEM up = GetParentItem(item); up; up = GetParentItem(up))
        if (!(GetItemState(up, TVIS_EXPANDED) & TVIS_EXPANDED))
            return false;
    return true;
}

void TTreeView::ExpandAncestors(HTREEITEM item)
{
    if (!item)
        return;
    ExpandAncestors(GetParentItem(item));
    if (GetChildItem(item) && !(GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED))
        Expand(item, TVE_EXPAND);
}

int TTreeView::GetVisibleIndex(HTREEITEM item) const
{
    if (!item || !IsItemVisible(item))
        return -1;
    int index = 0;
    for (HTREEITEM row = GetRootItem(); row; row = GetNextVisibleItem(row), index++)
        if (row == item)
            return index;
    return -1;
}

void TTreeView::ScrollItemIntoView(HTREEITEM item)
{
    ExpandAncestors(GetParentItem(item));
    HTREEITEM firstRow = GetFirstVisibleItem();
    int first = GetVisibleIndex(firstRow), index = GetVisibleIndex(item);
    if (index == first)
        return;
    if (index < first) {
        SelectSetFirstVisible(item);
        return;
    }
    RECT client;
    GetClientRect(&client);
    int height = client.bottom - client.top, used = 0;
    HTREEITEM top = item;
    for (HTREEITEM row = item; row; row = GetPrevVisibleItem(row)) {
        RECT rect;
        GetItemRect(row, &rect, FALSE);
        used += rect.bottom - rect.top;
        if (used > height)
            break;
        top = row;
    }
    if (GetVisibleIndex(top) > first)
        SelectSetFirstVisible(top);
}

void TTreeView::SetVerticalScrollPos(int pos)
{
    SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos));
    SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos));
    SendMessage(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0));
}

void TTreeView::SetFontAndItemHeight(HFONT font)
{
    SetFont(font, TRUE);
    TEXTMETRICW metrics = {};
    {
        CClientDC dc(m_hWnd);
        CSelectObject select(dc, font);
        dc.GetTextMetrics(&metrics);
    }
    int height = metrics.tmHeight + 4;
    if (GetImageList(TVSIL_NORMAL) && height < 16)
        height = 16;
    SetItemHeight(height);
}

HTREEITEM TTreeView::GetLastChild(HTREEITEM item) const
{
    HTREEITEM last = nullptr;
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child))
        last = child;
    return last;
}

HTREEITEM TTreeView::GetLastItem() const
{
    HTREEITEM last = nullptr;
    for (HTREEITEM root = GetRootItem(); root; root = GetNextSiblingItem(root))
        last = root;
    for (HTREEITEM child = last ? GetLastChild(last) : nullptr; child; child = GetLastChild(child))
        last = child;
    return last;
}

void TTreeView::ExpandBranches(HTREEITEM item, UINT action)
{
    for (; item; item = GetNextSiblingItem(item)) {
        Expand(item, action);
        ExpandBranches(GetChildItem(item), action);
    }
}

void TTreeView::ExpandAll(HTREEITEM item, UINT action)
{
    ExpandBranches(item ? GetChildItem(item) : GetRootItem(), action);
}

int TTreeView::GetSiblingPosition(HTREEITEM item) const
{
    if (!item)
        return 0;
    int position = 1;
    for (HTREEITEM before = GetPrevSiblingItem(item); before; before = GetPrevSiblingItem(before))
        position++;
    return position;
}

void TTreeView::DrawSiblingNumber(const NMTVCUSTOMDRAW* draw)
{
    auto item = (HTREEITEM)draw->nmcd.dwItemSpec;
    int indent = (int)SendMessage(TVM_GETINDENT);
    DWORD style = GetStyle();
    int offset = (style & TVS_HASBUTTONS) && (style & TVS_LINESATROOT) ? indent : 0;
    int left = offset + 2 - ::GetScrollPos(m_hWnd, SB_HORZ);
    RECT box = {left, draw->nmcd.rc.top, left + indent, draw->nmcd.rc.bottom};
    HDC dc = draw->nmcd.hdc;
    HBRUSH brush = ::CreateSolidBrush(draw->clrTextBk);
    ::FillRect(dc, &box, brush);
    ::DeleteObject(brush);
    wchar_t number[16];
    wsprintfW(number, L"%02d", GetSiblingPosition(item));
    COLORREF oldColor = ::SetTextColor(dc, draw->clrText);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, number, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}
