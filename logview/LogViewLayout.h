#pragma once
// Which display rows a log view shows: the top and bottom positions and every way of moving
// them. Works on row counts and heights only; the view repaints after each call.

#include "logview/LogViewLines.h"

class TLogViewLayout {
public:
    explicit TLogViewLayout(ILogViewLines& lines) : m_lines(lines) {}

    // Height of the client area the rows go into.
    void SetClientHeight(int height) { m_clientHeight = height; }
    int GetClientHeight() const { return m_clientHeight; }

    // The bottom position at or past the line count means the view shows the end.
    bool IsAtEnd() const { return bottom.line >= m_lines.GetLineCount(); }

    void LayoutFromTop(int margin);
    void LayoutFromBottom(int margin);

    void ScrollToTop();
    void ScrollToEnd();
    void PageUp();
    void PageDown();
    void ScrollUp(int rows);
    void ScrollDown(int rows);
    void ShowLine(int line);
    // After lines were appended: a view at the end follows them, one scrolled back stays put.
    void FollowNewLines(bool wasAtEnd);
    // After a width or font change: a top row past the line's rows moves on.
    void FixTopAfterRelayout();
    // A view at the end stays there (scrolling when the content now overflows); else from the top.
    void Refresh();
    void ShiftLines(int removed);

    // The scroll bar counts lines, the keyboard and the wheel rows.
    int GetScrollMaximum();
    int GetScrollPosition();
    void TrackThumb(int position);

    TLogRowPos top;
    TLogRowPos bottom;
    int bottomMargin = 10;

private:
    int LastRow(int line);
    TLogRowPos LastRowOfLastLine();

    ILogViewLines& m_lines;
    int m_clientHeight = 0;
};
