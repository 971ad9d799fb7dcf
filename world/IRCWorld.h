#pragma once
// The root of the model: every server unit built from the server tree settings, the server tree
// and the views of its nodes in the main window, the selection and the title, the one-second
// tick, automatic connects, the clipboard queue and the limits on request dialogs.

#include "controls/Edit.h"
#include "controls/ListView.h"
#include "controls/TreeView.h"
#include "dccmanager/DCCManager.h"
#include "foundation/Timer.h"
#include "irc/ChannelWindows.h"
#include "irc/IRCUnit.h"
#include "irc/NickCompletion.h"
#include "irc/UnitScripts.h"
#include "logview/LogViewListeners.h"
#include "world/WorldChannelLists.h"

#include <deque>
#include <map>
#include <memory>
#include <vector>

class IWorldFrame;
class TBorderCardLayoutPanel;
class TConfig;
class THistoryDialog;
class TNickDialog;
class TListPanel;
class TLogAddressFinder;
class TLogView;
class TMemberListView;
class TProtocolLogDialog;
class TProtocolLogWindows;
class TUserInfoDialogs;
class TWorldFrameUserInfo;
struct TPopupItem;

// The program name and version, the title when no node is selected.
CString GetAppTitle();

// A node remembered across a modal loop by its serial numbers (TIRCNode::GetSerial), never its
// address: a node made meanwhile may take the memory of one that went. Channel 0: the server node.
struct TNodeSerials {
    unsigned unit = 0;
    unsigned channel = 0;
};

// What the world asks of the main window and the system around it.
class IIRCWorldHost {
public:
    virtual void CopyTextToClipboard(const CString& text) = 0;
    // The menu command of a main-window action name; 0 when there is none.
    virtual int FindActionCommand(const CString& name) = 0;

protected:
    ~IIRCWorldHost() = default;
};

class TIRCWorld : public ITreeViewListener,
                  public IEditListener,
                  public ILogViewKeyListener,
                  public ILogViewContextPopupListener,
                  public ILogViewNickContextPopupListener,
                  public ILogViewEventLineClickListener,
                  public ITimerListener,
                  public IIRCUnitListener,
                  public IChannelWindows,
                  public IUnitFrame,
                  public IDCCUnitRegistry,
                  public IFileLoggerListener {
public:
    // The world reads the preferences, the view settings and the server tree of config; the
    // address finder marks URLs in the log views it makes (may be null).
    TIRCWorld(TConfig* config, IIRCWorldHost* host, const TLogAddressFinder* addressFinder = nullptr);
    TIRCWorld(const TIRCWorld&) = delete;
    TIRCWorld& operator=(const TIRCWorld&) = delete;
    virtual ~TIRCWorld();

    // The main window's controls once they exist; the timer starts here.
    void Attach(IWorldFrame* frame);
    void CreateUnitsFromSettings();
    // Tree emptied, views and units deleted, timer stopped; before the controls go.
    void Shutdown();

    // Units and channel nodes.
    TIRCUnit* AddUnit(const TUnitConfig& config);
    void DeleteUnit(TIRCUnit* unit);
    void DeleteAllUnits();
    void RenameUnit(TIRCUnit* unit, const CString& name);
    TIRCChannel* AddChannelNode(TIRCUnit* unit, const TChannelConfig& config, TIRCChannel::TKind kind);
    void RemoveChannelNode(TIRCUnit* unit, TIRCChannel* channel);
    // The maker of the units' WHO and WHOIS windows, for the units there are and those to come.
    // Attach sets the world's own, which draws its member rows as the main window does.
    void SetUserInfoWindows(IUserInfoWindows* windows);
    // Every unit brings its running scripts in line with its enabled files, as they are now.
    void ReloadAllScripts();
    // Scripts for every unit there is and every unit added later; a unit added while a maker is
    // set starts its enabled scripts at once. The maker outlives the world's units.
    void SetScriptsMaker(IUnitScriptsMaker* maker);
    // Program exit: a logged-in server gets its QUIT unless immediate; windows, logs and scripts end.
    void ShutdownAllUnits(bool immediate);
    // The unit's protocol log window, made when missing; nothing while the unit closes.
    void ShowProtocolLog(TIRCUnit* unit);
    // Null until the unit logs its first line or the window is shown.
    TProtocolLogDialog* FindProtocolLog(const TIRCUnit* unit) const;
    // The idle-time update of the main window's loop, passed on to the servers' own windows.
    void KickIdleAllDialogs(WPARAM wParam, LPARAM lParam);
    // The servers' own windows follow the main window: disabled while it is (a modal dialog
    // runs), hidden while it is minimised (a protocol log the user closed stays hidden), and
    // top-most while it is.
    void EnableAllDialogs(bool enable);
    void HideAllDialogs(bool hide);
    void SetAllDialogsTopMost(bool topMost);
    const std::vector<TIRCUnit*>& GetUnits() const { return units; }
    void GetUnitsInTreeOrder(std::vector<TIRCUnit*>& ordered) const;
    TIRCUnit* FindUnit(const CString& name) const;
    bool HasUnit(const TIRCUnit* unit) const override;
    // By serial number (TIRCNode::GetSerial): null once that unit is gone.
    TIRCUnit* FindUnitBySerial(unsigned serial) const;
    static TNodeSerials NoteNode(const TIRCUnit* unit, const TIRCChannel* channel);
    // The noted node while its unit, and its channel when one was noted, are there; else false
    // and both null.
    bool FindNode(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const;
    void StoreServerTree(TWorldConfig& record) const;
    void StoreUnitChannels(TIRCUnit* unit, TUnitConfig& record) const;
    // Confirmed text of several lines, sent line by line to the node, as notices when asked.
    void SendPastedText(TIRCUnit* unit, TIRCChannel* channel, const CString& text, bool notice);
    // Into the settings and "tree.ini".
    void SaveServerTree() override;
    // The auto-op masks edited on a copy of the tree; the rest of the copy is not taken.
    void ApplyAutoOpSettings(const TWorldConfig& edited);
    // After the user groups changed: members classified again and their rows redrawn.
    void RefreshAllMemberLists();

    // The server tree; its items carry the nodes.
    HTREEITEM InsertUnitTreeItem(TIRCUnit* unit);
    // Channels follow the unit's other channels and come before its talks; talks go last.
    HTREEITEM InsertChannelTreeItem(HTREEITEM unitItem, TIRCChannel* channel);
    HTREEITEM FindUnitTreeItem(const TIRCUnit* unit) const;
    HTREEITEM FindChannelTreeItem(HTREEITEM unitItem, const TIRCChannel* channel) const;
    // The item's image follows the connection or joined state.
    void RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel) override;
    // When the item holds the selection (it or its channel is selected), the selection moves to
    // a sibling, else the parent, before the item goes; otherwise it stays.
    void DeleteTreeItem(HTREEITEM item);
    // While the tree's items are moved or rebuilt, its selection notices change nothing: no node
    // the user did not choose loses its marks. At the end the tree's node becomes current when it
    // is another one (the node selected before went).
    class TSelectionHold {
    public:
        explicit TSelectionHold(TIRCWorld& world) : world(world) { world.selectionHeld++; }
        ~TSelectionHold() { world.EndSelectionHold(); }
        TSelectionHold(const TSelectionHold&) = delete;
        TSelectionHold& operator=(const TSelectionHold&) = delete;

    private:
        TIRCWorld& world;
    };
    void SortTree();
    void SortUnits();
    void SortChannels(HTREEITEM unitItem);
    // A neighbour moves to the other side of the selected item; the selection stays.
    void MoveSelectedNode(bool up);
    void RedrawTree() override;

    // Views of a node as cards of the frame's panels; unit and channel null: the empty ones.
    TLogView* CreateLogView(TIRCUnit* unit, TIRCChannel* channel);
    TMemberListView* CreateMemberListView(TIRCUnit* unit, TIRCChannel* channel);
    void DestroyLogView(TIRCUnit* unit, TIRCChannel* channel);
    void DestroyMemberListView(TIRCUnit* unit, TIRCChannel* channel);
    // What the current node shows: its own views, else the empty ones.
    TLogView* GetCurrentLogView() const;
    TListView* GetCurrentMemberList() const;

    // The node the tree shows as current; channel null for a server node, unit null for none.
    void Select(TIRCUnit* unit, TIRCChannel* channel, bool treeAlreadySelected);
    void Select(TIRCUnit* unit, TIRCChannel* channel) override { Select(unit, channel, false); }
    // A node deleted since it was selected reads as none (its server node when only the channel went).
    void GetSelection(TIRCUnit*& unit, TIRCChannel*& channel) const;
    bool IsSelected(TIRCUnit* unit, TIRCChannel* channel) override;
    void SelectNextNode(bool forward, bool joinedOnly, bool updatedOnly);
    void SelectNextServer(bool forward, bool loggedInOnly);
    void SelectChannelByNumber(int n);
    void UpdateTitle();
    void UpdateTitleIfUnitSelected(TIRCUnit* unit) override;
    void UpdateTitleIfNodeSelected(TIRCUnit* unit, TIRCChannel* channel);
    void ClearCurrentMarks();

    // Servers named on the command line, else those marked to connect at start, 3 seconds
    // apart. Ctrl held at start skips it.
    void AutoConnect(const std::vector<CString>& names);
    void AutoConnect(const std::vector<CString>& names, bool controlHeld);

    // Enter in the input line; true when the unit took the text, which the line then clears.
    bool SendInputLine(const CString& text, bool ctrl, bool shift, bool alt, bool returnKey);
    // Tab and Shift+Tab: the replacement for the input line's selection, if any.
    bool CompleteNick(const CString& text, int selStart, int selEnd, bool forward, TNickCompletionEdit& edit);
    // The same on the input line itself.
    void CompleteNick(bool forward);
    // A click on a line that carries event data; the units and channels it names may be gone.
    void OnEventLineClick(bool allChannelsLog, const CString& eventData);
    // The node a popup menu was opened for, when it still exists; else (null, null).
    void GetPopupNode(TIRCUnit*& unit, TIRCChannel*& channel) const;
    // The channel whose WHO window is the given top-level window; both null when none is.
    void FindChannelByWindow(HWND window, TIRCUnit** unit, TIRCChannel** channel) const;
    // The member rows of the channel's WHO window; null without that window.
    HWND GetWhoListWindow(const TIRCChannel* channel) const;
    // The node the commands act on: the channel of the focused WHO window, else the selection.
    void GetActiveSelection(TIRCUnit*& unit, TIRCChannel*& channel) const;

    // Preferences and server settings reach the running model.
    void ApplyPreferences();
    // The record the dialog opened on tells which channels the user removed; the auto-op masks
    // stay the unit's and its channels'.
    void ApplyServerSettings(TIRCUnit* unit, const TUnitConfig& opened, const TUnitConfig& edited);
    void OpenUrl(const CString& url, bool inNewWindow);
    void SetSearchWords(const std::vector<CString>& words);
    void ResetSearchInAllLogs();
    bool FindNext();
    bool FindPrevious();
    int CountActiveUnits() const;
    // The main window's activation sets it; each tick lowers it and 0 clears the balloon.
    void SetBalloonCountdown(int seconds) { balloonCountdown = seconds; }

    // Macro files: every unit reads its enabled files again; a renamed or deleted file follows
    // in every unit's list.
    void ResetAllMacros();
    void RenameMacroFileInAllUnits(const CString& oldName, const CString& newName);
    void RemoveMacroFileFromAllUnits(const CString& name);

    // The user's popup items into menu, their levels as submenus.
    void BuildUserPopupMenu(HMENU menu, const std::vector<TPopupItem*>& items);

    void Tick();
    // The tick on a given local day of the month; a new day moves the log files.
    void TickOn(int day);
    // Puts the nicks the servers refused to the user, one modal nick dialog each, when no nick
    // dialog is open.
    void AskPendingNickQuestions();
    // The modal nick dialog on the request, which takes the answer; the preferences keep the
    // dialog's nick list whatever the answer. True for OK; false at once while one is open.
    bool RunNickDialog(TNickRequest& request);
    // One text goes to the clipboard a tick; past this many waiting, the oldest give way.
    static const size_t kMaxQueuedClipboardTexts = 10;
    void QueueClipboardText(const CString& text) override;

    bool TryOpenDCCChatDialog();
    bool TryOpenInviteDialog();
    bool TryOpenWhoisDialog();
    void OnDCCChatDialogClosed() override { dccChatDialogs.OnClosed(); }
    void OnInviteDialogClosed() override { inviteDialogs.OnClosed(); }
    void OnWhoisDialogClosed() { whoisDialogs.OnClosed(); }

    // The server tree.
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT key) override;
    void OnSelChanged(TTreeView* tree, HTREEITEM newItem, HTREEITEM oldItem) override;
    void OnContextMenu(TTreeView* tree, HTREEITEM item, int x, int y) override;
    void OnDoubleClick(TTreeView* tree, HTREEITEM item, int x, int y) override;
    void OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result) override;
    // The input line.
    bool OnKeyDown(TEdit* edit, UINT key) override;
    bool OnSysKeyDown(TEdit* edit, UINT key) override;
    bool OnEnter(TEdit* edit, UINT key) override;
    bool OnCtrlSpace(TEdit* edit) override;
    bool OnMouseWheel(TEdit* edit, UINT flags, short delta, int x, int y) override;
    bool OnContextMenu(TEdit* edit, int x, int y) override;
    void OnHeightChanged(TEdit* edit) override;
    // The log views.
    bool OnKeyDown(TLogView* view, UINT key) override;
    bool OnSysKeyDown(TLogView* view, UINT key) override;
    void OnUrlDoubleClick(TLogView* view, const CString& url) override;
    void OnContextPopup(TLogView* view, int x, int y) override;
    void OnUrlContextPopup(TLogView* view, int x, int y) override;
    void OnAddressContextPopup(TLogView* view, int x, int y) override;
    void OnNickContextPopup(TLogView* view, int x, int y) override;
    void OnEventLineClick(TLogView* view, const CString& eventData) override;
    void OnTimer(TTimer* timer) override;
    // The member lists.
    bool OnMemberListKeyDown(UINT key);
    void OnMemberListDoubleClick(TListView* list);
    void OnMemberListContextMenu(int x, int y);
    void OnMemberListCustomDraw(TListView* list, NMHDR* header, LRESULT* result);

    // The main window's keyword and URL history windows (irc/WorldChannelLists.cpp); either
    // may be null. The URL history's file log follows the preferences and the days.
    void SetHistoryWindows(THistoryDialog* keyword, THistoryDialog* url);
    // The URL log belongs to no server: the selected one tells of its failure.
    void OnLogFileFailed(TFileLogger* logger, const CString& path, DWORD error) override;
    // The log preferences into both history windows, and the URL log's file into the URL one.
    void ApplyHistoryPreferences();
    void TickUrlHistory(bool newDay);
    // The maker of the units' channel list windows.
    IChannelListWindows* GetChannelListWindows();

    // What the units ask of the world.
    void ExpandUnitItem(TIRCUnit* unit) override;
    bool IsMainWindowActive() override;
    bool AreMacrosStopped() override;
    void PlaySoundFile(const CString& path) override;
    void OnConnectionEnded(TIRCUnit* unit) override;
    ILogLineSink* GetLogSink(TIRCUnit* unit, TIRCChannel* channel) override;
    void AddLineToAllLog(const TLogLineData& line, bool checkKeywords) override;
    bool IsScrolledBack(TIRCUnit* unit, TIRCChannel* channel) override;
    void MarkNode(TIRCUnit* unit, TIRCChannel* channel, TNodeMark mark) override;
    void StartHighlightAlert() override;
    void StartMessageAlert() override;
    void AddToKeywordHistory(const TLogLineData& line) override;
    void AddToUrlHistory(const TLogLineData& line) override;
    // Direction 0 received, 1 sent; the unit's protocol log window is made on its first line.
    void AddProtocolLine(TIRCUnit* unit, const CString& text, int direction) override;
    void DestroyProtocolLog(TIRCUnit* unit) override;
    IMemberListView* CreateMemberView(TIRCUnit* unit, TIRCChannel* channel) override;
    void DestroyMemberView(TIRCUnit* unit, TIRCChannel* channel) override;
    IMaskList* CreateMaskList(TIRCUnit* unit, TIRCChannel* channel, const CString& title) override;
    void OnChannelAdded(TIRCUnit* unit, TIRCChannel* channel) override;
    void OnChannelRenamed(TIRCUnit* unit, TIRCChannel* channel, const CString& oldName) override;
    void OnChannelDeleting(TIRCUnit* unit, TIRCChannel* channel) override;
    void ShowBalloon(const CString& title, const CString& text) override;
    IInviteRequest* ShowInvitation(IInviteDialogListener* listener, const CString& nick, const CString& channel,
                                   bool activate) override;
    // What the sending side and the macro actions of the units ask.
    TIRCChannel* GetSelectedChannel(TIRCUnit* unit) override;
    CString GetCurrentChannelName(TIRCUnit* unit) override;
    void OpenUrl(const CString& url) override { OpenUrl(url, false); }
    // The all-channels log's selection when it has the focus, else the current node's.
    CString GetSelectedText() override;
    void WindowAction(const CString& word) override;
    bool ExecuteAction(const CString& name) override;
    void RunProgram(const CString& program, const CString& arguments, const CString& folder, bool minimized) override;
    CString GetSoundsFolder() override;
    void ShowDCCDialog(bool minimized) override;
    void BringDCCDialogToFront() override;
    void BlinkDCCDialog() override;
    IDCCChatRequest* OpenDCCChatDialog(IDCCChatDialogListener* listener, const CString& nick, const CString& address,
                                       int port, bool activate) override;
    void ShowIgnoreList(const CString& mask) override;
    bool ChooseFileToSend(const CString& nick, CString& path) override;

    // Every file transfer of the program, whatever the server.
    TDCCManager& GetDCCManager() { return dccManager; }

private:
    // The member lists report here; their key slots would clash with the tree's.
    class TMemberListEvents : public IListViewListener {
    public:
        explicit TMemberListEvents(TIRCWorld* world) : world(world) {}
        bool OnKeyDown(UINT key) override { return world->OnMemberListKeyDown(key); }
        bool OnSysKeyDown(UINT key) override;
        void OnDoubleClick(TListView* list, UINT, int, int) override { world->OnMemberListDoubleClick(list); }
        void OnRightClick(TListView*) override {}
        void OnContextMenu(TListView*, int x, int y) override { world->OnMemberListContextMenu(x, y); }
        void OnCustomDraw(TListView* list, NMHDR* header, LRESULT* result) override
        {
            world->OnMemberListCustomDraw(list, header, result);
        }
        void OnColumnClick(TListView*, int) override {}

    private:
        TIRCWorld* world;
    };

    // The next match of the search words in the shown log, scrolled into view.
    bool FindMatch(bool forward);

    TIRCUnit* MakeUnit(const TUnitSetting& setting);
    // Frees the deleted units whose handlers have returned.
    void DeleteLeftUnits();
    void ReadTreeSelection(TIRCUnit*& unit, TIRCChannel*& channel) const;
    void SelectTreeItem(TIRCUnit* unit, TIRCChannel* channel);
    void EndSelectionHold();
    int ConnectStaggered(const std::vector<TIRCUnit*>& chosen);
    void SortChildren(HTREEITEM parent);
    void SelectByNames(const CString& unitName, const CString& channelName);
    void ApplyLogPreferences(TLogView* view, int maxLines);
    void ApplyListAppearance(TListView* list);
    void ApplyUnitViews(TIRCUnit* unit);
    void ApplyUserInfoLook();
    void DestroyNodeViews(TIRCUnit* unit, TIRCChannel* channel);
    void ShowNodeCards(TIRCUnit* unit, TIRCChannel* channel);
    HWND InputLineWindow() const;
    void ClearViewMarks(TIRCNode* node);
    CString MakeTitle() const;
    void ShowTitle();
    // Keys shared by the tree, the log views and the member lists.
    bool ForwardKeyToInputLine(UINT key, bool system);
    bool IsLeftToControl(UINT key, bool findToo = false) const;
    void FocusCurrentLogView();
    void FocusCurrentMemberList();
    void FocusTree();
    // False when the search bar is hidden.
    bool FocusShownSearchBar();
    bool HandleInputCtrlKey(TEdit* edit, UINT key, bool shift, bool alt);
    bool HandleInputPlainKey(TEdit* edit, UINT key, bool shift);
    void ToggleCurrentServerItem();
    HTREEITEM ServerItemOfSelection() const;
    // The node an item carries: a unit at depth 0, a channel at depth 1.
    void* TreeItemData(HTREEITEM item) const;
    struct TUnitItem {
        HTREEITEM item;
        TIRCUnit* unit;
    };
    std::vector<TUnitItem> GetUnitItems() const;
    std::vector<TIRCChannel*> GetTreeChannels(const TUnitItem& root) const;
    HTREEITEM StepItem(HTREEITEM item, HTREEITEM start, bool forward, bool serversOnly, bool& wrapped) const;
    void NoteSelection(CString& unitName, CString& channelName) const;
    bool TakeNode(HTREEITEM item, bool joinedOnly, bool updatedOnly);
    void TrackMenu(HMENU menu, int x, int y);
    void TrackResourceMenu(int resourceId, int x, int y);
    void NotePopupNode();

    TConfig* config;
    const TPreference* preference;
    TWorldConfig* tree;
    IIRCWorldHost* host;
    const TLogAddressFinder* addressFinder;
    std::vector<TIRCUnit*> units;
    // Deleted while one of their handlers was still running.
    std::vector<TIRCUnit*> leftUnits;
    TIRCUnit* currentUnit = nullptr;
    TIRCChannel* currentChannel = nullptr;
    int selectionHeld = 0;
    IWorldFrame* frame = nullptr;
    TTreeView* serverTree = nullptr;
    TLogView* allLog = nullptr;
    TInputEdit* inputLine = nullptr;
    TBorderCardLayoutPanel* logPanel = nullptr;
    TListPanel* memberPanel = nullptr;
    TLogView* emptyLog = nullptr;
    TMemberListView* emptyMemberList = nullptr;
    TMemberListEvents memberListEvents{this};
    // The channel last shown on each server, so switching servers returns to it.
    std::map<const TIRCUnit*, CString> currentChannelNames;
    TIRCUnit* popupUnit = nullptr;
    TIRCChannel* popupChannel = nullptr;
    std::vector<CString> searchWords;
    TTimer timer;
    // A busy channel asks for the title with each line; it changes at most once a display frame.
    TTimer titleTimer;
    bool titleDue = false;
    DWORD titleShownAt = 0;
    CString shownTitle;
    int balloonCountdown = 0;
    TNickCompleter completer;
    std::deque<CString> clipboardQueue;
    int lastTickDay;
    // The one nick dialog open; the ticks within it ask no nick question.
    TNickDialog* nickDialog = nullptr;
    TDialogLimit dccChatDialogs;
    TDialogLimit inviteDialogs;
    TDialogLimit whoisDialogs;
    IUserInfoWindows* userInfoWindows = nullptr;
    IUnitScriptsMaker* scriptsMaker = nullptr;
    // The real WHO and WHOIS windows once a main window is attached.
    std::unique_ptr<TWorldFrameUserInfo> frameUserInfo;
    std::unique_ptr<TUserInfoDialogs> userInfoDialogs;
    std::unique_ptr<TProtocolLogWindows> protocolLogs;
    TWorldChannelLists channelListMaker;
    THistoryDialog* keywordHistory = nullptr;
    THistoryDialog* urlHistory = nullptr;
    // Last, so its items close while the rest of the world still stands.
    TDCCManager dccManager;
};
