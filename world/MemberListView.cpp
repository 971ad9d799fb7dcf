#include "world/MemberListView.h"

#include "irc/Member.h"

namespace {

// Started by the list's first change and ticking while changes come: the burst is over at the
// first tick without a change since the last one. Timers come after the queue's other messages,
// so a burst read in many pieces ends first; laying out half a burst and painting it would cost
// as much again. Endless churn still shows every kMaxHoldMs.
const UINT_PTR kReleaseTimerId = 0x4B56;
const UINT kReleaseMs = 30;
const DWORD kMaxHoldMs = 250;

} // namespace

int GetMemberImage(const TIRCMember& member)
{
    return member.q ? 5 : member.a ? 4 : member.o ? 0 : member.h ? 2 : member.v ? 1 : 3;
}

int TMemberListView::InsertItem(const TIRCMember* member, const CString& text, int item)
{
    HoldRedraw();
    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    row.iItem = item;
    row.pszText = (LPWSTR)text.GetString();
    row.lParam = (LPARAM)member;
    row.iImage = GetMemberImage(*member);
    return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&row);
}

// The manager sets the text whenever the member's record changed, modes included.
void TMemberListView::SetItemText(int item, int column, const CString& text)
{
    TListView::SetItemText(item, column, text);
    if (const TIRCMember* member = GetMember(item))
        SetItemImage(item, GetMemberImage(*member));
}

void TMemberListView::DeleteItem(int item)
{
    HoldRedraw();
    SendMessage(LVM_DELETEITEM, (WPARAM)item);
}

void TMemberListView::DeleteAllItems()
{
    HoldRedraw();
    TListView::DeleteAllItems();
}

void TMemberListView::MoveItem(int from, int to)
{
    HoldRedraw();
    TListView::MoveItem(from, to);
}

// A mode change shows in the item's image.
void TMemberListView::RedrawItem(int item)
{
    if (const TIRCMember* member = GetMember(item))
        SetItemImage(item, GetMemberImage(*member));
    SendMessage(LVM_REDRAWITEMS, (WPARAM)item, (LPARAM)item);
}

namespace {

struct TSortCall {
    TMemberCompare compare;
    int param;
};

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM call)
{
    auto* sort = (const TSortCall*)call;
    return sort->compare((const TIRCMember*)a, (const TIRCMember*)b, sort->param);
}

} // namespace

void TMemberListView::SortItems(TMemberCompare compare, int param)
{
    HoldRedraw();
    sortCount++;
    TSortCall call = {compare, param};
    SendMessage(LVM_SORTITEMS, (WPARAM)&call, (LPARAM)&CompareItems);
}

void TMemberListView::HoldRedraw()
{
    changedSinceTick = true;
    if (redrawHeld || !m_hWnd)
        return;
    redrawHeld = true;
    heldAt = ::GetTickCount();
    SendMessage(WM_SETREDRAW, FALSE);
    ::SetTimer(m_hWnd, kReleaseTimerId, kReleaseMs, nullptr);
}

void TMemberListView::OnReleaseTimer()
{
    if (redrawHeld && changedSinceTick && ::GetTickCount() - heldAt < kMaxHoldMs) {
        changedSinceTick = false;
        return;
    }
    ReleaseRedraw();
}

// Laid out while painting is still off, the rows invalidate nothing one by one; turning it on
// invalidates the list once.
void TMemberListView::ReleaseRedraw()
{
    ::KillTimer(m_hWnd, kReleaseTimerId);
    if (!redrawHeld)
        return;
    redrawHeld = false;
    layoutCount++;
    if ((GetStyle() & LVS_TYPEMASK) == LVS_SMALLICON || (GetStyle() & LVS_TYPEMASK) == LVS_ICON)
        SendMessage(LVM_ARRANGE, LVA_DEFAULT);
    SendMessage(WM_SETREDRAW, TRUE);
}

LRESULT TMemberListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kReleaseTimerId) {
        OnReleaseTimer();
        return 0;
    }
    return TDoubleBufferedListView::WindowProc(message, wParam, lParam);
}

namespace {

RECT ItemRect(TListView* list, int item, int code)
{
    RECT rect = {};
    rect.left = code;
    list->SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)&rect);
    return rect;
}

void DrawCell(HDC dc, RECT rect, const CString& text, COLORREF back, UINT format)
{
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
    if (format & DT_END_ELLIPSIS)
        rect.left += 2, rect.right -= 2;
    ::DrawTextW(dc, text, -1, &rect, format | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

} // namespace

void DrawMemberRow(TListView* list, HDC dc, int item, COLORREF text, COLORREF back, bool report)
{
    COLORREF oldText = ::SetTextColor(dc, text);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, (HFONT)list->SendMessage(WM_GETFONT));
    RECT label = ItemRect(list, item, LVIR_LABEL);
    RECT icon = ItemRect(list, item, LVIR_ICON);
    RECT focus = label;
    DrawCell(dc, label, list->GetItemText(item, 0), back, report ? DT_END_ELLIPSIS : DT_CENTER);
    if (HIMAGELIST images = (HIMAGELIST)list->SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))
        ImageList_Draw(images, GetMemberImage(*(const TIRCMember*)list->GetItemData(item)), dc, icon.left, icon.top,
                       ILD_TRANSPARENT);
    if (report) {
        HWND headerWindow = list->GetHeader();
        int columns = headerWindow ? (int)::SendMessageW(headerWindow, HDM_GETITEMCOUNT, 0, 0) : 1;
        for (int column = 1; column < columns; column++) {
            RECT cell = {};
            cell.top = column;
            cell.left = LVIR_BOUNDS;
            list->SendMessage(LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)&cell);
            DrawCell(dc, cell, list->GetItemText(item, column), back, DT_END_ELLIPSIS);
            ::UnionRect(&focus, &focus, &cell);
        }
        ::UnionRect(&focus, &focus, &icon);
    }
    if (list->GetItemState(item, LVIS_FOCUSED) & LVIS_FOCUSED)
        ::DrawFocusRect(dc, &focus);
    ::SelectObject(dc, oldFont);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
}
