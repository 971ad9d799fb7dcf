#pragma once
// The selection of a log view: the two ends as the user made them and the same ends in order.

#include "logview/LogViewLines.h"

class TLogSelection {
public:
    // Start and end from anchor and moving end, the smaller first; true when they differ.
    bool Normalize();
    bool HasSelection() const { return active && !(start == end); }
    void Clear();
    void Set(TLogTextPos anchorPos, TLogTextPos movingPos);
    // Old lines left the queue: every stored position follows its line.
    void ShiftLines(int removed);
    bool Contains(TLogTextPos pos) const { return HasSelection() && start <= pos && pos < end; }
    // The selected characters [from, to) of one line; false when none of it is selected.
    bool GetColumns(int line, int length, int& from, int& to) const;

    TLogTextPos anchor;
    TLogTextPos moving;
    TLogTextPos start;
    TLogTextPos end; // exclusive
    TLogTextPos lastClick;
    bool active = false;
};

// Lines joined with CRLF, without control codes: what copying puts on the clipboard.
CString GetSelectedText(const ILogViewLines& lines, const TLogSelection& selection);
