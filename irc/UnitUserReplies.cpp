// Numeric replies about the server and users: capabilities, user modes, away, WHOIS, WHOWAS and
// the channel list.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitEvents.h"
#include "res/strings/irc.h"

#include <ctime>
#include <cwctype>

unsigned long long ReadUnsignedReply(const CString& text)
{
    unsigned long long value = 0;
    int i = 0;
    while (i < text.GetLength() && text[i] == L' ')
        i++;
    for (; i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9'; i++) {
        unsigned digit = text[i] - L'0';
        if (value > (~0ULL - digit) / 10)
            return ~0ULL;
        value = value * 10 + digit;
    }
    return value;
}

CString FormatServerTime(const CString& asSent)
{
    unsigned long long seconds = ReadUnsignedReply(asSent);
    return FormatServerTime(seconds > 0x7FFFFFFFFFFFFFFFULL ? -1 : (long long)seconds, asSent);
}

CString FormatServerTime(long long seconds, const CString& asSent)
{
    CString text;
    __time64_t when = seconds;
    // Null for times before 1970 or past the year 3000; msvcrt would crash in wcsftime on it.
    struct tm* local = seconds >= 0 ? _localtime64(&when) : nullptr;
    wchar_t buffer[64];
    if (local && wcsftime(buffer, 64, L"%Y/%m/%d %H:%M", local) > 0)
        text = buffer;
    else
        text = asSent;
    return text;
}

void TIRCUnit::OnISupportReply(const TIRCReceiveMessage& message)
{
    session.capabilities.Parse(message.GetParamsFrom(1));
    PrintReplyParams(message);
}

void TIRCUnit::OnUserModeReply(const TIRCReceiveMessage& message)
{
    CString modes = message.GetParamsFrom(1);
    modes.TrimRight();
    session.userMode = TUserMode();
    session.userMode.ApplyModeChange(modes);
    if (modes == L"+")
        return;
    PrintToServer(L"", L"", TLogFormatter(*logFormat).FormatUserMode(session.currentNick, modes), EVENT_USER_MODE, 0,
                  false, L"");
    UpdateTitleIfUnitSelected();
}

void TIRCUnit::OnAwayReply(const TIRCReceiveMessage& message)
{
    CString nick = message.GetParam(1), text = message.GetParam(2);
    if (session.replyFlags[kWhoisListing]) {
        if (IWhoisWindow* window = FindWhoisDialog(nick)) {
            window->SetAwayMessage(text);
            return;
        }
        CString line;
        line.Format(L"%s is away : %s", nick.GetString(), text.GetString());
        PrintReply(line);
        return;
    }
    if (session.replyFlags[kWhowasListing] || nick.IsEmpty())
        return;
    CString line = TLogFormatter(*logFormat).FormatAwayReply(nick, text);
    if (TIRCChannel* talk = FindChannelByIRCName(nick))
        PrintToChannel(talk, L"", line, EVENT_AWAY_REPLY, 0, false);
    else
        PrintToServer(L"", L"", line, EVENT_AWAY_REPLY, 0, false, L"");
}

void TIRCUnit::OnAwayStateReply(const TIRCReceiveMessage&, bool away)
{
    session.userMode.away = away;
    UpdateTitleIfUnitSelected();
    PrintSystemText(nullptr, LoadResourceString(away ? IDS_AWAY_SET : IDS_AWAY_UNSET));
}

void TIRCUnit::OnWhoisUserReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kWhoisListing] = true;
    CString nick = message.GetParam(1);
    IWhoisWindow* window = FindWhoisDialog(nick);
    if (window) {
        // A new WHOIS of an open window: nothing of the last answer may stay behind.
        window->SetNick(nick);
        window->SetOperator(false);
        window->ClearChannels();
        window->SetServer(CString());
        window->SetServerInfo(CString());
        window->SetAwayMessage(CString());
        window->SetIdleTime(CString());
        window->SetLoginTime(CString());
        window->Raise();
    } else {
        window = ShowWhoisDialog(nick);
    }
    if (window) {
        window->SetUserName(message.GetParam(2));
        window->SetHost(message.GetParam(3));
        window->SetRealName(message.GetParam(5));
        return;
    }
    CString line;
    line.Format(L"%s is %s (%s@%s)", nick.GetString(), message.GetParam(5).GetString(), message.GetParam(2).GetString(),
                message.GetParam(3).GetString());
    PrintReply(line);
}

void TIRCUnit::OnWhoisServerReply(const TIRCReceiveMessage& message)
{
    if (!session.replyFlags[kWhoisListing]) {
        PrintReplyParams(message);
        return;
    }
    if (IWhoisWindow* window = FindWhoisDialog(message.GetParam(1))) {
        window->SetServer(message.GetParam(2));
        window->SetServerInfo(message.GetParam(3));
        return;
    }
    CString line;
    line.Format(L"%s is on %s (%s)", message.GetParam(1).GetString(), message.GetParam(2).GetString(),
                message.GetParam(3).GetString());
    PrintReply(line);
}

void TIRCUnit::OnWhoisOperatorReply(const TIRCReceiveMessage& message)
{
    if (IWhoisWindow* window = FindWhoisDialog(message.GetParam(1))) {
        window->SetOperator(true);
        return;
    }
    CString line;
    line.Format(L"%s is an IRC operator", message.GetParam(1).GetString());
    PrintReply(line);
}

void TIRCUnit::OnWhowasUserReply(const TIRCReceiveMessage& message)
{
    session.replyFlags[kWhowasListing] = true;
    PrintReplyParams(message);
}

void TIRCUnit::OnWhoisIdleReply(const TIRCReceiveMessage& message)
{
    CString nick = message.GetParam(1), signOn = message.GetParam(3);
    unsigned long long idle = ReadUnsignedReply(message.GetParam(2));
    CString idleText;
    idleText.Format(L"%llu:%02u:%02u", idle / 3600, (unsigned)(idle / 60 % 60), (unsigned)(idle % 60));
    bool hasSignOn = !signOn.IsEmpty() && iswdigit(signOn[0]);
    if (IWhoisWindow* window = FindWhoisDialog(nick)) {
        window->SetIdleTime(idleText);
        if (hasSignOn)
            window->SetLoginTime(FormatServerTime(signOn));
        return;
    }
    CString line;
    line.Format(L"%s is %s idle", nick.GetString(), idleText.GetString());
    PrintReply(line);
    if (hasSignOn) {
        line.Format(L"%s logged on at %s", nick.GetString(), FormatServerTime(signOn).GetString());
        PrintReply(line);
    }
}

void TIRCUnit::OnWhoisChannelsReply(const TIRCReceiveMessage& message)
{
    IWhoisWindow* window = FindWhoisDialog(message.GetParam(1));
    CString line;
    line.Format(L"%s is on ", message.GetParam(1).GetString());
    CString words = message.GetParam(2);
    words.Trim();
    bool first = true;
    for (int start = 0; start < words.GetLength();) {
        int end = words.Find(L' ', start);
        if (end < 0)
            end = words.GetLength();
        if (end > start) {
            CString word = words.Mid(start, end - start);
            if (window)
                window->AddChannel(word);
            line += (first ? L"" : L", ") + word;
            first = false;
        }
        start = end + 1;
    }
    if (!window)
        PrintReply(line);
}
