#include "log/LogFormatter.h"

#include "irc/ReceiveMessage.h"
#include "log/Formatter.h"
#include "log/LogLineData.h"
#include "log/TimeText.h"

namespace {

// A formatter with the sender's nick, user and host already bound.
class TSenderFormatter : public TFormatter {
public:
    explicit TSenderFormatter(const TIRCReceiveMessage& msg)
    {
        SetVariable('n', msg.nick);
        SetVariable('u', msg.user);
        SetVariable('h', msg.host);
    }
};

} // namespace

CString TLogFormatter::FormatTime() const { return FormatTimeAt(time(nullptr)); }

CString TLogFormatter::FormatTimeAt(time_t when) const
{
    tm local;
    if (!format.EnableTime || format.Time.IsEmpty() || !BreakDownLocalTime(when, local))
        return CString();
    return FormatTimePattern(format.Time, local);
}

CString TLogFormatter::FormatUnitPrefix(const CString& server) const
{
    TFormatter f;
    f.SetVariable('s', server);
    return f.Format(format.Unit);
}

CString TLogFormatter::FormatChannelPrefix(const CString& channel) const
{
    TFormatter f;
    f.SetVariable('c', channel);
    return f.Format(format.Channel);
}

CString TLogFormatter::FormatUnitChannelPrefix(const CString& server, const CString& channel) const
{
    TFormatter f;
    f.SetVariable('s', server);
    f.SetVariable('c', channel);
    return f.Format(format.UnitChannel);
}

CString TLogFormatter::FormatNickPrefix(const CString& nick) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('s', nick);
    return f.Format(format.PreNick);
}

CString TLogFormatter::FormatJoin(const TIRCReceiveMessage& msg, const CString& channel) const
{
    TSenderFormatter f(msg);
    f.SetVariable('c', channel);
    return f.Format(format.Join);
}

CString TLogFormatter::FormatPart(const TIRCReceiveMessage& msg, const CString& channel, const CString& text) const
{
    TSenderFormatter f(msg);
    f.SetVariable('c', channel);
    f.SetVariable('m', text);
    return f.Format(format.Part);
}

CString TLogFormatter::FormatNick(const TIRCReceiveMessage& msg, const CString& newNick) const
{
    TSenderFormatter f(msg);
    f.SetVariable('t', newNick);
    return f.Format(format.Nick);
}

CString TLogFormatter::FormatKill(const TIRCReceiveMessage& msg, const CString& killed, const CString& reason) const
{
    return L"*" + msg.nick + L" kill " + killed + L" (" + reason + L")";
}

CString TLogFormatter::FormatKick(const TIRCReceiveMessage& msg, const CString& channel, const CString& kicked,
                                  const CString& reason) const
{
    TSenderFormatter f(msg);
    f.SetVariable('t', kicked);
    f.SetVariable('c', channel);
    f.SetVariable('m', reason);
    return f.Format(format.Kick);
}

CString TLogFormatter::FormatMode(const TIRCReceiveMessage& msg, const CString& channel, const CString& modes) const
{
    TSenderFormatter f(msg);
    f.SetVariable('c', channel);
    f.SetVariable('m', modes);
    return f.Format(format.Mode);
}

CString TLogFormatter::FormatUserMode(const CString& nick, const CString& modes) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('m', modes);
    return f.Format(format.UserMode);
}

CString TLogFormatter::FormatQuit(const TIRCReceiveMessage& msg, const CString& text) const
{
    TSenderFormatter f(msg);
    f.SetVariable('m', text);
    return f.Format(format.Quit);
}

CString TLogFormatter::FormatInviting(const CString& nick, const CString& channel) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('c', channel);
    return f.Format(format.Inviting);
}

CString TLogFormatter::FormatInvite(const TIRCReceiveMessage& msg, const CString& channel) const
{
    TSenderFormatter f(msg);
    f.SetVariable('c', channel);
    return f.Format(format.Invite);
}

CString TLogFormatter::FormatTopic(const TIRCReceiveMessage& msg, const CString& channel, const CString& topic) const
{
    TSenderFormatter f(msg);
    f.SetVariable('c', channel);
    f.SetVariable('m', topic);
    return f.Format(format.Topic);
}

CString TLogFormatter::FormatCTCPQuery(const TIRCReceiveMessage& msg, const CString& command) const
{
    TSenderFormatter f(msg);
    f.SetVariable('k', command);
    return f.Format(format.CTCPQuery);
}

CString TLogFormatter::FormatCTCPReply(const TIRCReceiveMessage& msg, const CString& command, const CString& text) const
{
    TSenderFormatter f(msg);
    f.SetVariable('k', command);
    f.SetVariable('m', text);
    return f.Format(format.CTCPReply);
}

CString TLogFormatter::FormatDCCSend(const TIRCReceiveMessage& msg, const CString& file, const CString& address,
                                     int port, long long size) const
{
    TSenderFormatter f(msg);
    f.SetVariable('f', file);
    f.SetVariable('a', address);
    f.SetNumber('p', port);
    f.SetNumber('s', size);
    return f.Format(format.DCCSend);
}

CString TLogFormatter::FormatDCCChat(const TIRCReceiveMessage& msg, const CString& address, int port) const
{
    TSenderFormatter f(msg);
    f.SetVariable('a', address);
    f.SetNumber('p', port);
    return f.Format(format.DCCChat);
}

CString TLogFormatter::FormatDCCResume(const TIRCReceiveMessage& msg, int port, long long position) const
{
    TSenderFormatter f(msg);
    f.SetNumber('p', port);
    f.SetNumber('s', position);
    return f.Format(format.DCCResume);
}

CString TLogFormatter::FormatDCCAccept(const TIRCReceiveMessage& msg, int port, long long position) const
{
    TSenderFormatter f(msg);
    f.SetNumber('p', port);
    f.SetNumber('s', position);
    return f.Format(format.DCCAccept);
}

CString TLogFormatter::FormatError(const TIRCReceiveMessage& msg, const CString& text) const
{
    TSenderFormatter f(msg);
    f.SetVariable('m', text);
    f.SetVariable('s', text);
    return f.Format(format.Error);
}
