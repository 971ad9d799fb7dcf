#include "logview/LogSearch.h"

#include "foundation/StringUtils.h"

#include <climits>
#include <cwchar>

namespace {

CString Folded(const CString& text, bool fold)
{
    CString result(text);
    if (fold)
        MakeLowerFullWidth(result);
    return result;
}

// The last occurrence that begins before limit; occurrences may overlap.
int FindLastBefore(const CString& text, const CString& needle, int limit)
{
    const int n = needle.GetLength();
    int i = text.GetLength() - n;
    if (i > limit - 1)
        i = limit - 1;
    for (; i >= 0; i--)
        if (wcsncmp(text.GetString() + i, needle.GetString(), n) == 0)
            return i;
    return -1;
}

// Visits lines in search order with the character limit that applies in each; the first line
// starts at the given position, the others are searched whole.
template <typename Visit> bool ScanLines(int count, TLogTextPos from, bool forward, bool wrapAround, Visit visit)
{
    if (forward) {
        for (int i = from.line; i < count; i++)
            if (visit(i, i == from.line ? from.ch : 0))
                return true;
        for (int i = 0; wrapAround && i < count; i++)
            if (visit(i, 0))
                return true;
        return false;
    }
    for (int i = from.line; i >= 0; i--)
        if (visit(i, i == from.line ? from.ch : INT_MAX))
            return true;
    for (int i = count - 1; wrapAround && i >= 0; i--)
        if (visit(i, INT_MAX))
            return true;
    return false;
}

TLogTextPos SearchStart(int count, const TLogSelection& selection, bool forward)
{
    if (forward)
        return selection.HasSelection() ? selection.end : TLogTextPos();
    if (selection.HasSelection() && selection.start.line < count)
        return selection.start;
    return {count - 1, INT_MAX};
}

} // namespace

bool FindTextInLines(const ILogViewLines& lines, const CString& text, bool forward, bool matchCase, bool wrapAround,
                     const TLogSelection& selection, TLogMatch& match)
{
    if (text.IsEmpty())
        return false;
    const CString needle = Folded(text, !matchCase);
    const int count = lines.GetLineCount();
    return ScanLines(count, SearchStart(count, selection, forward), forward, wrapAround, [&](int line, int limit) {
        const CString hay = Folded(lines.GetLineText(line), !matchCase);
        const int index = forward ? hay.Find(needle, limit) : FindLastBefore(hay, needle, limit);
        if (index < 0)
            return false;
        match = {line, index, needle.GetLength()};
        return true;
    });
}

bool FindWordsInLines(const ILogViewLines& lines, const std::vector<CString>& words, bool forward, bool fromStart,
                      const TLogSelection& selection, TLogMatch& match)
{
    std::vector<CString> needles;
    for (const CString& word : words)
        if (!word.IsEmpty())
            needles.push_back(Folded(word, true));
    if (needles.empty())
        return false;
    const int count = lines.GetLineCount();
    TLogTextPos from = SearchStart(count, selection, forward);
    if (forward && fromStart)
        from = TLogTextPos();
    return ScanLines(count, from, forward, true, [&](int line, int limit) {
        const CString hay = Folded(lines.GetLineText(line), true);
        bool found = false;
        for (const CString& needle : needles) {
            const int index = forward ? hay.Find(needle, limit) : FindLastBefore(hay, needle, limit);
            if (index < 0)
                continue;
            const bool better = forward ? index < match.index : index + needle.GetLength() > match.index + match.length;
            if (!found || better)
                match = {line, index, needle.GetLength()};
            found = true;
        }
        return found;
    });
}
