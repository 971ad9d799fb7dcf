#include "settings/LogFormat.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/IniExchange.h"

namespace {

struct TFormatKey {
    const wchar_t* key;
    CString TLogFormat::*text;
    bool TLogFormat::*flag;
    const wchar_t* defaultText;
    UINT defaultTextId;
    bool defaultFlag;
};

// In stored order, which is not the declaration order for the place prefixes; the spelling of
// the inviting switches is what existing files hold.
const TFormatKey kFormatKeys[] = {
    {L"UnitTitle", &TLogFormat::UnitTitle, nullptr, nullptr, IDS_FORMAT_UNIT_TITLE, false},
    {L"ChannelTitle", &TLogFormat::ChannelTitle, nullptr, nullptr, IDS_FORMAT_CHANNEL_TITLE, false},
    {L"TalkTitle", &TLogFormat::TalkTitle, nullptr, nullptr, IDS_FORMAT_TALK_TITLE, false},
    {L"DCCChatTitle", &TLogFormat::DCCChatTitle, nullptr, nullptr, IDS_FORMAT_DCCCHAT_TITLE, false},
    {L"EnableTime", nullptr, &TLogFormat::EnableTime, nullptr, 0, true},
    {L"Time", &TLogFormat::Time, nullptr, L"%H:%M ", 0, false},
    {L"UnitChannel", &TLogFormat::UnitChannel, nullptr, L"<%s:%c> ", 0, false},
    {L"Unit", &TLogFormat::Unit, nullptr, L"<%s> ", 0, false},
    {L"Channel", &TLogFormat::Channel, nullptr, L"<%c> ", 0, false},
    {L"PreNick", &TLogFormat::PreNick, nullptr, L"(%n) ", 0, false},
    {L"EnableChannelInChannelLog", nullptr, &TLogFormat::EnableChannelInChannelLog, nullptr, 0, false},
    {L"EnablePrivmsgConsole", nullptr, &TLogFormat::EnablePrivmsgConsole, nullptr, 0, true},
    {L"EnableNoticeChannel", nullptr, &TLogFormat::EnableNoticeChannel, nullptr, 0, true},
    {L"EnableNoticeConsole", nullptr, &TLogFormat::EnableNoticeConsole, nullptr, 0, true},
    {L"EnableActionChannel", nullptr, &TLogFormat::EnableActionChannel, nullptr, 0, true},
    {L"EnableActionConsole", nullptr, &TLogFormat::EnableActionConsole, nullptr, 0, true},
    {L"EnableReplyChannel", nullptr, &TLogFormat::EnableReplyChannel, nullptr, 0, true},
    {L"EnableReplyConsole", nullptr, &TLogFormat::EnableReplyConsole, nullptr, 0, true},
    {L"EnableJoinConsole", nullptr, &TLogFormat::EnableJoinConsole, nullptr, 0, true},
    {L"EnableJoinChannel", nullptr, &TLogFormat::EnableJoinChannel, nullptr, 0, true},
    {L"EnablePartConsole", nullptr, &TLogFormat::EnablePartConsole, nullptr, 0, true},
    {L"EnablePartChannel", nullptr, &TLogFormat::EnablePartChannel, nullptr, 0, true},
    {L"EnableNickConsole", nullptr, &TLogFormat::EnableNickConsole, nullptr, 0, true},
    {L"EnableNickChannel", nullptr, &TLogFormat::EnableNickChannel, nullptr, 0, true},
    {L"EnableKickConsole", nullptr, &TLogFormat::EnableKickConsole, nullptr, 0, true},
    {L"EnableKickChannel", nullptr, &TLogFormat::EnableKickChannel, nullptr, 0, true},
    {L"EnableModeConsole", nullptr, &TLogFormat::EnableModeConsole, nullptr, 0, true},
    {L"EnableModeChannel", nullptr, &TLogFormat::EnableModeChannel, nullptr, 0, true},
    {L"EnableUserModeConsole", nullptr, &TLogFormat::EnableUserModeConsole, nullptr, 0, true},
    {L"EnableUserModeChannel", nullptr, &TLogFormat::EnableUserModeChannel, nullptr, 0, true},
    {L"EnableQuitConsole", nullptr, &TLogFormat::EnableQuitConsole, nullptr, 0, true},
    {L"EnableQuitChannel", nullptr, &TLogFormat::EnableQuitChannel, nullptr, 0, true},
    {L"EnableInviteingConsole", nullptr, &TLogFormat::EnableInviteingConsole, nullptr, 0, true},
    {L"EnableInviteingChannel", nullptr, &TLogFormat::EnableInviteingChannel, nullptr, 0, true},
    {L"EnableInviteConsole", nullptr, &TLogFormat::EnableInviteConsole, nullptr, 0, true},
    {L"EnableInviteChannel", nullptr, &TLogFormat::EnableInviteChannel, nullptr, 0, true},
    {L"EnableTopicConsole", nullptr, &TLogFormat::EnableTopicConsole, nullptr, 0, true},
    {L"EnableTopicChannel", nullptr, &TLogFormat::EnableTopicChannel, nullptr, 0, true},
    {L"EnableCTCPQueryConsole", nullptr, &TLogFormat::EnableCTCPQueryConsole, nullptr, 0, true},
    {L"EnableCTCPQueryChannel", nullptr, &TLogFormat::EnableCTCPQueryChannel, nullptr, 0, true},
    {L"EnableCTCPReplyConsole", nullptr, &TLogFormat::EnableCTCPReplyConsole, nullptr, 0, true},
    {L"EnableCTCPReplyChannel", nullptr, &TLogFormat::EnableCTCPReplyChannel, nullptr, 0, true},
    {L"EnableDCCSendConsole", nullptr, &TLogFormat::EnableDCCSendConsole, nullptr, 0, true},
    {L"EnableDCCSendChannel", nullptr, &TLogFormat::EnableDCCSendChannel, nullptr, 0, true},
    {L"EnableDCCChatConsole", nullptr, &TLogFormat::EnableDCCChatConsole, nullptr, 0, true},
    {L"EnableDCCChatChannel", nullptr, &TLogFormat::EnableDCCChatChannel, nullptr, 0, true},
    {L"EnableDCCResumeConsole", nullptr, &TLogFormat::EnableDCCResumeConsole, nullptr, 0, true},
    {L"EnableDCCResumeChannel", nullptr, &TLogFormat::EnableDCCResumeChannel, nullptr, 0, true},
    {L"EnableDCCAcceptConsole", nullptr, &TLogFormat::EnableDCCAcceptConsole, nullptr, 0, true},
    {L"EnableDCCAcceptChannel", nullptr, &TLogFormat::EnableDCCAcceptChannel, nullptr, 0, true},
    {L"EnableErrorConsole", nullptr, &TLogFormat::EnableErrorConsole, nullptr, 0, true},
    {L"EnableErrorChannel", nullptr, &TLogFormat::EnableErrorChannel, nullptr, 0, true},
    {L"EnableModeReplyConsole", nullptr, &TLogFormat::EnableModeReplyConsole, nullptr, 0, true},
    {L"EnableModeReplyChannel", nullptr, &TLogFormat::EnableModeReplyChannel, nullptr, 0, true},
    {L"EnableTopicReplyConsole", nullptr, &TLogFormat::EnableTopicReplyConsole, nullptr, 0, true},
    {L"EnableTopicReplyChannel", nullptr, &TLogFormat::EnableTopicReplyChannel, nullptr, 0, true},
    {L"EnableNamesReplyConsole", nullptr, &TLogFormat::EnableNamesReplyConsole, nullptr, 0, true},
    {L"EnableNamesReplyChannel", nullptr, &TLogFormat::EnableNamesReplyChannel, nullptr, 0, true},
    {L"EnableAwayReplyConsole", nullptr, &TLogFormat::EnableAwayReplyConsole, nullptr, 0, true},
    {L"EnableAwayReplyChannel", nullptr, &TLogFormat::EnableAwayReplyChannel, nullptr, 0, true},
    {L"EnableErrorReplyConsole", nullptr, &TLogFormat::EnableErrorReplyConsole, nullptr, 0, true},
    {L"EnableErrorReplyChannel", nullptr, &TLogFormat::EnableErrorReplyChannel, nullptr, 0, true},
    {L"EnableDCCSendCompleteConsole", nullptr, &TLogFormat::EnableDCCSendCompleteConsole, nullptr, 0, true},
    {L"EnableDCCSendCompleteChannel", nullptr, &TLogFormat::EnableDCCSendCompleteChannel, nullptr, 0, true},
    {L"EnableDCCSendFailConsole", nullptr, &TLogFormat::EnableDCCSendFailConsole, nullptr, 0, true},
    {L"EnableDCCSendFailChannel", nullptr, &TLogFormat::EnableDCCSendFailChannel, nullptr, 0, true},
    {L"EnableDCCReceiveCompleteConsole", nullptr, &TLogFormat::EnableDCCReceiveCompleteConsole, nullptr, 0, true},
    {L"EnableDCCReceiveCompleteChannel", nullptr, &TLogFormat::EnableDCCReceiveCompleteChannel, nullptr, 0, true},
    {L"EnableDCCReceiveFailConsole", nullptr, &TLogFormat::EnableDCCReceiveFailConsole, nullptr, 0, true},
    {L"EnableDCCReceiveFailChannel", nullptr, &TLogFormat::EnableDCCReceiveFailChannel, nullptr, 0, true},
    {L"Join", &TLogFormat::Join, nullptr, L"*%n join %c (%u@%h)", 0, false},
    {L"Part", &TLogFormat::Part, nullptr, L"*%n part (%m)", 0, false},
    {L"Nick", &TLogFormat::Nick, nullptr, nullptr, IDS_FORMAT_NICK, false},
    {L"Kick", &TLogFormat::Kick, nullptr, L"*%n kick %t (%m)", 0, false},
    {L"Mode", &TLogFormat::Mode, nullptr, L"*%n mode %m", 0, false},
    {L"UserMode", &TLogFormat::UserMode, nullptr, L"*%n mode %m", 0, false},
    {L"Quit", &TLogFormat::Quit, nullptr, L"*%n quit (%m)", 0, false},
    {L"Inviting", &TLogFormat::Inviting, nullptr, L"*inviting %n to %c", 0, false},
    {L"Invite", &TLogFormat::Invite, nullptr, L"*%n invite you to %c", 0, false},
    {L"Topic", &TLogFormat::Topic, nullptr, L"*%n topic : %m", 0, false},
    {L"CTCPQuery", &TLogFormat::CTCPQuery, nullptr, L"*CTCP-query(%k) from %n", 0, false},
    {L"CTCPReply", &TLogFormat::CTCPReply, nullptr, L"*CTCP-reply(%k) from %n : %m", 0, false},
    {L"DCCSend", &TLogFormat::DCCSend, nullptr, L"*DCC(SEND) from %n : %f %a:%p %s", 0, false},
    {L"DCCChat", &TLogFormat::DCCChat, nullptr, L"*DCC(CHAT) from %n : %a:%p", 0, false},
    {L"DCCResume", &TLogFormat::DCCResume, nullptr, L"*DCC(RESUME) from %n : port=%p size=%s", 0, false},
    {L"DCCAccept", &TLogFormat::DCCAccept, nullptr, L"*DCC(ACCEPT) from %n : port=%p size=%s", 0, false},
    {L"Error", &TLogFormat::Error, nullptr, L"*ERROR %m", 0, false},
    {L"ModeReply", &TLogFormat::ModeReply, nullptr, L"*mode %m", 0, false},
    {L"TopicReply", &TLogFormat::TopicReply, nullptr, L"*topic : %m", 0, false},
    {L"NamesReply", &TLogFormat::NamesReply, nullptr, L"*names : %m", 0, false},
    {L"AwayReply", &TLogFormat::AwayReply, nullptr, L"*%n is away (%m)", 0, false},
    {L"ErrorReply", &TLogFormat::ErrorReply, nullptr, L"*Error(%k) %m", 0, false},
    {L"DCCSendComplete", &TLogFormat::DCCSendComplete, nullptr, nullptr, IDS_FORMAT_DCC_SEND_COMPLETE, false},
    {L"DCCSendFail", &TLogFormat::DCCSendFail, nullptr, nullptr, IDS_FORMAT_DCC_SEND_FAIL, false},
    {L"DCCReceiveComplete", &TLogFormat::DCCReceiveComplete, nullptr, nullptr, IDS_FORMAT_DCC_RECEIVE_COMPLETE, false},
    {L"DCCReceiveFail", &TLogFormat::DCCReceiveFail, nullptr, nullptr, IDS_FORMAT_DCC_RECEIVE_FAIL, false},
};

} // namespace

void TLogFormat::SetDefaults()
{
    for (const TFormatKey& entry : kFormatKeys) {
        if (entry.text)
            this->*entry.text =
                entry.defaultText ? CString(entry.defaultText) : LoadResourceString(entry.defaultTextId);
        else
            this->*entry.flag = entry.defaultFlag;
    }
}

void TLogFormat::Exchange(TIniExchange& io)
{
    io.Section(L"Format");
    for (const TFormatKey& entry : kFormatKeys) {
        if (entry.text)
            io.String(entry.key, this->*entry.text);
        else
            io.Bool(entry.key, this->*entry.flag);
    }
}
