#include "log/LogView.h"

#include "app/DoubleBufferedView.h"
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

LRESULT TLogView::OnTimerMessage(WPARAM, LPARAM)
{
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

LRESULT TLogView::OnPaintMessage(WPARAM, LPARAM)
{
    m_paintPending = false;
    CPaintDC paint(m_hWnd);
    RECT client;
    GetClientRect(&client);
    const int saved = SaveDC(paint);
    if (doubleBuffering) {
        TMemDC memory(paint);
        DrawContent(memory, client);
    } else {
        DrawContent(paint, client);
    }
    RestoreDC(paint, saved);
    if (m_textTheme)
        m_textTheme->ReleaseVariantFonts();
    return 0;
}

void TLogView::DrawContent(HDC dc, const RECT& client)
{
    if (m_backTheme)
        m_backTheme->Draw(dc, client);
    else
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetTextAlign(dc, TA_BOTTOM);
    int y = 2;
    const int count = GetLineCount();
    for (int i = m_layout.top.line; i <= m_layout.bottom.line && i < count && y < client.bottom; i++) {
        EnsureLineLayout(i);
        TLogLine& line = m_store.GetLine(i);
        int from = -1, to = -1;
        if (!m_selection.GetColumns(i, line.model.text.GetLength(), from, to))
            from = to = -1;
        const int firstRow = i == m_layout.top.line ? m_layout.top.row : 0;
        const RECT rect = {3, y, client.right - 1, client.bottom};
        line.Paint(dc, firstRow, from, to, rect);
        y += line.composition.GetRowsHeight(firstRow, line.GetRowCount());
    }
    m_scroller.Update(m_layout.GetScrollMaximum(), m_layout.GetScrollPosition());
}
