// Text to and from the server's code page; ISO-2022-JP by the kana setting.

#include "irc/IRCUnit.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "irc/IRCNames.h"
#include "settings/Preference.h"

namespace {

const int kIso2022Jp = 50221;

// Kana modes of the encoder: 0 ESC ( I, 1 SO/SI, 2 eight-bit bytes.
int KanaModeOf(int method)
{
    switch (method) {
    case 1: return 2;
    case 2: return 1;
    default: return 0;
    }
}

} // namespace

CString TIRCUnit::Decode(const CStringA& bytes) const
{
    if (session.codePage == kIso2022Jp)
        return DecodeIso2022Jp(bytes);
    return ConvertFromCodePage(bytes, session.codePage);
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
    int result = IRCCompareNoCaseA(Encode(a), Encode(b));
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}
