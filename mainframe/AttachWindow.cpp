#include "mainframe/AttachWindow.h"

RECT SnapToWorkArea(const RECT& proposed, POINT topLeft, const RECT& work, int d, bool release)
{
    int w = proposed.right - proposed.left, h = proposed.bottom - proposed.top;
    int x = topLeft.x, y = topLeft.y, right = x + w, bottom = y + h;
    if (x < work.left + d && (!release || x > work.left - d)) {
        x = work.left;
        right = x + w;
    }
    if (y < work.top + d && (!release || y > work.top - d)) {
        y = work.top;
        bottom = y + h;
    }
    // Tested after the left and top snaps: a window wider than the work area ends aligned right.
    if (right > work.right - d && (!release || right < work.right + d)) {
        right = work.right;
        x = right - w;
    }
    if (bottom > work.bottom - d && (!release || bottom < work.bottom + d)) {
        bottom = work.bottom;
        y = bottom - h;
    }
    return RECT{x, y, right, bottom};
}

// The window follows the cursor, not the rectangle the system proposes, so a snapped window
// comes loose again as soon as the cursor moves away.
LRESULT TAttachWindow::OnMoving(WPARAM wParam, LPARAM lParam)
{
    if (snapEnabled && lParam) {
        RECT* rect = (RECT*)lParam;
        RECT work = {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        POINT cursor;
        ::GetCursorPos(&cursor);
        POINT topLeft = {cursor.x - dragOffsetX, cursor.y - dragOffsetY};
        *rect = SnapToWorkArea(*rect, topLeft, work, snapDistance, releaseBeyondEdge);
    }
    return DefWindowProc(WM_MOVING, wParam, lParam);
}

LRESULT TAttachWindow::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (snapEnabled && wParam == HTCAPTION)
        TakeDragOffset();
    return DefWindowProc(WM_NCLBUTTONDOWN, wParam, lParam);
}

// Taken again as every move begins: a move from the system menu or with the keys starts with
// the cursor put mid-caption, and no caption click came before it.
LRESULT TAttachWindow::OnEnterSizeMove(WPARAM wParam, LPARAM lParam)
{
    if (snapEnabled)
        TakeDragOffset();
    return DefWindowProc(WM_ENTERSIZEMOVE, wParam, lParam);
}

void TAttachWindow::TakeDragOffset()
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    RECT window;
    GetWindowRect(&window);
    dragOffsetX = cursor.x - window.left;
    dragOffsetY = cursor.y - window.top;
}
