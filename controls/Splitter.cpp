#include "controls/Splitter.h"

#include "classlib/App.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "res/resource.h"

#include <windowsx.h>

TSplitter::~TSplitter()
{
    delete first;
    delete second;
    if (m_hWnd)
        DestroyWindow();
}

bool TSplitter::Create(HWND parent, UINT id, bool verticalBar)
{
    HCURSOR cursor = ::LoadCursorW(AfxGetResourceHandle(),
                                   MAKEINTRESOURCEW(verticalBar ? IDC_SPLIT_VERTICAL : IDC_SPLIT_HORIZONTAL));
    if (!cursor)
        cursor = ::LoadCursorW(nullptr, verticalBar ? (LPCWSTR)IDC_SIZEWE : (LPCWSTR)IDC_SIZENS);
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, cursor, (HBRUSH)(COLOR_BTNFACE + 1));
    // No WS_CLIPCHILDREN: the tracker is drawn over the panes.
    if (!CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, RECT{}, parent, id))
        return false;
    farSide = false;
    vertical = verticalBar;
    position = 50;
    return true;
}

int TSplitter::ClampPosition(int p) const
{
    RECT k;
    GetClientRect(&k);
    int extent = vertical ? k.right : k.bottom;
    if (p < minimum)
        return minimum;
    if (extent > p + barWidth + minimum)
        return p;
    return extent - barWidth - minimum;
}

RECT TSplitter::BarRect(int p) const
{
    RECT k;
    GetClientRect(&k);
    int size = vertical ? k.right - k.left : k.bottom - k.top;
    int from = farSide ? size - p - barWidth : p;
    if (vertical)
        return RECT{from, k.top, from + barWidth, k.bottom};
    return RECT{k.left, from, k.right, from + barWidth};
}

void TSplitter::PlacePanes(int p)
{
    RECT k;
    GetClientRect(&k);
    RECT bar = BarRect(p);
    RECT before = k, after = k; // the parts left (above) and right (below) of the bar
    if (vertical) {
        before.right = bar.left;
        after.left = bar.right;
    } else {
        before.bottom = bar.top;
        after.top = bar.bottom;
    }
    first->MoveWindow(farSide ? after : before);
    second->MoveWindow(farSide ? before : after);
    first->ShowWindow(SW_SHOW);
    second->ShowWindow(SW_SHOW);
}

void TSplitter::RecalcLayout()
{
    int p = ClampPosition(position);
    if (mode == SECOND_ONLY || mode == FIRST_ONLY) {
        CWnd* hidden = mode == SECOND_ONLY ? first : second;
        CWnd* shown = mode == SECOND_ONLY ? second : first;
        if (hidden)
            hidden->ShowWindow(SW_HIDE);
        if (shown) {
            RECT k;
            GetClientRect(&k);
            shown->MoveWindow(k);
            shown->ShowWindow(SW_SHOW);
        }
    } else if (first && second) {
        PlacePanes(p);
    }
    // Given back once: a later layout (a resize) must not pull the focus from where the user
    // has put it since.
    HWND focus = focusToRestore;
    focusToRestore = nullptr;
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    Invalidate();
}

LRESULT TSplitter::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(m_hWnd);
    if (mode != SECOND_ONLY && mode != FIRST_ONLY)
        dc.FillSolidRect(BarRect(ClampPosition(position)), ::GetSysColor(COLOR_BTNFACE));
    return 0;
}

LRESULT TSplitter::OnSize(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SIZE, wParam, lParam);
    RecalcLayout();
    return 0;
}

// The halftone bar, drawn by inversion so a second draw at the same place erases it.
void TSplitter::DrawTracker(int at)
{
    RECT bar = BarRect(ClampPosition(at));
    CClientDC dc(m_hWnd);
    WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    CBitmap bits;
    bits.Attach(::CreateBitmap(8, 8, 1, 1, pattern));
    CBrush brush;
    brush.Attach(::CreatePatternBrush(bits));
    CSelectObject select(dc, brush);
    dc.PatBlt(bar, PATINVERT);
}

int TSplitter::PositionAt(int x, int y) const
{
    int delta = vertical ? x - dragStart.x : y - dragStart.y;
    return farSide ? position - delta : position + delta;
}

LRESULT TSplitter::OnLButtonDown(WPARAM, LPARAM lParam)
{
    SetFocus();
    ::SetCapture(m_hWnd);
    dragging = true;
    dragStart = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    position = ClampPosition(position);
    trackPosition = position;
    DrawTracker(trackPosition);
    return 0;
}

LRESULT TSplitter::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (dragging) {
        DrawTracker(trackPosition);
        trackPosition = PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        DrawTracker(trackPosition);
    }
    return 0;
}

LRESULT TSplitter::OnLButtonUp(WPARAM, LPARAM lParam)
{
    if (!dragging)
        return 0;
    dragging = false; // before the capture goes: releasing it sends WM_CAPTURECHANGED
    ::ReleaseCapture();
    position = PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    RecalcLayout();
    return 0;
}

LRESULT TSplitter::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_KILLFOCUS, wParam, lParam);
    if (dragging) {
        dragging = false;
        ::ReleaseCapture();
        RecalcLayout();
    }
    return 0;
}

LRESULT TSplitter::OnSetFocus(WPARAM wParam, LPARAM)
{
    focusToRestore = (HWND)wParam;
    return 0;
}
