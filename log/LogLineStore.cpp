#include "log/LogLineStore.h"

TLogLineAdded TLogLineStore::AddLine(const TLogLineData& data, bool checkKeywords)
{
    std::unique_ptr<TLogLine> line;
    if (limit > 0 && (int)lines.size() >= limit) {
        // The line that falls out is composed again: its text and run buffers are reused.
        line = std::move(lines.front());
        lines.pop_front();
        line->composition.layoutStamp = 0;
    } else if (spare) {
        line = std::move(spare);
        line->composition.layoutStamp = 0;
    } else {
        line = std::make_unique<TLogLine>(context);
    }
    line->model.Compose(data, *context, checkKeywords);
    line->model.lineNumber = ++counter;
    TLogLineAdded added;
    added.lineNumber = counter;
    added.keyword = line->model.keyword;
    if (!line->model.urls.empty()) {
        added.urls = line->model.urls;
        added.text = line->model.text;
    }
    lines.push_back(std::move(line));
    if (limit > 0 && (int)lines.size() > limit)
        RemoveHeadLines((int)lines.size() - limit);
    return added;
}

void TLogLineStore::RemoveHeadLines(int count)
{
    while (count-- > 0 && !lines.empty()) {
        if (!spare)
            spare = std::move(lines.front());
        lines.pop_front();
    }
}
