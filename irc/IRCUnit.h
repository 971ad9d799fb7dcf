#pragma once
// One session with one IRC server: its settings, connection, channels and talks. The sources
// are split by concern: lifetime and channels, registration, dispatch, numerics, sending,
// output and the per-second tick.

#include "irc/ChannelWindows.h"
#include "irc/IRCChannel.h"
#include "irc/IRCConnection.h"
#include "irc/IRCUnitSession.h"
#include "irc/NickRequest.h"
#include "irc/ReceivedScriptEvents.h"
#include "irc/RejoinManager.h"
#include "irc/UnitSendServices.h"
#include "irc/UnitServices.h"
#include "irc/UserInfoWindows.h"
#include "irc/WhoCommandManager.h"
#include "ircproto/ChannelListWindow.h"
#include "log/FileLogger.h"
#include "macro/MacroManager.h"
#include "net/NameResolver.h"
#include "settings/LogFormat.h"
#include "settings/ServerConfig.h"

#include <map>
#include <memory>
#include <vector>

class TPreference;
struct TPopupItem;

// What a handler leaves for the macro step after it.
struct TDispatchResult {
    bool keyword = false;
    std::vector<TModeChange> modeChanges;
};

struct TDispatchRow;
struct TUserCommand;

// A host text up to its first blank, '(', ')' or ','.
CString StripHostComment(const CString& host);

class IUnitScripts;

class TIRCUnit : public TIRCNode,
                 public IIRCConnectionListener,
                 public INameResolverListener,
                 public IMemberManagerListener,
                 public IWhoCommandManagerListener,
                 public IRejoinManagerListener,
                 public IMacroManagerListener,
                 public IWhoisDialogListener,
                 public IDCCChatDialogListener,
                 public IInviteDialogListener,
                 public IListDialogListener,
                 public IFileLoggerListener {
public:
    enum TState { StateDisconnected = 0, StateConnecting = 1, StateRegistering = 2, StateLoggedIn = 3 };

    TIRCUnit(IIRCUnitListener* world, const TPreference* preference, const TUnitSetting& settings);
    TIRCUnit(const TIRCUnit&) = delete;
    TIRCUnit& operator=(const TIRCUnit&) = delete;
    virtual ~TIRCUnit();

    void SetScriptEvents(IUnitScriptEvents* events) { scripts = events; }
    // Wires every script event to one receiver; null fires them into nothing.
    void SetScripts(IUnitScripts* events);
    // The same with scripts the unit owns: they stop and go before the unit does.
    void AdoptScripts(IUnitScripts* owned);
    // onUnload, then no script of this server runs any more.
    void UnloadScripts();
    // Null puts the unit's own macro engine back.
    void SetMacroEngine(IUnitMacroEngine* engine) { macros = engine ? engine : &ownMacros; }
    // The "Format" settings of the view; read at every printed line.
    void SetLogFormat(const TLogFormat* format);
    IIRCUnitListener* GetWorld() const { return world; }
    const TPreference* GetPreference() const { return preference; }
    TFileLogger& GetServerLog() { return serverLog; }

    CString GetName() const { return settings.Name; }
    const TUnitSetting& GetSettings() const { return settings; }
    TIRCUnitSession& GetSession() { return session; }
    const TIRCUnitSession& GetSession() const { return session; }
    TIRCConnection& GetConnection() { return connection; }
    // Its own code is below us: a received line's handler, a script or a macro, perhaps waiting
    // in a message loop (a box). The unit must not be freed until it has returned.
    bool IsRunningHandler() const;
    const std::vector<TIRCChannel*>& GetChannels() const { return channels; }
    TInetAddress GetMyAddress() const { return myAddress; }
    int GetState() const { return session.state; }

    // Channels and talks.
    TIRCChannel* AddChannel(const TChannelConfig& config, TIRCChannel::TKind kind);
    TIRCChannel* FindChannel(const CString& name) const;
    TIRCChannel* FindChannelByIRCName(const CString& name) const;
    TIRCChannel* LookupChannel(const CString& name) const;
    bool HasChannel(const TIRCChannel* channel) const;
    // By serial number (TIRCNode::GetSerial): null once that channel is gone.
    TIRCChannel* FindChannelBySerial(unsigned serial) const;
    void DeleteChannel(TIRCChannel* channel);
    void DeleteAllChannels();

    // Registration and login.
    void Connect();
    void OpenConnection(bool firstAttempt);
    void BeginConnecting(bool firstAttempt);
    void Register();
    void OnLoggedIn(const TIRCReceiveMessage& welcome);
    // retry: the rejoin manager's batch, whose names are ours only if they were before.
    void AutoJoin(const TJoinList& list, bool retry = false);
    void SetAway(bool away, const CString& message);
    // A nick refused under the dialog policy waits for the world to ask the user, outside the
    // handling of received lines; false when none waits or the connection has gone.
    bool TakeNickQuestion(TNickRequest& request);
    // The user's OK on what was asked: the new nick, and the away state when the user changed it.
    void AnswerNickQuestion(const TNickRequest& asked, const TNickRequest& answer);
    // What the nick dialog starts from: the current nick and away state, the longest nick.
    TNickRequest MakeNickRequest(int nickLength) const;
    // The longest nick the user may type: the server's NICKLEN, or the server setting's own
    // length while it is switched on and longer.
    int GetNickLengthLimit() const;
    // The change-nick command's OK on what the dialog opened with: the nick and the away state,
    // each only when the user changed it and it differs from the live one.
    void ApplyChosenNick(const TNickRequest& opened, const TNickRequest& answer);

    // Connection events and dispatch.
    void OnConnect(TIRCConnection* connection) override;
    void OnClose(TIRCConnection* connection) override;
    void OnResolve(TIRCConnection* connection) override;
    void OnReceive(TIRCConnection* connection, TIRCReceiveMessageA* message) override;
    void OnSend(TIRCConnection* connection, TIRCSendMessage* message) override;
    void OnError(TIRCConnection* connection, CString message) override;
    void Disconnect(bool byUser, bool byTimeout);
    // The user ends the session: the server gets QUIT and a few seconds to close.
    void SendQuit(const CString& comment);
    // The user drops the connection at once.
    void CloseByUser();
    // The same without QUIT, and the next connect starts again with the server's own address.
    void CloseAtOnce();
    void HandleNumericReply(const TIRCReceiveMessage& message);

    // Sending.
    // Lines go out only once the transport has reported its connect: while the name is looked up
    // or the socket connects there is nothing to write them to.
    bool CanSendLines() const { return connection.IsActive() && session.state != StateConnecting; }
    void SendCommand(const CString& command, const CString& first, const CString& second, int penalty, int priority);
    bool SplitMessageText(const CString& command, const CString& target, CString& text, CString& rest) const;
    void SendPong(const CString& text);
    void SendNames(const CString& channel);
    void SendList(const CString& filter);
    void RequestChannelList(CString filter) { SendList(filter); }
    void SendInvite(const CString& nick, const CString& channel);
    CString ExpandText(const CString& text);
    static CString GetVersionText();
    static CString GetClientInfoText();

    // Tick.
    void Tick();
    void ScheduleConnect(int seconds);
    void ApplyPreferences();

    // Output: every line a unit shows goes through these.
    bool PrintToServer(const CString& channelName, const CString& nick, const CString& text, int eventType,
                       int nickStyle, bool checkKeywords, const CString& eventData);
    bool PrintToChannel(TIRCChannel* channel, const CString& nick, const CString& text, int eventType, int nickStyle,
                        bool checkKeywords);
    void PrintSystemText(TIRCChannel* channel, const CString& text);
    void PrintReply(const CString& text);
    void PrintCtcpQueryText(const CString& text);
    void PrintCtcpReplyText(const CString& text);
    void PrintErrorText(const CString& text);
    void PrintReplyParams(const TIRCReceiveMessage& message);
    void PrintUnknownReply(const TIRCReceiveMessage& message);
    void PrintErrorReply(const TIRCReceiveMessage& message);
    bool PrintServerLine(const CString& channelName, const CString& nick, const CString& text, int eventType,
                         int nickStyle, bool checkKeywords, const CString& eventData);
    bool PrintChannelLine(int eventType, TIRCChannel* channel, const CString& nick, const CString& text, int nickStyle,
                          bool checkKeywords);
    void CopyServerLineToAllLog(const CString& channelName, const CString& nick, const CString& text, int eventType,
                                int nickStyle, bool checkKeywords);
    void CopyChannelLineToAllLog(TIRCChannel* channel, const CString& nick, const CString& text, int eventType,
                                 int nickStyle, bool checkKeywords);
    bool ShouldCopyToAllLog(TIRCChannel* channel);
    void PrintSystemLine(TIRCChannel* channel, const CString& text);
    void CopySystemLineToAllLog(TIRCChannel* channel, const CString& text);
    static int GetLineType(int eventType);
    void OnKeywordHit(TIRCChannel* channel, const TLogLineData& line);
    void CollectUrls(const TLogLineData& line, const TLogLineAdded& added, TIRCChannel* channel);
    void MarkNewTalk(TIRCChannel* talk);
    void MarkUpdate(TIRCChannel* channel);
    void RefreshTreeItem(TIRCChannel* channel);
    void UpdateTitleIfUnitSelected() { world->UpdateTitleIfUnitSelected(this); }
    // Only when exactly this node is the selected one.
    void UpdateTitleIfSelected(TIRCChannel* channel)
    {
        if (world->IsSelected(this, channel))
            world->UpdateTitleIfUnitSelected(this);
    }
    void LogReceivedText(const CString& text);
    void LogSentLine(const CStringA& line);
    void CloseServerLog();
    void FlushLogs();
    // The server's and every channel's log file: a failure is told in the server's log.
    void OnLogFileFailed(TFileLogger* logger, const CString& path, DWORD error) override;
    void PlaySoundFile(const CString& path);

    // Codec of the session's code page.
    CString Decode(const CStringA& bytes) const;
    // The trailing parameter's text from the decoded line when that gives the same text.
    CString DecodeTail(const CStringA& tail, const CStringA& lineBytes, const CString& lineText) const;
    CStringA Encode(const CString& text) const;
    int CompareNames(const CString& a, const CString& b) const;

    void OnResolve(TNameResolver* resolver) override;
    void OnResolveError(TNameResolver* resolver, CString message) override;

    // Received side: what channels ask of their unit, the masks, and the messages.
    void SetChannelWindows(IChannelWindows* windows) { channelWindows = windows; }
    void SetWorldSetting(const TWorldSetting* setting) { worldSetting = setting; }
    void SetReceivedScriptEvents(IReceivedScriptEvents* events);
    void ClassifyMember(TIRCMember& member) override { ClassifyUser(member); }
    int GetMemberSortMethod() override;
    void MemberListFull(const TIRCMemberManager& members) override;
    void SendChannelMode(TIRCChannel* channel, const CString& text);
    void SendModeChanges(TIRCChannel* channel, wchar_t letter, const std::vector<CString>& removals,
                         const std::vector<CString>& additions);
    bool IsSelected(TIRCChannel* channel) { return world->IsSelected(this, channel); }
    IMemberListView* CreateMemberView(TIRCChannel* channel);
    void DestroyMemberView(TIRCChannel* channel);
    IMaskList* CreateMaskList(TIRCChannel* channel, const CString& title);
    void SendWho(const CString& target);
    bool IsIgnored(const CString& nick, const CString& user, const CString& host) const;
    void ClassifyUser(TIRCMember& member) const;
    void CheckAutoOp(TIRCChannel* channel, const CString& nick, const CString& user, const CString& host);
    void CheckAutoOpAll(TIRCChannel* channel);
    void RejoinToRecoverOp(TIRCChannel* channel);
    void RetryNick(const TIRCReceiveMessage& message);
    void HandleErrorReply(const TIRCReceiveMessage& message);
    void ShowMessage(const TIRCReceiveMessage& message, int kind, const CString& text, TDispatchResult& result);
    TIRCChannel* OpenTalk(const TIRCMember& peer);
    void OnCtcpQuery(const TIRCReceiveMessage& message, const CString& ctcp, TDispatchResult& result);
    void OnCtcpReply(const TIRCReceiveMessage& message, const CString& ctcp);

    // The sending side: typed text, the command interpreter, the command builders, CTCP and DCC.
    void SetSendScripts(IUnitSendScripts* events);
    void SetDccManager(IUnitDccManager* manager);
    void SetFrame(IUnitFrame* owner);
    TWhoCommandManager& GetWhoManager() { return whoManager; }
    TRejoinManager& GetRejoinManager() { return rejoinManager; }
    TSafeChannelJoinManager& GetSafeJoinManager() { return safeJoinManager; }

    bool SendInput(TIRCChannel* channel, CString text, bool notice, bool action, bool allowCommand);
    void SendTextLines(TIRCChannel* channel, CString text, bool notice);
    void SendText(TIRCChannel* channel, CString text, int kind);
    bool RunMacros(const TIRCReceiveMessage& record, const CString& nick);
    void ExecuteCommand(CString line, bool quiet);

    void SendCtcpQuery(const CString& target, const CString& query);
    void SendCtcpReply(const CString& target, const CString& text);
    void SendMode(const CString& target, const CString& modes);
    void SendNick(const CString& nick, bool remember);
    void SendAway(const CString& message);
    void SendPart(const CString& channel, const CString& message);
    void SendKick(const CString& channel, const CString& nicks, const CString& comment, int penalty);
    void SendTopic(const CString& channel, const CString& topic);
    void QueryTopic(const CString& channel);
    void SendJoin(const CString& channels, const CString& keys, bool retry = false);
    void OnSendWho(const CString& target) override;
    void OnRejoin(const TChannelKeyList& channels) override;
    void KickMembers(TIRCChannel* channel, const std::vector<CString>& nicks, const CString& comment);
    void CancelReconnect();

    void OnDccQuery(const TIRCReceiveMessage& message, CString text);
    void SendDccSendOffer(const CString& nick, const CString& fileName, int port, long long size);
    void SendDccChatOffer(const CString& nick, int port);
    void SendDccResumeRequest(const CString& nick, const CString& fileName, int port, long long position);
    void SendDccAccept(const CString& nick, const CString& fileName, int port, long long position);
    // The result line and sound of a finished file transfer of this unit.
    void OnDccSendCompleted(const TDCCSendItem* item);
    void OnDccSendFailed(const TDCCSendItem* item);
    void OnDccReceiveCompleted(const TDCCReceiveItem* item);
    void OnDccReceiveFailed(const TDCCReceiveItem* item);
    // The DCC manager has too many unfinished items to take one more.
    void OnDccReceiveRefused(const CString& nick, const CString& fileName, bool tooManyUnfinished);

    // DCC chat talks ("=" + nick) and the dialogs that ask about offered chats.
    TIRCChannel* AddDccChatChannel(const TIRCMember& peer);
    void StartDccChatServer(TIRCChannel* channel);
    void OnDccChatListening(TIRCChannel* channel, const CString& nick, int port);
    void PrintDccChatConnecting(TIRCChannel* channel, const CString& host, int port);
    void PrintDccChatError(TIRCChannel* channel, const CString& text);
    void ShowDccChatLine(TIRCChannel* channel, const CString& text);
    void OnDCCChatAccepted(IDCCChatRequest* dialog) override;
    void OnDCCChatDialogClosed(IDCCChatRequest* dialog) override;
    void CloseDccChatDialogs();
    const std::vector<IDCCChatRequest*>& GetDccChatDialogs() const { return dccChatDialogs; }
    // The invitation windows.
    void OnInviteDialogOK(IInviteRequest* dialog) override;
    void OnInviteDialogClose(IInviteRequest* dialog) override;
    void CloseInviteDialogs();
    const std::vector<IInviteRequest*>& GetInviteDialogs() const { return inviteDialogs; }
    // Live chats at most: past them an offer is not taken at once but refused with a line.
    static constexpr int kMaxDccChatTalks = 64;

    // What the world and the main window ask of the unit.
    void JoinChannel(TIRCChannel* channel);
    void JoinChannelByName(const CString& name, const CString& key);
    // Whether a name from a server's text joins one channel; one that does not is told, unless
    // there is no name at all.
    bool CanJoinByName(const CString& name);
    void PartChannelDefault(TIRCChannel* channel);
    void PartChannel(TIRCChannel* channel, const CString& comment);
    // dropQueued: the QUIT goes before the lines still waiting.
    void QuitDefault(bool dropQueued);
    // Program exit (not immediate: a logged-in server gets its QUIT) or removal (immediate).
    void Shutdown(bool immediate);
    void ChangeNick(const CString& nick);
    void SendWhois(const CString& nick);
    void ChangeChannelModes(TIRCChannel* channel, const TChannelMode& wanted);
    void InviteToChannel(const CString& nick, const CString& channelName);
    void SetTopic(TIRCChannel* channel, const CString& topic);
    void RenameMacroFile(const CString& oldName, const CString& newName);
    // Switches one script on or off for this server; the scripts follow at once.
    void EnableScriptFile(const CString& name, bool enable);
    // Changed files run anew, removed ones stop, unchanged ones keep running.
    void ReloadScripts();
    void SetScriptHeaderWidth(int width) { settings.ScriptHeaderWidth = width; }
    void RemoveMacroFile(const CString& name);
    // Switches one macro file on (at the end of the list) or off; the next event reads the files.
    void EnableMacroFile(const CString& name, bool enable);
    void SetMacroHeaderWidth(int width) { settings.MacroHeaderWidth = width; }
    // Edited server properties; a connected unit keeps its code page until it connects again.
    void ApplySettings(const TUnitSetting& edited);
    void SetAutoOpMasks(const std::vector<CString>& masks) { settings.AutoOpMasks = masks; }
    void UpdateLogServerName();
    // Log files whose dated name changed (a new day) move to the new name.
    void ReopenLogFiles();

    // WHO and WHOIS windows; null makes none.
    void SetUserInfoWindows(IUserInfoWindows* windows);
    IUserInfoWindows* GetUserInfoWindows() const { return userInfoWindows; }
    IWhoisWindow* FindWhoisDialog(const CString& nick) const;
    // The nick's window, opened when the world allows one more; null prints the replies as text.
    IWhoisWindow* ShowWhoisDialog(const CString& nick);
    void KickIdleDialogs(WPARAM wParam, LPARAM lParam);
    // The unit's modeless windows (WHOIS, channel list, invitations, chat requests, and each
    // channel's WHO and mask lists) follow the main window's enabled, shown and top-most state.
    void GetDialogWindows(std::vector<HWND>& windows) const;
    void EnableDialogs(bool enable);
    void HideDialogs(bool hide);
    void SetDialogsTopMost(bool topMost);
    void RenameWhoisDialog(const CString& oldNick, const CString& newNick);
    void CloseWhoisDialogs();
    void OnRefresh(IWhoisWindow* dialog) override;
    void OnJoin(IWhoisWindow* dialog, const CString& entry) override;
    void OnAddMask(IWhoisWindow* dialog, const CString& nick, const CString& user, const CString& host) override;
    void OnDropFiles(IWhoisWindow* dialog, const CString& nick, const CString& path) override;
    void OnSendFile(IWhoisWindow* dialog, const CString& nick) override;
    void OnTalk(IWhoisWindow* dialog, const CString& nick) override;
    void OnClose(IWhoisWindow* dialog) override;

    // The channel list window (irc/UnitChannelList.cpp): one at most, owned; null makes none.
    void SetChannelListWindows(IChannelListWindows* windows) { channelListWindows = windows; }
    IChannelListWindow* ShowChannelListDialog();
    IChannelListWindow* GetChannelListDialog() const { return channelList; }
    void CloseChannelListDialog();
    void OnUpdateList(IChannelListWindow* dialog) override;
    void OnListDialogClose(IChannelListWindow* dialog) override;
    void OnJoinChannel(IChannelListWindow* dialog, const CString& channel) override;
    void OnGetMemberInfo(IChannelListWindow* dialog, const CString& channel) override;
    void OnGetDetailedMemberInfo(IChannelListWindow* dialog, const CString& channel) override;

    // What the macro engine asks of the unit.
    void OnMacroFileLoadError(const CString& fileName) override;
    void Print(const CString& channel, const CString& text) override;
    bool IsSelf(const CString& nick, const CString& user, const CString& host) override;
    bool IsPrefixInUserGroup(int group, const CString& nick, const CString& user, const CString& host) override;
    bool IsChannelOperator(const CString& channel, const CString& nick) override;
    bool IsAway() override { return session.userMode.away; }
    CString GetCurrentChannelName() override;
    CString GetSelectedText() override;
    CString GetMyAddressText() override { return myAddress.ToString(); }
    void Execute(const CString& commandLine, bool minimized) override;
    void OpenUrl(const CString& url, const CString& unused) override;
    void ExecuteCommand(const CString& text, bool notify, bool multiLine) override;
    void GiveOp(const CString& channel, const CString& nick) override;
    void PlaySound(const CString& fileName) override;
    void SelectChannel(const CString& channel) override;
    void SetChannelCondition(const CString& channel, const CString& word) override;
    void WindowAction(const CString& word) override;
    void ExecuteMenu(const CString& actionName) override;
    void ShowBalloon(const CString& title, const CString& text) override;
    void PrintScriptText(TIRCChannel* channel, const CString& text);
    void RedrawTree() { frame->RedrawTree(); }

    // The macro engine: its folders, a fresh read of the enabled files, and the popup items.
    TMacroManager& GetMacroManager() { return macroManager; }
    void SetMacroFolders(const CString& macroFolder, const CString& filesFolder);
    void ResetMacros();
    void RunPopupMenuCommand(const TPopupItem& item);

private:
    void ForgetUnreadableMacroFile(const CString& name);
    // The sending side's own steps.
    TIRCReceiveMessage MakeOwnRecord(const CString& command) const;
    CString PrepareParamText(const CString& text) const;
    CString ResolveTargetList(const CString& list, bool safeChannels) const;
    CString ResolveTarget(const CString& token, bool safeChannels) const;
    void SendMessagePieces(TIRCChannel* channel, const CString& command, int kind, CString text, bool convert);
    void FireOwnMessageEvent(const TIRCReceiveMessage& record, const CString& target, const CString& text, int kind,
                             bool channel);
    void DispatchCommand(const TUserCommand& command, bool quiet);
    void RunOfflineMacros(const TUserCommand& command, bool quiet);
    void SendUserMessage(const TUserCommand& command, bool quiet);
    void EchoMessagePiece(const CString& token, const CString& piece, int kind, bool quiet,
                          const TIRCReceiveMessage& record);
    static CString GetWireName(const TIRCChannel* channel);
    void ScoreActivity(TIRCChannel* channel, const CString& text);
    void SendOtherCommand(const TUserCommand& command, bool quiet);
    void AnswerCtcpQuery(const TIRCReceiveMessage& message, const CString& command, const CString& argument);
    void OnGetAddressQuery(const TIRCReceiveMessage& message);
    void OnDccSendOffer(const TIRCReceiveMessage& message, const CString& text);
    void OnDccChatOffer(const TIRCReceiveMessage& message, const CString& text);
    void OnDccResume(const TIRCReceiveMessage& message, const CString& text);
    void OnDccAccept(const TIRCReceiveMessage& message, const CString& text);
    void ShowDccWindowOnOffer(bool automatic);
    void AcceptChatOffer(const TIRCReceiveMessage& message, const CString& address, int port);
    void AskChatOffer(const TIRCReceiveMessage& message, const CString& address, int port);
    void SendDccChatText(TIRCChannel* talk, const CString& text, bool quiet);
    bool IsAutoReceive(const TIRCReceiveMessage& message) const;

    void Dispatch(const TIRCReceiveMessage& message, TDispatchResult& result);
    void RunMacros(const TIRCReceiveMessage& message, const TDispatchResult& result);
    // One event through the macro engine, counted as a running handler.
    bool ProcessMacroEvent(const TIRCReceiveMessage& record, const CString& nick);
    static const TDispatchRow kCommands[14];
    // Received commands, in the order the dispatch table tries them.
    void HandlePrivmsg(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleJoin(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleQuit(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandlePart(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleMode(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleNick(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandlePing(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleTopic(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleNotice(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleKick(const TIRCReceiveMessage& message, TDispatchResult& result);
    void HandleInvite(const TIRCReceiveMessage& message, TDispatchResult& result);
    void ShowInviteDialog(const CString& nick, const CString& channelName);
    void OnErrorMessage(const TIRCReceiveMessage& message, TDispatchResult& result);
    void OnWallops(const TIRCReceiveMessage& message, TDispatchResult& result);
    void OnKill(const TIRCReceiveMessage& message, TDispatchResult& result);
    void TickDisconnected();
    void TickRegistering();
    void TickQuitWait();
    void TickKeepAlive();
    void RestoreAway();
    void ReopenTalks();
    TJoinList TakeJoinList(int& joinCount);
    void ResolveOwnAddress();
    void ApplyAddressMethod();
    bool FitsJoinLine(const CString& channels, const CString& keys) const;
    void SendJoinLine(const CString& names, const CString& keys, int count, bool retry);
    void SendPassword(const CString& password);
    CString GetLoginUserName() const;
    // A JOIN of the login is waited for until the server answers anything about the channel, or
    // the user parts it; a link lost meanwhile keeps the channel for the rejoin.
    void AwaitJoin(const CString& channel, const CString& key);
    void EndJoinWait(const CString& channel);
    void EndJoinWaitsNamedIn(const TIRCReceiveMessage& reply);
    bool AnswersJoin(const CString& sent, const CString& answer) const;
    // Either name answers a JOIN of the other.
    bool IsSameChannel(const CString& a, const CString& b) const;
    void CollectRejoinList();
    // A channel the user left or deleted: neither the rejoin after a lost link nor a 437 retry
    // brings it back.
    void ForgetRejoin(const CString& channel);
    bool IsPartedInSession(const CString& channel) const;
    // The user's join, or the server's join of the user, after a part: the channel counts again.
    void ForgetPart(const CString& channel);
    void AddToRejoinList(const CString& channel, const CString& key, size_t checked);
    bool IsOwnNick(const CString& nick) const;
    TIRCChannel* FollowNickChange(const CString& oldNick, const CString& newNick);
    // The own JOIN: the node of the channel, made when missing, enters the joined state.
    TIRCChannel* EnterJoinedChannel(const TIRCReceiveMessage& message, const CString& channelText);
    // Which of the session's five reply flags says a multi-line reply is running.
    enum { kNamesListing = 0, kWhoListing = 1, kWhoisListing = 2, kWhowasListing = 3, kChannelListing = 4 };
    void OnISupportReply(const TIRCReceiveMessage& message);
    void OnUserModeReply(const TIRCReceiveMessage& message);
    void OnAwayReply(const TIRCReceiveMessage& message);
    void OnAwayStateReply(const TIRCReceiveMessage& message, bool away);
    void OnWhoisUserReply(const TIRCReceiveMessage& message);
    void OnWhoisServerReply(const TIRCReceiveMessage& message);
    void OnWhoisOperatorReply(const TIRCReceiveMessage& message);
    void OnWhowasUserReply(const TIRCReceiveMessage& message);
    void OnWhoisIdleReply(const TIRCReceiveMessage& message);
    void OnWhoisChannelsReply(const TIRCReceiveMessage& message);
    void OnListReply(const TIRCReceiveMessage& message);
    void OnListEndReply();
    void OnChannelModeReply(const TIRCReceiveMessage& message);
    void OnCreationTimeReply(const TIRCReceiveMessage& message);
    void OnTopicReply(const TIRCReceiveMessage& message, bool withTopic);
    void OnTopicSetterReply(const TIRCReceiveMessage& message);
    void OnInvitingReply(const TIRCReceiveMessage& message);
    void OnMaskListReply(const TIRCReceiveMessage& message);
    void OnMaskListEndReply(const TIRCReceiveMessage& message);
    void OnWhoReply(const TIRCReceiveMessage& message);
    void OnWhoEndReply(const TIRCReceiveMessage& message);
    void OnNamesReply(const TIRCReceiveMessage& message);
    void OnNamesEndReply(const TIRCReceiveMessage& message);
    void AddNamesMembers(TIRCChannel* channel, const CString& names);
    void RetryWithUnderscore(int maxLength, bool loggedIn);
    void RetryWithNumber(int maxLength, bool loggedIn);
    void GiveUpNick();
    int RaiseToOwnNickLength(int serverLength) const;
    void ApplyChosenAway(bool shown, bool chosen);
    // False when the reply started the creation of a safe channel and needs nothing more.
    bool OnNoSuchChannel(const TIRCReceiveMessage& message);
    // A joined channel of that name, or null.
    TIRCChannel* FindJoinedChannel(const CString& name) const;
    // Into the joined channel of that name, else into the server log.
    void PrintReplyToChannel(const CString& channelName, const CString& text, int type);
    void OnAnonymousChanged(TIRCChannel* channel);
    void LeaveOnPart(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& text);
    void LeaveOnKick(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& text);
    void ApplyChannelMode(TIRCChannel* channel, const TIRCReceiveMessage& message, const CString& modes,
                          TDispatchResult& result);
    // The sender's member learns its user and host; a first-known address may earn auto-op.
    void StoreSenderAddress(TIRCChannel* channel, const TIRCReceiveMessage& message);
    void ApplyMemberModeChange(TIRCChannel* channel, const TModeChange& change);
    bool ShowInChannel(const TIRCReceiveMessage& message, int kind, const CString& target, bool toUser,
                       const CString& text, int nickStyle, bool keyword, TIRCChannel*& channel);
    bool ShowInTalk(const TIRCReceiveMessage& message, int kind, const CString& text, int nickStyle, bool keyword,
                    TIRCChannel*& talk, bool& newTalk);
    void ShowBalloon(int kind, const CString& nick, const CString& target, const CString& text, TIRCChannel* node);
    TLogLineData MakeLine(int eventType, const CString& nick, const CString& text, int nickStyle) const;
    CString PlacePrefix(const CString& channelName) const;
    CString TimeText() const;
    CString NickPrefix(const CString& nick) const;
    bool NodeSetting(TIRCChannel* channel, bool TChannelConfig::*channelFlag, bool TUnitSetting::*unitFlag) const;

    TIRCUnitSession session;
    int nickQuestionLength = 0; // the nick length limit while a question waits, else 0
    std::vector<TIRCChannel*> channels;
    TUnitSetting settings;
    // Enabled in the settings but unreadable: left out of the engine for this run, kept on disk.
    std::vector<CString> unreadableMacroFiles;
    IIRCUnitListener* world;
    const TPreference* preference;
    IUnitScriptEvents* scripts;
    IUnitScripts* scriptSet = nullptr; // null: no scripts run for this server
    std::unique_ptr<IUnitScripts> ownScripts;
    TMacroManager macroManager;
    TUnitMacroEngine ownMacros{macroManager};
    IUnitMacroEngine* macros;
    int macroRuns = 0;
    const TLogFormat* logFormat;
    TFileLogger serverLog;
    struct TTimeCache {
        unsigned long long second = 0;
        CString pattern;
        CString text;
    };
    mutable TTimeCache timeCache;
    struct TPrefixCache {
        CString name;
        CString pattern;
        CString server;
        CString text;
    };
    mutable TPrefixCache prefixCache[2]; // nick prefix, place prefix
    TInetAddress myAddress;
    int addressMethod = 0;
    // Host texts the own address may come from: the own JOIN's, the GETADDRESS reply's, spare.
    CString addressTexts[3];
    TNameResolver resolver;
    IUnitSendScripts* sendScripts;
    IUnitDccManager* dccManager;
    IUnitFrame* frame;
    TWhoCommandManager whoManager;
    TRejoinManager rejoinManager;
    TSafeChannelJoinManager safeJoinManager;
    TIRCConnection connection;
    IChannelWindows* channelWindows = nullptr;
    const TWorldSetting* worldSetting = nullptr;
    IReceivedScriptEvents* receivedScripts = GetNullReceivedScriptEvents();
    IUserInfoWindows* userInfoWindows = GetNullUserInfoWindows();
    // By IRC-upper-cased nick; owned.
    std::map<CString, IWhoisWindow*> whoisWindows;
    std::vector<IDCCChatRequest*> dccChatDialogs; // owned
    std::vector<IInviteRequest*> inviteDialogs;   // owned
    IChannelListWindows* channelListWindows = nullptr;
    IChannelListWindow* channelList = nullptr; // owned
};
