#pragma once
// Turns the values of one IRC event into log text with the templates of a TLogFormat: the time
// stamp, place and speaker prefixes, one body per event kind and the window titles. The record
// is only read, at each call, so a changed setting applies to the next line.

#include "classlib/String.h"
#include "log/Formatter.h"
#include "settings/LogFormat.h"

#include <ctime>

class TIRCReceiveMessage;

class TLogFormatter {
public:
    explicit TLogFormatter(const TLogFormat& format) : format(format) {}
    virtual ~TLogFormatter() = default;

    // Empty when time stamps are off.
    CString FormatTime() const;
    CString FormatTimeAt(time_t when) const;
    CString FormatUnitPrefix(const CString& server) const;
    CString FormatChannelPrefix(const CString& channel) const;
    CString FormatUnitChannelPrefix(const CString& server, const CString& channel) const;
    CString FormatNickPrefix(const CString& nick) const;

    CString FormatJoin(const TIRCReceiveMessage& msg, const CString& channel) const;
    CString FormatPart(const TIRCReceiveMessage& msg, const CString& channel, const CString& text) const;
    CString FormatNick(const TIRCReceiveMessage& msg, const CString& newNick) const;
    // Fixed text, not a setting.
    CString FormatKill(const TIRCReceiveMessage& msg, const CString& killed, const CString& reason) const;
    CString FormatKick(const TIRCReceiveMessage& msg, const CString& channel, const CString& kicked,
                       const CString& reason) const;
    CString FormatMode(const TIRCReceiveMessage& msg, const CString& channel, const CString& modes) const;
    CString FormatUserMode(const CString& nick, const CString& modes) const;
    CString FormatQuit(const TIRCReceiveMessage& msg, const CString& text) const;
    CString FormatInviting(const CString& nick, const CString& channel) const;
    CString FormatInvite(const TIRCReceiveMessage& msg, const CString& channel) const;
    CString FormatTopic(const TIRCReceiveMessage& msg, const CString& channel, const CString& topic) const;
    CString FormatCTCPQuery(const TIRCReceiveMessage& msg, const CString& command) const;
    CString FormatCTCPReply(const TIRCReceiveMessage& msg, const CString& command, const CString& text) const;
    CString FormatDCCSend(const TIRCReceiveMessage& msg, const CString& file, const CString& address, int port,
                          long long size) const;
    CString FormatDCCChat(const TIRCReceiveMessage& msg, const CString& address, int port) const;
    CString FormatDCCResume(const TIRCReceiveMessage& msg, int port, long long position) const;
    CString FormatDCCAccept(const TIRCReceiveMessage& msg, int port, long long position) const;
    CString FormatError(const TIRCReceiveMessage& msg, const CString& text) const;
    CString FormatModeReply(const CString& channel, const CString& modes) const;
    CString FormatTopicReply(const CString& channel, const CString& topic) const;
    CString FormatAwayReply(const CString& nick, const CString& text) const;
    CString FormatNamesReply(const CString& channel, const CString& names) const;
    CString FormatErrorReply(int code, const CString& text) const;
    CString FormatDCCSendComplete(const CString& nick, const CString& file, long long size) const;
    CString FormatDCCSendFail(const CString& nick, const CString& file, long long size, long long sent, int percent,
                              const CString& text) const;
    CString FormatDCCReceiveComplete(const CString& nick, const CString& file, long long size) const;
    CString FormatDCCReceiveFail(const CString& nick, const CString& file, const CString& address, int port,
                                 long long size, long long received, int percent, const CString& text) const;

    CString FormatUnitTitle(const CString& nick, const CString& server, const CString& userModes) const;
    CString FormatChannelTitle(const CString& nick, const CString& server, const CString& channel,
                               const CString& userModes, const CString& channelModes, const CString& topic, int members,
                               const CString& ownPrefix) const;
    CString FormatTalkTitle(const CString& nick, const CString& server, const CString& partner,
                            const CString& userModes) const;

private:
    // The template with the letters bound, and the sender's nick, user and host (n, u, h) first.
    static CString Expand(const CString& pattern, std::initializer_list<TFormatterLetter> letters,
                          const TIRCReceiveMessage* sender = nullptr);

    const TLogFormat& format;
};

// The display switches: whether a line of that event kind goes to the console log, or to the
// log of the node it belongs to. Kinds without a switch are always shown.
bool IsConsoleEventEnabled(const TLogFormat& format, int eventKind);
bool IsChannelEventEnabled(const TLogFormat& format, int eventKind);
