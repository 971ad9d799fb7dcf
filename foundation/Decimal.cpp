#include "foundation/Decimal.h"

#include <climits>
#include <cwctype>
#include <type_traits>

namespace {

template <typename Ch> bool IsSpace(Ch c) { return iswspace((wint_t)(std::make_unsigned_t<Ch>)c); }

// Reads digits from i on, held to limit.
template <typename TString> unsigned long long ReadDigits(const TString& text, int i, unsigned long long limit)
{
    unsigned long long value = 0;
    for (; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; i++) {
        unsigned digit = text[i] - '0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return value;
}

// A signed number whose magnitude may reach max + 1 on the negative side.
template <typename TString> long long ReadSigned(const TString& text, long long max)
{
    int i = 0, len = text.GetLength();
    while (i < len && IsSpace(text[i]))
        i++;
    bool negative = false;
    if (i < len && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned long long value = ReadDigits(text, i, (unsigned long long)max + 1);
    if (negative)
        return value > (unsigned long long)max ? -max - 1 : -(long long)value;
    return value > (unsigned long long)max ? max : (long long)value;
}

} // namespace

int ReadDecimal(const CString& text) { return (int)ReadSigned(text, INT_MAX); }

int ReadDecimal(const CStringA& text) { return (int)ReadSigned(text, INT_MAX); }

long long ReadDecimal64(const CString& text) { return ReadSigned(text, LLONG_MAX); }

unsigned long ReadUnsignedDecimal(const CString& text) { return (unsigned long)ReadDigits(text, 0, 0xFFFFFFFFul); }

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
