#include "log/KeywordMatcher.h"

#include "foundation/CharClass.h"
#include "settings/LogKeyword.h"

#include <algorithm>

namespace {

// As MakeLowerFullWidth does, with ASCII done without the run-time: lines are mostly ASCII.
wchar_t FoldCase(wchar_t c)
{
    if (c < 0x80)
        return c >= L'A' && c <= L'Z' ? (wchar_t)(c + 32) : c;
    if (c >= 0xFF21 && c <= 0xFF3A)
        return (wchar_t)(c + 0x20);
    if (c >= 0x3000 && c <= 0x9FFF) // kana and kanji have no case
        return c;
    return (wchar_t)towlower(c);
}

bool Overlaps(const TLogRange& a, const TLogRange& b) { return a.start < b.end && b.start < a.end; }

bool OverlapsAny(const TLogRange& r, const std::vector<TLogRange>& ranges)
{
    for (const TLogRange& other : ranges)
        if (Overlaps(r, other))
            return true;
    return false;
}

bool IsLetter(int codePoint) { return codePoint >= 0 && IsLetterCodePoint((unsigned)codePoint); }

// A whole word: no letter joins the occurrence to the text on either side.
bool IsWholeWord(const wchar_t* text, int length, const TLogRange& r)
{
    const wchar_t* inside = text + r.start;
    int count = r.end - r.start;
    if (r.start > 0 && IsLetter(GetLastCodePoint(text, r.start)) && IsLetter(GetFirstCodePoint(inside, count)))
        return false;
    if (r.end < length && IsLetter(GetLastCodePoint(inside, count)) &&
        IsLetter(GetFirstCodePoint(text + r.end, length - r.end)))
        return false;
    return true;
}

} // namespace

void TKeywordPatterns::Compile(const std::vector<CString>& patterns, bool foldCase)
{
    source = patterns;
    folded.clear();
    byFirst.clear();
    for (const CString& pattern : patterns) {
        // Searched as C strings, as the line is: a pattern ends at its first NUL.
        CString copy(pattern.GetString());
        if (foldCase)
            for (int i = 0; i < copy.GetLength(); i++)
                copy.SetAt(i, FoldCase(copy[i]));
        folded.push_back(copy);
    }
    for (int b = 0; b < 256; b++) {
        first[b] = (int)byFirst.size();
        for (int p = 0; p < (int)folded.size(); p++)
            if (!folded[p].IsEmpty() && (folded[p][0] & 0xFF) == b)
                byFirst.push_back(p);
    }
    first[256] = (int)byFirst.size();
}

void TKeywordMatcher::Prepare(const TLogKeyword& keyword)
{
    bool fold = !keyword.Case;
    if (compiled && fold == foldCase && keyword.Like == like.source && keyword.Dislike == dislike.source)
        return;
    foldCase = fold;
    like.Compile(keyword.Like, fold);
    dislike.Compile(keyword.Dislike, fold);
    for (int b = 0; b < 256; b++)
        mayStart[b] = like.first[b] < like.first[b + 1] || dislike.first[b] < dislike.first[b + 1];
    compiled = true;
}

// Each pattern's occurrences left to right, the next one searched after the end of the last.
template <typename Visit> void TKeywordMatcher::ForEachOccurrence(const TKeywordPatterns& patterns, Visit visit)
{
    if (patterns.byFirst.empty())
        return;
    const wchar_t* t = line.data();
    const int n = lineLength;
    nextFree.assign(patterns.folded.size(), 0);
    for (int j = 0; j < startCount; j++) {
        int i = starts[j];
        int b = t[i] & 0xFF;
        for (int k = patterns.first[b], last = patterns.first[b + 1]; k < last; k++) {
            int p = patterns.byFirst[k];
            const CString& pattern = patterns.folded[p];
            int length = pattern.GetLength();
            if (i < nextFree[p] || length > n - i || wmemcmp(t + i, pattern.GetString(), length) != 0)
                continue;
            nextFree[p] = i + length;
            visit(p, TLogRange{i, i + length});
        }
    }
}

// The line as the patterns were folded, and where a pattern may start in it.
void TKeywordMatcher::FoldLine(const CString& text, int from)
{
    const int length = text.GetLength() - from;
    // Sized for the whole line up front, so the loop stores without checking for room.
    if ((int)line.size() < length)
        line.resize(length);
    if ((int)starts.size() < length)
        starts.resize(length);
    // Line text holds no NUL (the code-page conversion stops at one); searched as a C string.
    const wchar_t* s = text.GetString() + from;
    wchar_t* out = line.data();
    int* start = starts.data();
    int n = 0, count = 0;
    if (foldCase) {
        for (; s[n]; n++) {
            wchar_t c = FoldCase(s[n]);
            out[n] = c;
            start[count] = n;
            count += mayStart[c & 0xFF];
        }
    } else {
        for (; s[n]; n++) {
            wchar_t c = s[n];
            out[n] = c;
            start[count] = n;
            count += mayStart[c & 0xFF];
        }
    }
    lineLength = n;
    startCount = count;
}

void TKeywordMatcher::Find(const TLogKeyword& keyword, const CString& text, const std::vector<TLogRange>& urls,
                           std::vector<TLogRange>& found, std::vector<int>* patternOf, int from)
{
    if (keyword.Like.empty())
        return;
    Prepare(keyword);
    FoldLine(text, from);
    if (startCount == 0)
        return;
    disliked.clear();
    if (!keyword.ExactWordMatch)
        ForEachOccurrence(dislike, [&](int, const TLogRange& r) { disliked.push_back(r); });
    ForEachOccurrence(like, [&](int pattern, const TLogRange& r) {
        bool keep = keyword.ExactWordMatch ? IsWholeWord(line.data(), lineLength, r)
                                           : !(keyword.IgnoreURL && OverlapsAny(r, urls)) && !OverlapsAny(r, disliked);
        if (!keep)
            return;
        found.push_back(r);
        if (patternOf)
            patternOf->push_back(pattern);
    });
}

std::vector<TLogRange> FindKeywords(const TLogKeyword& keyword, const CString& text, const std::vector<TLogRange>& urls)
{
    TKeywordMatcher matcher;
    std::vector<TLogRange> found;
    std::vector<int> patternOf;
    matcher.Find(keyword, text, urls, found, &patternOf);
    // Pattern by pattern: each pattern's occurrences are in order already.
    std::vector<int> order(found.size());
    for (size_t i = 0; i < order.size(); i++)
        order[i] = (int)i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return patternOf[a] < patternOf[b]; });
    std::vector<TLogRange> sorted;
    for (int i : order)
        sorted.push_back(found[i]);
    return sorted;
}
