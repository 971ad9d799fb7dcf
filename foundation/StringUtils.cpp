#include "foundation/StringUtils.h"

namespace {

template <typename S> S CutWord(S& text)
{
    int len = text.GetLength();
    int start = 0;
    while (start < len && text[start] == ' ')
        start++;
    int end = start;
    while (end < len && text[end] != ' ')
        end++;
    S word = text.Mid(start, end - start);
    int rest = end;
    while (rest < len && text[rest] == ' ')
        rest++;
    text = text.Mid(rest);
    return word;
}

template <typename S> S TrimBlanksRight(S text)
{
    int n = text.GetLength();
    while (n > 0 && text[n - 1] == ' ')
        n--;
    return text.Left(n);
}

} // namespace

CString CutFirstWord(CString& text) { return CutWord(text); }

CStringA CutFirstWordA(CStringA& text) { return CutWord(text); }

CString CutFirstToken(CString& text, wchar_t delimiter)
{
    int pos = text.Find(delimiter);
    if (pos < 0) {
        CString token = text;
        text.Empty();
        return token;
    }
    CString token = text.Left(pos);
    text = text.Mid(pos + 1);
    return token;
}

CString CutFirstCommaToken(CString& text) { return CutFirstToken(text, L','); }

CString CutFirstTabToken(CString& text) { return CutFirstToken(text, L'\t'); }

CString CutFirstBarToken(CString& text) { return CutFirstToken(text, L'|'); }

CString CutFirstLine(CString& text)
{
    int pos = text.FindOneOf(L"\r\n");
    if (pos < 0) {
        CString line = text;
        text.Empty();
        return line;
    }
    CString line = text.Left(pos);
    int breakLength = (text[pos] == L'\r' && pos + 1 < text.GetLength() && text[pos + 1] == L'\n') ? 2 : 1;
    text = text.Mid(pos + breakLength);
    return line;
}

CString TrimTrailingSpaces(CString text) { return TrimBlanksRight(text); }

CStringA TrimTrailingSpacesA(CStringA text) { return TrimBlanksRight(text); }

CString StripLeadingColon(CString text) { return !text.IsEmpty() && text[0] == L':' ? text.Mid(1) : text; }

CString QuoteCtcp(CString text)
{
    CString quoted;
    quoted.Format(L"%c%s%c", 1, text.GetString(), 1);
    return quoted;
}

bool IsBlankText(const CString& text)
{
    // wcschr would find a NUL as the set's own terminator.
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == 0 || !wcschr(L" \t\r\n", text[i]))
            return false;
    return true;
}

void EndCutText(CString& text, int bound)
{
    int length = text.GetLength();
    if (length > 0 && length >= bound && IS_HIGH_SURROGATE(text[length - 1]))
        text.Delete(length - 1);
}

// By position: cutting each line off the front would copy the rest once per line.
std::vector<CString> SplitLines(CString text)
{
    std::vector<CString> lines;
    int length = text.GetLength();
    for (int start = 0; start < length;) {
        int end = start;
        while (end < length && text[end] != L'\r' && text[end] != L'\n')
            end++;
        lines.push_back(text.Mid(start, end - start));
        if (end < length && text[end] == L'\r' && end + 1 < length && text[end + 1] == L'\n')
            end++;
        start = end + 1;
    }
    return lines;
}

std::vector<CString> SplitWords(CString text, int limit)
{
    std::vector<CString> words;
    while (!text.IsEmpty()) {
        if (limit >= 1 && (int)words.size() >= limit - 1) {
            words.push_back(text);
            break;
        }
        words.push_back(CutFirstWord(text));
    }
    return words;
}

std::vector<CString> SplitAtCommas(const CString& text)
{
    std::vector<CString> items;
    int start = 0;
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L',') {
            items.push_back(text.Mid(start, i - start));
            start = i + 1;
        }
    if (start < text.GetLength())
        items.push_back(text.Mid(start));
    return items;
}

CString JoinStrings(const std::vector<CString>& items, const CString& separator)
{
    CString joined;
    for (size_t i = 0; i < items.size(); i++) {
        if (i)
            joined += separator;
        joined += items[i];
    }
    return joined;
}

CString JoinDequeFrom(const std::deque<CString>& items, size_t start, const CString& separator)
{
    CString joined;
    for (size_t i = start; i < items.size(); i++) {
        if (i > start)
            joined += separator;
        joined += items[i];
    }
    return joined;
}

CString FormatWithThousandsSeparators(long long number)
{
    CString text;
    while (number > 0) {
        long long quotient = number / 1000;
        int remainder = (int)(number % 1000);
        if (!text.IsEmpty())
            text.Insert(0, L',');
        CString group;
        group.Format(quotient > 0 ? L"%03d" : L"%d", remainder);
        text.Insert(0, group);
        number = quotient;
    }
    return text.IsEmpty() ? CString(L"0") : text;
}

CString MakeDoubleNullTerminated(CString text)
{
    int len = text.GetLength();
    wchar_t* p = text.GetBuffer(len + 1);
    p[len] = 0;
    p[len + 1] = 0;
    text.ReleaseBuffer(len);
    return text;
}

CString EscapeBackslashesAndTabs(const CString& text)
{
    CString out;
    for (int i = 0; i < text.GetLength(); i++) {
        wchar_t c = text[i];
        if (c == L'\\')
            out += L"\\\\";
        else if (c == L'\t')
            out += L"\\t";
        else
            out += c;
    }
    return out;
}

CString UnescapeBackslashesAndTabs(const CString& text)
{
    CString out;
    int len = text.GetLength();
    for (int i = 0; i < len; i++) {
        wchar_t c = text[i];
        if (c == L'\\' && i + 1 < len) {
            wchar_t next = text[++i];
            out += next == L't' ? L'\t' : next;
        } else {
            out += c;
        }
    }
    return out;
}

CString EncodeUrl(const CStringA& utf8)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    CString out;
    wchar_t* p = out.GetBuffer(utf8.GetLength() * 3);
    int length = 0;
    for (int i = 0; i < utf8.GetLength(); i++) {
        unsigned char b = (unsigned char)utf8[i];
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '.' || b == '-' ||
            b == '_') {
            p[length++] = (wchar_t)b;
        } else if (b == ' ') {
            p[length++] = L'+';
        } else {
            p[length++] = L'%';
            p[length++] = kHex[b >> 4];
            p[length++] = kHex[b & 15];
        }
    }
    out.ReleaseBuffer(length);
    return out;
}

void MakeLowerFullWidth(CString& text)
{
    text.MakeLower();
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] >= 0xFF21 && text[i] <= 0xFF3A)
            text.SetAt(i, (wchar_t)(text[i] + 0x20));
}

namespace {

wchar_t FoldMaskChar(wchar_t c) { return c >= 0x61 && c <= 0x7D ? (wchar_t)(c - 32) : c; }

// One mask item: a character, possibly escaped, or the end of the mask.
struct TMaskItem {
    const wchar_t* next; // the mask after this item
    wchar_t ch;          // 0 at the end of the mask
    bool escaped;
};

TMaskItem ReadMaskItem(const wchar_t* m)
{
    bool escaped = false;
    if (*m == L'\\') {
        m++;
        escaped = true;
    }
    if (*m == 0) // a backslash at the very end escapes nothing
        return {m, 0, false};
    return {m + 1, *m, escaped};
}

} // namespace

// Iterative with one backtrack point: the same answers as trying every "*" position
// recursively, without deep recursion or exponential time on hostile masks.
bool MatchWildcard(const wchar_t* mask, const wchar_t* text)
{
    const wchar_t* m = mask;
    const wchar_t* t = text;
    const wchar_t* starMask = nullptr; // mask after the last "*"
    const wchar_t* starText = nullptr; // where that "*" would take its next character
    for (;;) {
        TMaskItem item = ReadMaskItem(m);
        bool matched;
        if (item.ch == 0) {
            if (*t == 0)
                return true;
            matched = false;
        } else if (item.ch == L'*' && !item.escaped) {
            m = item.next;
            starMask = m;
            starText = t;
            continue;
        } else if (*t == 0) {
            return false; // no "*" can give back characters the text does not have
        } else if (item.ch == L'?' && !item.escaped) {
            matched = true;
        } else {
            matched = FoldMaskChar(item.ch) == FoldMaskChar(*t);
        }
        if (matched) {
            m = item.next;
            t++;
            continue;
        }
        if (!starMask || *starText == 0)
            return false;
        starText++;
        t = starText;
        m = starMask;
    }
}
