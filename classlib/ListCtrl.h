#pragma once
// List-view controls (common controls).

#include "classlib/Wnd.h"

#include <commctrl.h>

template <class TBase> class CListCtrlT : public TBase {
public:
    int GetItemCount() const { return (int)this->SendMessage(LVM_GETITEMCOUNT); }
    int InsertItem(int index, LPCWSTR text, int image = -1)
    {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text);
        item.iImage = image;
        return (int)this->SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&item);
    }
    int InsertColumn(int index, LPCWSTR heading, int width)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(heading);
        column.cx = width;
        return (int)this->SendMessage(LVM_INSERTCOLUMNW, (WPARAM)index, (LPARAM)&column);
    }
    BOOL SetItemText(int index, int subItem, LPCWSTR text)
    {
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = const_cast<LPWSTR>(text);
        return (BOOL)this->SendMessage(LVM_SETITEMTEXTW, (WPARAM)index, (LPARAM)&item);
    }
    BOOL GetItem(LVITEMW* item) const { return (BOOL)this->SendMessage(LVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEMW* item) { return (BOOL)this->SendMessage(LVM_SETITEMW, 0, (LPARAM)item); }
    UINT GetItemState(int index, UINT mask) const
    {
        return (UINT)this->SendMessage(LVM_GETITEMSTATE, (WPARAM)index, (LPARAM)mask);
    }
    BOOL SetItemState(int index, UINT state, UINT mask)
    {
        LVITEMW item = {};
        item.state = state;
        item.stateMask = mask;
        return (BOOL)this->SendMessage(LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item);
    }
    LPARAM GetItemData(int index) const
    {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        GetItem(&item);
        return item.lParam;
    }
    BOOL SetItemData(int index, LPARAM data)
    {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        item.lParam = data;
        return SetItem(&item);
    }
    int GetNextItem(int start, UINT flags) const
    {
        return (int)this->SendMessage(LVM_GETNEXTITEM, (WPARAM)start, MAKELPARAM(flags, 0));
    }
    BOOL GetItemRect(int index, RECT* rect, int code) const
    {
        rect->left = code;
        return (BOOL)this->SendMessage(LVM_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
    HWND GetHeader() const { return (HWND)this->SendMessage(LVM_GETHEADER); }
    COLORREF GetBkColor() const { return (COLORREF)this->SendMessage(LVM_GETBKCOLOR); }
    DWORD SetExtendedStyle(DWORD style)
    {
        return (DWORD)this->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)style);
    }
    BOOL DeleteAllItems() { return (BOOL)this->SendMessage(LVM_DELETEALLITEMS); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind)
    {
        return (HIMAGELIST)this->SendMessage(LVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list);
    }
};

class CListCtrl : public CListCtrlT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, rect, parent, id);
    }
};
