// CTCP queries and replies: the usual queries answered to the sender's nick, at most one in five
// seconds, and every query and reply shown in the server log and handed to scripts.

#include "irc/IRCUnit.h"

#include "foundation/IrcMarkup.h"
#include "irc/Ctcp.h"
#include "log/LogFormatter.h"
#include "log/LogLineData.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

// Without the sequence limit, at most this many answers wait to be sent; a flood of queries
// would otherwise make the client queue answers for minutes.
const size_t kMaxQueuedCtcpAnswers = 8;

// A NOTICE whose text is a CTCP body is an answer.
bool IsCtcpAnswer(const TIRCSendMessage& message)
{
    const CStringA& text = message.secondParam;
    return message.command == "NOTICE" && text.GetLength() >= 2 && text[0] == ':' && text[1] == '\1';
}

// The one being written counts too: it has not left yet.
size_t CountQueuedCtcpAnswers(const TIRCConnection& connection)
{
    size_t count = connection.writing && IsCtcpAnswer(connection.current) ? 1 : 0;
    for (const std::deque<TIRCSendMessage>* queue : {&connection.high, &connection.normal, &connection.low})
        count += (size_t)std::count_if(queue->begin(), queue->end(), IsCtcpAnswer);
    return count;
}

} // namespace

void TIRCUnit::OnCtcpQuery(const TIRCReceiveMessage& message, const CString& body, TDispatchResult& result)
{
    CString command, argument;
    SplitCtcpBody(body, command, argument);
    if (command == L"ACTION") {
        ShowMessage(message, EVENT_ACTION, argument, result);
        return;
    }
    if (command == L"DCC") {
        OnDccQuery(message, argument);
        return;
    }
    // Our own address query comes back to us; others' queries must not hold it back, but it
    // holds back theirs as any answered query does.
    if (command == L"GETADDRESS" && message.nick == session.currentNick) {
        MarkCtcpAccepted(GetTickCount(), session.lastCtcpTime);
        OnGetAddressQuery(message);
        sendScripts->FireOnCtcp(message, message.GetParam(0), command, argument);
        return;
    }
    if (!AcceptCtcpQuery(*preference, GetTickCount(), session.lastCtcpTime)) {
        PrintCtcpQueryText(TLogFormatter(*logFormat).FormatCTCPQuery(message, command) + L" : ignored");
        return;
    }
    AnswerCtcpQuery(message, command, argument);
    sendScripts->FireOnCtcp(message, message.GetParam(0), command, argument);
}

void TIRCUnit::AnswerCtcpQuery(const TIRCReceiveMessage& message, const CString& command, const CString& argument)
{
    if (command == L"GETADDRESS") {
        OnGetAddressQuery(message);
        return;
    }
    CString answer;
    if (command == L"PING") {
        answer = L"PING " + argument;
    } else if (command == L"TIME") {
        SYSTEMTIME now;
        GetLocalTime(&now);
        answer = L"TIME " + FormatCtcpTime(now);
    } else if (command == L"VERSION") {
        answer = L"VERSION " + GetVersionText();
    } else if (command == L"USERINFO") {
        answer = L"USERINFO " + ExpandText(ConvertMarkupToControlCodes(settings.UserInfo));
    } else if (command == L"CLIENTINFO") {
        answer = L"CLIENTINFO " + GetClientInfoText();
    }
    // Answers wait in the send queue behind whatever the user sent. Only answers that pile up
    // are dropped, which needs a stream of queries without the sequence limit.
    bool dropped = !answer.IsEmpty() && !preference->EnableCtcpSequenceLimit &&
                   CountQueuedCtcpAnswers(connection) >= kMaxQueuedCtcpAnswers;
    if (!answer.IsEmpty() && !dropped)
        SendCtcpReply(message.nick, answer);
    CString shown = TLogFormatter(*logFormat).FormatCTCPQuery(message, command);
    PrintCtcpQueryText(dropped ? shown + L" : ignored" : shown);
}

// The unit's own query to itself shows the user name and host the server gives it.
void TIRCUnit::OnGetAddressQuery(const TIRCReceiveMessage& message)
{
    if (message.nick != session.currentNick)
        return;
    session.userName = message.user;
    session.host = message.host;
    // The slot the address methods read for the reply's host.
    addressTexts[1] = message.host;
    if (addressMethod == 2) {
        myAddress = TInetAddress();
        resolver.SetHostName(message.host);
        resolver.Resolve();
    }
}

void TIRCUnit::OnCtcpReply(const TIRCReceiveMessage& message, const CString& body)
{
    CString command, argument;
    SplitCtcpBody(body, command, argument);
    TLogFormatter formatter = TLogFormatter(*logFormat);
    CString text;
    if (command == L"PING")
        text = FormatPingElapsed(GetTickCount(), argument);
    else if (command == L"TIME" || command == L"VERSION" || command == L"USERINFO" || command == L"CLIENTINFO")
        text = argument.Left(1) == L":" ? argument.Mid(1) : argument;
    else
        text = body;
    PrintCtcpReplyText(formatter.FormatCTCPReply(message, command, text));
    sendScripts->FireOnCtcpReply(message, message.GetParam(0), command, argument);
}
