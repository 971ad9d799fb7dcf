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
    return Expand(format.ModeReply, {{'c', channel}, {'m', modes}});
}

CString TLogFormatter::FormatTopicReply(const CString& channel, const CString& topic) const
{
    return Expand(format.TopicReply, {{'c', channel}, {'m', topic}});
}

CString TLogFormatter::FormatAwayReply(const CString& nick, const CString& text) const
{
    return Expand(format.AwayReply, {{'n', nick}, {'m', text}});
}

CString TLogFormatter::FormatNamesReply(const CString& channel, const CString& names) const
{
    return Expand(format.NamesReply, {{'c', channel}, {'m', names}});
}

CString TLogFormatter::FormatErrorReply(int code, const CString& text) const
{
    return Expand(format.ErrorReply, {{'k', DecimalText(code)}, {'m', text}});
}

CString TLogFormatter::FormatDCCSendComplete(const CString& nick, const CString& file, long long size) const
{
    return Expand(format.DCCSendComplete, {{'n', nick}, {'f', file}, {'s', DecimalText(size)}});
}

CString TLogFormatter::FormatDCCSendFail(const CString& nick, const CString& file, long long size, long long sent,
                                         int percent, const CString& text) const
{
    return Expand(format.DCCSendFail, {{'n', nick},
                                       {'f', file},
                                       {'s', DecimalText(size)},
                                       {'z', DecimalText(sent)},
                                       {'x', DecimalText(percent)},
                                       {'m', text}});
}

CString TLogFormatter::FormatDCCReceiveComplete(const CString& nick, const CString& file, long long size) const
{
    return Expand(format.DCCReceiveComplete, {{'n', nick}, {'f', file}, {'s', DecimalText(size)}});
}

CString TLogFormatter::FormatDCCReceiveFail(const CString& nick, const CString& file, const CString& address, int port,
                                            long long size, long long received, int percent, const CString& text) const
{
    return Expand(format.DCCReceiveFail, {{'n', nick},
                                          {'f', file},
                                          {'a', address},
                                          {'p', DecimalText(port)},
                                          {'s', DecimalText(size)},
                                          {'z', DecimalText(received)},
                                          {'x', DecimalText(percent)},
                                          {'m', text}});
}

CString TLogFormatter::FormatUnitTitle(const CString& nick, const CString& server, const CString& userModes) const
{
    return Expand(format.UnitTitle, {{'n', nick}, {'s', server}, {'u', userModes}});
}

CString TLogFormatter::FormatChannelTitle(const CString& nick, const CString& server, const CString& channel,
                                          const CString& userModes, const CString& channelModes, const CString& topic,
                                          int members, const CString& ownPrefix) const
{
    return Expand(format.ChannelTitle, {{'n', nick},
                                        {'s', server},
                                        {'c', channel},
                                        {'u', userModes},
                                        {'m', channelModes},
                                        {'t', topic},
                                        {'x', DecimalText(members)},
                                        {'@', ownPrefix}});
}

CString TLogFormatter::FormatTalkTitle(const CString& nick, const CString& server, const CString& partner,
                                       const CString& userModes) const
{
    return Expand(format.TalkTitle, {{'n', nick}, {'s', server}, {'c', partner}, {'u', userModes}});
}
