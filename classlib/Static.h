#pragma once
// Static controls: labels, icons and frames.

#include "classlib/Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"STATIC", text, style, rect, parent, id);
    }
};
