#pragma once
// The log's message formats: window titles, time stamp, prefixes, display switches and event
// templates, kept in the "Format" section of view files.

#include "classlib/String.h"

class TIniExchange;

class TLogFormat {
public:
    TLogFormat() = default;
    virtual ~TLogFormat() = default;

    void SetDefaults();
    // The "Format" section: keys missing from it keep the fields as they are; a save writes
    // every key, defaults included.
    void Exchange(TIniExchange& io);

    // Field names are the stored keys.
    CString UnitTitle;
    CString ChannelTitle;
    CString TalkTitle;
    CString DCCChatTitle;
    bool EnableTime = false;
    CString Time;
    CString Unit;
    CString Channel;
    CString UnitChannel;
    CString PreNick;
    bool EnableChannelInChannelLog = false;
    bool EnablePrivmsgConsole = false;
    bool EnableNoticeChannel = false;
    bool EnableNoticeConsole = false;
    bool EnableActionChannel = false;
    bool EnableActionConsole = false;
    bool EnableReplyChannel = false;
    bool EnableReplyConsole = false;
    bool EnableJoinConsole = false;
    bool EnableJoinChannel = false;
    bool EnablePartConsole = false;
    bool EnablePartChannel = false;
    bool EnableNickConsole = false;
    bool EnableNickChannel = false;
    bool EnableKickConsole = false;
    bool EnableKickChannel = false;
    bool EnableModeConsole = false;
    bool EnableModeChannel = false;
    bool EnableUserModeConsole = false;
    bool EnableUserModeChannel = false;
    bool EnableQuitConsole = false;
    bool EnableQuitChannel = false;
    bool EnableInviteingConsole = false;
    bool EnableInviteingChannel = false;
    bool EnableInviteConsole = false;
    bool EnableInviteChannel = false;
    bool EnableTopicConsole = false;
    bool EnableTopicChannel = false;
    bool EnableCTCPQueryConsole = false;
    bool EnableCTCPQueryChannel = false;
    bool EnableCTCPReplyConsole = false;
    bool EnableCTCPReplyChannel = false;
    bool EnableDCCSendConsole = false;
    bool EnableDCCSendChannel = false;
    bool EnableDCCChatConsole = false;
    bool EnableDCCChatChannel = false;
    bool EnableDCCResumeConsole = false;
    bool EnableDCCResumeChannel = false;
    bool EnableDCCAcceptConsole = false;
    bool EnableDCCAcceptChannel = false;
    bool EnableErrorConsole = false;
    bool EnableErrorChannel = false;
    bool EnableModeReplyConsole = false;
    bool EnableModeReplyChannel = false;
    bool EnableTopicReplyConsole = false;
    bool EnableTopicReplyChannel = false;
    bool EnableNamesReplyConsole = false;
    bool EnableNamesReplyChannel = false;
    bool EnableAwayReplyConsole = false;
    bool EnableAwayReplyChannel = false;
    bool EnableErrorReplyConsole = false;
    bool EnableErrorReplyChannel = false;
    bool EnableDCCSendCompleteConsole = false;
    bool EnableDCCSendCompleteChannel = false;
    bool EnableDCCSendFailConsole = false;
    bool EnableDCCSendFailChannel = false;
    bool EnableDCCReceiveCompleteConsole = false;
    bool EnableDCCReceiveCompleteChannel = false;
    bool EnableDCCReceiveFailConsole = false;
    bool EnableDCCReceiveFailChannel = false;
    CString Join;
    CString Part;
    CString Nick;
    CString Kick;
    CString Mode;
    CString UserMode;
    CString Quit;
    CString Inviting;
    CString Invite;
    CString Topic;
    CString CTCPQuery;
    CString CTCPReply;
    CString DCCSend;
    CString DCCChat;
    CString DCCResume;
    CString DCCAccept;
    CString Error;
    CString ModeReply;
    CString TopicReply;
    CString NamesReply;
    CString AwayReply;
    CString ErrorReply;
    CString DCCSendComplete;
    CString DCCSendFail;
    CString DCCReceiveComplete;
    CString DCCReceiveFail;
};
