#include "controls/Edit.h"

#include "classlib/DC.h"
#include "controls/KeyState.h"

#include <imm.h>
#include <windowsx.h>

TEdit::TEdit() : textColor(::GetSysColor(COLOR_WINDOWTEXT)), backgroundColor(::GetSysColor(COLOR_WINDOW))
{
    backgroundBrush.CreateSolidBrush(backgroundColor);
}

BOOL TEdit::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style &= ~WS_BORDER;
    if (clientEdge)
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void TEdit::SetColors(COLORREF text, COLORREF background)
{
    textColor = text;
    backgroundColor = background;
    backgroundBrush.CreateSolidBrush(background);
    if (m_hWnd)
        Invalidate();
}

bool TEdit::HandleKeyDown(UINT key)
{
    if (IsNeverReportedKey(key) || !listener)
        return false;
    bool shift = IsKeyDown(VK_SHIFT), ctrl = IsKeyDown(VK_CONTROL), alt = IsKeyDown(VK_MENU);
    if (key == VK_RETURN && listener->OnEnter(this, key))
        return true;
    if (ctrl && !alt) {
        // Ctrl+M sends like Enter, as in terminals.
        if (key == 'M' && !shift && listener->OnEnter(this, key))
            return true;
        if (key == VK_SPACE && listener->OnCtrlSpace(this))
            return true;
    }
    BeforeKeyDownReport();
    return listener->OnKeyDown(this, key);
}

BOOL TEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        return HandleKeyDown((UINT)msg->wParam);
    if (msg->message == WM_SYSKEYDOWN) {
        // Shift+F10 opens the context menu through the system; it is never taken here.
        if (IsShiftF10((UINT)msg->wParam))
            return FALSE;
        return listener && listener->OnSysKeyDown(this, (UINT)msg->wParam);
    }
    return FALSE;
}

void TEdit::SetFontAndAdjustHeight(HFONT font)
{
    SetFont(font, TRUE);
    if (!autoHeight)
        return;
    TEXTMETRICW metrics = {};
    {
        CClientDC dc(m_hWnd);
        CSelectObject select(dc, font);
        dc.GetTextMetrics(&metrics);
    }
    int height = metrics.tmHeight + ((GetExStyle() & WS_EX_CLIENTEDGE) ? 8 : 2);
    RECT rect;
    GetWindowRect(&rect);
    // The edit stays where it is; an owner that lays it out hears of the new height.
    SetWindowPos(nullptr, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (listener)
        listener->OnHeightChanged(this);
}

CString TEdit::GetText(HWND window) { return CWindow(window).GetWindowText(); }

LRESULT TEdit::OnCtlColor(WPARAM wParam, LPARAM)
{
    HDC dc = (HDC)wParam;
    ::SetTextColor(dc, textColor);
    ::SetBkColor(dc, backgroundColor);
    return (LRESULT)(HBRUSH)backgroundBrush;
}

void TEdit::OnChange()
{
    if (listener)
        listener->OnChange(this);
}

LRESULT TEdit::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (listener && listener->OnMouseWheel(this, GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam),
                                           GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
        return 0;
    return DefWindowProc(WM_MOUSEWHEEL, wParam, lParam);
}

LRESULT TEdit::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (listener) {
        POINT point;
        if (IsKeyboardContextMenu(lParam)) {
            RECT client;
            GetClientRect(&client);
            point = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
            ClientToScreen(&point);
        } else {
            ::GetCursorPos(&point);
        }
        if (listener->OnContextMenu(this, point.x, point.y))
            return 0;
    }
    return DefWindowProc(WM_CONTEXTMENU, wParam, lParam);
}

void TInputEdit::PushHistoryAndClear()
{
    history.Add(GetWindowText());
    SetWindowText(L"");
}

void TInputEdit::ShowHistoryText(const CString& text)
{
    SetWindowText(text);
    SetSel(text.GetLength(), text.GetLength());
    ScrollCaret();
}

bool TInputEdit::HandleKeyDown(UINT key)
{
    if (IsNeverReportedKey(key))
        return false;
    if ((key == VK_UP || key == VK_DOWN) && !IsAnyModifierDown()) {
        CString current = GetWindowText();
        ShowHistoryText(key == VK_UP ? history.GetPrevious(current) : history.GetNext(current));
        return true;
    }
    return TEdit::HandleKeyDown(key);
}

void TImeCompositionEdit::BeforeKeyDownReport()
{
    if (reportComposition)
        PostMessage(WM_REPORT_COMPOSITION);
}

BOOL TImeCompositionEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_REPORT_COMPOSITION && msg->hwnd == m_hWnd) {
        ReportComposition();
        return TRUE;
    }
    return TEdit::PreTranslateMessage(msg);
}

LRESULT TImeCompositionEdit::OnEndComposition(WPARAM wParam, LPARAM lParam)
{
    if (reportComposition && listener)
        listener->OnChange(this);
    return DefWindowProc(WM_IME_ENDCOMPOSITION, wParam, lParam);
}

void TImeCompositionEdit::ReportComposition()
{
    HIMC context = ::ImmGetContext(m_hWnd);
    if (!context)
        return;
    LONG bytes = ::ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    if (bytes > 0) {
        CString composition;
        int length = (int)(bytes / sizeof(wchar_t));
        ::ImmGetCompositionStringW(context, GCS_COMPSTR, composition.GetBuffer(length + 1), (DWORD)bytes);
        composition.ReleaseBuffer(length);
        int start = 0, end = 0;
        GetSel(start, end);
        CString text = GetWindowText();
        if (end > start)
            text.Delete(start, end - start);
        text.Insert(start, composition);
        if (listener)
            listener->OnImeComposition(this, text);
    }
    ::ImmReleaseContext(m_hWnd, context);
}
