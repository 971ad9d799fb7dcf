#include "logview/LogView.h"

#include "controls/KeyState.h"
#include "logview/LogViewInput.h"
#include "settings/ViewConfig.h"

void TScroller::Reset(HWND hwnd)
{
    m_hwnd = hwnd;
    m_maximum = 0;
    m_info.cbSize = sizeof(m_info);
    m_info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    m_info.nMin = 0;
    m_info.nMax = 0;
    m_info.nPage = 1;
    m_info.nPos = 0;
    SetScrollInfo(m_hwnd, SB_VERT, &m_info, TRUE);
}

void TScroller::Update(int maximum, int position)
{
    // Each call redraws the bar, which costs more than painting the text: send changes only.
    if (!m_hwnd || (maximum == m_maximum && position == m_info.nPos))
        return;
    m_info.cbSize = sizeof(m_info);
    m_info.fMask = SIF_POS | SIF_DISABLENOSCROLL;
    if (maximum != m_maximum)
        m_info.fMask |= SIF_RANGE | SIF_PAGE;
    m_maximum = maximum;
    m_info.nMax = maximum;
    m_info.nPos = position;
    SetScrollInfo(m_hwnd, SB_VERT, &m_info, FALSE);
    const DWORD since = GetTickCount() - m_drawnAt;
    if (since >= kRedrawInterval) {
        Draw();
    } else if (!m_timerRunning) {
        m_timerRunning = true;
        SetTimer(m_hwnd, kTimerId, kRedrawInterval - since, nullptr);
    }
}

void TScroller::OnTimer()
{
    KillTimer(m_hwnd, kTimerId);
    m_timerRunning = false;
    Draw();
}

void TScroller::Draw()
{
    m_drawnAt = GetTickCount();
    m_info.fMask = SIF_POS | SIF_DISABLENOSCROLL;
    SetScrollInfo(m_hwnd, SB_VERT, &m_info, TRUE);
}

TLogView::TLogView() : m_store(&m_context), m_layout(*this) { m_context.indent = 7; }

TLogView::~TLogView()
{
    keyListener = nullptr;
    contextPopupListener = nullptr;
    nickPopupListener = nullptr;
    eventLineListener = nullptr;
    DestroyWindow();
    if (m_measureDC)
        DeleteDC(m_measureDC);
}

bool TLogView::Create(TLogTextTheme* textTheme, const TLogBkTheme* backTheme, HWND parent, UINT id,
                      const TLogKeyword* keyword, const TLogAddressFinder* addressFinder, bool rawText)
{
    m_textTheme = textTheme;
    m_backTheme = backTheme;
    m_context.textTheme = textTheme;
    m_context.backTheme = backTheme;
    m_context.keyword = keyword;
    m_context.addressFinder = addressFinder;
    m_context.rawText = rawText;
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP;
    return CreateEx(0, nullptr, L"", style, 0, 0, 0, 0, parent, (HMENU)(UINT_PTR)id) != FALSE;
}

TLogLineAdded TLogView::AddLine(const TLogLineData& data, bool checkKeywords)
{
    const bool wasAtEnd = m_layout.IsAtEnd();
    TLogLineAdded added = m_store.AddLine(data, checkKeywords);
    if (maxLines > 0 && GetLineCount() > maxLines)
        DropHeadLines(1);
    if (wasAtEnd) {
        // Following ends at the end whatever came before; in a flood only the last lines show, so
        // the top is worked out once, when painting or anything else needs it.
        m_layout.bottom = {GetLineCount(), 0};
        m_followPending = true;
    } else {
        m_layout.FollowNewLines(false);
    }
    RepaintWithinFrame();
    return added;
}

void TLogView::Settle()
{
    if (m_followPending) {
        m_followPending = false;
        m_layout.FollowNewLines(true);
    }
}

void TLogView::RemoveHeadLines(int count)
{
    if (GetLineCount() == 0)
        return;
    DropHeadLines(count);
    Repaint();
}

void TLogView::DropHeadLines(int count)
{
    if (count < 0 || count > GetLineCount())
        count = GetLineCount();
    m_store.RemoveHeadLines(count);
    m_layout.ShiftLines(count);
    m_selection.ShiftLines(count);
    // The search returns to the same text, not to the same index.
    ShiftPosition(m_savedTop, count);
}

CString TLogView::GetAllText() const
{
    CString text;
    for (int i = 0; i < GetLineCount(); i++) {
        text += GetLineText(i);
        text += L"\r\n";
    }
    return text;
}

const CString& TLogView::GetLineText(int line) const { return m_store.GetLine(line).model.text; }

HDC TLogView::GetMeasureDC()
{
    if (!m_measureDC)
        m_measureDC = CreateCompatibleDC(nullptr);
    return m_measureDC;
}

void TLogView::EnsureLineLayout(int line)
{
    if (line < 0 || line >= GetLineCount())
        return;
    m_store.GetLine(line).Layout(GetMeasureDC(), GetTextWidth());
}

int TLogView::GetRowCount(int line)
{
    EnsureLineLayout(line);
    return m_store.GetLine(line).GetRowCount();
}

int TLogView::GetRowHeight(int line, int row)
{
    TLogLine& l = m_store.GetLine(line);
    return row >= 0 && row < l.GetRowCount() ? l.GetRow(row).height : 0;
}

int TLogView::GetRowOfChar(int line, int ch, bool endExclusive)
{
    EnsureLineLayout(line);
    return m_store.GetLine(line).composition.RowIndexOf(ch, endExclusive);
}

int TLogView::HitTestLine(int line, int x, int y, int firstRow, bool nearest)
{
    EnsureLineLayout(line);
    return m_store.GetLine(line).HitTest(GetMeasureDC(), firstRow, x, y, nearest);
}

void TLogView::Repaint()
{
    m_pictureStale = true;
    // A flood asks for a repaint per line; one request until the paint comes is enough.
    if (m_hWnd && !m_paintPending) {
        m_paintPending = true;
        Invalidate(FALSE);
    }
}

void TLogView::RepaintWithinFrame()
{
    m_pictureStale = true;
    if (!m_hWnd)
        return;
    const DWORD since = GetTickCount() - m_paintedAt;
    if (m_paintPending || m_frameTimerRunning) {
        // Posted messages (socket reads) come before WM_PAINT and WM_TIMER: a flood that keeps
        // the queue full would otherwise show nothing until it ends.
        if (since >= 2 * kFrameInterval && IsWindowVisible()) {
            Invalidate(FALSE);
            UpdateWindow();
        }
        return;
    }
    if (since >= kFrameInterval) {
        Repaint();
    } else if (!m_frameTimerRunning) {
        m_frameTimerRunning = true;
        SetTimer(m_hWnd, kFrameTimerId, kFrameInterval - since, nullptr);
    }
}

void TLogView::OnFrameTimer()
{
    KillTimer(m_hWnd, kFrameTimerId);
    m_frameTimerRunning = false;
    Repaint();
}

void TLogView::ScrollToTop()
{
    Settle();
    m_layout.ScrollToTop();
    Repaint();
}

void TLogView::ScrollToEnd()
{
    Settle();
    m_layout.ScrollToEnd();
    Repaint();
}

void TLogView::PageUp()
{
    Settle();
    m_layout.PageUp();
    Repaint();
}

void TLogView::PageDown()
{
    Settle();
    m_layout.PageDown();
    Repaint();
}

void TLogView::ScrollUp(int rows)
{
    Settle();
    m_layout.ScrollUp(rows);
    Repaint();
}

void TLogView::ScrollDown(int rows)
{
    Settle();
    m_layout.ScrollDown(rows);
    Repaint();
}

void TLogView::ShowLine(int line)
{
    Settle();
    m_layout.ShowLine(line);
    Repaint();
}

bool TLogView::JumpToLineNumber(int number)
{
    for (int i = 0; i < GetLineCount(); i++) {
        const int n = m_store.GetLine(i).model.lineNumber;
        if (n == 0)
            continue;
        if (n == number) {
            ShowLine(i);
            return true;
        }
        if (n > number)
            break;
    }
    return false;
}

void TLogView::ResetLayout()
{
    Settle();
    m_context.layoutGeneration++;
    if (m_context.layoutGeneration <= 0)
        m_context.layoutGeneration = 1; // 0 is the stamp of a line never laid out
    m_lastClientWidth = m_clientWidth;
    m_pictureStale = true;
    m_layout.FixTopAfterRelayout();
}

void TLogView::RefreshView()
{
    Settle();
    m_layout.Refresh();
    Repaint();
}

void TLogView::SetLineLeading(int leading) { m_context.leading = leading < 0 ? 0 : leading; }

void TLogView::SetIndent(int indent) { m_context.indent = indent < 0 ? 0 : indent; }

void TLogView::OnSize(int width, int height)
{
    Settle();
    m_clientWidth = width;
    m_layout.SetClientHeight(height);
    if (width != m_lastClientWidth)
        ResetLayout();
    RefreshView();
}

void TLogView::OnVScroll(int code)
{
    Settle();
    switch (code) {
    case SB_LINEUP:
        ScrollUp(1);
        break;
    case SB_LINEDOWN:
        ScrollDown(1);
        break;
    case SB_PAGEUP:
        PageUp();
        break;
    case SB_PAGEDOWN:
        PageDown();
        break;
    case SB_TOP:
        ScrollToTop();
        break;
    case SB_BOTTOM:
        ScrollToEnd();
        break;
    case SB_THUMBTRACK: {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(m_hWnd, SB_VERT, &info);
        m_layout.TrackThumb(info.nTrackPos);
        Repaint();
        break;
    }
    default:
        break;
    }
}

void TLogView::OnMouseWheel(UINT, short delta, POINT)
{
    const int notches = TakeWheelNotches(delta);
    if (notches == 0)
        return;
    const int rows = GetWheelScrollRows();
    if (IsPageScrollSetting(rows)) {
        if (notches > 0)
            PageUp();
        else
            PageDown();
    } else if (notches > 0) {
        ScrollUp(rows * notches);
    } else {
        ScrollDown(-rows * notches);
    }
}

bool TLogView::OnKeyDown(UINT key)
{
    if (IsNeverReportedKey(key))
        return false;
    const bool ctrl = IsKeyDown(VK_CONTROL);
    const bool shift = IsKeyDown(VK_SHIFT);
    const bool alt = IsKeyDown(VK_MENU);
    if (!ctrl && !shift && !alt) {
        switch (key) {
        case VK_PRIOR:
            PageUp();
            return true;
        case VK_NEXT:
            PageDown();
            return true;
        case VK_END:
            ScrollToEnd();
            return true;
        case VK_HOME:
            ScrollToTop();
            return true;
        case VK_UP:
            ScrollUp(1);
            return true;
        case VK_DOWN:
            ScrollDown(1);
            return true;
        }
    }
    if (ctrl && !shift && !alt && (key == 'A' || key == 'C')) {
        if (key == 'A') {
            SelectAll();
        } else {
            CopySelection();
            ClearSelection();
        }
        return true;
    }
    return keyListener && keyListener->OnKeyDown(this, key);
}

bool TLogView::OnSysKeyDown(UINT key)
{
    if (IsShiftF10(key))
        return false;
    return keyListener && keyListener->OnSysKeyDown(this, key);
}
