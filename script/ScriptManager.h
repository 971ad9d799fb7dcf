#pragma once
// The scripts of one server: loads the enabled files of the scripts folder, reloads those that
// changed, drops those no longer enabled, and fires the server's events into every loaded
// script in file-name order.

#include "irc/UnitServices.h"
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

class TScriptManager : public IUnitScriptEvents {
public:
    TScriptManager(IScriptServer* server, IScriptFrame* frame) : server(server), frame(frame) {}
    TScriptManager(const TScriptManager&) = delete;
    TScriptManager& operator=(const TScriptManager&) = delete;
    virtual ~TScriptManager();

    void LoadScripts(const std::vector<CString>& enabledFiles);
    void UnloadAll(bool fireUnload);
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
    void FireOnDccChatText(const CString& frameName, const CString& nick, const CString& text);
    void FireOnJoin(const TScriptSender& prefix, const CString& channel);
    void FireOnPart(const TScriptSender& prefix, const CString& channel, const CString& comment);
    void FireOnQuit(const TScriptSender& prefix, const CString& comment);
    void FireOnKick(const TScriptSender& prefix, const CString& channel, const CString& target, const CString& comment);
    void FireOnNick(const TScriptSender& prefix, const CString& newNick);
    void FireOnMode(const TScriptSender& prefix, const CString& channel, const CString& mode);
    void FireOnTopic(const TScriptSender& prefix, const CString& channel, const CString& topic);
    void FireOnInvite(const TScriptSender& prefix, const CString& channel);
    void FireOnError(const CString& message);
    void FireOnNumericReply(long number, const CString& msg);
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
    bool FireOnSendingCommand(const CString& command, const CString& param);

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
