#include "irc/Decimal.h"

#include <climits>

int ReadDecimal(const CString& text)
{
    int i = 0, len = text.GetLength();
    while (i < len && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
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
