#include "log/LogLineStore.h"

TLogLineAdded TLogLineStore::AddLine(const TLogLineData& data, bool checkKeywords)
{
    TLogLineData numbered = data;
    numbered.lineNumber = ++counter;
    auto line = std::make_unique<TLogLine>(context);
    line->model.Compose(numbered, *context, checkKeywords);
    TLogLineAdded added;
    added.lineNumber = numbered.lineNumber;
    added.keyword = line->model.keyword;
    added.urls = line->model.urls;
    added.text = line->model.text;
    lines.push_back(std::move(line));
    if (limit > 0 && (int)lines.size() > limit)
        RemoveHeadLines((int)lines.size() - limit);
    return added;
}

void TLogLineStore::RemoveHeadLines(int count)
{
    while (count-- > 0 && !lines.empty())
        lines.pop_front();
}
