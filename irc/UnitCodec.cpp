// Text to and from the server's code page; ISO-2022-JP by the kana setting.

#include "irc/IRCUnit.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

#include <cstring>

namespace {

const int kIso2022Jp = 50221;

// Kana modes of the encoder: 0 ESC ( I, 1 SO/SI, 2 eight-bit bytes.
int KanaModeOf(int method)
{
    switch (method) {
    case 1:
        return 2;
    case 2:
        return 1;
    default:
        return 0;
    }
}

// Most of a server's traffic is plain ASCII, which reads the same in every code page we use:
// that head is widened directly and only the rest goes through the converter.
int AsciiHeadLength(const CStringA& bytes, int limit)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.GetString());
    int i = 0;
    while (i < limit && p[i] < 0x80 && p[i] != 0x1B && p[i] != 0x0E && p[i] != 0x0F && p[i] != 0)
        i++;
    return i;
}

int AsciiHeadLength(const CStringA& bytes) { return AsciiHeadLength(bytes, bytes.GetLength()); }

CString Widen(const CStringA& bytes, int count)
{
    CString text;
    wchar_t* out = text.GetBuffer(count);
    for (int i = 0; i < count; i++)
        out[i] = (unsigned char)bytes[i];
    text.ReleaseBuffer(count);
    return text;
}

bool IsAscii(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] >= 0x80 || text[i] == 0)
            return false;
    return true;
}

} // namespace

CString TIRCUnit::Decode(const CStringA& bytes) const
{
    int head = AsciiHeadLength(bytes);
    if (head == bytes.GetLength())
        return Widen(bytes, head);
    CStringA rest = bytes.Mid(head);
    CString text = session.codePage == kIso2022Jp ? DecodeIso2022Jp(rest) : ConvertFromCodePage(rest, session.codePage);
    return head > 0 ? Widen(bytes, head) + text : text;
}

// Up to the ASCII head both texts are the bytes widened, and from there on both decode the same
// bytes: a trailing parameter that starts within the head is the line's text from its start, so
// a line's Japanese is converted once instead of twice.
CString TIRCUnit::DecodeTail(const CStringA& tail, const CStringA& lineBytes, const CString& lineText) const
{
    int start = lineBytes.GetLength() - tail.GetLength();
    if (start >= 0 && AsciiHeadLength(lineBytes, start) == start &&
        memcmp(lineBytes.GetString() + start, tail.GetString(), tail.GetLength()) == 0)
        return lineText.Mid(start);
    return Decode(tail);
}

CStringA TIRCUnit::Encode(const CString& text) const
{
    if (session.codePage != kIso2022Jp)
        return ConvertToCodePage(text, session.codePage);
    int method = preference->KanaEncodingMethod;
    if (method == 0)
        return EncodeIso2022Jp(ConvertHalfWidthKanaToFullWidth(text), 0);
    return EncodeIso2022Jp(text, KanaModeOf(method));
}

int TIRCUnit::CompareNames(const CString& a, const CString& b) const
{
    // ASCII names encode to themselves in every code page we use.
    int result = IsAscii(a) && IsAscii(b) ? IRCCompareNoCase(a, b) : IRCCompareNoCaseA(Encode(a), Encode(b));
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}
