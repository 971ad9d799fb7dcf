#pragma once
// Tree-view controls (common controls).

#include "classlib/Wnd.h"

#include <commctrl.h>

template <class TBase> class CTreeCtrlT : public TBase {
public:
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPWSTR>(text);
        return InsertItem(&insert);
    }
    HTREEITEM InsertItem(TVINSERTSTRUCTW* insert)
    {
        return (HTREEITEM)this->SendMessage(TVM_INSERTITEMW, 0, (LPARAM)insert);
    }
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)this->SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)this->SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL SelectItem(HTREEITEM item) { return (BOOL)this->SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL SelectDropTarget(HTREEITEM item)
    {
        return (BOOL)this->SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)item);
    }
    BOOL SelectSetFirstVisible(HTREEITEM item)
    {
        return (BOOL)this->SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, (LPARAM)item);
    }
    BOOL Expand(HTREEITEM item, UINT action) { return (BOOL)this->SendMessage(TVM_EXPAND, action, (LPARAM)item); }
    BOOL GetItem(TVITEMW* item) const { return (BOOL)this->SendMessage(TVM_GETITEMW, 0, (LPARAM)item); }
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return (UINT)this->SendMessage(TVM_GETITEMSTATE, (WPARAM)item, (LPARAM)mask);
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask)
    {
        TVITEMW tv = {};
        tv.mask = TVIF_STATE;
        tv.hItem = item;
        tv.state = state;
        tv.stateMask = mask;
        return (BOOL)this->SendMessage(TVM_SETITEMW, 0, (LPARAM)&tv);
    }
    BOOL SetItemText(HTREEITEM item, LPCWSTR text)
    {
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = const_cast<LPWSTR>(text);
        return (BOOL)this->SendMessage(TVM_SETITEMW, 0, (LPARAM)&tv);
    }
    CString GetItemText(HTREEITEM item) const
    {
        wchar_t buffer[1024] = {};
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = buffer;
        tv.cchTextMax = 1024;
        GetItem(&tv);
        return CString(buffer);
    }
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const
    {
        *(HTREEITEM*)rect = item;
        return (BOOL)this->SendMessage(TVM_GETITEMRECT, (WPARAM)textOnly, (LPARAM)rect);
    }
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const
    {
        TVHITTESTINFO info = {};
        info.pt = point;
        HTREEITEM item = (HTREEITEM)this->SendMessage(TVM_HITTEST, 0, (LPARAM)&info);
        if (flags)
            *flags = info.flags;
        return item;
    }
    HIMAGELIST CreateDragImage(HTREEITEM item)
    {
        return (HIMAGELIST)this->SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)item);
    }
    HIMAGELIST GetImageList(int kind) const { return (HIMAGELIST)this->SendMessage(TVM_GETIMAGELIST, (WPARAM)kind); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind)
    {
        return (HIMAGELIST)this->SendMessage(TVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list);
    }
    int GetItemHeight() const { return (int)this->SendMessage(TVM_GETITEMHEIGHT); }
    int SetItemHeight(int height) { return (int)this->SendMessage(TVM_SETITEMHEIGHT, (WPARAM)height); }
    COLORREF GetBkColor() const { return (COLORREF)this->SendMessage(TVM_GETBKCOLOR); }
};

class CTreeCtrl : public CTreeCtrlT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, rect, parent, id);
    }
};
