#include "foundation/IrcMarkup.h"

namespace {

const wchar_t MARKUP_BOLD[] = L"<bold>";
const wchar_t MARKUP_REVERSE[] = L"<reverse>";
const wchar_t MARKUP_UNDERLINE[] = L"<underline>";
const wchar_t MARKUP_STOP[] = L"<stop>";
const wchar_t MARKUP_COLOR[] = L"<color";

const wchar_t* const COLOR_NAMES[IRC_COLOR_COUNT] = {
    L"White",  L"Black", L"Navy", L"Green", L"Red",  L"Maroon",  L"Purple", L"Orange",
    L"Yellow", L"Ketro", L"Teal", L"Aqua",  L"Blue", L"Fuchsia", L"Gray",   L"Silver",
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsColorIndex(int index) { return index >= 0 && index < IRC_COLOR_COUNT; }

CString LowerColorName(int index)
{
    CString name(COLOR_NAMES[index]);
    return name.MakeLower();
}

// One or two digits at pos; pos moves past them.
int ReadColorNumber(const CString& text, int& pos)
{
    int value = text[pos++] - L'0';
    if (pos < text.GetLength() && IsDigit(text[pos]))
        value = value * 10 + (text[pos++] - L'0');
    return value;
}

// Parses the numbers after a colour code at pos (the unit after the code). The comma is taken only
// when a digit follows it. Returns the position after what was taken; foreground -1 when none.
int ParseColorNumbers(const CString& text, int pos, int& foreground, int& background)
{
    foreground = background = -1;
    int len = text.GetLength();
    if (pos >= len || !IsDigit(text[pos]))
        return pos;
    foreground = ReadColorNumber(text, pos);
    if (pos + 1 < len && text[pos] == L',' && IsDigit(text[pos + 1])) {
        pos++;
        background = ReadColorNumber(text, pos);
    }
    return pos;
}

// The next place of one character at or after a position, for a scan that only moves forward:
// each stretch of the text is searched once, however many tags look ahead over it.
class TForwardFinder {
public:
    TForwardFinder(const CString& text, wchar_t c) : text(text), c(c) {}
    // -1 when there is none.
    int From(int pos)
    {
        if (found != NotSearched && (found < 0 || found >= pos))
            return found;
        found = text.Find(c, pos);
        return found;
    }

private:
    static const int NotSearched = -2;
    const CString& text;
    wchar_t c;
    int found = NotSearched;
};

// A name longer than every colour name is not one, so it is never copied.
int ColorIndexOfRange(const CString& text, int start, int end)
{
    const int longestName = 7;
    if (end - start > longestName || end <= start)
        return -1;
    return GetColorIndexFromName(text.Mid(start, end - start));
}

// "<color" followed by a blank and names up to ">": the codes, and the position after ">".
// False when the tag is not complete.
bool ConvertColorTag(const CString& text, int pos, TForwardFinder& closes, TForwardFinder& commas, CString& out,
                     int& next)
{
    int len = text.GetLength();
    int i = pos + 6; // after "<color"
    if (i >= len)
        return false;
    if (text[i] == L'>') {
        out += CODE_COLOR;
        next = i + 1;
        return true;
    }
    if (text[i] != L' ')
        return false;
    int close = closes.From(i + 1);
    if (close < 0)
        return false;
    int comma = commas.From(i + 1);
    int foreground, background = -1;
    if (comma >= 0 && comma < close) {
        foreground = ColorIndexOfRange(text, i + 1, comma);
        background = ColorIndexOfRange(text, comma + 1, close);
    } else {
        foreground = ColorIndexOfRange(text, i + 1, close);
    }
    out += CODE_COLOR;
    if (foreground >= 0 && background >= 0)
        out.AppendFormat(L"%02d,%02d", foreground, background);
    else if (foreground >= 0)
        out.AppendFormat(L"%02d", foreground);
    next = close + 1;
    return true;
}

} // namespace

CString GetBoldMarkup() { return MARKUP_BOLD; }

CString GetReverseMarkup() { return MARKUP_REVERSE; }

CString GetUnderlineMarkup() { return MARKUP_UNDERLINE; }

CString GetStopMarkup() { return MARKUP_STOP; }

bool IsSubstringAt(const CString& text, int pos, const wchar_t* tag)
{
    int len = text.GetLength();
    if (pos < 0 || pos > len)
        return false;
    for (int i = 0; tag[i]; i++)
        if (pos + i >= len || text[pos + i] != tag[i])
            return false;
    return true;
}

int GetColorIndexFromName(const CString& name)
{
    CString lower(name);
    lower.MakeLower();
    for (int i = 0; i < IRC_COLOR_COUNT; i++)
        if (lower == LowerColorName(i))
            return i;
    return -1;
}

CString MakeColorMarkup(int foreground, int background)
{
    CString tag;
    // A background without a nameable foreground has nothing to show either.
    if (!IsColorIndex(foreground))
        return CString(MARKUP_COLOR) + L">";
    if (IsColorIndex(background))
        tag.Format(L"%s %s,%s>", MARKUP_COLOR, LowerColorName(foreground).GetString(),
                   LowerColorName(background).GetString());
    else
        tag.Format(L"%s %s>", MARKUP_COLOR, LowerColorName(foreground).GetString());
    return tag;
}

CString ConvertMarkupToControlCodes(const CString& text)
{
    static const struct {
        const wchar_t* tag;
        wchar_t code;
    } simpleTags[] = {
        {MARKUP_BOLD, CODE_BOLD},
        {MARKUP_REVERSE, CODE_REVERSE},
        {MARKUP_UNDERLINE, CODE_UNDERLINE},
        {MARKUP_STOP, CODE_STOP},
    };
    CString out;
    TForwardFinder closes(text, L'>'), commas(text, L',');
    int len = text.GetLength();
    int i = 0;
    while (i < len) {
        if (text[i] != L'<') {
            out += text[i++];
            continue;
        }
        bool matched = false;
        for (const auto& t : simpleTags) {
            if (IsSubstringAt(text, i, t.tag)) {
                out += t.code;
                i += static_cast<int>(wcslen(t.tag));
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        int next = 0;
        if (IsSubstringAt(text, i, MARKUP_COLOR) && ConvertColorTag(text, i, closes, commas, out, next)) {
            i = next;
            continue;
        }
        out += text[i++];
    }
    return out;
}

CString ConvertControlCodesToMarkup(const CString& text)
{
    CString out;
    int len = text.GetLength();
    int i = 0;
    while (i < len) {
        wchar_t c = text[i];
        switch (c) {
        case CODE_BOLD:
            out += MARKUP_BOLD;
            break;
        case CODE_STOP:
            out += MARKUP_STOP;
            break;
        case CODE_REVERSE:
            out += MARKUP_REVERSE;
            break;
        case CODE_UNDERLINE:
            out += MARKUP_UNDERLINE;
            break;
        case CODE_COLOR: {
            int foreground, background;
            i = ParseColorNumbers(text, i + 1, foreground, background);
            if (foreground >= 0)
                out += MakeColorMarkup(foreground, background);
            continue;
        }
        default:
            out += c;
            break;
        }
        i++;
    }
    return out;
}

CString StripControlCodes(const CString& text)
{
    CString out;
    StripControlCodes(text, out);
    return out;
}

void StripControlCodes(const CString& text, CString& out)
{
    int len = text.GetLength();
    // Written straight into the buffer: every log line passes through here.
    wchar_t* o = out.GetBuffer(len);
    int n = 0;
    int i = 0;
    while (i < len) {
        wchar_t c = text[i];
        if (c == CODE_COLOR) {
            int foreground, background;
            i = ParseColorNumbers(text, i + 1, foreground, background);
            continue;
        }
        if (c != CODE_BOLD && c != CODE_STOP && c != CODE_REVERSE && c != CODE_UNDERLINE)
            o[n++] = c;
        i++;
    }
    out.ReleaseBuffer(n);
}
