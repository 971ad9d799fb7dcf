#include "ircproto/IRCNames.h"

#include <cwchar>
#include <type_traits>

const wchar_t kServerMaskSuffix[] = L":*.jp";

namespace {

const int kSuffixLength = 5;

const wchar_t* const kCommands[] = {
    L"PRIVMSG", L"NOTICE", L"MODE",   L"NICK",    L"JOIN",    L"PART",     L"QUIT",      L"PING",   L"PONG",
    L"TOPIC",   L"ISON",   L"KICK",   L"NAMES",   L"WHO",     L"WHOIS",    L"INVITE",    L"AWAY",   L"VERSION",
    L"WHOWAS",  L"LIST",   L"NJOIN",  L"ADMIN",   L"DNS",     L"HAZH",     L"HELP",      L"INFO",   L"LINKS",
    L"LUSERS",  L"MOTD",   L"OPER",   L"PASS",    L"SERVICE", L"SERVLIST", L"SERVSET",   L"SQUERY", L"STATS",
    L"SUMMON",  L"TIME",   L"TRACE",  L"UMODE",   L"USER",    L"USERHOST", L"USERS",     L"CLOSE",  L"CONNECT",
    L"DIE",     L"KILL",   L"REHASH", L"RESTART", L"SQUIT",   L"ERROR",    L"RECONNECT", L"SERVER", L"WALLOPS",
    L"SET",     L"MAP",    L"",
};

template <typename Ch> Ch FoldIRC(Ch c)
{
    unsigned u = (unsigned)(std::make_unsigned_t<Ch>)c;
    return (u >= 0x61 && u <= 0x7D) ? (Ch)(u - 32) : c;
}

template <typename S> int CompareFolded(const S& a, const S& b)
{
    int n = a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength();
    for (int i = 0; i < n; i++) {
        using Ch = std::remove_cvref_t<decltype(a[0])>;
        unsigned x = (unsigned)(std::make_unsigned_t<Ch>)FoldIRC(a[i]);
        unsigned y = (unsigned)(std::make_unsigned_t<Ch>)FoldIRC(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.GetLength() == b.GetLength())
        return 0;
    return a.GetLength() < b.GetLength() ? -1 : 1;
}

bool FirstCharIn(const CString& name, const wchar_t* set)
{
    // wcschr would find a NUL as the set's terminator
    return !name.IsEmpty() && name[0] != 0 && wcschr(set, name[0]) != nullptr;
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsNickFirst(wchar_t c) { return IsAsciiLetter(c) || c == L'^' || c == L'_' || c == L'`'; }

bool IsNickOther(wchar_t c) { return IsNickFirst(c) || IsAsciiDigit(c) || c == L'-'; }

bool IsUserNameSpecial(wchar_t c) { return c != 0 && wcschr(L".-_~^|\\{}[]", c) != nullptr; }

bool EndsInServerMask(const CString& name)
{
    return name.GetLength() >= 6 && name[0] == L'#' && name.Right(kSuffixLength) == kServerMaskSuffix;
}

} // namespace

const wchar_t kChannelPrefixes[] = L"#&+!";

bool IsIRCCommand(const CString& word)
{
    if (word.IsEmpty())
        return false;
    CString upper(word);
    for (int i = 0; i < upper.GetLength(); i++)
        if (upper[i] >= L'a' && upper[i] <= L'z')
            upper.SetAt(i, (wchar_t)(upper[i] - 32));
    for (int i = 0; kCommands[i][0]; i++)
        if (upper == CString(kCommands[i])) // whole buffers, so a NUL inside does not end the word
            return true;
    return false;
}

void IRCMakeUpper(CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        text.SetAt(i, FoldIRC(text[i]));
}

void IRCMakeUpperA(CStringA& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        text.SetAt(i, FoldIRC(text[i]));
}

CString IRCToUpper(const CString& text)
{
    CString folded(text);
    IRCMakeUpper(folded);
    return folded;
}

int IRCCompareNoCase(const CString& a, const CString& b) { return CompareFolded(a, b); }

int IRCCompareNoCaseA(const CStringA& a, const CStringA& b) { return CompareFolded(a, b); }

bool IsModeChannelName(const CString& name) { return FirstCharIn(name, L"#&!"); }

bool IsChannelName(const CString& name) { return FirstCharIn(name, kChannelPrefixes); }

bool IsChannelNameOrAlias(const CString& name) { return FirstCharIn(name, L"#&+!%"); }

bool IsSingleChannelName(const CString& name) { return IsChannelName(name) && name.FindOneOf(L", \r\n") < 0; }

void SplitNickUserHost(const CStringA& prefix, CStringA& nick, CStringA& user, CStringA& host)
{
    int bang = prefix.Find('!');
    if (bang < 0) {
        nick = prefix;
        return;
    }
    nick = prefix.Left(bang);
    CStringA rest = prefix.Mid(bang + 1);
    int at = rest.Find('@');
    if (at < 0)
        return;
    user = rest.Left(at);
    host = rest.Mid(at + 1);
}

bool IsValidNick(const CString& nick)
{
    if (nick.IsEmpty() || !IsNickFirst(nick[0]))
        return false;
    for (int i = 1; i < nick.GetLength(); i++)
        if (!IsNickOther(nick[i]))
            return false;
    return true;
}

void MakeValidNick(CString& nick)
{
    if (nick.IsEmpty())
        return;
    if (!IsNickFirst(nick[0]))
        nick.SetAt(0, L'_');
    for (int i = 1; i < nick.GetLength(); i++)
        if (!IsNickOther(nick[i]))
            nick.SetAt(i, L'_');
}

void MakeValidUserName(CString& userName)
{
    CString valid;
    bool hasAlnum = false;
    int specials = 0;
    for (int i = 0; i < userName.GetLength(); i++) {
        wchar_t c = userName[i];
        if (c >= 0x80)
            continue;
        if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
            valid += c;
            hasAlnum = true;
        } else if (IsUserNameSpecial(c) && specials < 2) {
            valid += c;
            specials++;
        }
    }
    userName = hasAlnum ? valid : CString(L"user");
}

void MakeUserNameSendable(CString& userName)
{
    CString sendable;
    for (int i = 0; i < userName.GetLength(); i++) {
        wchar_t c = userName[i];
        if (c > L' ' && c != 0x7F && !(c == L':' && sendable.IsEmpty()))
            sendable += c;
    }
    userName = sendable.IsEmpty() ? CString(L"user") : sendable;
}

bool IsSafeChannelName(const CString& name) { return !name.IsEmpty() && name[0] == L'!'; }

bool IsSafeChannelCreateName(const CString& name)
{
    return name.GetLength() >= 2 && name[0] == L'!' && name[1] == L'!';
}

CString GetSafeChannelShortName(const CString& name)
{
    if (name.GetLength() > 6 && name[0] == L'!' && name[1] != L'!')
        return L"!" + name.Mid(6);
    return name;
}

bool IsChannelAlias(const CString& name) { return !name.IsEmpty() && name[0] == L'%'; }

bool IsMaskedChannelName(const CString& name) { return EndsInServerMask(name); }

CString ExpandChannelAlias(const CString& name)
{
    if (!IsChannelAlias(name))
        return name;
    return L"#" + name.Mid(1) + kServerMaskSuffix;
}

CString MakeChannelAlias(const CString& name)
{
    if (!EndsInServerMask(name))
        return name;
    return L"%" + name.Mid(1, name.GetLength() - 1 - kSuffixLength);
}
