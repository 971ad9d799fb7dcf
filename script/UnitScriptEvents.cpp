// The engine's side of the script manager: each event as the unit fires it, with the message's
// sender turned into the prefix the scripts see.

#include "ircproto/ReceiveMessage.h"
#include "script/ScriptManager.h"

#include <cwchar>

namespace {

TScriptSender SenderOf(const TIRCReceiveMessage& message)
{
    return TScriptSender{message.prefix, message.nick, message.user, message.host};
}

} // namespace

void TScriptManager::FireOnNick(const TIRCReceiveMessage& prefix, const CString& newNick)
{
    FireOnNick(SenderOf(prefix), newNick);
}

void TScriptManager::FireOnQuit(const TIRCReceiveMessage& prefix, const CString& comment)
{
    FireOnQuit(SenderOf(prefix), comment);
}

void TScriptManager::FireOnJoin(const TIRCReceiveMessage& prefix, const CString& channel)
{
    FireOnJoin(SenderOf(prefix), channel);
}

void TScriptManager::FireOnPart(const TIRCReceiveMessage& prefix, const CString& channel, const CString& comment)
{
    FireOnPart(SenderOf(prefix), channel, comment);
}

void TScriptManager::FireOnMode(const TIRCReceiveMessage& prefix, const CString& target, const CString& modes)
{
    FireOnMode(SenderOf(prefix), target, modes);
}

void TScriptManager::FireOnModeChange(const TIRCReceiveMessage& prefix, const CString& target,
                                      const CString& signLetter, const CString& param)
{
    FireOnModeChange(SenderOf(prefix), target, signLetter, param);
}

void TScriptManager::FireOnTopic(const TIRCReceiveMessage& prefix, const CString& channel, const CString& topic)
{
    FireOnTopic(SenderOf(prefix), channel, topic);
}

void TScriptManager::FireOnInvite(const TIRCReceiveMessage& prefix, const CString& channel)
{
    FireOnInvite(SenderOf(prefix), channel);
}

void TScriptManager::FireOnKick(const TIRCReceiveMessage& prefix, const CString& channel, const CString& target,
                                const CString& comment)
{
    FireOnKick(SenderOf(prefix), channel, target, comment);
}

void TScriptManager::FireOnMessage(const wchar_t* event, const TIRCReceiveMessage& prefix, const CString& target,
                                   const CString& text)
{
    typedef void (TScriptManager::*TFire)(const TScriptSender&, const CString&, const CString&);
    static const struct {
        const wchar_t* name;
        TFire fire;
    } kEvents[] = {
        {L"ChannelText", &TScriptManager::FireOnChannelText},     {L"TalkText", &TScriptManager::FireOnTalkText},
        {L"ChannelNotice", &TScriptManager::FireOnChannelNotice}, {L"TalkNotice", &TScriptManager::FireOnTalkNotice},
        {L"ChannelAction", &TScriptManager::FireOnChannelAction}, {L"TalkAction", &TScriptManager::FireOnTalkAction},
    };
    for (const auto& row : kEvents)
        if (wcscmp(row.name, event) == 0)
            return (this->*row.fire)(SenderOf(prefix), target, text);
}

void TScriptManager::FireOnNewTalk(const TIRCReceiveMessage& prefix, const CString& command, const CString& text)
{
    FireOnNewTalk(SenderOf(prefix), command, text);
}

void TScriptManager::FireOnHighlight(const TIRCReceiveMessage& prefix, const CString& command, const CString& target,
                                     const CString& text)
{
    FireOnHighlight(SenderOf(prefix), command, target, text);
}

void TScriptManager::FireOnChannelText(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text)
{
    FireOnChannelText(SenderOf(prefix), channel, text);
}

void TScriptManager::FireOnChannelNotice(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text)
{
    FireOnChannelNotice(SenderOf(prefix), channel, text);
}

void TScriptManager::FireOnChannelAction(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text)
{
    FireOnChannelAction(SenderOf(prefix), channel, text);
}

void TScriptManager::FireOnTalkText(const TIRCReceiveMessage& prefix, const CString& target, const CString& text)
{
    FireOnTalkText(SenderOf(prefix), target, text);
}

void TScriptManager::FireOnTalkNotice(const TIRCReceiveMessage& prefix, const CString& target, const CString& text)
{
    FireOnTalkNotice(SenderOf(prefix), target, text);
}

void TScriptManager::FireOnTalkAction(const TIRCReceiveMessage& prefix, const CString& target, const CString& text)
{
    FireOnTalkAction(SenderOf(prefix), target, text);
}

void TScriptManager::FireOnCtcp(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                                const CString& argument)
{
    FireOnCtcp(SenderOf(prefix), target, command, argument);
}

void TScriptManager::FireOnCtcpReply(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                                     const CString& argument)
{
    FireOnCtcpReply(SenderOf(prefix), target, command, argument);
}

void TScriptManager::FireOnDccSend(const TIRCReceiveMessage& prefix, const CString& target, const CString& file,
                                   unsigned long long size, const CString& address, int port)
{
    FireOnDccSend(SenderOf(prefix), target, file, (ULONGLONG)size, address, (long)port);
}

void TScriptManager::FireOnDccChat(const TIRCReceiveMessage& prefix, const CString& target, const CString& address,
                                   int port)
{
    FireOnDccChat(SenderOf(prefix), target, address, (long)port);
}
