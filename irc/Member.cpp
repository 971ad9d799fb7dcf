#include "irc/Member.h"

#include <cmath>
#include <cwchar>

namespace {

// Mode rank: at the first of q, a, o, h, v the two differ in, the holder comes first.
int CompareRank(const TIRCMember* a, const TIRCMember* b)
{
    const bool TIRCMember::*const flags[] = {&TIRCMember::q, &TIRCMember::a, &TIRCMember::o, &TIRCMember::h,
                                             &TIRCMember::v};
    for (auto flag : flags) {
        if (a->*flag != b->*flag)
            return a->*flag ? -1 : 1;
        if (a->*flag)
            return 0;
    }
    return 0;
}

int CompareGroup(const TIRCMember* a, const TIRCMember* b)
{
    if (a->groupKind != b->groupKind)
        return a->groupKind > b->groupKind ? -1 : 1;
    if (a->groupKind == 1 && a->groupIndex != b->groupIndex)
        return a->groupIndex < b->groupIndex ? -1 : 1;
    return 0;
}

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? (wchar_t)(c + (L'a' - L'A')) : c; }

// Folds ASCII letters only, unlike IRC folding: the list reads as the user expects. The C
// library's _wcsicmp does the same but looks the locale up for every call, and a NAMES burst
// compares nicks hundreds of thousands of times.
int CompareText(const CString& a, const CString& b)
{
    const wchar_t* x = a.GetString();
    const wchar_t* y = b.GetString();
    wchar_t c, d;
    do {
        c = FoldAscii(*x++);
        d = FoldAscii(*y++);
    } while (c && c == d);
    return (int)c - (int)d;
}

// Nicks that fold alike still keep one order between them, so a list kept in order by
// inserting rows matches one sorted whole.
int CompareNicks(const CString& a, const CString& b)
{
    int result = CompareText(a, b);
    return result != 0 ? result : wcscmp(a, b);
}

// Seconds since 1970 as time() gives them; msvcrt's time() costs microseconds under Wine, and a
// NAMES burst makes thousands of members at once.
long long NowSeconds()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return (long long)(ticks.QuadPart / 10000000ULL) - 11644473600LL;
}

bool IsAsciiAlnum(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'); }

} // namespace

TIRCMember::TIRCMember() : lastDecayTime(NowSeconds()) {}

TIRCMember::TIRCMember(const CString& nick, const CString& user, const CString& host)
    : nick(nick), user(user), host(host), lastDecayTime(NowSeconds())
{
}

CString TIRCMember::GetPrefixChar() const
{
    if (q)
        return L"~";
    if (a)
        return L"&";
    if (o)
        return L"@";
    if (h)
        return L"%";
    if (v)
        return L"+";
    return L"";
}

bool TIRCMember::SetMode(wchar_t letter, bool on)
{
    switch (letter) {
    case L'q':
        q = on;
        return true;
    case L'a':
        a = on;
        return true;
    case L'o':
        o = on;
        return true;
    case L'h':
        h = on;
        return true;
    case L'v':
        v = on;
        return true;
    }
    return false;
}

void TIRCMember::AddActivity() { activity += activity == 0 ? 100 : 20; }

void TIRCMember::AddSecondActivity(const CString& ownNick, const CString& text)
{
    CString name = ownNick;
    name.MakeLower();
    int first = 0, last = name.GetLength();
    while (first < last && !IsAsciiAlnum(name[first]))
        first++;
    while (last > first && !IsAsciiAlnum(name[last - 1]))
        last--;
    // A nick with no letter or digit cannot be told in a line, so such a line counts for nothing.
    if (first == last)
        return;
    CString lower = text;
    lower.MakeLower();
    if (lower.Find(name.Mid(first, last - first)) >= 0)
        secondActivity += secondActivity == 0 ? 20 : 5;
    else
        secondActivity += secondActivity == 0 ? 4 : 1;
}

void TIRCMember::DecayActivity() { DecayActivity(NowSeconds()); }

void TIRCMember::DecayActivity(long long now)
{
    long long minutes = (now - lastDecayTime) / 60;
    if (minutes <= 0)
        return;
    lastDecayTime = now;
    // Past 200 halvings a float is 0 anyway; ldexp keeps huge gaps from overflowing.
    int steps = minutes > 200 ? 200 : (int)minutes;
    if (activity > 0)
        activity = std::ldexp(activity, -steps);
    if (secondActivity > 0)
        secondActivity = std::ldexp(secondActivity, -steps);
}

int CompareMembers(const TIRCMember* a, const TIRCMember* b, int method)
{
    int result = 0;
    switch (method) {
    case 1:
        result = CompareRank(a, b);
        break;
    case 2:
        result = CompareGroup(a, b);
        break;
    case 3:
        result = CompareRank(a, b);
        if (result == 0)
            result = CompareGroup(a, b);
        break;
    case 4:
        result = CompareGroup(a, b);
        if (result == 0)
            result = CompareRank(a, b);
        break;
    }
    return result != 0 ? result : CompareNicks(a->nick, b->nick);
}

int CompareWhoRows(const TIRCMember* a, const TIRCMember* b, int column)
{
    int result = 0;
    switch (column) {
    case 0:
        result = CompareRank(a, b);
        break;
    case 2:
        result = CompareText(a->user, b->user);
        break;
    case 3:
        result = CompareText(a->host, b->host);
        break;
    case 4:
        result = CompareText(a->fullName, b->fullName);
        break;
    case 5:
        result = CompareText(a->server, b->server);
        break;
    }
    return result != 0 ? result : CompareNicks(a->nick, b->nick);
}
