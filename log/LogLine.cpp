#include "log/LogLine.h"

#include "foundation/IrcMarkup.h"
#include "log/AddressFinder.h"
#include "log/KeywordMatcher.h"

#include <algorithm>
#include <cstring>

const COLORREF kIrcPalette[IRC_PALETTE_SIZE] = {
    RGB(255, 255, 255), RGB(0, 0, 0),     RGB(0, 0, 128),     RGB(0, 128, 0),     RGB(255, 0, 0),   RGB(128, 0, 0),
    RGB(128, 0, 128),   RGB(255, 128, 0), RGB(255, 255, 0),   RGB(0, 255, 0),     RGB(0, 128, 128), RGB(0, 255, 255),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(128, 128, 128), RGB(192, 192, 192),
};

namespace {

struct TLogCharStyle {
    unsigned char kind;
    unsigned char flags;
    unsigned char foreground;
    unsigned char background;

    // Four bytes without padding: compared as one word.
    bool operator==(const TLogCharStyle& o) const { return memcmp(this, &o, sizeof o) == 0; }
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads one or two digits at i; returns the value modulo 16 and moves i past them.
int ReadColorNumber(const wchar_t* s, int length, int& i)
{
    int value = s[i++] - L'0';
    if (i < length && IsDigit(s[i]))
        value = value * 10 + (s[i++] - L'0');
    return value % 16;
}

// The colour code at s[i] (just after U+0003); returns the index of the next character to scan.
int ReadColorCode(const wchar_t* s, int length, int i, TLogCharStyle& style)
{
    if (!IsDigit(s[i])) {
        style.flags &= ~(STYLE_FOREGROUND | STYLE_BACKGROUND);
        style.foreground = style.background = 0;
        return i;
    }
    if (i + 1 >= length)
        return i + 1; // a digit that ends the body sets nothing
    style.foreground = (unsigned char)ReadColorNumber(s, length, i);
    style.flags |= STYLE_FOREGROUND;
    if (i + 1 < length && s[i] == L',' && IsDigit(s[i + 1])) {
        i++;
        if (i + 1 >= length)
            return i + 1;
        style.background = (unsigned char)ReadColorNumber(s, length, i);
        style.flags |= STYLE_BACKGROUND;
    }
    return i;
}

// From start on, the stripped body has the codes' style (the kind is left as text).
struct TCodeSegment {
    int start;
    TLogCharStyle style;
};

// A URL, address or keyword range; later kinds win where they overlap.
struct TKindMark {
    int start;
    int end;
    unsigned char kind;
};

// Applies the code c (its colour numbers follow s[i]) to style and moves i past them; false
// when c is no code.
bool ApplyCode(wchar_t c, const wchar_t* s, int n, int& i, TLogCharStyle& style)
{
    switch (c) {
    case CODE_BOLD:
        style.flags ^= STYLE_BOLD;
        return true;
    case CODE_UNDERLINE:
        style.flags ^= STYLE_UNDERLINE;
        return true;
    case CODE_REVERSE:
        style.flags ^= STYLE_REVERSE;
        return true;
    case CODE_STOP:
        style.flags = 0;
        return true;
    case CODE_COLOR:
        if (i < n)
            i = ReadColorCode(s, n, i, style);
        return true;
    default:
        return false;
    }
}

// The body without its codes appended to text, a tab as four blanks, and where the style of
// the characters appended changes (counted from the first of them).
void StripCodes(const CString& body, CString& text, std::vector<TCodeSegment>& segments)
{
    const wchar_t* s = body.GetString();
    const int n = body.GetLength();
    const int at = text.GetLength();
    int capacity = n;
    wchar_t* out = text.GetBuffer(at + capacity) + at;
    int count = 0;
    segments.clear();
    TLogCharStyle style = {RUN_TEXT, 0, 0, 0};
    bool changed = true;
    // The style of the next character, recorded when it differs from the last one recorded.
    auto startCharacter = [&] {
        if (changed && (segments.empty() || !(segments.back().style == style)))
            segments.push_back(TCodeSegment{count, style});
        changed = false;
    };
    for (int i = 0; i < n;) {
        // Codes and tabs are below the blank: the characters between them are copied as they
        // are scanned, which costs less than a call to copy the few of them.
        if (s[i] >= 0x20) {
            startCharacter();
            for (wchar_t c; i < n && (c = s[i]) >= 0x20; i++)
                out[count++] = c;
            continue;
        }
        wchar_t c = s[i++];
        if (ApplyCode(c, s, n, i, style)) {
            changed = true;
        } else if (c == L'\t') {
            // Three characters more than the body has: room for them and for all that follows.
            if (count + 4 + (n - i) > capacity) {
                text.ReleaseBuffer(at + count);
                capacity = count + 4 + (n - i);
                out = text.GetBuffer(at + capacity) + at;
            }
            startCharacter();
            for (int k = 0; k < 4; k++)
                out[count++] = L' ';
        } else {
            startCharacter();
            out[count++] = c;
        }
    }
    text.ReleaseBuffer(at + count);
}

// One run per stretch of equal style and kind: the kind of each character painted from the
// marks in order (the last one over a character wins), then runs cut where a code segment
// begins or the kind may change, at the marks' edges, and joined where neighbours are equal.
void AppendRuns(std::vector<TLogRun>& runs, const std::vector<TCodeSegment>& segments,
                const std::vector<TKindMark>& marks, int count, int offset)
{
    static std::vector<unsigned char> kinds;
    static std::vector<int> edges;
    edges.clear();
    if (!marks.empty()) {
        if ((int)kinds.size() < count)
            kinds.resize(count);
        memset(kinds.data(), RUN_TEXT, count);
        for (const TKindMark& mark : marks) {
            int end = mark.end < count ? mark.end : count;
            if (mark.start >= end)
                continue;
            memset(kinds.data() + mark.start, mark.kind, end - mark.start);
            edges.push_back(mark.start);
            edges.push_back(end);
        }
        // A line has a few marks, found mostly in order: insertion sorts them faster.
        if (edges.size() > 32) {
            std::sort(edges.begin(), edges.end());
        } else {
            for (size_t k = 1; k < edges.size(); k++) {
                int value = edges[k];
                size_t at = k;
                for (; at > 0 && edges[at - 1] > value; at--)
                    edges[at] = edges[at - 1];
                edges[at] = value;
            }
        }
    }
    const size_t firstRun = runs.size();
    size_t segment = 0, edge = 0;
    for (int from = 0; from < count;) {
        while (segment + 1 < segments.size() && segments[segment + 1].start <= from)
            segment++;
        int to = segment + 1 < segments.size() ? segments[segment + 1].start : count;
        TLogCharStyle style = segments[segment].style;
        if (!edges.empty()) {
            style.kind = kinds[from];
            while (edge < edges.size() && edges[edge] <= from)
                edge++;
            if (edge < edges.size() && edges[edge] < to)
                to = edges[edge];
        }
        if (runs.size() > firstRun) {
            TLogRun& last = runs.back();
            TLogCharStyle lastStyle = {(unsigned char)last.kind, last.flags, last.foreground, last.background};
            if (lastStyle == style) {
                last.end = offset + to;
                from = to;
                continue;
            }
        }
        // Filled in place: a run built aside and copied was read back before its bytes were stored.
        runs.emplace_back();
        TLogRun& run = runs.back();
        run.start = offset + from;
        run.end = offset + to;
        run.kind = style.kind;
        run.flags = style.flags;
        run.foreground = style.foreground;
        run.background = style.background;
        from = to;
    }
}

} // namespace

void TLogLineModel::Compose(const TLogLineData& data, const TLogDrawContext& context, bool checkKeywords)
{
    lineNumber = data.lineNumber;
    lineType = data.lineType;
    nickStyle = data.nickStyle;
    nick = data.nick;
    eventData = data.eventData;
    // A model may be composed again (the store reuses the oldest line): its buffers stay.
    text.Empty();
    runs.clear();
    urls.clear();
    addresses.clear();
    keyword = false;
    runs.reserve(8);
    BuildPrefix(data);
    ParseText(data.body, context, checkKeywords);
    length = text.GetLength();
}

void TLogLineModel::BuildPrefix(const TLogLineData& data)
{
    const CString* parts[] = {&data.timeText, &data.placePrefix, &data.nickPrefix};
    const int kinds[] = {RUN_TIME, RUN_PLACE, RUN_NICK};
    int prefixLength = 0;
    for (const CString* part : parts)
        prefixLength += part->GetLength();
    text.Preallocate(prefixLength + data.body.GetLength());
    for (int i = 0; i < 3; i++) {
        if (parts[i]->IsEmpty())
            continue;
        TLogRun run;
        run.start = text.GetLength();
        text += *parts[i];
        run.end = text.GetLength();
        run.kind = kinds[i];
        runs.push_back(run);
    }
    length = text.GetLength();
}

void TLogLineModel::ParseText(const CString& body, const TLogDrawContext& context, bool checkKeywords)
{
    const int prefix = text.GetLength();
    if (context.rawText) {
        if (body.Find(L'\t') < 0) {
            text += body;
        } else {
            CString raw = body;
            raw.Replace(L"\t", L"    ");
            text += raw;
        }
        TLogRun run;
        run.start = prefix;
        run.end = text.GetLength();
        runs.push_back(run);
        return;
    }
    // Scratch kept for every line: lines are composed one at a time on the UI thread.
    static std::vector<TCodeSegment> segments;
    static std::vector<TKindMark> marks;
    static TKeywordMatcher keywords;
    static std::vector<TLogRange> hits;
    // Stripped straight into the text and searched there from the end of the prefix: a copy of
    // the stripped body cost as much as a search.
    StripCodes(body, text, segments);
    const int count = text.GetLength() - prefix;
    if (count == 0)
        return;
    marks.clear();
    if (context.addressFinder) {
        int len = 0;
        for (int p = prefix, at; (at = context.addressFinder->FindAddress(text, p, len)) >= 0; p = at + len) {
            addresses.push_back(TLogRange{at, at + len});
            marks.push_back(TKindMark{at - prefix, at + len - prefix, RUN_ADDRESS});
            if (len == 0)
                break;
        }
        // URLs count from the body's start until the keywords have used them.
        for (int p = prefix, at; (at = context.addressFinder->FindUrl(text, p, len)) >= 0; p = at + len) {
            urls.push_back(TLogRange{at - prefix, at + len - prefix});
            marks.push_back(TKindMark{at - prefix, at + len - prefix, RUN_URL});
            if (len == 0)
                break;
        }
    }
    if (checkKeywords && IsMessageLineType(lineType) && context.keyword) {
        hits.clear();
        keywords.Find(*context.keyword, text, urls, hits, nullptr, prefix);
        keyword = !hits.empty();
        for (const TLogRange& r : hits)
            marks.push_back(TKindMark{r.start, r.end, RUN_KEYWORD});
    }
    for (TLogRange& r : urls) {
        r.start += prefix;
        r.end += prefix;
    }
    AppendRuns(runs, segments, marks, count, prefix);
}

int TLogLineModel::RunKindAt(int index) const
{
    for (const TLogRun& run : runs)
        if (run.start <= index && index < run.end)
            return run.kind;
    return RUN_TEXT;
}

namespace {

CString TextOfRangeAt(const CString& text, const std::vector<TLogRange>& ranges, int index)
{
    for (const TLogRange& r : ranges)
        if (r.start <= index && index < r.end)
            return text.Mid(r.start, r.end - r.start);
    return CString();
}

} // namespace

CString TLogLineModel::GetUrlAt(int index) const { return TextOfRangeAt(text, urls, index); }

CString TLogLineModel::GetAddressAt(int index) const { return TextOfRangeAt(text, addresses, index); }

bool IsTextPositionBefore(const TLogTextPosition& a, const TLogTextPosition& b)
{
    return a.line < b.line || (a.line == b.line && a.index < b.index);
}
