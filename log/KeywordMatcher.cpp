#include "log/KeywordMatcher.h"

#include "foundation/CharClass.h"
#include "foundation/StringUtils.h"
#include "settings/LogKeyword.h"

namespace {

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
bool IsWholeWord(const CString& text, const TLogRange& r)
{
    CString inside = text.Mid(r.start, r.end - r.start);
    if (r.start > 0 && IsLetter(GetLastCodePoint(text.Left(r.start))) && IsLetter(GetFirstCodePoint(inside)))
        return false;
    if (r.end < text.GetLength() && IsLetter(GetLastCodePoint(inside)) && IsLetter(GetFirstCodePoint(text.Mid(r.end))))
        return false;
    return true;
}

// Occurrences of one pattern that do not overlap each other.
template <typename Visit> void ForEachOccurrence(const CString& text, CString pattern, bool foldCase, Visit visit)
{
    if (pattern.IsEmpty())
        return;
    if (foldCase)
        MakeLowerFullWidth(pattern);
    for (int pos = text.Find(pattern, 0); pos >= 0; pos = text.Find(pattern, pos + pattern.GetLength()))
        visit(TLogRange{pos, pos + pattern.GetLength()});
}

} // namespace

std::vector<TLogRange> FindKeywords(const TLogKeyword& keyword, const CString& original,
                                    const std::vector<TLogRange>& urls)
{
    std::vector<TLogRange> found;
    if (keyword.Like.empty())
        return found;
    bool foldCase = !keyword.Case;
    CString text = original;
    if (foldCase)
        MakeLowerFullWidth(text);
    std::vector<TLogRange> disliked;
    if (!keyword.ExactWordMatch) {
        for (const CString& pattern : keyword.Dislike)
            ForEachOccurrence(text, pattern, foldCase, [&](const TLogRange& r) { disliked.push_back(r); });
    }
    for (const CString& pattern : keyword.Like) {
        ForEachOccurrence(text, pattern, foldCase, [&](const TLogRange& r) {
            bool keep = keyword.ExactWordMatch
                            ? IsWholeWord(text, r)
                            : !(keyword.IgnoreURL && OverlapsAny(r, urls)) && !OverlapsAny(r, disliked);
            if (keep)
                found.push_back(r);
        });
    }
    return found;
}
