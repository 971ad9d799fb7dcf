#include "log/LogLine.h"

#include "foundation/IrcMarkup.h"
#include "log/AddressFinder.h"
#include "log/KeywordMatcher.h"

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

    bool operator==(const TLogCharStyle& o) const
    {
        return kind == o.kind && flags == o.flags && foreground == o.foreground && background == o.background;
    }
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

void MarkKind(std::vector<TLogCharStyle>& styles, int start, int end, unsigned char kind)
{
    for (int i = start; i < end; i++)
        styles[i].kind = kind;
}

// The body without its codes, and the style of each character that is left.
CString StripCodes(const CString& body, std::vector<TLogCharStyle>& styles)
{
    const wchar_t* s = body.GetString();
    const int n = body.GetLength();
    CString stripped;
    wchar_t* out = stripped.GetBuffer(n);
    int count = 0;
    styles.clear();
    styles.reserve(n);
    TLogCharStyle style = {RUN_TEXT, 0, 0, 0};
    for (int i = 0; i < n;) {
        wchar_t c = s[i++];
        switch (c) {
        case CODE_BOLD:
            style.flags ^= STYLE_BOLD;
            break;
        case CODE_UNDERLINE:
            style.flags ^= STYLE_UNDERLINE;
            break;
        case CODE_REVERSE:
            style.flags ^= STYLE_REVERSE;
            break;
        case CODE_STOP:
            style.flags = 0;
            break;
        case CODE_COLOR:
            if (i < n)
                i = ReadColorCode(s, n, i, style);
            break;
        default:
            out[count++] = c;
            styles.push_back(style);
        }
    }
    stripped.ReleaseBuffer(count);
    return stripped;
}

// One run per stretch of equally styled characters, compared as stored.
void AppendRuns(std::vector<TLogRun>& runs, const std::vector<TLogCharStyle>& styles, int offset)
{
    const int count = (int)styles.size();
    for (int first = 0; first < count;) {
        int last = first + 1;
        while (last < count && styles[last] == styles[first])
            last++;
        TLogRun run;
        run.start = offset + first;
        run.end = offset + last;
        run.kind = styles[first].kind;
        run.flags = styles[first].flags;
        run.foreground = styles[first].foreground;
        run.background = styles[first].background;
        runs.push_back(run);
        first = last;
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
    runs.reserve(8);
    BuildPrefix(data);
    if (data.body.Find(L'\t') < 0) {
        ParseText(data.body, context, checkKeywords);
    } else {
        CString body = data.body;
        body.Replace(L"\t", L"    ");
        ParseText(body, context, checkKeywords);
    }
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
        TLogRun run;
        run.start = prefix;
        run.end = prefix + body.GetLength();
        runs.push_back(run);
        text += body;
        return;
    }
    // One scratch buffer for every line: lines are composed one at a time on the UI thread.
    static std::vector<TLogCharStyle> styles;
    CString stripped = StripCodes(body, styles);
    const int count = stripped.GetLength();
    if (count == 0)
        return;
    if (context.addressFinder) {
        int len = 0;
        for (int p = 0, at; (at = context.addressFinder->FindAddress(stripped, p, len)) >= 0; p = at + len) {
            addresses.push_back(TLogRange{prefix + at, prefix + at + len});
            MarkKind(styles, at, at + len, RUN_ADDRESS);
            if (len == 0)
                break;
        }
        for (int p = 0, at; (at = context.addressFinder->FindUrl(stripped, p, len)) >= 0; p = at + len) {
            urls.push_back(TLogRange{at, at + len});
            MarkKind(styles, at, at + len, RUN_URL);
            if (len == 0)
                break;
        }
    }
    if (checkKeywords && IsMessageLineType(lineType) && context.keyword) {
        std::vector<TLogRange> hits = FindKeywords(*context.keyword, stripped, urls);
        keyword = !hits.empty();
        for (const TLogRange& r : hits)
            MarkKind(styles, r.start, r.end, RUN_KEYWORD);
    }
    for (TLogRange& r : urls) {
        r.start += prefix;
        r.end += prefix;
    }
    AppendRuns(runs, styles, prefix);
    text += stripped;
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
