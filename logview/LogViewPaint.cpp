#include "logview/LogView.h"

#include "classlib/DC.h"
#include "settings/ViewConfig.h"

LRESULT TLogView::OnPaintMessage(WPARAM, LPARAM)
{
    m_paintPending = false;
    // A paint for a strip that takes the held repaint would leave the rest of the view old.
    const bool tookHeldRepaint = m_frameTimerRunning;
    if (m_frameTimerRunning) {
        KillTimer(m_hWnd, kFrameTimerId);
        m_frameTimerRunning = false;
    }
    Settle();
    RECT client;
    GetClientRect(&client);
    if (tookHeldRepaint)
        ::InvalidateRect(m_hWnd, &client, FALSE);
    CPaintDC paint(m_hWnd);
    bool made = false;
    if (doubleBuffering && m_picture.Prepare(paint, client.right, client.bottom, made)) {
        if (made || m_pictureStale)
            DrawPicture(client, made);
        m_picture.CopyTo(paint, paint.m_ps.rcPaint);
    } else {
        m_picture.Free();
        const int saved = SaveDC(paint);
        DrawContent(paint, client);
        RestoreDC(paint, saved);
    }
    if (m_textTheme)
        m_textTheme->ReleaseVariantFonts();
    m_scroller.Update(m_layout.GetScrollMaximum(), m_layout.GetScrollPosition());
    m_paintedAt = GetTickCount();
    return 0;
}

// Brings the kept picture up to date: rows still shown move up and only the rows that came
// into view are drawn, unless anything else about the picture changed.
void TLogView::DrawPicture(const RECT& client, bool made)
{
    HDC dc = m_picture.GetDC();
    const int saved = SaveDC(dc);
    TLogPictureLook look = GetLook();
    if (made || !(look == m_pictureLook) || !CanMoveRows() || !MoveKeptRows(dc, client))
        DrawContent(dc, client);
    RestoreDC(dc, saved);
    m_pictureLook = std::move(look);
    m_pictureStale = false;
}

void TLogView::DrawContent(HDC dc, const RECT& client)
{
    if (m_backTheme)
        m_backTheme->Draw(dc, client);
    else
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    m_paintedRows.clear();
    DrawRows(dc, client, m_layout.top.line, m_layout.top.row, 2);
}

// Paints the rows from (line, row) down at y, as far as the layout's bottom line and the client
// area reach, and notes where each went.
void TLogView::DrawRows(HDC dc, const RECT& client, int line, int row, int y)
{
    SetTextAlign(dc, TA_BOTTOM);
    const int count = GetLineCount();
    for (int i = line; i <= m_layout.bottom.line && i < count && y < client.bottom; i++) {
        EnsureLineLayout(i);
        TLogLine& l = m_store.GetLine(i);
        int from = -1, to = -1;
        if (!m_selection.GetColumns(i, l.model.text.GetLength(), from, to))
            from = to = -1;
        const int firstRow = i == line ? row : 0;
        const RECT rect = {3, y, client.right - 1, client.bottom};
        l.Paint(dc, firstRow, from, to, rect);
        for (int r = firstRow < 0 ? 0 : firstRow; r < l.GetRowCount() && y < client.bottom; r++) {
            const int bottom = y + l.composition.GetRowsHeight(r, r + 1);
            m_paintedRows.push_back({l.model.lineNumber, r, y, bottom});
            y = bottom;
        }
    }
}

// Moving rows is exact only when every row paints inside its own band over a plain background:
// a picture behind the text does not move with it, and shadows reach into the next row.
bool TLogView::CanMoveRows() const
{
    if (m_backTheme && !m_backTheme->picture.IsEmpty())
        return false;
    return !m_textTheme || (m_textTheme->shadowKind != 1 && m_textTheme->shadowKind != 2);
}

bool TLogView::MoveKeptRows(HDC dc, const RECT& client)
{
    if (GetLineCount() == 0 || m_layout.top.line >= GetLineCount())
        return false;
    const int topNumber = NumberOfIndex(m_layout.top.line);
    size_t k = 0;
    while (k < m_paintedRows.size() &&
           !(m_paintedRows[k].number == topNumber && m_paintedRows[k].row == m_layout.top.row))
        k++;
    if (k == m_paintedRows.size())
        return false;
    const int shift = m_paintedRows[k].top - 2;
    // Rows wholly inside the old picture and still within the layout's lines are kept.
    const int lastLine = m_layout.bottom.line;
    size_t end = k;
    while (end < m_paintedRows.size() && m_paintedRows[end].bottom <= client.bottom &&
           m_layout.top.line + (m_paintedRows[end].number - topNumber) <= lastLine)
        end++;
    if (end == k)
        return false;
    std::vector<TLogPaintedRow> kept(m_paintedRows.begin() + k, m_paintedRows.begin() + end);
    m_picture.MoveUp(kept.front().top, 2);
    for (TLogPaintedRow& r : kept) {
        r.top -= shift;
        r.bottom -= shift;
    }
    const TLogPaintedRow last = kept.back();
    RECT band = {0, last.bottom, client.right, client.bottom};
    if (m_backTheme)
        m_backTheme->Draw(dc, band);
    else
        FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
    m_paintedRows.swap(kept);
    const int line = m_layout.top.line + (last.number - topNumber);
    if (last.row + 1 < m_store.GetLine(line).GetRowCount())
        DrawRows(dc, client, line, last.row + 1, last.bottom);
    else
        DrawRows(dc, client, line + 1, 0, last.bottom);
    return true;
}

// Line numbers follow the queue one by one, so an index past the end has a number too.
int TLogView::NumberOfIndex(int line) const
{
    const int count = GetLineCount();
    if (count == 0)
        return line + 1;
    if (line < count)
        return m_store.GetLine(line).model.lineNumber;
    return m_store.GetLine(count - 1).model.lineNumber + (line - count + 1);
}

TLogPictureLook TLogView::GetLook() const
{
    TLogPictureLook look;
    look.generation = m_context.layoutGeneration;
    look.width = m_clientWidth;
    look.height = m_layout.GetClientHeight();
    look.leading = m_context.leading;
    look.indent = m_context.indent;
    look.selection = m_selection.HasSelection();
    if (look.selection) {
        look.startNumber = NumberOfIndex(m_selection.start.line);
        look.startChar = m_selection.start.ch;
        look.endNumber = NumberOfIndex(m_selection.end.line);
        look.endChar = m_selection.end.ch;
    }
    look.searchWords = m_context.searchWords;
    look.backColor = m_backTheme ? m_backTheme->color : GetSysColor(COLOR_WINDOW);
    return look;
}
