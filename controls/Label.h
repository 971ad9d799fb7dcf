#pragma once
// TLabel: a static text in its own colours. TGradientStatic: the caption strip of the
// preference pages, darkening to black at the left.

#include "classlib/Gdi.h"
#include "classlib/MsgMap.h"
#include "classlib/Static.h"

class TLabel : public CStatic {
public:
    void SetTextColor(COLORREF color) { textColor = color; }
    // Recreates the background brush and repaints.
    void SetBackgroundColor(COLORREF color);

    BEGIN_MSG_MAP(TLabel)
        MESSAGE_HANDLER(KV_REFLECTED(WM_CTLCOLORSTATIC), OnCtlColor)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    END_MSG_MAP()

private:
    LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

    CBrush backgroundBrush;
    COLORREF textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF backgroundColor = ::GetSysColor(COLOR_WINDOW);
};

class TGradientStatic : public CStatic {
public:
    BEGIN_MSG_MAP(TGradientStatic)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    END_MSG_MAP()

    // Empty: the parent window's font.
    CString faceName;
    int fontHeight = 12;
    int fontWeight = 400;
    int baseColor = COLOR_BTNFACE;

private:
    void MakeGradient(HDC dc, int width, int height);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    CFont captionFont;
    CBitmap gradient;
};
