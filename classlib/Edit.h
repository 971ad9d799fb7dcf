#pragma once
// Edit controls: CEditT's calls work on a plain handle (CEditT<CWindow>) or on CEdit, the
// object that receives the control's messages.

#include "classlib/Wnd.h"

template <class TBase> class CEditT : public TBase {
public:
    void LimitText(int limit) { this->SendMessage(EM_LIMITTEXT, (WPARAM)limit); }
    void SetSel(int start, int end) { this->SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end); }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        this->SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        start = (int)s;
        end = (int)e;
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE) { this->SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void ScrollCaret() { this->SendMessage(EM_SCROLLCARET); }
};

class CEdit : public CEditT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"EDIT", L"", style, rect, parent, id);
    }
};
