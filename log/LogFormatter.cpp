#include "log/LogFormatter.h"

#include "ircproto/ReceiveMessage.h"
#include "log/Formatter.h"
#include "log/LogLineData.h"
#include "log/TimeText.h"

CString TLogFormatter::Expand(const CString& pattern, std::initializer_list<TFormatterLetter> letters,
                              const TIRCReceiveMessage* sender)
{
    TFormatter f;
    if (sender) {
        f.SetVariable('n', sender->nick);
        f.SetVariable('u', sender->user);
        f.SetVariable('h', sender->host);
    }
    for (const TFormatterLetter& l : letters)
        f.SetVariable(l.letter, l.value);
    return f.Format(pattern);
}

CString TLogFormatter::FormatTime() const { return FormatTimeAt(time(nullptr)); }

CString TLogFormatter::FormatTimeAt(time_t when) const
{
    tm local;
    if (!format.EnableTime || format.Time.IsEmpty() || !BreakDownLocalTime(when, local))
        return CString();
    return FormatTimePattern(format.Time, local);
}

CString TLogFormatter::FormatUnitPrefix(const CString& server) const { return Expand(format.Unit, {{'s', server}}); }

CString TLogFormatter::FormatChannelPrefix(const CString& channel) const
{
    return Expand(format.Channel, {{'c', channel}});
}

CString TLogFormatter::FormatUnitChannelPrefix(const CString& server, const CString& channel) const
{
    return Expand(format.UnitChannel, {{'s', server}, {'c', channel}});
}

CString TLogFormatter::FormatNickPrefix(const CString& nick) const
{
    return Expand(format.PreNick, {{'n', nick}, {'s', nick}});
}

CString TLogFormatter::FormatJoin(const TIRCReceiveMessage& msg, const CString& channel) const
{
    return Expand(format.Join, {{'c', channel}}, &msg);
}

CString TLogFormatter::FormatPart(const TIRCReceiveMessage& msg, const CString& channel, const CString& text) const
{
    return Expand(format.Part, {{'c', channel}, {'m', text}}, &msg);
}

CString TLogFormatter::FormatNick(const TIRCReceiveMessage& msg, const CString& newNick) const
{
    return Expand(format.Nick, {{'t', newNick}}, &msg);
}

CString TLogFormatter::FormatKill(const TIRCReceiveMessage& msg, const CString& killed, const CString& reason) const
{
    return L"*" + msg.nick + L" kill " + killed + L" (" + reason + L")";
}

CString TLogFormatter::FormatKick(const TIRCReceiveMessage& msg, const CString& channel, const CString& kicked,
                                  const CString& reason) const
{
    return Expand(format.Kick, {{'t', kicked}, {'c', channel}, {'m', reason}}, &msg);
}

CString TLogFormatter::FormatMode(const TIRCReceiveMessage& msg, const CString& channel, const CString& modes) const
{
    return Expand(format.Mode, {{'c', channel}, {'m', modes}}, &msg);
}

CString TLogFormatter::FormatUserMode(const CString& nick, const CString& modes) const
{
    return Expand(format.UserMode, {{'n', nick}, {'m', modes}});
}

CString TLogFormatter::FormatQuit(const TIRCReceiveMessage& msg, const CString& text) const
{
    return Expand(format.Quit, {{'m', text}}, &msg);
}

CString TLogFormatter::FormatInviting(const CString& nick, const CString& channel) const
{
    return Expand(format.Inviting, {{'n', nick}, {'c', channel}});
}

CString TLogFormatter::FormatInvite(const TIRCReceiveMessage& msg, const CString& channel) const
{
    return Expand(format.Invite, {{'c', channel}}, &msg);
}

CString TLogFormatter::FormatTopic(const TIRCReceiveMessage& msg, const CString& channel, const CString& topic) const
{
    return Expand(format.Topic, {{'c', channel}, {'m', topic}}, &msg);
}

CString TLogFormatter::FormatCTCPQuery(const TIRCReceiveMessage& msg, const CString& command) const
{
    return Expand(format.CTCPQuery, {{'k', command}}, &msg);
}

CString TLogFormatter::FormatCTCPReply(const TIRCReceiveMessage& msg, const CString& command, const CString& text) const
{
    return Expand(format.CTCPReply, {{'k', command}, {'m', text}}, &msg);
}

CString TLogFormatter::FormatDCCSend(const TIRCReceiveMessage& msg, const CString& file, const CString& address,
                                     int port, long long size) const
{
    return Expand(format.DCCSend, {{'f', file}, {'a', address}, {'p', DecimalText(port)}, {'s', DecimalText(size)}},
                  &msg);
}

CString TLogFormatter::FormatDCCChat(const TIRCReceiveMessage& msg, const CString& address, int port) const
{
    return Expand(format.DCCChat, {{'a', address}, {'p', DecimalText(port)}}, &msg);
}

CString TLogFormatter::FormatDCCResume(const TIRCReceiveMessage& msg, int port, long long position) const
{
    return Expand(format.DCCResume, {{'p', DecimalText(port)}, {'s', DecimalText(position)}}, &msg);
}

CString TLogFormatter::FormatDCCAccept(const TIRCReceiveMessage& msg, int port, long long position) const
{
    return Expand(format.DCCAccept, {{'p', DecimalText(port)}, {'s', DecimalText(position)}}, &msg);
}

CString TLogFormatter::FormatError(const TIRCReceiveMessage& msg, const CString& text) const
{
    return Expand(format.Error, {{'m', text}, {'s', text}}, &msg);
}
