#include "foundation/RingBuffer.h"

#include <algorithm>

CString TRingBuffer::GetPrevious(const CString& current)
{
    if (cursor == head) {
        entries[head] = current;
        cursor = Back(cursor);
        if (entries[cursor].IsEmpty())
            cursor = Forward(cursor);
        return entries[cursor];
    }
    cursor = Back(cursor);
    if (cursor == head || entries[cursor].IsEmpty())
        cursor = Forward(cursor);
    return entries[cursor];
}

CString TRingBuffer::GetNext(const CString& current)
{
    if (cursor == head) {
        if (!current.IsEmpty())
            Add(current);
        return CString();
    }
    cursor = Forward(cursor);
    return entries[cursor];
}

void TRingBuffer::Add(const CString& line)
{
    // An empty slot ends the stored lines, so an empty line would hide every older one.
    if (line.IsEmpty() || line == entries[Back(head)]) {
        cursor = head;
        return;
    }
    entries[head] = line;
    head = Forward(head);
    entries[head].Empty();
    cursor = head;
}

void TRingBuffer::GetAll(std::vector<CString>& lines) const
{
    lines.clear();
    for (int i = Back(head); i != head && !entries[i].IsEmpty(); i = Back(i))
        lines.push_back(entries[i]);
    std::reverse(lines.begin(), lines.end());
}
