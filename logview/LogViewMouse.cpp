#include "logview/LogView.h"

#include "controls/Clipboard.h"
#include "foundation/CharClass.h"
#include "logview/LogViewInput.h"

namespace {

// The hand is loaded once and shared by every view.
HCURSOR GetUrlCursor()
{
    static HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    return hand;
}

} // namespace

POINT TLogView::GetCursorClientPoint() const
{
    POINT point = {0, 0};
    GetCursorPos(&point);
    ScreenToClient(&point);
    return point;
}

bool TLogView::HitTest(POINT& point, TLogTextPos& pos, bool nearest)
{
    Settle();
    const int height = m_layout.GetClientHeight();
    if (point.y < 0)
        point = {3, 0};
    else if (point.y > height)
        point = {m_clientWidth, height};
    if (point.x > m_clientWidth - 1)
        point.x = m_clientWidth - 1;
    if (point.x < 3)
        point.x = 3;
    const int count = GetLineCount();
    pos = TLogTextPos();
    if (count == 0)
        return false;
    const TLogRowPos top = m_layout.top;
    if (point.y < 2 && top.line < count) {
        EnsureLineLayout(top.line);
        TLogLine& line = m_store.GetLine(top.line);
        pos = {top.line, top.row < line.GetRowCount() ? line.GetRow(top.row).start : 0};
        return true;
    }
    int y = 2;
    for (int i = top.line; i < count && y <= point.y; i++) {
        const int firstRow = i == top.line ? top.row : 0;
        const int lineHeight = GetLineHeight(*this, i, firstRow);
        if (point.y < y + lineHeight) {
            pos = {i, HitTestLine(i, point.x - 3, point.y - y, firstRow, nearest)};
            return true;
        }
        y += lineHeight;
    }
    pos = {count, 0};
    return false;
}

void TLogView::ClearSelection()
{
    m_selection.Clear();
    Repaint();
}

void TLogView::SelectAll()
{
    m_selection.Set({GetLineCount(), 0}, {0, 0});
    Repaint();
}

void TLogView::CopySelection()
{
    const CString text = GetSelectedText();
    if (!text.IsEmpty())
        CopyTextToClipboard(text);
}

void TLogView::MoveSelectionEndTo(POINT point)
{
    TLogTextPos pos;
    HitTest(point, pos, true);
    if (pos == m_selection.moving)
        return;
    m_selection.moving = pos;
    m_selection.active = m_selection.Normalize();
    Repaint();
}

void TLogView::OnLButtonDown()
{
    SetFocus();
    if (m_swallowNextClick) {
        m_swallowNextClick = false;
        return;
    }
    POINT point = GetCursorClientPoint();
    if (m_doubleClickTime && GetTickCount() < m_doubleClickTime + GetDoubleClickTime()) {
        SelectLineAt(point);
        return;
    }
    m_doubleClickTime = m_tripleClickTime = 0;
    SetCapture(m_hWnd);
    m_dragging = true;
    TLogTextPos pos;
    HitTest(point, pos, true);
    m_selection.anchor = m_selection.moving = pos;
    m_selection.active = false;
    Repaint();
}

void TLogView::OnLButtonUp(POINT point)
{
    ReleaseCapture();
    const bool autoScrolled = m_autoScrollSpeed != 0;
    if (autoScrolled) {
        StopAutoScrollTimer();
        m_autoScrollSpeed = 0;
    }
    if (!m_dragging)
        return;
    m_dragging = false;
    if (!autoScrolled) {
        TLogTextPos pos;
        HitTest(point, pos, true);
        m_selection.moving = pos;
        m_selection.active = m_selection.Normalize();
        if (!m_selection.active) {
            ClearSelection();
        } else if (copyOnSelect) {
            CopySelection();
            ClearSelection();
        }
    }
    if (m_selection.anchor == m_selection.moving)
        m_selection.lastClick = m_selection.anchor;
    Repaint();
}

void TLogView::OnLButtonDblClk()
{
    if (m_tripleClickTime && GetTickCount() < m_tripleClickTime + GetDoubleClickTime()) {
        m_tripleClickTime = 0;
        OnLButtonDown(); // a fourth click starts a new drag
        return;
    }
    m_doubleClickTime = GetTickCount();
    POINT point = GetCursorClientPoint();
    TLogTextPos pos;
    if (!HitTest(point, pos, false))
        return;
    m_swallowNextClick = true;
    TLogLine& line = m_store.GetLine(pos.line);
    const bool inText = pos.ch < line.model.text.GetLength();
    int start = 0, end = 0;
    if (contextPopupListener && inText && line.model.RunKindAt(pos.ch) == RUN_URL) {
        contextPopupListener->OnUrlDoubleClick(this, line.GetUrlAt(pos.ch));
    } else if (eventLineListener && !line.model.eventData.IsEmpty()) {
        eventLineListener->OnEventLineClick(this, line.model.eventData);
    } else if (inText && FindWordBounds(line.model.text, pos.ch, start, end)) {
        m_selection.Set({pos.line, start}, {pos.line, end});
        m_selection.active = true;
        Repaint();
    }
    OnLButtonDown();
}

void TLogView::SelectLineAt(POINT point)
{
    m_doubleClickTime = m_tripleClickTime = 0;
    TLogTextPos pos, clicked;
    POINT nearestPoint = point;
    const bool onLine = HitTest(point, pos, false);
    // The first click was taken to the nearest character edge: the same spot compares only so.
    HitTest(nearestPoint, clicked, true);
    if (onLine && pos.ch < GetLineText(pos.line).GetLength() && clicked == m_selection.lastClick) {
        m_tripleClickTime = GetTickCount();
        m_selection.active = true;
        m_selection.start = {pos.line, 0};
        m_selection.end = {pos.line, GetLineText(pos.line).GetLength()};
        m_selection.anchor = m_selection.end;
        m_selection.moving = m_selection.start;
    } else {
        m_selection.Clear();
    }
    Repaint();
}

void TLogView::SetCursorFor(POINT point)
{
    TLogTextPos pos;
    HCURSOR cursor = LoadCursorW(nullptr, IDC_IBEAM);
    if (HitTest(point, pos, true) && pos.ch < GetLineText(pos.line).GetLength()) {
        TLogLine& line = m_store.GetLine(pos.line);
        const int kind = line.model.RunKindAt(pos.ch);
        if (contextPopupListener && kind == RUN_URL)
            cursor = GetUrlCursor();
        else if (contextPopupListener && kind == RUN_ADDRESS)
            cursor = LoadCursorW(nullptr, IDC_ARROW);
        else if (nickPopupListener && nickPopupsEnabled && !line.model.nick.IsEmpty() &&
                 (kind == RUN_NICK || !line.IsMessageLine()))
            cursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    SetCursor(cursor);
}

void TLogView::OnMouseMove()
{
    POINT point = GetCursorClientPoint();
    if (!m_dragging) {
        SetCursorFor(point);
        return;
    }
    SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    const int speed = GetAutoScrollSpeed(point.y, m_layout.GetClientHeight());
    if (speed != 0) {
        m_autoScrollSpeed = speed;
        m_interval = GetAutoScrollInterval(speed);
        if (!m_timerRunning) {
            m_lastTick = GetTickCount();
            StartAutoScrollTimer();
            OnTimer();
        }
        return;
    }
    StopAutoScrollTimer();
    m_autoScrollSpeed = 0;
    MoveSelectionEndTo(point);
}

void TLogView::StartAutoScrollTimer()
{
    SetTimer(m_hWnd, 1, m_interval, nullptr);
    m_timerRunning = true;
}

void TLogView::StopAutoScrollTimer()
{
    if (m_timerRunning)
        KillTimer(m_hWnd, 1);
    m_timerRunning = false;
}

void TLogView::OnTimer()
{
    if (m_autoScrollSpeed == 0)
        return;
    const DWORD now = GetTickCount();
    const int steps = GetAutoScrollSteps(now - m_lastTick, m_interval);
    POINT point = {0, 0};
    if (m_autoScrollSpeed < 0) {
        ScrollUp(steps);
    } else {
        ScrollDown(steps);
        point.y = m_layout.GetClientHeight();
    }
    MoveSelectionEndTo(point);
    m_lastTick = now;
    StartAutoScrollTimer();
}

void TLogView::OnContextMenu(int x, int y)
{
    POINT screen = {x, y};
    if (x == -1 && y == -1) {
        RECT rect;
        GetClientRect(&rect);
        screen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(&screen);
    } else {
        GetCursorPos(&screen);
    }
    SetFocus();
    m_dragging = false;
    POINT point = screen;
    ScreenToClient(&point);
    TLogTextPos pos;
    if (HitTest(point, pos, false) && pos.ch < GetLineText(pos.line).GetLength()) {
        TLogLine& line = m_store.GetLine(pos.line);
        const int kind = line.model.RunKindAt(pos.ch);
        if (m_selection.Contains(pos)) {
            if (contextPopupListener)
                contextPopupListener->OnContextPopup(this, screen.x, screen.y);
            return;
        }
        if (contextPopupListener && kind == RUN_URL) {
            m_contextMenuText = line.GetUrlAt(pos.ch);
            contextPopupListener->OnUrlContextPopup(this, screen.x, screen.y);
            return;
        }
        if (contextPopupListener && kind == RUN_ADDRESS) {
            m_contextMenuText = line.GetAddressAt(pos.ch);
            contextPopupListener->OnAddressContextPopup(this, screen.x, screen.y);
            return;
        }
        if (nickPopupListener && nickPopupsEnabled && !line.model.nick.IsEmpty() &&
            (kind == RUN_NICK || !line.IsMessageLine())) {
            m_contextMenuText = line.model.nick;
            nickPopupListener->OnNickContextPopup(this, screen.x, screen.y);
            return;
        }
    }
    if (contextPopupListener)
        contextPopupListener->OnContextPopup(this, screen.x, screen.y);
}
