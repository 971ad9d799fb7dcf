// The fire operations of the script manager, one per event.

#include "script/ScriptEventArgs.h"
#include "script/ScriptHost.h"
#include "script/ScriptManager.h"
#include "script/ScriptObjects.h"

void TScriptManager::FireOnConnect() { Fire(EventOnConnect, TScriptEventArgs()); }

void TScriptManager::FireOnDisconnect() { Fire(EventOnDisconnect, TScriptEventArgs()); }

void TScriptManager::FireOnChannelText(const TScriptSender& prefix, const CString& channel, const CString& text)
{
    FireWithPrefix(EventOnChannelText, prefix, {channel, text});
}

void TScriptManager::FireOnChannelNotice(const TScriptSender& prefix, const CString& channel, const CString& text)
{
    FireWithPrefix(EventOnChannelNotice, prefix, {channel, text});
}

void TScriptManager::FireOnChannelAction(const TScriptSender& prefix, const CString& channel, const CString& text)
{
    FireWithPrefix(EventOnChannelAction, prefix, {channel, text});
}

void TScriptManager::FireOnTalkText(const TScriptSender& prefix, const CString& targetNick, const CString& text)
{
    FireWithPrefix(EventOnTalkText, prefix, {targetNick, text});
}

void TScriptManager::FireOnTalkNotice(const TScriptSender& prefix, const CString& targetNick, const CString& text)
{
    FireWithPrefix(EventOnTalkNotice, prefix, {targetNick, text});
}

void TScriptManager::FireOnTalkAction(const TScriptSender& prefix, const CString& targetNick, const CString& text)
{
    FireWithPrefix(EventOnTalkAction, prefix, {targetNick, text});
}

void TScriptManager::FireOnDccChatText(const CString& frameName, const CString& nick, const CString& text)
{
    TScriptEventArgs args;
    Fire(EventOnDccChatText, args.Text(frameName).Text(nick).Text(text));
}

void TScriptManager::FireOnJoin(const TScriptSender& prefix, const CString& channel)
{
    FireWithPrefix(EventOnJoin, prefix, {channel});
}

void TScriptManager::FireOnPart(const TScriptSender& prefix, const CString& channel, const CString& comment)
{
    FireWithPrefix(EventOnPart, prefix, {channel, comment});
}

void TScriptManager::FireOnQuit(const TScriptSender& prefix, const CString& comment)
{
    FireWithPrefix(EventOnQuit, prefix, {comment});
}

void TScriptManager::FireOnKick(const TScriptSender& prefix, const CString& channel, const CString& target,
                                const CString& comment)
{
    FireWithPrefix(EventOnKick, prefix, {channel, target, comment});
}

void TScriptManager::FireOnNick(const TScriptSender& prefix, const CString& newNick)
{
    FireWithPrefix(EventOnNick, prefix, {newNick});
}

void TScriptManager::FireOnMode(const TScriptSender& prefix, const CString& channel, const CString& mode)
{
    FireWithPrefix(EventOnMode, prefix, {channel, mode});
}

void TScriptManager::FireOnTopic(const TScriptSender& prefix, const CString& channel, const CString& topic)
{
    FireWithPrefix(EventOnTopic, prefix, {channel, topic});
}

void TScriptManager::FireOnInvite(const TScriptSender& prefix, const CString& channel)
{
    FireWithPrefix(EventOnInvite, prefix, {channel});
}

void TScriptManager::FireOnError(const CString& message)
{
    TScriptEventArgs args;
    Fire(EventOnError, args.Text(message));
}

void TScriptManager::FireOnNumericReply(int number, const CString& msg)
{
    TScriptEventArgs args;
    Fire(EventOnNumericReply, args.Long(number).Text(msg));
}

void TScriptManager::FireOnCtcp(const TScriptSender& prefix, const CString& target, const CString& command,
                                const CString& param)
{
    FireWithPrefix(EventOnCtcp, prefix, {target, command, param});
}

void TScriptManager::FireOnCtcpReply(const TScriptSender& prefix, const CString& target, const CString& command,
                                     const CString& param)
{
    FireWithPrefix(EventOnCtcpReply, prefix, {target, command, param});
}

void TScriptManager::FireOnDccSend(const TScriptSender& prefix, const CString& target, const CString& fileName,
                                   ULONGLONG size, const CString& address, long port)
{
    TScriptPrefix* object = new TScriptPrefix(prefix.raw, prefix.nick, prefix.username, prefix.address);
    TScriptEventArgs args;
    // A double holds every size exactly up to 2^53 bytes; a 32-bit number would cut at 4 GiB.
    args.Object(object).Text(target).Text(fileName).Double((double)size).Text(address).Long(port);
    Fire(EventOnDccSend, args);
    object->Release();
}

void TScriptManager::FireOnDccChat(const TScriptSender& prefix, const CString& target, const CString& address,
                                   long port)
{
    TScriptPrefix* object = new TScriptPrefix(prefix.raw, prefix.nick, prefix.username, prefix.address);
    TScriptEventArgs args;
    args.Object(object).Text(target).Text(address).Long(port);
    Fire(EventOnDccChat, args);
    object->Release();
}

void TScriptManager::FireOnModeChange(const TScriptSender& prefix, const CString& channel, const CString& mode,
                                      const CString& param)
{
    FireWithPrefix(EventOnModeChange, prefix, {channel, mode, param});
}

void TScriptManager::FireOnHighlight(const TScriptSender& prefix, const CString& command, const CString& channel,
                                     const CString& text)
{
    FireWithPrefix(EventOnHighlight, prefix, {command, channel, text});
}

void TScriptManager::FireOnNewTalk(const TScriptSender& prefix, const CString& command, const CString& text)
{
    FireWithPrefix(EventOnNewTalk, prefix, {command, text});
}

bool TScriptManager::FireOnSendingCommand(const CString& command, const CString& param)
{
    TScriptEventContext* context = new TScriptEventContext;
    TScriptEventArgs args;
    args.Text(command).Text(param).Object(context);
    Fire(EventOnSendingCommand, args, context);
    bool handled = context->IsHandled();
    context->Release();
    return handled;
}
