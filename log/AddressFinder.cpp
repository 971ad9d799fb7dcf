#include "log/AddressFinder.h"

#include <oniguruma.h>

const wchar_t* const kUrlPattern = L"(h?ttps?|ftp|mms)://[^\\s/,'\"`?<>\u3000]+"
                                   L"(/([^\\s'\"<>\u3000\u2026]*"
                                   L"[^\\s.,'\"?<>\u3000\u3001\uFF0C\u3002\uFF0E\u2026])?)?";

const wchar_t* const kAddressPattern =
    L"([a-zA-Z\\d]([-a-zA-Z\\d]*[a-zA-Z\\d])?\\.)([a-zA-Z\\d]([-a-zA-Z\\d]*[a-zA-Z\\d])?\\.)+[a-zA-Z]{2,6}"
    L"|([a-f\\d]{0,4}:){7}[a-f\\d]{0,4}"
    L"|(\\d{1,3}\\.){3}\\d{1,3}";

namespace {

bool IsWordTail(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-';
}

enum TAddressCharClass { ADDRESS_NONE = 0, ADDRESS_CHAR = 1, ADDRESS_DOT = 2, ADDRESS_COLON = 3 };

// A match of the address expression is made of these only: ASCII letters and digits, '.', ':'
// and '-', and digits of other scripts (any character from U+0080 is let through for them).
struct TAddressClasses {
    unsigned char of[128];

    constexpr TAddressClasses() : of()
    {
        for (int c = 0; c < 128; c++)
            of[c] = c == '.'   ? ADDRESS_DOT
                    : c == ':' ? ADDRESS_COLON
                    : (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
                        ? ADDRESS_CHAR
                        : ADDRESS_NONE;
    }
};
constexpr TAddressClasses kAddressClasses;

int GetAddressClass(wchar_t c) { return c >= 0x80 ? (int)ADDRESS_CHAR : (int)kAddressClasses.of[c]; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsLabelChar(wchar_t c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == L'-'; }
bool IsLowerHex(wchar_t c) { return IsAsciiDigit(c) || (c >= L'a' && c <= L'f'); }

// The three address patterns at position s of ASCII text, in the expression's order and with its
// backtracking; the length of the match, 0 for none.
int MatchHostName(const wchar_t* t, int s, int end)
{
    // The labels repeat greedily and give back until a top level of 2 to 6 letters follows, so
    // the match ends after the last label (at least the second) that has one.
    int labels = 0, best = 0;
    for (int p = s;;) {
        int q = p;
        while (q < end && IsLabelChar(t[q]))
            q++;
        if (q == p || q >= end || t[q] != L'.' || t[p] == L'-' || t[q - 1] == L'-')
            break;
        p = q + 1;
        int letters = 0;
        while (p + letters < end && letters < 6 && IsAsciiLetter(t[p + letters]))
            letters++;
        if (++labels >= 2 && letters >= 2)
            best = p + letters - s;
    }
    return best;
}

// Runs of at most `most` characters of a class, each closed by a separator, `groups` times, then
// one more run of up to `most` (at least `last`).
template <typename Class>
int MatchGroups(const wchar_t* t, int s, int end, int groups, int most, int last, wchar_t separator, Class isMember)
{
    int p = s;
    for (int g = 0; g < groups; g++) {
        int q = p;
        while (q < end && isMember(t[q]))
            q++;
        if (q - p > most || q - p < last || q >= end || t[q] != separator)
            return 0;
        p = q + 1;
    }
    int q = p;
    while (q < end && q - p < most && isMember(t[q]))
        q++;
    return q - p >= last ? q - s : 0;
}

// Alternatives that need more dots or colons than the stretch has are not tried.
int MatchAddressAt(const wchar_t* t, int s, int end, int dots, int colons)
{
    int n = dots >= 2 ? MatchHostName(t, s, end) : 0;
    if (n == 0 && colons >= 7)
        n = MatchGroups(t, s, end, 7, 4, 0, L':', [](wchar_t c) { return IsLowerHex(c); });
    if (n == 0 && dots >= 3)
        n = MatchGroups(t, s, end, 3, 3, 1, L'.', [](wchar_t c) { return IsAsciiDigit(c); });
    return n;
}

// White space as the expression library sees it in \s.
bool IsSpace(wchar_t c)
{
    if (c < 0x80)
        return (c >= 0x09 && c <= 0x0D) || c == 0x20;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsUrlHostChar(wchar_t c)
{
    switch (c) {
    case 0:
    case L'/':
    case L',':
    case L'\'':
    case L'"':
    case L'`':
    case L'?':
    case L'<':
    case L'>':
        return false;
    }
    return !IsSpace(c);
}

bool IsUrlPathChar(wchar_t c)
{
    switch (c) {
    case 0:
    case L'\'':
    case L'"':
    case L'<':
    case L'>':
    case 0x2026:
        return false;
    }
    return !IsSpace(c);
}

bool IsUrlPathEnd(wchar_t c)
{
    switch (c) {
    case L'.':
    case L',':
    case L'?':
    case 0x3001:
    case 0xFF0C:
    case 0x3002:
    case 0xFF0E:
        return false;
    }
    return IsUrlPathChar(c);
}

// The scheme letters under the expression's case folding, where the long s folds to s.
bool SchemeIs(const CString& text, int at, const wchar_t* scheme)
{
    for (int i = 0; scheme[i]; i++) {
        wchar_t c = text[at + i];
        if (c >= L'A' && c <= L'Z')
            c = (wchar_t)(c + 32);
        if (c != scheme[i] && !(scheme[i] == L's' && c == 0x017F))
            return false;
    }
    return true;
}

int FindSeparator(const CString& text, int from)
{
    const wchar_t* t = text.GetString();
    for (int i = from, n = text.GetLength(); i + 2 < n; i++)
        if (t[i] == L':' && t[i + 1] == L'/' && t[i + 2] == L'/')
            return i;
    return -1;
}

// Start of the scheme that ends at the "://" at separator, leftmost first, or -1.
int FindSchemeStart(const CString& text, int start, int separator)
{
    static const wchar_t* const schemes[] = {L"https", L"http", L"ttps", L"ttp", L"ftp", L"mms"};
    for (int length = 5; length >= 3; length--) {
        int at = separator - length;
        if (at < start)
            continue;
        for (const wchar_t* scheme : schemes)
            if ((int)wcslen(scheme) == length && SchemeIs(text, at, scheme))
                return at;
    }
    return -1;
}

} // namespace

TLogAddressFinder::TLogAddressFinder()
{
    urlExpression.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP);
    addressExpression.Compile(kAddressPattern, ONIG_OPTION_DONT_CAPTURE_GROUP);
}

// The URL expression worked out by hand (it is the hot path of every line): a scheme, "://", the
// longest run of host characters, then after a '/' the longest run of path characters cut back
// to its last allowed final character.
int TLogAddressFinder::FindUrl(const CString& text, int start, int& length) const
{
    length = 0;
    const int n = text.GetLength();
    for (int separator = FindSeparator(text, start < 0 ? 0 : start); separator >= 0;
         separator = FindSeparator(text, separator + 1)) {
        int s = FindSchemeStart(text, start < 0 ? 0 : start, separator);
        if (s < 0)
            continue;
        // Brackets are counted on the way; the scheme and "://" hold none.
        const wchar_t* t = text.GetString();
        int e = separator + 3, open = 0, close = 0;
        while (e < n && IsUrlHostChar(t[e])) {
            open += t[e] == L'(';
            close += t[e] == L')';
            e++;
        }
        if (e == separator + 3)
            continue;
        if (e < n && t[e] == L'/') {
            int pathEnd = ++e, opened = 0, closed = 0;
            for (int i = e; i < n && IsUrlPathChar(t[i]); i++) {
                opened += t[i] == L'(';
                closed += t[i] == L')';
                if (IsUrlPathEnd(t[i])) {
                    pathEnd = i + 1;
                    open += opened;
                    close += closed;
                    opened = closed = 0;
                }
            }
            e = pathEnd;
        }
        // A closing bracket without its opening one inside the URL closes the surrounding text.
        while (close > open && e > s && text[e - 1] == L')') {
            e--;
            close--;
        }
        length = e - s;
        return s;
    }
    return -1;
}

int TLogAddressFinder::FindAddress(const CString& text, int start, int& length) const
{
    length = 0;
    const int n = text.GetLength();
    const wchar_t* t = text.GetString();
    // Only stretches of characters an address can hold, and only those with the two dots of a
    // host name or the seven colons of IPv6; plain ASCII ones are matched by hand, others
    // (digits of other scripts) by the expression. Most words have neither a dot nor a colon:
    // those are looked for first, then the stretch around one.
    const int from = start < 0 ? 0 : start;
    for (int i = from; i < n;) {
        while (i < n && t[i] != L'.' && t[i] != L':')
            i++;
        if (i == n)
            break;
        while (i > from && GetAddressClass(t[i - 1]) != ADDRESS_NONE)
            i--;
        int first = i, dots = 0, colons = 0;
        bool ascii = true;
        for (; i < n; i++) {
            int type = GetAddressClass(t[i]);
            if (type == ADDRESS_NONE)
                break;
            dots += type == ADDRESS_DOT;
            colons += type == ADDRESS_COLON;
            ascii = ascii && t[i] < 0x80;
        }
        if (dots < 2 && colons < 7)
            continue;
        int s = ascii ? FindAsciiAddress(t, n, first, i, dots, colons, length)
                      : FindAddressInStretch(text, first, i, length);
        if (s >= 0)
            return s;
    }
    return -1;
}

int TLogAddressFinder::FindAsciiAddress(const wchar_t* t, int n, int first, int end, int dots, int colons,
                                        int& length) const
{
    for (int s = first; s < end; s++) {
        int m = MatchAddressAt(t, s, end, dots, colons);
        if (m == 0)
            continue;
        if (s + m >= n || !IsWordTail(t[s + m])) {
            length = m;
            return s;
        }
        s += m - 1; // part of a longer word: look again after it
    }
    return -1;
}

int TLogAddressFinder::FindAddressInStretch(const CString& text, int first, int end, int& length) const
{
    CString stretch = text.Mid(first, end - first);
    TRegexMatchResult match;
    for (int p = 0; addressExpression.Search(match, stretch, p, -1);) {
        int s = first + match.region->beg[0] / 2;
        int e = first + match.region->end[0] / 2;
        if (e >= text.GetLength() || !IsWordTail(text[e])) {
            length = e - s;
            return s;
        }
        p = (e > s ? e : s + 1) - first; // part of a longer word: look again after it
    }
    return -1;
}

bool TLogAddressFinder::IsUrl(const CString& text) const
{
    TRegexMatchResult match;
    if (!urlExpression.Search(match, text, 0, -1))
        return false;
    return match.region->beg[0] == 0 && match.region->end[0] > 0;
}
