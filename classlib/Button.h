#pragma once
// Buttons, check boxes and radio buttons.

#include "classlib/Wnd.h"

template <class TBase> class CButtonT : public TBase {
public:
    int GetCheck() const { return (int)this->SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { this->SendMessage(BM_SETCHECK, (WPARAM)check); }
    void Click() { this->SendMessage(BM_CLICK); }
};

class CButton : public CButtonT<CWnd> {
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"BUTTON", text, style, rect, parent, id);
    }
};
