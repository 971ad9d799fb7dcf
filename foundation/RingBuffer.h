#pragma once
// The input line's history: Up recalls older lines, Down newer ones, and a sent line is added.
// The line being edited is kept while browsing, so coming back down restores it.

#include "classlib/String.h"

#include <vector>

class TRingBuffer {
public:
    static const int SIZE = 50; // one slot is the working slot, so 49 lines are remembered

    TRingBuffer() = default;
    virtual ~TRingBuffer() = default;

    CString GetPrevious(const CString& current);
    CString GetNext(const CString& current);
    void Add(const CString& line);
    // Oldest first.
    void GetAll(std::vector<CString>& lines) const;

private:
    static int Back(int index) { return index == 0 ? SIZE - 1 : index - 1; }
    static int Forward(int index) { return index == SIZE - 1 ? 0 : index + 1; }

    CString entries[SIZE];
    int head = 0;   // the working slot, after the newest line
    int cursor = 0; // the slot shown; head when not browsing
};
