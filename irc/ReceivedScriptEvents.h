#pragma once
// The script events of received lines. The script manager implements them with a prefix object
// built from the message; until it does, a unit fires them into nothing.

#include "classlib/String.h"

class TIRCReceiveMessage;

class IReceivedScriptEvents {
public:
    virtual void FireOnNick(const TIRCReceiveMessage& prefix, const CString& newNick) = 0;
    virtual void FireOnQuit(const TIRCReceiveMessage& prefix, const CString& comment) = 0;
    virtual void FireOnJoin(const TIRCReceiveMessage& prefix, const CString& channel) = 0;
    virtual void FireOnPart(const TIRCReceiveMessage& prefix, const CString& channel, const CString& comment) = 0;
    virtual void FireOnMode(const TIRCReceiveMessage& prefix, const CString& target, const CString& modes) = 0;
    virtual void FireOnModeChange(const TIRCReceiveMessage& prefix, const CString& target, const CString& signLetter,
                                  const CString& param) = 0;
    virtual void FireOnTopic(const TIRCReceiveMessage& prefix, const CString& channel, const CString& topic) = 0;
    virtual void FireOnInvite(const TIRCReceiveMessage& prefix, const CString& channel) = 0;
    virtual void FireOnKick(const TIRCReceiveMessage& prefix, const CString& channel, const CString& target,
                            const CString& comment) = 0;
    // event: "ChannelText", "TalkText", "ChannelNotice", "TalkNotice", "ChannelAction" or "TalkAction".
    virtual void FireOnMessage(const wchar_t* event, const TIRCReceiveMessage& prefix, const CString& target,
                               const CString& text) = 0;
    virtual void FireOnNewTalk(const TIRCReceiveMessage& prefix, const CString& command, const CString& text) = 0;
    virtual void FireOnHighlight(const TIRCReceiveMessage& prefix, const CString& command, const CString& target,
                                 const CString& text) = 0;
    virtual void FireOnError(const CString& text) = 0;
    virtual void FireOnNumericReply(int number, const CString& text) = 0;

protected:
    ~IReceivedScriptEvents() = default;
};

class TNullReceivedScriptEvents : public IReceivedScriptEvents {
public:
    void FireOnNick(const TIRCReceiveMessage&, const CString&) override {}
    void FireOnQuit(const TIRCReceiveMessage&, const CString&) override {}
    void FireOnJoin(const TIRCReceiveMessage&, const CString&) override {}
    void FireOnPart(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnMode(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnModeChange(const TIRCReceiveMessage&, const CString&, const CString&, const CString&) override {}
    void FireOnTopic(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnInvite(const TIRCReceiveMessage&, const CString&) override {}
    void FireOnKick(const TIRCReceiveMessage&, const CString&, const CString&, const CString&) override {}
    void FireOnMessage(const wchar_t*, const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnNewTalk(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnHighlight(const TIRCReceiveMessage&, const CString&, const CString&, const CString&) override {}
    void FireOnError(const CString&) override {}
    void FireOnNumericReply(int, const CString&) override {}
};

// One shared instance for every unit without scripts.
IReceivedScriptEvents* GetNullReceivedScriptEvents();
