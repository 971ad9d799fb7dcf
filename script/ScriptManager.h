#pragma once
// The scripts of one server: loads the enabled files of the scripts folder, reloads those that
// changed, drops those no longer enabled, and fires the server's events into every loaded
// script in file-name order.

#include "irc/UnitScripts.h"
#include "script/ScriptServer.h"

#include <oaidl.h>

#include <map>
#include <vector>

class TScriptHost;
class TScriptWindow;
class TScriptEventArgs;
class TScriptEventContext;

// The sender of a message as the engine parsed it.
struct TScriptSender {
    CString raw;
    CString nick;
    CString username;
    CString address;
};

class TScriptItem {
public:
    TScriptItem(const CString& name, TScriptHost* host, TScriptWindow* window, ULONGLONG size, ULONGLONG time)
        : name(name), host(host), window(window), size(size), time(time)
    {
    }
    TScriptItem(const TScriptItem&) = delete;
    TScriptItem& operator=(const TScriptItem&) = delete;
    virtual ~TScriptItem();

    CString name;
    TScriptHost* host;
    TScriptWindow* window;
    ULONGLONG size;
    ULONGLONG time; // last write, as a file time
};

class TScriptManager : public IUnitScripts {
public:
    TScriptManager(IScriptServer* server, IScriptFrame* frame) : server(server), frame(frame) {}
    TScriptManager(const TScriptManager&) = delete;
    TScriptManager& operator=(const TScriptManager&) = delete;
    virtual ~TScriptManager();

    void LoadScripts(const std::vector<CString>& enabledFiles) override;
    void UnloadAll(bool fireUnload) override;
    bool IsRunning() const override;
    std::vector<CString> GetLoadedNames() const;
    // Null when the script is not loaded.
    TScriptHost* FindHost(const CString& name) const;

    void FireOnConnect() override;
    void FireOnDisconnect() override;
    void FireOnChannelText(const TScriptSender& prefix, const CString& channel, const CString& text);
    void FireOnChannelNotice(const TScriptSender& prefix, const CString& channel, const CString& text);
    void FireOnChannelAction(const TScriptSender& prefix, const CString& channel, const CString& text);
    void FireOnTalkText(const TScriptSender& prefix, const CString& targetNick, const CString& text);
    void FireOnTalkNotice(const TScriptSender& prefix, const CString& targetNick, const CString& text);
    void FireOnTalkAction(const TScriptSender& prefix, const CString& targetNick, const CString& text);
    void FireOnDccChatText(const CString& frameName, const CString& nick, const CString& text) override;
    void FireOnJoin(const TScriptSender& prefix, const CString& channel);
    void FireOnPart(const TScriptSender& prefix, const CString& channel, const CString& comment);
    void FireOnQuit(const TScriptSender& prefix, const CString& comment);
    void FireOnKick(const TScriptSender& prefix, const CString& channel, const CString& target, const CString& comment);
    void FireOnNick(const TScriptSender& prefix, const CString& newNick);
    void FireOnMode(const TScriptSender& prefix, const CString& channel, const CString& mode);
    void FireOnTopic(const TScriptSender& prefix, const CString& channel, const CString& topic);
    void FireOnInvite(const TScriptSender& prefix, const CString& channel);
    void FireOnError(const CString& message) override;
    void FireOnNumericReply(int number, const CString& msg) override;
    void FireOnCtcp(const TScriptSender& prefix, const CString& target, const CString& command, const CString& param);
    void FireOnCtcpReply(const TScriptSender& prefix, const CString& target, const CString& command,
                         const CString& param);
    // The size reaches scripts whole, also above 4 GiB.
    void FireOnDccSend(const TScriptSender& prefix, const CString& target, const CString& fileName, ULONGLONG size,
                       const CString& address, long port);
    void FireOnDccChat(const TScriptSender& prefix, const CString& target, const CString& address, long port);
    void FireOnModeChange(const TScriptSender& prefix, const CString& channel, const CString& mode,
                          const CString& param);
    void FireOnHighlight(const TScriptSender& prefix, const CString& command, const CString& channel,
                         const CString& text);
    void FireOnNewTalk(const TScriptSender& prefix, const CString& command, const CString& text);
    // True when a script set handled; later scripts then do not see the command.
    bool FireOnSendingCommand(const CString& command, const CString& param) override;

    // The engine's events; the prefix object shows the message's sender.
    void FireOnNick(const TIRCReceiveMessage& prefix, const CString& newNick) override;
    void FireOnQuit(const TIRCReceiveMessage& prefix, const CString& comment) override;
    void FireOnJoin(const TIRCReceiveMessage& prefix, const CString& channel) override;
    void FireOnPart(const TIRCReceiveMessage& prefix, const CString& channel, const CString& comment) override;
    void FireOnMode(const TIRCReceiveMessage& prefix, const CString& target, const CString& modes) override;
    void FireOnModeChange(const TIRCReceiveMessage& prefix, const CString& target, const CString& signLetter,
                          const CString& param) override;
    void FireOnTopic(const TIRCReceiveMessage& prefix, const CString& channel, const CString& topic) override;
    void FireOnInvite(const TIRCReceiveMessage& prefix, const CString& channel) override;
    void FireOnKick(const TIRCReceiveMessage& prefix, const CString& channel, const CString& target,
                    const CString& comment) override;
    void FireOnMessage(const wchar_t* event, const TIRCReceiveMessage& prefix, const CString& target,
                       const CString& text) override;
    void FireOnNewTalk(const TIRCReceiveMessage& prefix, const CString& command, const CString& text) override;
    void FireOnHighlight(const TIRCReceiveMessage& prefix, const CString& command, const CString& target,
                         const CString& text) override;
    void FireOnChannelText(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) override;
    void FireOnChannelNotice(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) override;
    void FireOnChannelAction(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) override;
    void FireOnTalkText(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) override;
    void FireOnTalkNotice(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) override;
    void FireOnTalkAction(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) override;
    void FireOnCtcp(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                    const CString& argument) override;
    void FireOnCtcpReply(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                         const CString& argument) override;
    void FireOnDccSend(const TIRCReceiveMessage& prefix, const CString& target, const CString& file,
                       unsigned long long size, const CString& address, int port) override;
    void FireOnDccChat(const TIRCReceiveMessage& prefix, const CString& target, const CString& address,
                       int port) override;

private:
    TScriptItem* LoadScript(const CString& name);
    bool ReadFileStamp(const CString& name, ULONGLONG& size, ULONGLONG& time) const;
    // Walks the scripts in name order; a handler that unloads scripts ends nothing but theirs.
    void Fire(DISPID id, const TScriptEventArgs& args, const TScriptEventContext* context = nullptr);
    void FireWithPrefix(DISPID id, const TScriptSender& prefix, std::vector<CString> texts);
    bool IsLoaded(const TScriptHost* host) const;
    // A script unloaded from inside its own code is deleted once that code has returned.
    void DropItem(TScriptItem* item);
    void DeleteRetired();

    IScriptServer* server;
    IScriptFrame* frame;
    std::map<CString, TScriptItem*> items; // ordered by UTF-16 code units
    std::vector<TScriptItem*> retired;
};
