// Address masks proposed for a user, widened as the "UserInfo" options say.

#include "settings/Preference.h"

#include "foundation/CodePage.h"

#include <winsock2.h>

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

CString MaskNick(const CString& nick, bool whole)
{
    if (whole || nick.IsEmpty())
        return L"*";
    int end = nick.GetLength();
    while (end > 0 && (IsDigit(nick[end - 1]) || nick[end - 1] == L'_'))
        end--;
    return nick.Left(end) + L"*";
}

CString MaskUserName(const CString& userName, bool whole)
{
    if (whole || userName.IsEmpty())
        return L"*";
    if (wcschr(L"~-+=^", userName[0]))
        return L"*" + userName.Mid(1);
    return L"*" + userName;
}

int CountDots(const CString& text)
{
    int dots = 0;
    for (int i = 0; i < text.GetLength(); i++)
        dots += text[i] == L'.';
    return dots;
}

// The last number of an IPv4 address becomes a wildcard; false for anything else.
bool MaskAddress(const CString& host, CString& mask)
{
    unsigned long address = inet_addr(ConvertToUtf8(host));
    if (address == INADDR_NONE)
        return false;
    const unsigned char* bytes = (const unsigned char*)&address;
    mask.Format(L"%d.%d.%d.*", bytes[0], bytes[1], bytes[2]);
    return true;
}

CString MaskHost(CString host, bool firstToken, bool allDigits)
{
    CString mask;
    if (MaskAddress(host, mask))
        return mask;
    int dots = CountDots(host);
    if (firstToken && dots >= 2) {
        if (dots > 2)
            host = host.Mid(host.Find(L'.'));
        host = L"*" + host;
    }
    if (!allDigits)
        return host;
    // The last two labels name the domain and stay as they are.
    int unmaskedFrom = CountDots(host) - 1;
    int passed = 0;
    bool inDigits = false;
    for (int i = 0; i < host.GetLength(); i++) {
        wchar_t c = host[i];
        if (passed >= unmaskedFrom) {
            mask += c;
            continue;
        }
        if (IsDigit(c)) {
            if (!inDigits)
                mask += L'*';
            inDigits = true;
            continue;
        }
        inDigits = false;
        mask += c;
        passed += c == L'.';
    }
    return mask;
}

} // namespace

CString TPreference::MakeMask(CString nick, CString userName, CString host) const
{
    if (!AutoMask) {
        CString* parts[] = {&nick, &userName, &host};
        for (CString* part : parts)
            if (part->IsEmpty())
                *part = L"*";
        return nick + L"!" + userName + L"@" + host;
    }
    return MaskNick(nick, MaskWholeNick) + L"!" + MaskUserName(userName, MaskWholeUsername) + L"@" +
           MaskHost(host, MaskFirstAddressToken, MaskAllAddressDigits);
}
