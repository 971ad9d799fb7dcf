#include "controls/DoubleBufferedView.h"

#include <commctrl.h>

TMemDC::TMemDC(HDC target) : target(target), offScreen(::GetDeviceCaps(target, TECHNOLOGY) != DT_RASPRINTER)
{
    ::GetClipBox(target, &rect);
    if (!offScreen) {
        m_hDC = target;
        return;
    }
    CreateCompatibleDC(target);
    bitmap.CreateCompatibleBitmap(target, rect.right - rect.left, rect.bottom - rect.top);
    oldBitmap = ::SelectObject(m_hDC, bitmap);
    ::SetMapMode(m_hDC, ::GetMapMode(target));
    SIZE extent;
    ::GetWindowExtEx(target, &extent);
    ::SetWindowExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target, &extent);
    ::SetViewportExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    ::SetWindowOrgEx(m_hDC, rect.left, rect.top, nullptr);
    FillSolidRect(rect, ::GetBkColor(target));
}

TMemDC::~TMemDC()
{
    if (!offScreen) {
        Detach();
        return;
    }
    ::BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hDC, rect.left, rect.top,
             SRCCOPY);
    ::SelectObject(m_hDC, oldBitmap);
}

LRESULT PaintDoubleBuffered(CWnd* control, COLORREF background)
{
    CPaintDC paint(control->m_hWnd);
    TMemDC memory(paint);
    RECT client;
    control->GetClientRect(&client);
    memory.FillSolidRect(client, background);
    return control->DefWindowProc(WM_PAINT, (WPARAM)(HDC)memory, 0);
}

namespace {

// The themed border is drawn in the control's background colour; it should look like any
// other control's, so the system window colour stands in while the frame is painted.
class TWindowColorForFrame {
public:
    TWindowColorForFrame(CWnd* control, UINT setBkColor, COLORREF current)
        : control(control), setBkColor(setBkColor), current(current)
    {
        control->SendMessage(setBkColor, 0, (LPARAM)::GetSysColor(COLOR_WINDOW));
    }
    ~TWindowColorForFrame() { control->SendMessage(setBkColor, 0, (LPARAM)current); }

private:
    CWnd* control;
    UINT setBkColor;
    COLORREF current;
};

} // namespace

LRESULT TDoubleBufferedListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && !wParam)
        return PaintDoubleBuffered(this, GetBkColor());
    if (message == WM_ERASEBKGND)
        return TRUE;
    if (message == WM_NCPAINT) {
        TWindowColorForFrame frame(this, LVM_SETBKCOLOR, GetBkColor());
        return TListView::WindowProc(message, wParam, lParam);
    }
    return TListView::WindowProc(message, wParam, lParam);
}

LRESULT TDoubleBufferedTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && !wParam)
        return PaintDoubleBuffered(this, GetBkColor());
    if (message == WM_ERASEBKGND)
        return TRUE;
    if (message == WM_NCPAINT) {
        TWindowColorForFrame frame(this, TVM_SETBKCOLOR, GetBkColor());
        return TTreeView::WindowProc(message, wParam, lParam);
    }
    return TTreeView::WindowProc(message, wParam, lParam);
}
