// Error replies 400-599: printed, and a refused nick is retried with the alternatives of the
// server settings, then with nicks built by the NickPolicy preference.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

// A server may announce any NICKLEN; the nicks the retry builds count it only up to this many
// characters (the nick dialogs take it whole).
const int kMaxServerNickLength = 64;
// The most the server settings' page lets the user set; a settings file may hold anything.
const int kMaxOwnNickLength = 500;

bool IsRefusedJoin(int number)
{
    return number == 405 || number == 471 || number == 473 || number == 474 || number == 475 || number == 476;
}

} // namespace

void TIRCUnit::HandleErrorReply(const TIRCReceiveMessage& message)
{
    PrintErrorReply(message);
    int number = message.numeric;
    if (number == 432 || number == 433 || number == 436 || (number == 437 && !IsChannelName(message.GetParam(1))))
        RetryNick(message);
    else if (number == 437 && session.state == StateLoggedIn && preference->RejoinOnError437) {
        // A safe channel is remembered by its short name, as its JOIN was. The name is the
        // server's: the retry joins it only when it is one channel.
        CString name = GetSafeChannelShortName(message.GetParam(1));
        if (CanJoinByName(name))
            rejoinManager.AddRejoin(name);
    } else if (session.state == StateLoggedIn && IsRefusedJoin(number)) {
        // A refused join is not retried, and a later 403 for it must not create the channel.
        CString name = message.GetParam(1);
        rejoinManager.Forget(GetSafeChannelShortName(name));
        if (IsSafeChannelName(name) && !IsSafeChannelCreateName(name)) {
            safeJoinManager.Remove(name);
            safeJoinManager.Remove(GetSafeChannelShortName(name));
        }
    }
    receivedScripts->FireOnNumericReply(number, message.GetParamsFrom(1));
}

void TIRCUnit::RetryNick(const TIRCReceiveMessage& message)
{
    bool loggedIn = session.state == StateLoggedIn;
    if (message.numeric == 432) {
        if (loggedIn) {
            session.wantedNick = session.secondNick;
            session.nickRetryCount = 0;
            return;
        }
        // The nicks built from here on start from the valid one.
        MakeValidNick(session.firstNick);
        // The same nick again would only be refused again; build another one instead.
        if (session.firstNick != session.currentNick) {
            session.currentNick = session.firstNick;
            SendCommand(L"NICK", session.currentNick, L"", 2, 0);
            return;
        }
    } else if (!loggedIn && !settings.AltNickList.empty()) {
        session.altNickIndex++;
        if (session.altNickIndex >= 0 && session.altNickIndex < (int)settings.AltNickList.size()) {
            session.firstNick = session.currentNick = settings.AltNickList[(size_t)session.altNickIndex];
            SendCommand(L"NICK", session.currentNick, L"", 2, 0);
            return;
        }
    }
    int maxLength = RaiseToOwnNickLength(std::min(session.capabilities.GetNickLength(), kMaxServerNickLength));
    switch (preference->NickPolicy) {
    case NickAddUnderscore:
        RetryWithUnderscore(maxLength, loggedIn);
        break;
    case NickAddDigit:
        RetryWithNumber(maxLength, loggedIn);
        break;
    case NickAskUser:
        // A modal dialog here would run received lines inside this one's handling. The user types
        // the nick, so the edit takes what the change-nick dialog takes.
        nickQuestionLength = GetNickLengthLimit();
        break;
    default:
        // The user chose to keep the nick the server left them with.
        break;
    }
}

bool TIRCUnit::TakeNickQuestion(TNickRequest& request)
{
    int length = nickQuestionLength;
    nickQuestionLength = 0;
    if (length <= 0 || !connection.IsActive() || session.state == StateDisconnected)
        return false;
    request = MakeNickRequest(length);
    return true;
}

TNickRequest TIRCUnit::MakeNickRequest(int nickLength) const
{
    TNickRequest request;
    request.nick = session.currentNick;
    request.serverName = GetName();
    request.nickLength = nickLength;
    request.away = session.userMode.away;
    request.nickList = preference->nickList;
    return request;
}

int TIRCUnit::GetNickLengthLimit() const { return RaiseToOwnNickLength(session.capabilities.GetNickLength()); }

// The server setting's length wins while it is switched on and longer.
int TIRCUnit::RaiseToOwnNickLength(int serverLength) const
{
    if (settings.EnableNickLen && settings.NickLen > serverLength)
        return std::min(settings.NickLen, kMaxOwnNickLength);
    return serverLength;
}

// A nick or away state the server set while the dialog was open (a services rename, the 306 of
// an AWAY sent before) is not undone: only what the user changed goes out.
void TIRCUnit::ApplyChosenNick(const TNickRequest& opened, const TNickRequest& answer)
{
    if (answer.nick != opened.nick && answer.nick != session.currentNick)
        ChangeNick(answer.nick);
    ApplyChosenAway(opened.away, answer.away);
}

void TIRCUnit::AnswerNickQuestion(const TNickRequest& asked, const TNickRequest& answer)
{
    // The refused nick is not ours: the answer goes out even when the user left it as shown.
    // Without a link only the away choice is kept, for the next login.
    if (connection.IsActive())
        ChangeNick(answer.nick);
    ApplyChosenAway(asked.away, answer.away);
}

void TIRCUnit::ApplyChosenAway(bool shown, bool chosen)
{
    if (chosen != shown && chosen != session.userMode.away)
        SetAway(chosen, session.awayMessage.IsEmpty() ? ExpandText(settings.AwayMessage) : session.awayMessage);
}

void TIRCUnit::RetryWithUnderscore(int maxLength, bool loggedIn)
{
    CString& nick = session.firstNick;
    if (nick.GetLength() >= maxLength) {
        nick = nick.Left(maxLength);
        int last = nick.GetLength() - 1;
        while (last >= 0 && nick[last] == L'_')
            last--;
        if (last < 0) {
            GiveUpNick();
            return;
        }
        nick.Delete(last);
    }
    nick += L'_';
    if (!loggedIn)
        session.currentNick = nick;
    SendCommand(L"NICK", nick, L"", 2, 0);
}

void TIRCUnit::RetryWithNumber(int maxLength, bool loggedIn)
{
    CString number;
    number.Format(L"%d", session.nickRetryCount);
    int room = maxLength - number.GetLength();
    if (session.firstNick.GetLength() > room)
        session.firstNick = session.firstNick.Left(room > 0 ? room : 0);
    CString nick = session.firstNick + number;
    if (!loggedIn)
        session.currentNick = nick;
    SendCommand(L"NICK", nick, L"", 2, 0);
    session.nickRetryCount++;
}

// Every nick the policy could build is taken: while registering, the attempt ends here.
void TIRCUnit::GiveUpNick()
{
    PrintErrorText(LoadResourceString(IDS_NO_USABLE_NICK));
    if (session.state != StateRegistering || !connection.IsActive())
        return;
    session.altServerIndex = -1;
    connection.Close();
    Disconnect(true, false);
    session.delayedConnect = false;
}
