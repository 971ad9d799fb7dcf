#include "logview/LogView.h"

#include "settings/ViewConfig.h"

#include <windowsx.h>

BOOL TLogView::PreCreateWindow(CREATESTRUCTW& cs)
{
    // The framework's class under our own name; the framework's class serves when that fails.
    cs.lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr, (HBRUSH)(COLOR_WINDOW + 1));
    if (AfxRegisterNamedClass(L"Ketroval2LogView", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr,
                              (HBRUSH)(COLOR_WINDOW + 1)))
        cs.lpszClass = L"Ketroval2LogView";
    return TRUE;
}

BOOL TLogView::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd)
        return FALSE;
    if (msg->message == WM_KEYDOWN)
        return OnKeyDown((UINT)msg->wParam);
    if (msg->message == WM_SYSKEYDOWN)
        return OnSysKeyDown((UINT)msg->wParam);
    return FALSE;
}

LRESULT TLogView::OnCreateMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProc(WM_CREATE, wParam, lParam);
    m_scroller.Reset(m_hWnd);
    return result;
}

LRESULT TLogView::OnSizeMessage(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SIZE, wParam, lParam);
    OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
}

LRESULT TLogView::OnVScrollMessage(WPARAM wParam, LPARAM lParam)
{
    if (GetLineCount() > 0)
        OnVScroll(LOWORD(wParam));
    return DefWindowProc(WM_VSCROLL, wParam, lParam);
}

LRESULT TLogView::OnTimerMessage(WPARAM id, LPARAM)
{
    if (id == TScroller::kTimerId)
        m_scroller.OnTimer();
    else if (id == kFrameTimerId)
        OnFrameTimer();
    else
        OnTimer();
    return 0;
}

LRESULT TLogView::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_KILLFOCUS, wParam, lParam);
    StopAutoScrollTimer();
    return 0;
}

LRESULT TLogView::OnLButtonDownMessage(WPARAM, LPARAM)
{
    OnLButtonDown();
    return 0;
}

LRESULT TLogView::OnLButtonUpMessage(WPARAM, LPARAM lParam)
{
    OnLButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
}

LRESULT TLogView::OnLButtonDblClkMessage(WPARAM, LPARAM)
{
    OnLButtonDblClk();
    return 0;
}

LRESULT TLogView::OnMouseMoveMessage(WPARAM, LPARAM)
{
    OnMouseMove();
    return 0;
}

LRESULT TLogView::OnContextMenuMessage(WPARAM, LPARAM lParam)
{
    OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
}

LRESULT TLogView::OnMouseWheelMessage(WPARAM wParam, LPARAM lParam)
{
    OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam),
                 {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
}

LRESULT TLogView::OnShowWindowMessage(WPARAM wParam, LPARAM lParam)
{
    // A hidden view keeps no picture: only the shown views of the program hold one.
    if (!wParam) {
        m_picture.Free();
        m_paintedRows.clear();
    }
    return DefWindowProc(WM_SHOWWINDOW, wParam, lParam);
}
