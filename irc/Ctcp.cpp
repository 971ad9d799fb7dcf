#include "irc/Ctcp.h"

#include "foundation/Decimal.h"
#include "foundation/StringUtils.h"
#include "settings/Preference.h"

bool GetCtcpBody(const CString& text, CString& body)
{
    if (text.IsEmpty() || text[0] != kCtcpMark)
        return false;
    body = text.Mid(1);
    // The closing mark is looked for from the second character on, so "\1\1" carries "\1".
    int end = body.Find(kCtcpMark, 1);
    if (end >= 0)
        body = body.Left(end);
    return true;
}

void SplitCtcpBody(const CString& body, CString& command, CString& argument)
{
    argument = body;
    command = CutFirstWord(argument);
    command.MakeUpper();
}

CString MakeCtcpParam(const CString& body) { return L":" + QuoteCtcp(body); }

bool AcceptCtcpQuery(const TPreference& preference, DWORD now, unsigned& lastAccepted)
{
    if (preference.IgnoreCtcp)
        return false;
    // Elapsed time in unsigned arithmetic stays right when the tick count wraps after 49 days.
    if (preference.EnableCtcpSequenceLimit && lastAccepted != 0 && now - lastAccepted < kCtcpQueryInterval)
        return false;
    MarkCtcpAccepted(now, lastAccepted);
    return true;
}

void MarkCtcpAccepted(DWORD now, unsigned& lastAccepted) { lastAccepted = now ? now : 1; }

CString FormatCtcpTime(const SYSTEMTIME& time)
{
    static const wchar_t* const kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    static const wchar_t* const kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                             L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    CString text;
    text.Format(L"%s %s %02u %02u:%02u:%02u %04u", kDays[time.wDayOfWeek % 7], kMonths[(time.wMonth + 11) % 12],
                time.wDay, time.wHour, time.wMinute, time.wSecond, time.wYear);
    return text;
}

CString FormatPingElapsed(DWORD now, const CString& argument)
{
    CString sent = argument;
    if (!sent.IsEmpty() && sent[0] == L':')
        sent = sent.Mid(1);
    DWORD elapsed = now - (DWORD)ReadUnsignedDecimal(sent);
    CString text;
    text.Format(L"%lu.%02lu sec", (unsigned long)(elapsed / 1000), (unsigned long)(elapsed % 1000 / 10));
    return text;
}
