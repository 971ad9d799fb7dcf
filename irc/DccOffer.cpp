#include "irc/DccOffer.h"

#include "foundation/Decimal.h"
#include "foundation/StringUtils.h"

namespace {

TInetAddress ReadAddress(const CString& word) { return TInetAddress(htonl(ReadUnsignedDecimal(word))); }

// The name starts quoted only when a closing quote with a blank after it follows; then blanks
// may sit inside it.
CString CutOfferFileName(CString& text)
{
    int start = 0;
    while (start < text.GetLength() && text[start] == L' ')
        start++;
    if (start < text.GetLength() && text[start] == L'"') {
        int close = text.Find(L"\" ", start + 1);
        if (close > start) {
            CString name = text.Mid(start + 1, close - start - 1);
            text = text.Mid(close + 1);
            return name;
        }
    }
    return CutFirstWord(text);
}

CString FormatResumeOffer(const wchar_t* type, const CString& fileName, int port, long long position)
{
    CString text;
    text.Format(L"DCC %s %s %d %I64d", type, fileName.GetString(), port, position);
    return text;
}

} // namespace

TDccSendOffer ParseDccSendOffer(CString text)
{
    TDccSendOffer offer;
    offer.fileName = CutOfferFileName(text);
    offer.address = ReadAddress(CutFirstWord(text));
    offer.port = ReadDecimal(CutFirstWord(text));
    offer.size = ReadDecimal64(CutFirstWord(text));
    offer.variant = ReadDecimal(CutFirstWord(text));
    if (offer.variant == 2 && !text.IsEmpty()) {
        CString longName = TrimTrailingSpaces(StripLeadingColon(text));
        if (!longName.IsEmpty())
            offer.fileName = longName;
    }
    return offer;
}

TDccChatOffer ParseDccChatOffer(CString text)
{
    TDccChatOffer offer;
    offer.protocol = CutFirstWord(text);
    offer.address = ReadAddress(CutFirstWord(text));
    offer.port = ReadDecimal(CutFirstWord(text));
    return offer;
}

TDccResumeOffer ParseDccResumeOffer(CString text)
{
    TDccResumeOffer offer;
    offer.fileName = CutFirstWord(text);
    offer.port = ReadDecimal(CutFirstWord(text));
    offer.position = ReadDecimal64(CutFirstWord(text));
    return offer;
}

bool IsValidDccPort(int port) { return port >= 1 && port <= 65535; }

bool CheckDccSendOffer(const TDccSendOffer& offer)
{
    return IsValidDccPort(offer.port) && offer.size > 0 && offer.size <= kMaxDccFileSize;
}

CString FormatDccSendOffer(const CString& fileName, unsigned long address, int port, long long size, bool extended)
{
    CString wireName = fileName;
    wireName.Replace(L' ', L'_');
    CString text;
    text.Format(L"DCC SEND %s %lu %d %I64d", wireName.GetString(), address, port, size);
    if (extended)
        text.AppendFormat(L" 2 :%s", fileName.GetString());
    return text;
}

CString FormatDccChatOffer(unsigned long address, int port)
{
    CString text;
    text.Format(L"DCC CHAT chat %lu %d", address, port);
    return text;
}

CString FormatDccResumeRequest(const CString& fileName, int port, long long position)
{
    return FormatResumeOffer(L"RESUME", fileName, port, position);
}

CString FormatDccAccept(const CString& fileName, int port, long long position)
{
    return FormatResumeOffer(L"ACCEPT", fileName, port, position);
}
