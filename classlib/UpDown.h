#pragma once
// Up-down (spin) controls.

#include "classlib/Wnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, UPDOWN_CLASSW, L"", style, rect, parent, id);
    }
};
