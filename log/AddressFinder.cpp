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

// A match of the address expression is made of these only: ASCII letters and digits, '.', ':'
// and '-', and digits of other scripts (any character from U+0080 is let through for them).
bool MayBeInAddress(wchar_t c)
{
    return c >= 0x80 || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' ||
           c == L':' || c == L'-';
}

// White space as the expression library sees it in \s.
bool IsSpace(wchar_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsUrlHostChar(wchar_t c) { return !IsSpace(c) && !wcschr(L"/,'\"`?<>", c); }

bool IsUrlPathChar(wchar_t c) { return !IsSpace(c) && c != 0x2026 && !wcschr(L"'\"<>", c); }

bool IsUrlPathEnd(wchar_t c) { return IsUrlPathChar(c) && !wcschr(L".,?\u3001\uFF0C\u3002\uFF0E", c); }

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
    for (int separator = text.Find(L"://", start < 0 ? 0 : start); separator >= 0;
         separator = text.Find(L"://", separator + 1)) {
        int s = FindSchemeStart(text, start < 0 ? 0 : start, separator);
        int e = separator + 3;
        while (e < n && IsUrlHostChar(text[e]))
            e++;
        if (s < 0 || e == separator + 3)
            continue;
        if (e < n && text[e] == L'/') {
            int pathEnd = ++e;
            for (int i = e; i < n && IsUrlPathChar(text[i]); i++)
                if (IsUrlPathEnd(text[i]))
                    pathEnd = i + 1;
            e = pathEnd;
        }
        int open = 0, close = 0;
        for (int i = s; i < e; i++) {
            open += text[i] == L'(';
            close += text[i] == L')';
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
    // The expression runs only over stretches of characters an address can hold, and only over
    // those with a dot or enough colons.
    for (int i = start < 0 ? 0 : start; i < n;) {
        while (i < n && !MayBeInAddress(text[i]))
            i++;
        int first = i, dots = 0, colons = 0;
        for (; i < n && MayBeInAddress(text[i]); i++) {
            dots += text[i] == L'.';
            colons += text[i] == L':';
        }
        if (dots == 0 && colons < 7)
            continue;
        CString stretch = text.Mid(first, i - first);
        TRegexMatchResult match;
        for (int p = 0; addressExpression.Search(match, stretch, p, -1);) {
            int s = first + match.region->beg[0] / 2;
            int e = first + match.region->end[0] / 2;
            if (e >= n || !IsWordTail(text[e])) {
                length = e - s;
                return s;
            }
            // Part of a longer word: look again after it.
            p = (e > s ? e : s + 1) - first;
        }
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
