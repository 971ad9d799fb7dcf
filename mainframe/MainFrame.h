#pragma once
// CMainFrame: the program's one top-level window. It owns the tool bar, the content panel, the
// tray icon, the caption flasher, the restore hot key, the help file and the scripts-folder
// watcher; it answers the start-up messages and runs the orderly close that quits the servers
// and waits for them before the window goes away.

#include "classlib/ToolBar.h"
#include "controls/TrayIcon.h"
#include "dccwindows/DCCDialog.h"
#include "dialogs/AutoOpDialog.h"
#include "dialogs/HistoryDialog.h"
#include "dialogs/MaskDialog.h"
#include "dialogs/UserGroupDialog.h"
#include "foundation/DirectoryWatcher.h"
#include "foundation/HotKey.h"
#include "foundation/HtmlHelp.h"
#include "foundation/Timer.h"
#include "foundation/WindowHelpers.h"
#include "logview/ProtocolLogDialog.h"
#include "macrowindows/MacroSelectDialog.h"
#include "macrowindows/PopupEditorDialog.h"
#include "mainframe/AttachWindow.h"
#include "mainframe/ContentPanel.h"
#include "mainframe/DroppedFiles.h"
#include "mainframe/OwnedWindows.h"
#include "prefs/PreferenceDialog.h"
#include "res/resource.h"
#include "script/ScriptSelectDialog.h"
#include "script/ScriptServer.h"
#include "world/WorldFrame.h"

#include <vector>

class CMainApp;
class CCmdUI;
class TConfig;
class TIRCChannel;
class TIRCMember;
class TIRCUnit;
class TIRCWorld;
class TLogAddressFinder;
class TWhoDialog;
struct TNodeSerials;
struct TSize2;

// Registered at start-up by the application; read by the frame's message map.
extern UINT g_taskbarCreatedMessage;
extern UINT g_activateMessage;

// The control ids of the frame's two children.
const UINT kContentPanelId = 59648;
const UINT kToolBarId = 59392;
// How long the close waits for the servers to say goodbye.
const UINT kQuitWaitMs = 5000;

// The question asked before closing; empty asks nothing. PromptOnQuit asks always, otherwise
// only files in transfer make the close ask.
CString ChooseQuitQuestion(bool promptOnQuit, int receiving, int sending);

class CMainFrame : public TAttachWindow,
                   public ITimerListener,
                   public IDirectoryWatcherListener,
                   public IProtocolLogDialogListener,
                   public IScriptSelectDialogListener,
                   public IMacroSelectDialogListener,
                   public IPopupEditorDialogListener,
                   public IHistoryDialogListener,
                   public IMaskDialogListener,
                   public IWorldFrame {
public:
    CMainFrame(CMainApp* app, TConfig* settings);
    ~CMainFrame() override;

    void SetClassName(const CString& name) { className = name; }
    // The window from resource 128; false when it could not be made.
    BOOL CreateFrame();
    void ApplyStartupSettings(int showCommand);
    void SaveWindowState();
    CContentPanel& GetContentPanel() { return contentPanel; }
    TConfig& GetSettings() { return *settings; }
    const TLogAddressFinder* GetAddressFinder() const;
    HWND GetToolBar() const { return toolBar.m_hWnd; }
    bool IsHotKeyActive() const { return hotKey.IsActive(); }
    TTrayIcon& GetTrayIcon() { return trayIcon; }
    // Every modeless window of the frame, made or not.
    TOwnedWindows& GetOwnedWindows() { return ownedWindows; }

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnTimer(TTimer* timer) override;
    void OnDirectoryChanged(TDirectoryWatcher* watcher) override;

    // IWorldFrame: the content panel's controls.
    TServerTreeView* GetServerTree() override { return contentPanel.GetServerTree(); }
    TLogView* GetAllChannelsLog() override { return contentPanel.GetConsoleLog(); }
    TChatPanel* GetChatPanel() override { return contentPanel.GetChatPanel(); }
    TInputEdit* GetInputLine() override { return contentPanel.GetInputLine(); }
    TEdit* GetSearchEdit() override;
    TListPanel* GetMemberListPanel() override { return contentPanel.GetMemberListPanel(); }
    CImageList* GetTreeImageList() override { return contentPanel.GetTreeImageList(); }
    CImageList* GetMemberImageList() override { return contentPanel.GetMemberImageList(); }
    bool IsSearchBarShown() override { return contentPanel.IsSearchBarShown(); }
    // IWorldFrame: the frame's state.
    HWND GetFrameWindow() override { return m_hWnd; }
    bool IsApplicationActive() override { return applicationActive; }
    bool IsTopMost() override { return alwaysOnTop; }
    bool AreMacrosStopped() override { return macrosStopped; }
    bool IsClosing() override { return closing; }
    void CopyTextToClipboard(const CString& text) override;
    void SetTrayToolTip(const CString& text) override;
    void ShowBalloon(const CString& title, const CString& text) override;
    void StartMessageAlert() override;
    void StartHighlightAlert() override;
    void RestoreTitle() override;

    bool macrosStopped = false;
    bool applicationActive = false;
    bool closing = false;
    // The next close asks nothing (log-off, the tray menu's exit).
    bool ending = false;
    // Set once start-up has given the window its saved place; a close before that writes no
    // window state.
    bool placed = false;

    // Every command is offered to the content panel before the frame's own entries see it.
    // During the quit wait only a macro's or script's menu action can reach the hidden window:
    // it would open windows that are thrown away.
    BEGIN_MSG_MAP(CMainFrame)
        if (closing && uMsg == WM_COMMAND && lParam == 0)
            return TRUE;
        if (IsCommandMessage(uMsg) && contentPanel.ProcessWindowMessage(uMsg, wParam, lParam, lResult))
            return TRUE;
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
        MESSAGE_HANDLER(WM_ENABLE, OnEnableMessage)
        MESSAGE_HANDLER(g_taskbarCreatedMessage, OnTaskbarCreated)
        MESSAGE_HANDLER(g_activateMessage, OnActivateRequest)
        if (ProcessCommands(uMsg, wParam, lParam, lResult))
            return TRUE;
        CHAIN_MSG_MAP(TAttachWindow)
    END_MSG_MAP()

private:
    static bool IsCommandMessage(UINT message)
    {
        return message == WM_COMMAND || message == WM_KV_UPDATECMDUI || message == WM_KV_HASCOMMAND;
    }

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivateRequest(WPARAM wParam, LPARAM lParam);
    void OnHotKey();

    bool CreateToolBar();
    void LoadToolBarButtons();
    bool IsToolBarShown() const;
    void RecalcLayout();
    void ApplyCreationSettings();
    bool ConfirmClose();
    void BeginShutdown();
    void FinishClose();

    CMainApp* app;
    TConfig* settings;
    CString className = L"Ketroval2";
    CToolBarCtrl toolBar;
    CImageList toolBarImages;
    CContentPanel contentPanel;
    TTrayIcon trayIcon;
    TWindowFlasher flasher;
    TTimer quitWaitTimer;
    THotKeyManager hotKey;
    THtmlHelp help;
    TDirectoryWatcher scriptsWatcher;
    HMENU hiddenMenu = nullptr;
    // Before the windows below, which enter it as they are made, and after them as it goes.
    TOwnedWindows ownedWindows;
    // Made on the first line written to it; closing only hides it.
    TOwnedWindow<TProtocolLogDialog> scriptConsole{ownedWindows, ID_SCRIPT_CONSOLE, OwnedFollowsFrame};
    bool scriptConsoleShown = false;
    TOwnedWindow<TScriptSelectDialog> scriptSelect{ownedWindows, ID_SCRIPT_SETTINGS, OwnedFollowsFrame};
    TOwnedWindow<TMacroSelectDialog> macroSelect{ownedWindows, ID_MACRO_SETTINGS, OwnedFollowsFrame};
    TOwnedWindow<TPopupEditorDialog> popupEditor{ownedWindows, ID_POPUP_MENU_SETTINGS, OwnedFollowsFrame};
    TOwnedWindow<TMaskDialog> ignoreList{ownedWindows, ID_IGNORE_LIST};

    // ---- Commands, activation, services and listener operations (MainFrameCommands.cpp,
    // MainFrameServices.cpp, MainFrameActivation.cpp, MainFrameSearch.cpp, MainFrameDrop.cpp,
    // MainFrameRules.cpp, MainFrameMemberCommands.cpp, MainFrameEditRules.cpp,
    // MainFrameListeners.cpp) ----
public:
    bool ExecuteAction(const CString& name) override;
    bool LookupAction(const CString& name, int& commandId) override;
    int FindActionCommand(const CString& name) override;
    // What the command's enable handler says now; commands without one are enabled.
    bool IsCommandEnabled(UINT id);
    void UpdateMenuCommandUI(HMENU menu);

    void ShowDCCDialog(bool minimized) override;
    void BringDCCDialogToFront() override;
    void ShowScriptConsole();
    void WriteScriptConsoleLog(const CString& serverName, const CString& scriptName, const CString& text,
                               bool withPrefixes);
    void WriteScriptConsoleError(const CString& serverName, const CString& scriptName, const CString& text);
    // The script side's one entry: an error, or a log line with or without the server and script
    // names.
    void WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                            TScriptConsoleLine kind);
    void OnUserInfo() override;
    void OnMemberInfo();
    void OnChangeNick();
    void InsertMarkup(const CString& markup);
    void OnBoldEffect();
    void OnUnderlineEffect();
    void OnReverseEffect();
    void OnStopEffect();
    void ShowMaskList(int list);
    void OnBanList();
    void OnBanExceptionList();
    void OnInviteList();
    void OnReopList();
    // The world the commands act on, given by the application once it is made.
    void SetWorld(TIRCWorld* newWorld);
    void OnProtocolLogDialogClose(TProtocolLogDialog* dialog) override;
    // The script settings window (MainFrameScripts.cpp).
    void OnScriptSettings();
    TScriptSelectDialog* GetScriptSettings() const { return scriptSelect.Get(); }
    void OnScriptSelectDialogClosed(TScriptSelectDialog* dialog) override;
    void OnScriptSelectionChanged(TScriptSelectDialog* dialog) override;
    void OnShowScriptConsole(TScriptSelectDialog* dialog) override;
    // The macro settings window and the popup menu editor (MainFrameMacros.cpp).
    void OnMacroSettings();
    void OnPopupMenuSettings();
    TMacroSelectDialog* GetMacroSettings() const { return macroSelect.Get(); }
    TPopupEditorDialog* GetPopupEditor() const { return popupEditor.Get(); }
    void OnMacroSelectDialogClosed(TMacroSelectDialog* dialog) override;
    // A script or macro settings window about to go: its widths, then the server tree, stored.
    void SaveLayoutAndServerTree(TServerFileListDialog& window);
    void OnMacroFilesChanged(TMacroSelectDialog* dialog) override;
    void OnMacroFileRenamed(TMacroSelectDialog* dialog, const CString& oldName, const CString& newName) override;
    void OnMacroFileDeleted(TMacroSelectDialog* dialog, const CString& name) override;
    void OnPopupEditorDialogOK(TPopupEditorDialog* dialog) override;
    void OnPopupEditorDialogClose(TPopupEditorDialog* dialog) override;
    // Unit and channel by serial number (TIRCNode::GetSerial).
    void OnHistoryLineClick(unsigned unitSerial, unsigned channelSerial, int lineNumber);
    void OnMacroFileRenamed(const CString& oldName, const CString& newName);
    void OnMacroFileDeleted(const CString& name);
    void ShowMainMenu(bool show);
    void AppendMainMenuToSystemMenu();
    // Puts the focus in the input line with the input method open.
    void OpenInputMethod();
    // Files dropped on the window go to members through this; null: the world's DCC manager.
    void SetDroppedFileSender(IDroppedFileSender* sender) { dccSender = sender; }
    void OfferDroppedFiles(const std::vector<CString>& files, bool inside, POINT screen);
    void SendFileByDcc(TIRCUnit* unit, const CString& nick, const CString& path);
    // Target nicks of the member commands: those of the focused WHO window, else the main
    // window's. Getting them clears the selection of the list they came from.
    bool HasTargetNicks();
    std::vector<CString> GetTargetNicks();
    // The main window's only, leaving the member list's selection alone.
    std::vector<CString> GetMainTargetNicks();
    CString GetFocusedContextText();
    void SendCtcpToTargets(const CString& word);

    // Activation and size changes after the frame's own handling of WM_ACTIVATE and WM_SIZE.
    void FollowActivation(UINT state);
    void FollowSizeChange(UINT type);
    // What coming back from minimised undoes: the windows hidden with the frame are shown again
    // and the tray icon no longer counts the window as minimised.
    void ShowWindowsHiddenWithFrame();
    // Once the frame is active again: an icon shown only while minimised goes.
    void RemoveMinimizedTrayIcon();
    // Turns the tray icon on or off; off while the window hides in the tray brings the window back.
    void SetTrayIconEnabled(bool enabled);
    // An open preference window's tray page shows what the menu's switches just stored.
    void ShowTrayToggleOnPreferencePage(int box);

    // Command and enable handlers named by the command table.
    void OnConnect();
    void OnDisconnect();
    void OnForceDisconnect();
    void OnJoin();
    void OnPart();
    void OnToggleAway();
    void OnProtocolLog();
    void OnFind();
    void OnFindNext();
    void OnFindPrevious();
    void OnToggleToolBar();
    void OnToggleMainMenu();
    void OnToggleTopMost();
    void OnResetSplitters();
    void OnDCCWindow();
    void OnMinimize();
    void OnRestoreFromTray();
    void OnClearLog();
    void OnExitFromTray();
    void OnAppExit();
    void OnToggleTrayIcon();
    void OnToggleBalloon();
    void OnStopMacros();
    void OnHelpIndex();
    void OnHelpMainWindow();
    void OnHelpShortcutKeys();
    void OnHelpMacro();
    void OnHelpScript();
    void OnOpenHomePage();
    void OnTalk();
    void OnDccChat();
    void OnCtcpPing();
    void OnCtcpTime();
    void OnCtcpVersion();
    void OnCtcpUserinfo();
    void OnCtcpClientinfo();
    void OnGiveOp();
    void OnTakeOp();
    void OnGiveVoice();
    void OnTakeVoice();
    void OnKick();
    void OnAddBan();
    void OnCopyMemberAddress();
    void OnCopyUrl();
    void OnCopyAddress();
    void OnOpenUrl();
    void OnOpenUrlInNewWindow();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditCut();
    void OnEditClear();
    void OnEditUndo();
    void OnPasteMyAddress();
    void OnUpdateConnect(CCmdUI* ui);
    void OnUpdateDisconnect(CCmdUI* ui);
    void OnUpdateForceDisconnect(CCmdUI* ui);
    void OnUpdateLoggedIn(CCmdUI* ui);
    void OnUpdateUnitSelected(CCmdUI* ui);
    void OnUpdateToggleAway(CCmdUI* ui);
    void OnUpdateSendAction(CCmdUI* ui);
    void OnUpdateJoin(CCmdUI* ui);
    void OnUpdatePart(CCmdUI* ui);
    void OnUpdatePartPrompt(CCmdUI* ui);
    void OnUpdateJoinedChannelCommand(CCmdUI* ui);
    void OnUpdateModeChannelCommand(CCmdUI* ui);
    void OnUpdateDeleteChannel(CCmdUI* ui);
    void OnUpdateChannelProperties(CCmdUI* ui);
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnUpdateEditSelectAll(CCmdUI* ui);
    void OnUpdateEditCut(CCmdUI* ui);
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnUpdatePasteMyAddress(CCmdUI* ui);
    void OnUpdateFind(CCmdUI* ui);
    void OnUpdateToggleToolBar(CCmdUI* ui);
    void OnUpdateToggleMainMenu(CCmdUI* ui);
    void OnUpdateToggleTopMost(CCmdUI* ui);
    void OnUpdateHistory(CCmdUI* ui);
    void OnUpdateRestoreFromTray(CCmdUI* ui);
    void OnUpdateNodeHasLines(CCmdUI* ui);
    void OnUpdateSendMultiLine(CCmdUI* ui);
    void OnUpdateToggleTrayIcon(CCmdUI* ui);
    void OnUpdateToggleBalloon(CCmdUI* ui);
    void OnUpdateStopMacros(CCmdUI* ui);
    void OnUpdateNickCommand(CCmdUI* ui);
    void OnUpdateOperatorCommand(CCmdUI* ui);
    void OnUpdateMemberCommand(CCmdUI* ui);
    void OnUpdateRegisterToGroup(CCmdUI* ui);
    void OnUpdateCopyMemberAddress(CCmdUI* ui);
    void OnUpdateUserPopupCommand(CCmdUI* ui);
    // The user's popup-menu items run through the selected server (MainFramePopup.cpp).
    void OnUserPopupCommand();
    // Item i of the user's popup file answers to the command ID_USER_POPUP_FIRST + i.
    void AssignPopupCommandIds();
    // The id of the command being run, for the handlers of a range of ids.
    UINT runningCommand = 0;

    // ---- Commands that ask for a value first (MainFramePrompts.cpp) ----
    void OnTalkPrompt();
    void OnWhoisPrompt();
    void OnSendActionPrompt();
    void OnQuitPrompt();
    void OnPartPrompt();
    void OnSetAwayMessage();
    void OnTopic();
    void OnInviteToChannel();
    void OnInviteMember();
    void OnColorEffect();
    void SaveLogToFile();
    void OnResetMembers();
    // False when the user cancelled the kick; comment comes in as the default and goes out typed.
    bool AskKickComment(TIRCUnit* unit, TIRCChannel* channel, CString& comment);
    // The noted unit is still there and logged in, and so is the channel when one was noted.
    bool FindPromptTarget(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const;
    // The ignore list window (MainFrameIgnoreList.cpp).
    void ShowIgnoreListDialog();
    void ShowIgnoreList(const CString& mask) override;
    void OnRegisterIgnore();
    TMaskDialog* GetIgnoreListDialog() const { return ignoreList.Get(); }
    void OnMaskDialogOK(TMaskDialog* dialog) override;
    void OnMaskDialogUpdate(TMaskDialog*) override {}
    void OnMaskDialogClose(TMaskDialog* dialog) override;
    // ---- The channel and mode dialogs (MainFrameChannelDialogs.cpp) ----
    void OnAddChannel();
    void OnChannelProperties();
    void OnChannelMode();

private:
    // The command entries of the map, taken from the command table, and the frame messages of
    // activation, the system menu, the session end and dropped files.
    BOOL ProcessCommands(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    LRESULT OnActivateAppMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommandMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSessionMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFilesMessage(WPARAM wParam, LPARAM lParam);
    enum TEditFocus { EditFocusOther, EditFocusLog, EditFocusInput, EditFocusSearch, EditFocusList };
    TEditFocus GetEditFocus(TLogView*& view);
    bool AskConfirmation(UINT textId, UINT captionId);
    struct TSelectedNode {
        TIRCUnit* unit = nullptr;
        TIRCChannel* channel = nullptr;
    };
    TSelectedNode GetSelectedNode();
    // After a modal loop: the node noted before it, by its serials; false when it went, even when
    // a node made meanwhile took its memory.
    bool FindNodeAgain(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const;
    // The node of a focused WHO window, else the selected one.
    TSelectedNode GetActiveNode();
    std::vector<CString> CollectTargets(bool deselect);
    std::vector<CString> CollectMainTargets(bool deselect);
    void FindMainTargetSource(TLogView*& view, HWND& list);
    int CountTargets(bool mainOnly);
    HWND FindFocusedWhoList(bool& inMain);
    TIRCChannel* OpenTalkWith(TIRCUnit* unit, const TIRCMember& peer);
    bool HasMemberSelection();
    bool CanRunNickCommand(TIRCUnit* unit, TIRCChannel* channel);
    bool CanRunOperatorCommand(TIRCUnit* unit, TIRCChannel* channel);
    bool CanRunMemberCommand(TIRCUnit* unit, TIRCChannel* channel);
    const TIRCMember* FindAddressTarget(TIRCUnit* unit, TIRCChannel* channel);
    void ChangeMemberModes(wchar_t letter, bool give);
    // The edit that cut, delete and undo act on.
    HWND GetCutTarget();
    void SendToCutTarget(UINT message);
    TLogView* GetSelectedLogView();
    HWND GetMemberList();
    void FindInSelectedLog(bool forward);
    void CreateScriptConsole();

    // The search bar's words and keys go to the world, its close to the find command
    // (MainFrameSearch.cpp).
    class TSearchEvents : public ISearchPanelListener {
    public:
        explicit TSearchEvents(CMainFrame* frame) : frame(frame) {}
        // The content panel lays itself out.
        void OnSearchPanelResized(TSearchPanel*) override {}
        void OnSearchWordsChanged(const std::vector<CString>& words) override;
        bool OnFindNext() override;
        bool OnFindPrevious() override;
        void OnCloseSearchBar() override;
        IEditListener* GetShortcutListener() override;

    private:
        CMainFrame* frame;
    };

    TIRCWorld* world = nullptr;
    TSearchEvents searchEvents{this};
    IDroppedFileSender* dccSender = nullptr;

    // ---- The keyword and URL history windows and the channel list (MainFrameHistory.cpp) ----
public:
    void CreateHistoryWindows();
    // Their sizes are kept in the window settings first.
    void DestroyHistoryWindows();
    void StoreHistorySizes();
    THistoryDialog* GetKeywordHistory() const { return keywordHistory.Get(); }
    THistoryDialog* GetUrlHistory() const { return urlHistory.Get(); }
    void OnKeywordHistory();
    void OnUrlHistory();
    void OnChannelList();
    void OnHistoryLineClick(THistoryDialog* dialog, unsigned unit, unsigned channel, int line) override;
    void OnHistoryDialogClose(THistoryDialog* dialog) override;

private:
    void MakeHistoryWindow(TOwnedWindow<THistoryDialog>& slot, TSize2& size, UINT titleId, bool& shown);
    void ShowHistory(TOwnedWindow<THistoryDialog>& slot, bool& shown);

    // Made hidden at the start and kept to the end: lines reach them while the servers quit.
    TOwnedWindow<THistoryDialog> keywordHistory{ownedWindows, ID_KEYWORD_HISTORY,
                                                OwnedFollowsFrame | OwnedOutlivesQuit};
    TOwnedWindow<THistoryDialog> urlHistory{ownedWindows, ID_URL_HISTORY, OwnedFollowsFrame | OwnedOutlivesQuit};
    // Shown by the user and not closed since: only such a window comes back with the frame.
    bool keywordHistoryShown = false;
    bool urlHistoryShown = false;

    // ---- The DCC transfer window and the member list's file offer (MainFrameDcc.cpp) ----
public:
    TDCCDialog* GetDCCDialog() const { return dccDialog.Get(); }
    bool IsDCCDialogShown() const { return dccDialogShown; }
    void OnDCCDialogClosed(TDCCDialog* dialog);
    void BlinkDCCDialog() override;
    void OnDccSend();

private:
    class TDCCDialogEvents : public IDCCDialogListener {
    public:
        explicit TDCCDialogEvents(CMainFrame* frame) : frame(frame) {}
        void OnDCCDialogClosed(TDCCDialog* dialog) override { frame->OnDCCDialogClosed(dialog); }

    private:
        CMainFrame* frame;
    };
    // The world's; none before the world is made.
    TDCCManager* GetDCCManager() const;
    void AlignDCCDialogTopMost();
    // Saves the window's state and lets the manager go before the window goes.
    void CloseDCCDialog();

    TDCCDialogEvents dccEvents{this};
    // Made on first use; closing only hides it.
    TOwnedWindow<TDCCDialog> dccDialog{ownedWindows, ID_DCC_WINDOW, OwnedFollowsFrame | OwnedFrameIdle};
    bool dccDialogShown = false;

    // ---- The auto-op and user group windows (MainFrameAutoOp.cpp) ----
public:
    void ShowAutoOpDialog();
    void OnChannelAutoOp();
    void OnServerAutoOp();
    void RegisterMembersToAutoOp();
    void ShowUserGroupDialog();
    // -1 is the user's own group, 0 to 4 the numbered ones.
    void RegisterMembersToUserGroup(int index);
    void OnRegisterToGroup();
    TAutoOpDialog* GetAutoOpDialog() const { return autoOpDialog.Get(); }
    TUserGroupDialog* GetUserGroupDialog() const { return userGroupDialog.Get(); }
    void OnAutoOpDialogOK(TAutoOpDialog* dialog);
    // IWorldFrame: the open auto-op window follows the stored tree.
    void OnServerTreeStored(const TWorldConfig& stored) override;
    void OnUserGroupDialogOK(TUserGroupDialog* dialog);
    void OnSettingsDialogClose(TMaskTreeDialog* dialog);

private:
    class TSettingsDialogEvents : public IAutoOpDialogListener, public IUserGroupDialogListener {
    public:
        explicit TSettingsDialogEvents(CMainFrame* frame) : frame(frame) {}
        void OnAutoOpDialogOK(TAutoOpDialog* dialog) override { frame->OnAutoOpDialogOK(dialog); }
        void OnAutoOpDialogClose(TAutoOpDialog* dialog) override { frame->OnSettingsDialogClose(dialog); }
        void OnUserGroupDialogOK(TUserGroupDialog* dialog) override { frame->OnUserGroupDialogOK(dialog); }
        void OnUserGroupDialogClose(TUserGroupDialog* dialog) override { frame->OnSettingsDialogClose(dialog); }

    private:
        CMainFrame* frame;
    };
    template <class TDialog>
    void PrefillMasks(TDialog* dialog, TIRCChannel* channel, const std::vector<CString>& nicks, bool addSeveral = true);

    TSettingsDialogEvents settingsDialogEvents{this};
    TOwnedWindow<TAutoOpDialog> autoOpDialog{ownedWindows, ID_AUTO_OP};
    TOwnedWindow<TUserGroupDialog> userGroupDialog{ownedWindows, ID_USER_GROUPS};

    // ---- Adding servers and their properties (MainFrameServerDialogs.cpp) ----
public:
    void OnAddServer();
    void OnServerProperties();

    // ---- Copying and deleting servers and channels (MainFrameTreeCommands.cpp) ----
public:
    void OnCopyServer();
    void OnDeleteServer();
    void OnDeleteChannel();

private:
    void RefreshServerColumns();

    // ---- Sending several lines, the about box and the server tree order (MainFramePaste.cpp) ----
public:
    void OnSendMultiLine();
    void OnAppAbout();
    void EditServerTree();

private:
    // Asks about the text, sends it to the node when confirmed and keeps the dialog's settings.
    void ConfirmAndSendLines(TIRCUnit* unit, TIRCChannel* channel, const CString& text, bool pasteMode);

    // ---- The preference window and what its OK changes (MainFramePreferences.cpp) ----
public:
    void OnPreferences();
    TPreferenceDialog* GetPreferenceDialog() const { return preferenceDialog.Get(); }
    void OnPreferenceDialogOK(TPreferenceDialog* dialog);
    void OnPreferenceDialogClose(TPreferenceDialog* dialog);
    // The modeless settings windows follow the main window's enabled state.
    void EnableModelessWindows(bool enable);

private:
    class TPreferenceEvents : public IPreferenceDialogListener {
    public:
        explicit TPreferenceEvents(CMainFrame* frame) : frame(frame) {}
        void OnPreferenceDialogOK(TPreferenceDialog* dialog) override { frame->OnPreferenceDialogOK(dialog); }
        void OnPreferenceDialogClose(TPreferenceDialog* dialog) override { frame->OnPreferenceDialogClose(dialog); }

    private:
        CMainFrame* frame;
    };
    void ApplyHotKey();
    LRESULT OnEnableMessage(WPARAM wParam, LPARAM lParam);

    TPreferenceEvents preferenceEvents{this};
    TOwnedWindow<TPreferenceDialog> preferenceDialog{ownedWindows, ID_PREFERENCES, OwnedStandsApart};
};

// The name a saved log is proposed under: the node's name and the date, with characters a file
// name cannot hold made "_".
CString MakeLogFileName(const CString& nodeName, const SYSTEMTIME& date);
