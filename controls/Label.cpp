#include "controls/Label.h"

#include "classlib/DC.h"

void TLabel::SetBackgroundColor(COLORREF color)
{
    backgroundColor = color;
    backgroundBrush.CreateSolidBrush(color);
    if (m_hWnd)
        Invalidate();
}

LRESULT TLabel::OnCtlColor(WPARAM wParam, LPARAM)
{
    HDC dc = (HDC)wParam;
    ::SetTextColor(dc, textColor);
    ::SetBkColor(dc, backgroundColor);
    if (!backgroundBrush.GetSafeHandle())
        backgroundBrush.CreateSolidBrush(backgroundColor);
    return (LRESULT)(HBRUSH)backgroundBrush;
}

// Bands of S pixels from the right edge, each darker by the square of its distance.
void TGradientStatic::MakeGradient(HDC target, int width, int height)
{
    CDC dc;
    dc.CreateCompatibleDC(target);
    gradient.CreateCompatibleBitmap(target, width, height);
    CSelectObject select(dc, gradient);
    COLORREF base = ::GetSysColor(baseColor);
    int step = width / 128 > 1 ? width / 128 : 1;
    long long w2 = (long long)width * width;
    auto darken = [&](int c, int d) { return (int)(c - c * (long long)d * d / w2); };
    int x = width, k = 0;
    while (x > step) {
        x -= step;
        k++;
        int d = k * step;
        COLORREF band = RGB(darken(GetRValue(base), d), darken(GetGValue(base), d), darken(GetBValue(base), d));
        dc.FillSolidRect(RECT{x, 0, x + step, height}, band);
    }
    dc.FillSolidRect(RECT{0, 0, x, height}, RGB(0, 0, 0));
}

LRESULT TGradientStatic::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    RECT client;
    GetClientRect(&client);
    HDC dc = (HDC)wParam;
    if (!gradient.GetSafeHandle())
        MakeGradient(dc, client.right, client.bottom);
    CDC source;
    source.CreateCompatibleDC(dc);
    CSelectObject select(source, gradient);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT TGradientStatic::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(m_hWnd);
    HFONT font = (HFONT)::SendMessageW(GetParent(), WM_GETFONT, 0, 0);
    if (!faceName.IsEmpty()) {
        if (!captionFont.GetSafeHandle()) {
            LOGFONTW logFont = {};
            logFont.lfHeight = fontHeight;
            logFont.lfWeight = fontWeight;
            logFont.lfPitchAndFamily = FF_MODERN;
            logFont.lfCharSet = DEFAULT_CHARSET;
            wcsncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
            captionFont.CreateFontIndirect(&logFont);
        }
        font = captionFont;
    }
    CSelectObject select(dc, font);
    dc.SetTextColor(::GetSysColor(baseColor));
    dc.SetBkMode(TRANSPARENT);
    RECT rect;
    GetClientRect(&rect);
    rect.left += 5;
    dc.DrawText(GetWindowText(), &rect, DT_SINGLELINE | DT_VCENTER);
    return 0;
}

LRESULT TGradientStatic::OnSetText(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_SETTEXT, wParam, lParam);
    Invalidate();
    return result;
}
