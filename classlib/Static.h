#pragma once
// Static controls: labels, icons and frames.

#include "classlib/Wnd.h"

template <class TBase> class CStaticT : public TBase {
public:
    HICON SetIcon(HICON icon) { return (HICON)this->SendMessage(STM_SETICON, (WPARAM)icon); }
};

class CStatic : public CStaticT<CWnd> {
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"STATIC", text, style, rect, parent, id);
    }
};
