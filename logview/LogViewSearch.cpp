#include "logview/LogSearch.h"
#include "logview/LogView.h"

void TLogView::SelectMatch(int line, int index, int length)
{
    m_selection.Set({line, index + length}, {line, index});
    if (m_selection.HasSelection())
        ScrollToSelection();
    Repaint();
}

bool TLogView::FindText(const CString& text, bool forward, bool matchCase, bool wrapAround)
{
    TLogMatch match;
    if (!FindTextInLines(*this, text, forward, matchCase, wrapAround, m_selection, match))
        return false;
    SelectMatch(match.line, match.index, match.length);
    return true;
}

void TLogView::SetSearchWords(const std::vector<CString>& words)
{
    Settle();
    if (words.empty()) {
        EndSearch();
    } else if (!m_searching) {
        m_savedTop = m_layout.top;
        m_wasAtEnd = m_layout.IsAtEnd();
        m_searching = true;
    }
    // Ending the search takes its match away too, or Ctrl+C would still copy it.
    m_selection.Clear();
    m_context.searchWords = words;
    FindFirstMatch();
    Repaint();
}

void TLogView::EndSearch()
{
    Settle();
    m_context.searchWords.clear();
    if (!m_searching) {
        Repaint();
        return;
    }
    m_searching = false;
    m_layout.top = m_savedTop;
    m_layout.LayoutFromTop(0);
    if (m_wasAtEnd && !m_layout.IsAtEnd())
        m_layout.ScrollToEnd();
    Repaint();
}

bool TLogView::FindFirstMatch() { return FindNextMatch(true, true); }

bool TLogView::FindNextMatch(bool forward, bool fromStart)
{
    TLogMatch match;
    if (!FindWordsInLines(*this, m_context.searchWords, forward, fromStart, m_selection, match))
        return false;
    SelectMatch(match.line, match.index, match.length);
    return true;
}

void TLogView::ScrollToSelection()
{
    Settle();
    const int count = GetLineCount();
    if (!m_selection.HasSelection() || count == 0)
        return;
    const TLogTextPos start = m_selection.start;
    const TLogTextPos end = m_selection.end;
    if (start.line >= count)
        return;
    const TLogRowPos startRow = {start.line, GetRowOfChar(start.line, start.ch, true)};
    const TLogRowPos endRow =
        end.line < count ? TLogRowPos{end.line, GetRowOfChar(end.line, end.ch, false)} : TLogRowPos{count, 0};
    if (m_layout.top <= startRow && endRow < m_layout.bottom)
        return;
    if (startRow < m_layout.top) {
        m_layout.top = startRow;
        m_layout.LayoutFromTop(0);
        Repaint();
        return;
    }
    TLogRowPos after = endRow.line >= count || endRow.row >= GetRowCount(endRow.line) - 1
                           ? TLogRowPos{endRow.line + 1, 0}
                           : TLogRowPos{endRow.line, endRow.row + 1};
    if (after.line >= count) {
        m_layout.ScrollToEnd();
    } else {
        m_layout.bottom = after;
        m_layout.LayoutFromBottom(0);
        if (startRow < m_layout.top) {
            m_layout.top = startRow;
            m_layout.LayoutFromTop(0);
        }
    }
    Repaint();
}
