#pragma once
// List boxes.

#include "classlib/Wnd.h"

template <class TBase> class CListBoxT : public TBase {
public:
    int GetCount() const { return (int)this->SendMessage(LB_GETCOUNT); }
    int AddString(LPCWSTR text) { return (int)this->SendMessage(LB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(int index) { return (int)this->SendMessage(LB_DELETESTRING, (WPARAM)index); }
    void ResetContent() { this->SendMessage(LB_RESETCONTENT); }
    CString GetText(int index) const
    {
        CString text;
        int length = (int)this->SendMessage(LB_GETTEXTLEN, (WPARAM)index);
        if (length <= 0)
            return text;
        this->SendMessage(LB_GETTEXT, (WPARAM)index, (LPARAM)text.GetBuffer(length + 1));
        text.ReleaseBuffer(length);
        return text;
    }
    int GetCurSel() const { return (int)this->SendMessage(LB_GETCURSEL); }
    int SetCurSel(int index) { return (int)this->SendMessage(LB_SETCURSEL, (WPARAM)index); }
    int GetTopIndex() const { return (int)this->SendMessage(LB_GETTOPINDEX); }
    int GetItemHeight(int index) const { return (int)this->SendMessage(LB_GETITEMHEIGHT, (WPARAM)index); }
    void SetHorizontalExtent(int extent) { this->SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)extent); }
    int GetHorizontalExtent() const { return (int)this->SendMessage(LB_GETHORIZONTALEXTENT); }
};

class CListBox : public CListBoxT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, rect, parent, id);
    }
};
