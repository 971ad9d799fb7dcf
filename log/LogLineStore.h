#pragma once
// The lines of one log: numbered from a running counter, composed once, the oldest dropped
// beyond a limit. The log view shows them; tests record engine output with it.

#include "log/LogLine.h"
#include "log/LogLineSink.h"

#include <deque>
#include <memory>

class TLogLineStore : public ILogLineSink {
public:
    explicit TLogLineStore(TLogDrawContext* context) : context(context) {}
    virtual ~TLogLineStore() = default;

    TLogLineAdded AddLine(const TLogLineData& line, bool checkKeywords) override;
    void RemoveHeadLines(int count);
    void Clear() { lines.clear(); }
    int GetCount() const { return (int)lines.size(); }
    TLogLine& GetLine(int index) { return *lines[index]; }

    // 0 keeps every line.
    int limit = 0;

private:
    TLogDrawContext* context;
    std::deque<std::unique_ptr<TLogLine>> lines;
    // The last line dropped, composed again by the next AddLine: its buffers are reused.
    std::unique_ptr<TLogLine> spare;
    int counter = 0;
};
