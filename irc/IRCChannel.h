#pragma once
// A channel, private talk or DCC chat talk of a server unit: its stored settings, its live state
// on the server, its members, its mask-list windows and the nicks waiting for operator status.

#include "dcc/DCCChatClient.h"
#include "dcc/DCCChatServer.h"
#include "irc/MaskList.h"
#include "irc/MemberManager.h"
#include "irc/Node.h"
#include "irc/UserInfoWindows.h"
#include "ircproto/Modes.h"
#include "log/FileLogger.h"
#include "log/LogLineSink.h"
#include "settings/ServerConfig.h"

#include <deque>

class TIRCUnit;

class TIRCChannel : public TIRCNode,
                    public IDCCChatClientListener,
                    public IDCCChatServerListener,
                    public IWhoDialogListener {
public:
    // Stored in the server tree by these numbers.
    enum TKind { KindChannel = 0, KindTalk = 1, KindDccChat = 2 };
    // Mask lists by their mode letter, in the order of kMaskLetters.
    enum { BanList = 0, BanExceptionList = 1, InviteList = 2, ReopList = 3, MaskListCount = 4 };
    static const wchar_t kMaskLetters[MaskListCount + 1];
    // Replies a server may add to one list window; more would only grow memory.
    static constexpr int kMaxListMasks = 10000;

    TIRCChannel(TIRCUnit* unit, const TChannelConfig& config, TKind kind);
    ~TIRCChannel() override;

    // Into the channel's view (made on first need) and log file; true when it hit a keyword.
    bool AddLine(TLogLineData line, bool checkKeywords);

    TIRCUnit* GetUnit() const { return unit; }
    const TChannelConfig& GetConfig() const { return config; }
    TChannelConfig& GetConfig() { return config; }
    const CString& GetName() const { return config.Name; }
    TKind GetKind() const { return kind; }
    const CString& GetIRCName() const { return ircName; }
    bool IsJoined() const { return joined; }
    void SetIRCName(const CString& name) { ircName = name; }
    const CString& GetPeerName() const { return peerName; }
    void SetPeerName(const CString& name) { peerName = name; }

    void ResetState();
    void OnJoined();
    void OnLeft();
    void EnsureMemberView();
    void DetachMemberView() override;
    // Talks and DCC chat talks take their tree flags from the preferences; the log file follows
    // the log switch of its kind.
    void ApplyPreferences();
    // The end of the unit: the log stays closed for the rest of the run, the windows go.
    void CloseLogAndDialogs();

    TIRCMemberManager& GetMembers() { return members; }
    TIRCMember* FindMember(const CString& nick) const { return members.Find(nick); }
    bool UpdateMemberUserHost(const CString& nick, const CString& user, const CString& host);
    void AddOrUpdateMember(const CString& nick, const CString& user, const CString& host, const CString& server,
                           const CString& fullName, bool q, bool a, bool o, bool h, bool v);
    void RemoveMember(const CString& nick) { members.RemoveMember(nick); }
    void RenameMember(const CString& oldNick, const CString& newNick) { members.RenameMember(oldNick, newNick); }
    void ChangeMemberMode(const CString& nick, wchar_t letter, bool on);

    // Mask-list windows: index from the enum, or -1 for a letter that has none.
    static int MaskListIndex(wchar_t letter);
    void ShowMaskList(int index);
    void ShowBanList() { ShowMaskList(BanList); }
    void ShowBanExceptionList() { ShowMaskList(BanExceptionList); }
    void ShowInviteList() { ShowMaskList(InviteList); }
    void ShowReopList() { ShowMaskList(ReopList); }
    IMaskList* GetMaskList(int index) const;
    // Adds a mask the server listed; false when the window is closed or full.
    bool AddListedMask(int index, const CString& mask);
    void OnMaskDialogOK(IMaskList* list);
    void OnMaskDialogUpdate(IMaskList* list);
    void OnMaskDialogClose(IMaskList* list);

    // The WHO window: made on first use and filled from the members; later calls bring it up.
    void ShowWhoDialog();
    void CloseWhoDialog();
    IWhoWindow* GetWhoDialog() const { return whoWindow; }
    void OnRefresh(IWhoWindow* dialog) override;
    void OnClose(IWhoWindow* dialog) override;
    void OnColumnClick(IWhoWindow* dialog, int column) override;

    void QueueAutoOp(const CString& nick);
    void ProcessAutoOpQueue(bool tick);
    void ClearAutoOpQueue();
    const std::deque<CString>& GetAutoOpQueue() const { return autoOpQueue; }

    // The next port of the DCC chat range, shared by every channel; -1 for an empty range.
    int GetChatPort();
    // DCC chat talks: connect to an offered chat, or listen for the peer of our own offer.
    void ConnectDCCChat(const CString& host, int port);
    void ListenDCCChat();
    void SendDCCChatLine(const CString& text);
    void OnDCCChatLine(const CStringA& bytes);
    TDCCChatClient* GetChatClient() const { return chatClient; }
    // Connecting, listening or connected; a talk whose chat ended keeps only its log.
    bool IsDCCChatLive() const;

    void OnChatConnected(TDCCChatClient* client) override;
    void OnChatClosed(TDCCChatClient* client) override;
    void OnChatReceive(TDCCChatClient* client, const CStringA& line) override;
    void OnChatError(TDCCChatClient* client, const CString& text) override;
    int GetChatPort(TDCCChatServer*) override { return GetChatPort(); }
    void OnChatListening(TDCCChatServer* server) override;
    void OnChatAccepted(TDCCChatServer* server) override;
    void OnChatClosed(TDCCChatServer* server) override;
    void OnChatReceive(TDCCChatServer* server, const CStringA& line) override;
    void OnChatError(TDCCChatServer* server, const CString& text) override;

    TChannelMode mode;
    CString topic;
    bool joined = false;
    bool op = false;
    bool modesKnown = false;
    bool namesComplete = false;
    bool whoComplete = false;
    int chatEncoding = 0;
    TFileLogger logger;

private:
    void OnChatUp();
    void OnChatDown();
    void OnChatFailed(const CString& text);
    void ResetAutoOpWait();
    void ApplyLogSwitch();
    int FindMaskList(IMaskList* list) const;

    TChannelConfig config;
    TIRCUnit* unit;
    TKind kind;
    CString ircName;
    CString peerName;
    TIRCMemberManager members;
    std::deque<CString> autoOpQueue;
    int autoOpWait = 0;
    IMaskList* maskLists[MaskListCount] = {};
    IWhoWindow* whoWindow = nullptr;
    TDCCChatClient* chatClient = nullptr; // owned
    TDCCChatServer* chatServer = nullptr; // owned
};
