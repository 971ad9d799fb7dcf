#pragma once
// Up-down (spin) controls.

#include "classlib/Wnd.h"

#include <commctrl.h>

template <class TBase> class CSpinButtonCtrlT : public TBase {
public:
    void SetRange32(int low, int high) { this->SendMessage(UDM_SETRANGE32, (WPARAM)low, (LPARAM)high); }
    void GetRange32(int& low, int& high) const { this->SendMessage(UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high); }
    HWND SetBuddy(HWND buddy) { return (HWND)this->SendMessage(UDM_SETBUDDY, (WPARAM)buddy); }
};

class CSpinButtonCtrl : public CSpinButtonCtrlT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, UPDOWN_CLASSW, L"", style, rect, parent, id);
    }
};
