#pragma once
// Positions in a log view and the view's access to its laid-out lines, so that scrolling,
// selection and search can be worked out (and tested) without a window.

#include "classlib/String.h"

// A display row: line index into the view's queue, row within that line.
struct TLogRowPos {
    int line = 0;
    int row = 0;
    bool operator==(const TLogRowPos&) const = default;
    bool operator<(const TLogRowPos& o) const { return line != o.line ? line < o.line : row < o.row; }
    bool operator<=(const TLogRowPos& o) const { return !(o < *this); }
};

// A character: line index, character index into the line's stripped text.
struct TLogTextPos {
    int line = 0;
    int ch = 0;
    bool operator==(const TLogTextPos&) const = default;
    bool operator<(const TLogTextPos& o) const { return line != o.line ? line < o.line : ch < o.ch; }
    bool operator<=(const TLogTextPos& o) const { return !(o < *this); }
};

// Line indexes shift when old lines go; a position whose line leaves the queue becomes the origin.
template <typename Pos> void ShiftPosition(Pos& pos, int removed)
{
    pos.line -= removed;
    if (pos.line < 0)
        pos = Pos();
}

class ILogViewLines {
public:
    virtual int GetLineCount() const = 0;
    // The stripped text: what selection, copying and search see.
    virtual const CString& GetLineText(int line) const = 0;
    // Rows and heights lay the line out on demand for the current width.
    virtual int GetRowCount(int line) = 0;
    virtual int GetRowHeight(int line, int row) = 0;
    virtual int GetLineLeading() const = 0;
    // The row that holds a character; endExclusive puts a character on a row edge onto the next row.
    virtual int GetRowOfChar(int line, int ch, bool endExclusive) = 0;
    // x from the text area's left, y from the top of the painted part that starts at firstRow.
    virtual int HitTestLine(int line, int x, int y, int firstRow, bool nearest) = 0;

protected:
    ~ILogViewLines() = default;
};

// Height of a line's rows from firstRow on, each with the line leading once.
int GetLineHeight(ILogViewLines& lines, int line, int firstRow);
