#include "foundation/Decimal.h"

#include <climits>
#include <cwctype>
#include <type_traits>

namespace {

template <typename Ch> bool IsSpace(Ch c)
{
    return iswspace((wint_t)(std::make_unsigned_t<Ch>)c);
}

template <typename TString> int ReadDecimalText(const TString& text)
{
    int i = 0, len = text.GetLength();
    while (i < len && IsSpace(text[i]))
        i++;
    bool negative = false;
    if (i < len && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < len && text[i] >= L'0' && text[i] <= L'9'; i++) {
        value = value * 10 + (text[i] - L'0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        return (int)-value;
    return value > INT_MAX ? INT_MAX : (int)value;
}

} // namespace

int ReadDecimal(const CString& text)
{
    return ReadDecimalText(text);
}

int ReadDecimal(const CStringA& text)
{
    return ReadDecimalText(text);
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

int ReadIndex(const CString& text, int from)
{
    long long value = -1;
    for (int i = from; i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9'; i++) {
        value = (value < 0 ? 0 : value * 10) + (text[i] - L'0');
        if (value > INT_MAX)
            return -1;
    }
    return (int)value;
}
