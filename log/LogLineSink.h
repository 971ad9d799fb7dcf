#pragma once
// Where the engine prints finished lines: the log view, or a test's recorder.

#include "log/LogLineData.h"

#include <vector>

struct TLogLineAdded {
    int lineNumber = 0;
    bool keyword = false;
    // The URLs of the line, in the composed line's coordinates.
    std::vector<TLogRange> urls;
    // The text the ranges index (time, place and nick prefixes, then the body without codes);
    // empty when the line has no URL.
    CString text;
};

class ILogLineSink {
public:
    // Numbers the line, composes it (keywords only when asked) and keeps it.
    virtual TLogLineAdded AddLine(const TLogLineData& line, bool checkKeywords) = 0;

protected:
    ~ILogLineSink() = default;
};
