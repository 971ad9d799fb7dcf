#include "log/Formatter.h"

#include "foundation/StringUtils.h"

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

namespace {

// Like AppendWithin, for padding.
bool AppendBlanks(CString& out, int count)
{
    int room = kMaxFormattedLength - out.GetLength();
    out += CString(L' ', count < room ? count : room);
    return count < room;
}

} // namespace

bool AppendWithin(CString& out, const wchar_t* text, int length)
{
    int room = kMaxFormattedLength - out.GetLength();
    out.Append(text, length < room ? length : room);
    return length < room;
}

CString TFormatter::Format(const CString& pattern) const
{
    CString out;
    out.Preallocate((pattern.GetLength() < kMaxFormattedLength ? pattern.GetLength() : kMaxFormattedLength) + 32);
    bool inSpec = false;
    int width = 0;
    bool room = true;
    for (int i = 0; i < pattern.GetLength() && room; i++) {
        wchar_t c = pattern[i];
        if (!inSpec) {
            if (c == L'%') {
                inSpec = true;
                width = 0;
            } else {
                room = AppendWithin(out, &c, 1);
            }
            continue;
        }
        if (c == L'-' || c == L'+')
            continue;
        if (c >= L'0' && c <= L'9') {
            // A long digit string must not overflow; padding past the line bound is cut anyway.
            width = width * 10 + (c - L'0');
            if (width > kMaxFormattedLength)
                width = kMaxFormattedLength;
            continue;
        }
        inSpec = false;
        if (c == L'%') {
            room = AppendWithin(out, L"%", 1);
        } else if (c < 256 && set[c]) {
            const CString& value = values[c];
            room = AppendWithin(out, value.GetString(), value.GetLength());
            if (room && width > value.GetLength())
                room = AppendBlanks(out, width - value.GetLength());
        } else {
            room = AppendWithin(out, &c, 1);
        }
    }
    EndCutText(out, kMaxFormattedLength);
    return out;
}
