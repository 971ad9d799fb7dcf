#include "log/LogView.h"

#include "settings/ViewConfig.h"

#include <windowsx.h>

LRESULT TLogView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = DefWindowProc(message, wParam, lParam);
        m_scroller.Reset(m_hWnd);
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE; // painting covers the whole client area
    case WM_SIZE:
        DefWindowProc(message, wParam, lParam);
        OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_VSCROLL:
        if (GetLineCount() > 0)
            OnVScroll(LOWORD(wParam));
        return DefWindowProc(message, wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer();
        return 0;
    case WM_KILLFOCUS:
        DefWindowProc(message, wParam, lParam);
        StopAutoScrollTimer();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_GETDLGCODE:
        // Arrows and characters reach the view inside dialogs; Esc and Tab stay the dialog's.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        OnKeyDown((UINT)wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (OnSysKeyDown((UINT)wParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    case WM_KEYUP:
    case WM_CHAR:
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

void TLogView::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int saved = SaveDC(dc);
    const RECT& area = ps.rcPaint;
    HDC memDC = doubleBuffering ? CreateCompatibleDC(dc) : nullptr;
    HBITMAP bitmap = memDC ? CreateCompatibleBitmap(dc, area.right - area.left, area.bottom - area.top) : nullptr;
    if (memDC && bitmap) {
        HGDIOBJ old = SelectObject(memDC, bitmap);
        SetViewportOrgEx(memDC, -area.left, -area.top, nullptr);
        DrawContent(memDC, client);
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memDC, area.left, area.top,
               SRCCOPY);
        SelectObject(memDC, old);
    } else {
        DrawContent(dc, client);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memDC)
        DeleteDC(memDC);
    RestoreDC(dc, saved);
    if (m_textTheme)
        m_textTheme->ReleaseVariantFonts();
    EndPaint(m_hWnd, &ps);
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
