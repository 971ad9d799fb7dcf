#include "log/KeywordMatcher.h"

#include "foundation/CharClass.h"
#include "settings/LogKeyword.h"

namespace {

// As MakeLowerFullWidth does, with ASCII done without the run-time: lines are mostly ASCII.
void FoldCase(CString& text)
{
    wchar_t* s = text.GetBuffer();
    for (int i = 0; i < text.GetLength(); i++) {
        wchar_t c = s[i];
        if (c < 0x80)
            s[i] = c >= L'A' && c <= L'Z' ? (wchar_t)(c + 32) : c;
        else if (c >= 0xFF21 && c <= 0xFF3A)
            s[i] = (wchar_t)(c + 0x20);
        else if (!(c >= 0x3000 && c <= 0x9FFF)) // kana and kanji have no case
            s[i] = (wchar_t)towlower(c);
    }
    text.ReleaseBuffer(text.GetLength());
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
        FoldCase(pattern);
    // Line text holds no NUL (the code-page conversion stops at one), so the C search fits.
    const wchar_t* t = text.GetString();
    for (const wchar_t* hit = wcsstr(t, pattern); hit; hit = wcsstr(hit + pattern.GetLength(), pattern)) {
        int pos = (int)(hit - t);
        visit(TLogRange{pos, pos + pattern.GetLength()});
    }
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
        FoldCase(text);
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
