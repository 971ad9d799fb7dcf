#include "log/Formatter.h"

const int kMaxWidth = 9999;

void TFormatter::SetVariable(unsigned char letter, const CString& value)
{
    values[letter] = value;
    set[letter] = true;
}

void TFormatter::SetNumber(unsigned char letter, long long value) { SetVariable(letter, DecimalText(value)); }

CString DecimalText(long long value)
{
    CString text;
    text.Format(L"%I64d", value);
    return text;
}

CString ExpandTemplate(const CString& pattern, std::initializer_list<TFormatterLetter> letters)
{
    TFormatter f;
    for (const TFormatterLetter& l : letters)
        f.SetVariable(l.letter, l.value);
    return f.Format(pattern);
}

CString TFormatter::Format(const CString& pattern) const
{
    CString out;
    out.Preallocate(pattern.GetLength() + 32);
    bool inSpec = false;
    int width = 0;
    for (int i = 0; i < pattern.GetLength(); i++) {
        wchar_t c = pattern[i];
        if (!inSpec) {
            if (c == L'%') {
                inSpec = true;
                width = 0;
            } else {
                out += c;
            }
            continue;
        }
        if (c == L'-' || c == L'+')
            continue;
        if (c >= L'0' && c <= L'9') {
            // A long digit string must neither overflow nor pad without bound.
            width = width * 10 + (c - L'0');
            if (width > kMaxWidth)
                width = kMaxWidth;
            continue;
        }
        inSpec = false;
        if (c == L'%') {
            out += L'%';
        } else if (c < 256 && set[c]) {
            out += values[c];
            if (width > values[c].GetLength())
                out += CString(L' ', width - values[c].GetLength());
        } else {
            out += c;
        }
    }
    return out;
}
