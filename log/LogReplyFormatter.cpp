#include "log/Formatter.h"
#include "log/LogFormatter.h"
#include "log/LogLineData.h"

namespace {

// The display switches of each event kind; null where the kind has none.
struct TEventSwitches {
    bool TLogFormat::*console;
    bool TLogFormat::*channel;
};

const TEventSwitches kEventSwitches[LOG_EVENT_KIND_COUNT] = {
    {&TLogFormat::EnablePrivmsgConsole, nullptr},
    {&TLogFormat::EnableNoticeConsole, &TLogFormat::EnableNoticeChannel},
    {&TLogFormat::EnableActionConsole, &TLogFormat::EnableActionChannel},
    {&TLogFormat::EnableJoinConsole, &TLogFormat::EnableJoinChannel},
    {&TLogFormat::EnablePartConsole, &TLogFormat::EnablePartChannel},
    {&TLogFormat::EnableNickConsole, &TLogFormat::EnableNickChannel},
    {&TLogFormat::EnableQuitConsole, &TLogFormat::EnableQuitChannel}, // kill shares the quit switches
    {&TLogFormat::EnableKickConsole, &TLogFormat::EnableKickChannel},
    {&TLogFormat::EnableModeConsole, &TLogFormat::EnableModeChannel},
    {&TLogFormat::EnableUserModeConsole, &TLogFormat::EnableUserModeChannel},
    {&TLogFormat::EnableQuitConsole, &TLogFormat::EnableQuitChannel},
    {&TLogFormat::EnableInviteingConsole, &TLogFormat::EnableInviteingChannel},
    {&TLogFormat::EnableInviteConsole, &TLogFormat::EnableInviteChannel},
    {&TLogFormat::EnableTopicConsole, &TLogFormat::EnableTopicChannel},
    {&TLogFormat::EnableCTCPQueryConsole, &TLogFormat::EnableCTCPQueryChannel},
    {&TLogFormat::EnableCTCPReplyConsole, &TLogFormat::EnableCTCPReplyChannel},
    {&TLogFormat::EnableDCCSendConsole, &TLogFormat::EnableDCCSendChannel},
    {&TLogFormat::EnableDCCResumeConsole, &TLogFormat::EnableDCCResumeChannel},
    {&TLogFormat::EnableDCCAcceptConsole, &TLogFormat::EnableDCCAcceptChannel},
    {&TLogFormat::EnableDCCChatConsole, &TLogFormat::EnableDCCChatChannel},
    {&TLogFormat::EnableErrorConsole, &TLogFormat::EnableErrorChannel},
    {&TLogFormat::EnableReplyConsole, &TLogFormat::EnableReplyChannel},
    {&TLogFormat::EnableModeReplyConsole, &TLogFormat::EnableModeReplyChannel},
    {&TLogFormat::EnableTopicReplyConsole, &TLogFormat::EnableTopicReplyChannel},
    {&TLogFormat::EnableNamesReplyConsole, &TLogFormat::EnableNamesReplyChannel},
    {&TLogFormat::EnableAwayReplyConsole, &TLogFormat::EnableAwayReplyChannel},
    {&TLogFormat::EnableErrorReplyConsole, &TLogFormat::EnableErrorReplyChannel},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {&TLogFormat::EnableDCCSendCompleteConsole, &TLogFormat::EnableDCCSendCompleteChannel},
    {&TLogFormat::EnableDCCSendFailConsole, &TLogFormat::EnableDCCSendFailChannel},
    {&TLogFormat::EnableDCCReceiveCompleteConsole, &TLogFormat::EnableDCCReceiveCompleteChannel},
    {&TLogFormat::EnableDCCReceiveFailConsole, &TLogFormat::EnableDCCReceiveFailChannel},
    {nullptr, nullptr},
    {nullptr, nullptr},
};

bool IsSwitchOn(const TLogFormat& format, bool TLogFormat::*flag) { return !flag || format.*flag; }

} // namespace

bool IsConsoleEventEnabled(const TLogFormat& format, int eventKind)
{
    if (eventKind < 0 || eventKind >= LOG_EVENT_KIND_COUNT)
        return true;
    return IsSwitchOn(format, kEventSwitches[eventKind].console);
}

bool IsChannelEventEnabled(const TLogFormat& format, int eventKind)
{
    if (eventKind < 0 || eventKind >= LOG_EVENT_KIND_COUNT)
        return true;
    return IsSwitchOn(format, kEventSwitches[eventKind].channel);
}

CString TLogFormatter::FormatModeReply(const CString& channel, const CString& modes) const
{
    TFormatter f;
    f.SetVariable('c', channel);
    f.SetVariable('m', modes);
    return f.Format(format.ModeReply);
}

CString TLogFormatter::FormatTopicReply(const CString& channel, const CString& topic) const
{
    TFormatter f;
    f.SetVariable('c', channel);
    f.SetVariable('m', topic);
    return f.Format(format.TopicReply);
}

CString TLogFormatter::FormatAwayReply(const CString& nick, const CString& text) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('m', text);
    return f.Format(format.AwayReply);
}

CString TLogFormatter::FormatNamesReply(const CString& channel, const CString& names) const
{
    TFormatter f;
    f.SetVariable('c', channel);
    f.SetVariable('m', names);
    return f.Format(format.NamesReply);
}

CString TLogFormatter::FormatErrorReply(int code, const CString& text) const
{
    TFormatter f;
    f.SetNumber('k', code);
    f.SetVariable('m', text);
    return f.Format(format.ErrorReply);
}

CString TLogFormatter::FormatDCCSendComplete(const CString& nick, const CString& file, long long size) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('f', file);
    f.SetNumber('s', size);
    return f.Format(format.DCCSendComplete);
}

CString TLogFormatter::FormatDCCSendFail(const CString& nick, const CString& file, long long size, long long sent,
                                         int percent, const CString& text) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('f', file);
    f.SetNumber('s', size);
    f.SetNumber('z', sent);
    f.SetNumber('x', percent);
    f.SetVariable('m', text);
    return f.Format(format.DCCSendFail);
}

CString TLogFormatter::FormatDCCReceiveComplete(const CString& nick, const CString& file, long long size) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('f', file);
    f.SetNumber('s', size);
    return f.Format(format.DCCReceiveComplete);
}

CString TLogFormatter::FormatDCCReceiveFail(const CString& nick, const CString& file, const CString& address, int port,
                                            long long size, long long received, int percent, const CString& text) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('f', file);
    f.SetVariable('a', address);
    f.SetNumber('p', port);
    f.SetNumber('s', size);
    f.SetNumber('z', received);
    f.SetNumber('x', percent);
    f.SetVariable('m', text);
    return f.Format(format.DCCReceiveFail);
}

CString TLogFormatter::FormatUnitTitle(const CString& nick, const CString& server, const CString& userModes) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('s', server);
    f.SetVariable('u', userModes);
    return f.Format(format.UnitTitle);
}

CString TLogFormatter::FormatChannelTitle(const CString& nick, const CString& server, const CString& channel,
                                          const CString& userModes, const CString& channelModes, const CString& topic,
                                          int members, const CString& ownPrefix) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('s', server);
    f.SetVariable('c', channel);
    f.SetVariable('u', userModes);
    f.SetVariable('m', channelModes);
    f.SetVariable('t', topic);
    f.SetNumber('x', members);
    f.SetVariable('@', ownPrefix);
    return f.Format(format.ChannelTitle);
}

CString TLogFormatter::FormatTalkTitle(const CString& nick, const CString& server, const CString& partner,
                                       const CString& userModes) const
{
    TFormatter f;
    f.SetVariable('n', nick);
    f.SetVariable('s', server);
    f.SetVariable('c', partner);
    f.SetVariable('u', userModes);
    return f.Format(format.TalkTitle);
}
