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

// Most lines hold no URL and no address; these tests spare them the expressions.
bool MayHoldUrl(const CString& text, int start)
{
    return start >= 0 && start < text.GetLength() && wcsstr(text.GetString() + start, L"://") != nullptr;
}

bool MayHoldAddress(const CString& text, int start)
{
    int colons = 0;
    for (int i = start < 0 ? 0 : start; i < text.GetLength(); i++) {
        if (text[i] == L'.' || (text[i] == L':' && ++colons >= 7))
            return true;
    }
    return false;
}

} // namespace

TLogAddressFinder::TLogAddressFinder()
{
    urlExpression.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP);
    addressExpression.Compile(kAddressPattern, ONIG_OPTION_DONT_CAPTURE_GROUP);
}

int TLogAddressFinder::FindUrl(const CString& text, int start, int& length) const
{
    length = 0;
    TRegexMatchResult match;
    if (!MayHoldUrl(text, start) || !urlExpression.Search(match, text, start, -1))
        return -1;
    int s = match.region->beg[0] / 2;
    int n = match.region->end[0] / 2 - s;
    int open = 0, close = 0;
    for (int i = s; i < s + n; i++) {
        open += text[i] == L'(';
        close += text[i] == L')';
    }
    // A closing bracket without its opening one inside the URL closes the surrounding text.
    while (close > open && n > 0 && text[s + n - 1] == L')') {
        n--;
        close--;
    }
    length = n;
    return s;
}

int TLogAddressFinder::FindAddress(const CString& text, int start, int& length) const
{
    length = 0;
    if (!MayHoldAddress(text, start))
        return -1;
    TRegexMatchResult match;
    while (start <= text.GetLength() && addressExpression.Search(match, text, start, -1)) {
        int s = match.region->beg[0] / 2;
        int e = match.region->end[0] / 2;
        if (e >= text.GetLength() || !IsWordTail(text[e])) {
            length = e - s;
            return s;
        }
        // Part of a longer word: look again after it.
        start = e > s ? e : s + 1;
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
