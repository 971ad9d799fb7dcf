#include "world/MemberListView.h"

#include "irc/Member.h"

int GetMemberImage(const TIRCMember& member)
{
    return member.q ? 5 : member.a ? 4 : member.o ? 0 : member.h ? 2 : member.v ? 1 : 3;
}

int TMemberListView::InsertItem(const TIRCMember* member, const CString& text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = GetItemCount();
    item.pszText = (LPWSTR)text.GetString();
    item.lParam = (LPARAM)member;
    item.iImage = GetMemberImage(*member);
    return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&item);
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
    SendMessage(LVM_DELETEITEM, (WPARAM)item);
    if ((GetStyle() & LVS_TYPEMASK) == LVS_SMALLICON)
        SendMessage(LVM_ARRANGE, LVA_DEFAULT);
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
    TSortCall call = {compare, param};
    SendMessage(LVM_SORTITEMS, (WPARAM)&call, (LPARAM)&CompareItems);
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
