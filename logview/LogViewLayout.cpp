#include "logview/LogViewLayout.h"

int GetLineHeight(ILogViewLines& lines, int line, int firstRow)
{
    const int leading = lines.GetLineLeading();
    const int rows = lines.GetRowCount(line);
    int height = 0;
    for (int r = firstRow < 0 ? 0 : firstRow; r < rows; r++)
        height += lines.GetRowHeight(line, r) + leading;
    return height;
}

int TLogViewLayout::LastRow(int line)
{
    const int rows = m_lines.GetRowCount(line);
    return rows > 0 ? rows - 1 : 0;
}

TLogRowPos TLogViewLayout::LastRowOfLastLine()
{
    const int last = m_lines.GetLineCount() - 1;
    return last < 0 ? TLogRowPos() : TLogRowPos{last, LastRow(last)};
}

void TLogViewLayout::LayoutFromTop(int margin)
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return;
    int left = m_clientHeight - 2 - margin;
    for (int i = top.line; i < count; i++) {
        const int from = i == top.line ? top.row : 0;
        const int height = GetLineHeight(m_lines, i, from);
        if (height <= left) {
            left -= height;
            continue;
        }
        const int rows = m_lines.GetRowCount(i);
        int sum = 0;
        for (int r = from; r < rows; r++) {
            sum += m_lines.GetRowHeight(i, r);
            if (sum > left) {
                bottom = {i, r};
                return;
            }
        }
        bottom = {i, LastRow(i)};
        return;
    }
    bottom = {count, 0};
}

void TLogViewLayout::LayoutFromBottom(int margin)
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return;
    int left = m_clientHeight - 2 - margin;
    const bool fromEnd = bottom.line >= count;
    const int startLine = fromEnd ? count - 1 : bottom.line;
    int startRow = fromEnd ? LastRow(startLine) : bottom.row;
    if (startRow > LastRow(startLine))
        startRow = LastRow(startLine);
    const int leading = m_lines.GetLineLeading();

    int i = startLine;
    for (;; i--) {
        if (i < 0) {
            top = {0, 0};
            LayoutFromTop(margin);
            return;
        }
        const int last = i == startLine ? startRow : LastRow(i);
        int height = 0;
        for (int r = 0; r <= last && r < m_lines.GetRowCount(i); r++)
            height += m_lines.GetRowHeight(i, r) + leading;
        if (height > left)
            break;
        left -= height;
    }
    const int last = i == startLine ? startRow : LastRow(i);
    int sum = 0;
    for (int r = last; r >= 0; r--) {
        sum += r < m_lines.GetRowCount(i) ? m_lines.GetRowHeight(i, r) : 0;
        if (sum <= left)
            continue;
        if (!fromEnd)
            top = {i, r};
        else if (r < LastRow(i))
            top = {i, r + 1};
        else
            top = i + 1 < count ? TLogRowPos{i + 1, 0} : TLogRowPos{i, r};
        return;
    }
    top = {i, 0};
}

void TLogViewLayout::ScrollToTop()
{
    if (m_lines.GetLineCount() == 0)
        return;
    top = {0, 0};
    LayoutFromTop(0);
}

void TLogViewLayout::ScrollToEnd()
{
    if (m_lines.GetLineCount() == 0)
        return;
    bottom = {m_lines.GetLineCount(), 0};
    LayoutFromBottom(bottomMargin);
}

void TLogViewLayout::PageUp()
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return;
    bottom = top.line >= count ? TLogRowPos{count, 0} : top;
    LayoutFromBottom(0);
}

void TLogViewLayout::PageDown()
{
    if (m_lines.GetLineCount() == 0)
        return;
    top = IsAtEnd() ? LastRowOfLastLine() : bottom;
    LayoutFromTop(0);
}

void TLogViewLayout::ScrollUp(int rows)
{
    if (m_lines.GetLineCount() == 0)
        return;
    for (int n = 0; n < rows; n++) {
        if (top.row > 0) {
            top.row--;
        } else if (top.line > 0) {
            top.line--;
            top.row = LastRow(top.line);
        } else {
            break;
        }
    }
    LayoutFromTop(0);
}

void TLogViewLayout::ScrollDown(int rows)
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return;
    for (int n = 0; n < rows; n++) {
        if (top.line < count && top.row < LastRow(top.line)) {
            top.row++;
            continue;
        }
        if (top.line + 1 < count) {
            top = {top.line + 1, 0};
            continue;
        }
        top = LastRowOfLastLine();
        break;
    }
    LayoutFromTop(0);
}

void TLogViewLayout::ShowLine(int line)
{
    const int count = m_lines.GetLineCount();
    if (line < 0 || line >= count)
        return;
    if (line < top.line) {
        top = {line > 0 ? line - 1 : 0, 0};
        LayoutFromTop(0);
        if (bottom.line <= line) {
            top = {line, 0};
            LayoutFromTop(0);
        }
        return;
    }
    if (line < bottom.line - 1)
        return;
    const bool last = line == count - 1;
    bottom = last ? TLogRowPos{count, 0} : TLogRowPos{line + 1, 0};
    LayoutFromBottom(last ? bottomMargin : 0);
    if (top.line > line) {
        top = {line, 0};
        LayoutFromTop(0);
    } else if (bottom.line < count) {
        bottom = {bottom.line + 1, 0};
    }
}

void TLogViewLayout::FollowNewLines(bool wasAtEnd)
{
    if (!wasAtEnd) {
        LayoutFromTop(0);
        return;
    }
    LayoutFromTop(bottomMargin);
    if (!IsAtEnd())
        ScrollToEnd();
}

void TLogViewLayout::FixTopAfterRelayout()
{
    const int count = m_lines.GetLineCount();
    if (count == 0 || top.line >= count)
        return;
    const int rows = m_lines.GetRowCount(top.line);
    if (top.row < rows)
        return;
    if (count > 1 && top.line < count - 1)
        top = {top.line + 1, 0};
    else
        top.row = rows > 0 ? rows - 1 : 0;
}

void TLogViewLayout::Refresh()
{
    if (!IsAtEnd()) {
        LayoutFromTop(0);
        return;
    }
    FollowNewLines(true);
}

void TLogViewLayout::ShiftLines(int removed)
{
    ShiftPosition(top, removed);
    ShiftPosition(bottom, removed);
}

int TLogViewLayout::GetScrollMaximum()
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return 0;
    const int rows = m_lines.GetRowCount(count - 1);
    if (rows == 1)
        return count - 1;
    if (count == 1 && rows >= 3)
        return 2;
    return count;
}

int TLogViewLayout::GetScrollPosition()
{
    if (m_lines.GetLineCount() == 0)
        return 0;
    int pos = top.line;
    if (top.line == 0 && top.row > 0)
        pos = 1;
    if (top == LastRowOfLastLine())
        pos++;
    return pos;
}

void TLogViewLayout::TrackThumb(int position)
{
    const int count = m_lines.GetLineCount();
    if (count == 0)
        return;
    top = {position < 0 ? 0 : position, 0};
    if (count == 1 && position == 1)
        top = {0, m_lines.GetRowCount(0) / 2};
    else if (position >= count)
        top = LastRowOfLastLine();
    LayoutFromTop(0);
}
