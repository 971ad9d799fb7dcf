// The send core: every command leaves through SendCommand, encoded with the session's code page.

#include "irc/IRCUnit.h"

#include "foundation/CodePage.h"
#include "foundation/IrcMarkup.h"

namespace {

// The line a server relays is ":nick!user@host COMMAND target :text"; it must fit 510 bytes.
const int kRelayedLineBytes = 510;

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

void TIRCUnit::SendCommand(const CString& command, const CString& first, const CString& second, int penalty,
                           int priority)
{
    if (!CanSendLines())
        return;
    TIRCSendMessage message;
    message.command = ConvertToUtf8(command); // command words are ASCII
    message.firstParam = Encode(first);
    message.secondParam = Encode(second);
    message.penalty = penalty;
    message.codePage = session.codePage;
    connection.Enqueue(message, priority);
}

bool TIRCUnit::SplitMessageText(const CString& command, const CString& target, CString& text, CString& rest) const
{
    int overhead = 7 + Encode(session.currentNick).GetLength() + Encode(session.userName).GetLength() +
                   Encode(session.host).GetLength() + command.GetLength() + Encode(target).GetLength();
    // CTCP framing around the text, and PRIVMSG on the wire is one letter longer than ACTION.
    if (command == L"ACTION")
        overhead += 10;
    if (Encode(text).GetLength() + overhead <= kRelayedLineBytes)
        return false;
    int budget = kRelayedLineBytes - overhead;
    int i = budget > 0 ? Decode(Encode(text).Left(budget)).GetLength() - 1 : 0;
    if (i > text.GetLength() - 1)
        i = text.GetLength() - 1;
    for (; i > 0; i--) {
        if (IsLowSurrogate(text[i]))
            continue;
        if (Encode(text.Left(i)).GetLength() + overhead <= kRelayedLineBytes) {
            rest = text.Mid(i);
            text = text.Left(i);
            return true;
        }
    }
    rest = text;
    text.Empty();
    return true;
}

void TIRCUnit::SendPong(const CString& text) { SendCommand(L"PONG", CString(), L":" + text, 2, 1); }

void TIRCUnit::SendNames(const CString& channel) { SendCommand(L"NAMES", channel, CString(), 2, 0); }

void TIRCUnit::SendList(const CString& filter) { SendCommand(L"LIST", CString(), filter, 2, 0); }

void TIRCUnit::SendInvite(const CString& nick, const CString& channel) { SendCommand(L"INVITE", nick, channel, 2, 0); }

CString TIRCUnit::ExpandText(const CString& text) { return macros->ExpandVariables(text, session.currentNick); }

CString TIRCUnit::GetVersionText()
{
    CString text;
    text.Format(L"Ketroval %d.%d %s(Win32)", 2, 40, L"");
    return text;
}

CString TIRCUnit::GetClientInfoText() { return L"DCC VERSION CLIENTINFO USERINFO PING TIME"; }

void TIRCUnit::SendQuit(const CString& comment)
{
    session.reconnectArmed = false;
    // Before the server has the connection the QUIT cannot go: the attempt ends here instead of
    // logging in and being cut by the wait.
    if (connection.IsActive() && session.state == StateConnecting) {
        CloseAtOnce();
        return;
    }
    // The wait is for the link the QUIT leaves on; with none it would cut the next connection.
    if (!CanSendLines())
        return;
    session.quitSent = true;
    session.quitCountdown = 6;
    SendCommand(L"QUIT", CString(), L":" + ConvertMarkupToControlCodes(comment), 2, 0);
}

void TIRCUnit::CloseByUser()
{
    connection.Close();
    Disconnect(true, false);
}

void TIRCUnit::CloseAtOnce()
{
    session.altServerIndex = -1;
    CloseByUser();
    session.delayedConnect = false;
}
