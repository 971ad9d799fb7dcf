#pragma once
// Where the user's keywords occur in a line, under the keyword settings.

#include "log/LogLineData.h"

#include <vector>

class TLogKeyword;

// Occurrences pattern by pattern in the order found; urls are ranges of the same text.
std::vector<TLogRange> FindKeywords(const TLogKeyword& keyword, const CString& text,
                                    const std::vector<TLogRange>& urls);

// The patterns of one keyword list, folded once and sorted by their first character, so one
// pass over a line finds every pattern.
struct TKeywordPatterns {
    std::vector<CString> source;
    std::vector<CString> folded;
    // Patterns whose first character has the low byte b: byFirst[first[b]] to byFirst[first[b + 1]].
    int first[257] = {};
    std::vector<int> byFirst;

    void Compile(const std::vector<CString>& patterns, bool foldCase);
};

class TKeywordMatcher {
public:
    // The occurrences, each pattern's own not overlapping, in the order of their start (the
    // patterns of one start in no fixed order); their patterns go to patternOf when it is given.
    // Only the text from `from` on is searched, and ranges (urls too) count from there.
    void Find(const TLogKeyword& keyword, const CString& text, const std::vector<TLogRange>& urls,
              std::vector<TLogRange>& found, std::vector<int>* patternOf = nullptr, int from = 0);

private:
    // Folds the patterns again only when the settings changed since the last line.
    void Prepare(const TLogKeyword& keyword);
    void FoldLine(const CString& text, int from);
    template <typename Visit> void ForEachOccurrence(const TKeywordPatterns& patterns, Visit visit);

    TKeywordPatterns like;
    TKeywordPatterns dislike;
    bool foldCase = true;
    bool compiled = false;
    // By the low byte of a character: whether some pattern starts with it.
    bool mayStart[256] = {};
    // Scratch kept between lines: the folded line, where patterns may start, and per-pattern
    // search positions.
    std::vector<wchar_t> line;
    int lineLength = 0;
    std::vector<int> starts;
    int startCount = 0;
    std::vector<int> nextFree;
    std::vector<TLogRange> disliked;
};
