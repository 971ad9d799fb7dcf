#include "logview/LogSelection.h"

bool TLogSelection::Normalize()
{
    if (moving < anchor) {
        start = moving;
        end = anchor;
    } else {
        start = anchor;
        end = moving;
    }
    return !(start == end);
}

void TLogSelection::Clear()
{
    active = false;
    start = end = TLogTextPos();
}

void TLogSelection::Set(TLogTextPos anchorPos, TLogTextPos movingPos)
{
    anchor = anchorPos;
    moving = movingPos;
    active = Normalize();
}

void TLogSelection::ShiftLines(int removed)
{
    ShiftPosition(lastClick, removed);
    ShiftPosition(start, removed);
    ShiftPosition(end, removed);
    if (active) {
        anchor = start;
        moving = end;
        active = Normalize();
    } else {
        ShiftPosition(anchor, removed);
        ShiftPosition(moving, removed);
    }
}

bool TLogSelection::GetColumns(int line, int length, int& from, int& to) const
{
    if (!HasSelection() || line < start.line || line > end.line)
        return false;
    from = line == start.line ? start.ch : 0;
    to = line == end.line ? end.ch : length;
    if (from > length)
        from = length;
    if (to > length)
        to = length;
    return from < to;
}

CString GetSelectedText(const ILogViewLines& lines, const TLogSelection& selection)
{
    if (!selection.HasSelection())
        return CString();
    const TLogTextPos& start = selection.start;
    const TLogTextPos& end = selection.end;
    const int count = lines.GetLineCount();
    if (start.line == end.line) {
        if (start.line >= count)
            return CString();
        const CString& text = lines.GetLineText(start.line);
        return text.Mid(start.ch, end.ch - start.ch);
    }
    if (start.line >= count)
        return CString();
    CString result = lines.GetLineText(start.line).Mid(start.ch);
    if (!result.IsEmpty())
        result += L"\r\n";
    for (int i = start.line + 1; i < end.line && i < count; i++) {
        result += lines.GetLineText(i);
        result += L"\r\n";
    }
    if (end.line < count)
        result += lines.GetLineText(end.line).Left(end.ch);
    return result;
}
