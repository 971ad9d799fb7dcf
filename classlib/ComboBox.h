#pragma once
// Combo boxes.

#include "classlib/Wnd.h"

template <class TBase> class CComboBoxT : public TBase {
public:
    int GetCount() const { return (int)this->SendMessage(CB_GETCOUNT); }
    int AddString(LPCWSTR text) { return (int)this->SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    void ResetContent() { this->SendMessage(CB_RESETCONTENT); }
    int FindStringExact(int start, LPCWSTR text) const
    {
        return (int)this->SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    CString GetLBText(int index) const
    {
        CString text;
        int length = (int)this->SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
        if (length <= 0)
            return text;
        this->SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)text.GetBuffer(length + 1));
        text.ReleaseBuffer(length);
        return text;
    }
    int GetCurSel() const { return (int)this->SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)this->SendMessage(CB_SETCURSEL, (WPARAM)index); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)this->SendMessage(CB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data)
    {
        return (int)this->SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data);
    }
    void LimitText(int limit) { this->SendMessage(CB_LIMITTEXT, (WPARAM)limit); }
    // index -1 is the edit field.
    int SetItemHeight(int index, int height)
    {
        return (int)this->SendMessage(CB_SETITEMHEIGHT, (WPARAM)index, (LPARAM)height);
    }
    int SetDroppedWidth(int width) { return (int)this->SendMessage(CB_SETDROPPEDWIDTH, (WPARAM)width); }
};

class CComboBox : public CComboBoxT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"COMBOBOX", L"", style, rect, parent, id);
    }
};
