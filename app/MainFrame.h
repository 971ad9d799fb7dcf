#pragma once
// CMainFrame: the program's one top-level window. It owns the tool bar, the content panel, the
// tray icon, the caption flasher, the restore hot key, the help file and the scripts-folder
// watcher; it answers the start-up messages and runs the orderly close that quits the servers
// and waits for them before the window goes away.

#include "app/AttachWindow.h"
#include "app/ContentPanel.h"
#include "classlib/ToolBar.h"
#include "foundation/DirectoryWatcher.h"
#include "foundation/HotKey.h"
#include "foundation/HtmlHelp.h"
#include "foundation/Timer.h"
#include "foundation/WindowHelpers.h"
#include "irc/WorldFrame.h"

#include <map>

class CMainApp;
class TConfig;
class TProtocolLogDialog;

// Registered at start-up by the application; read by the frame's message map.
extern UINT g_taskbarCreatedMessage;
extern UINT g_activateMessage;

// The control ids of the frame's two children.
const UINT kContentPanelId = 59648;
const UINT kToolBarId = 59392;
// How long the close waits for the servers to say goodbye.
const UINT kQuitWaitMs = 5000;

class CMainFrame : public TAttachWindow, public ITimerListener, public IDirectoryWatcherListener, public IWorldFrame {
public:
    CMainFrame(CMainApp* app, TConfig* settings);
    ~CMainFrame() override;

    void SetClassName(const CString& name) { className = name; }
    // The window from resource 128; false when it could not be made.
    BOOL CreateFrame();
    void ApplyStartupSettings(int showCommand);
    void SaveWindowState();
    CContentPanel& GetContentPanel() { return contentPanel; }
    HWND GetToolBar() const { return toolBar.m_hWnd; }
    bool IsHotKeyActive() const { return hotKey.IsActive(); }

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnTimer(TTimer* timer) override;
    void OnDirectoryChanged(TDirectoryWatcher* watcher) override;

    // IWorldFrame: the content panel's controls.
    TServerTreeView* GetServerTree() override { return contentPanel.GetServerTree(); }
    TLogView* GetAllChannelsLog() override { return contentPanel.GetConsoleLog(); }
    TChatPanel* GetChatPanel() override { return contentPanel.GetChatPanel(); }
    TInputEdit* GetInputLine() override { return contentPanel.GetInputLine(); }
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

    // Every command is offered to the content panel before the frame's own entries see it.
    BEGIN_MSG_MAP(CMainFrame)
        if (IsCommandMessage(uMsg) && contentPanel.ProcessWindowMessage(uMsg, wParam, lParam, lResult))
            return TRUE;
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
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
    // The tray icon (TTrayIcon) joins here.
    TWindowFlasher flasher;
    TTimer quitWaitTimer;
    THotKeyManager hotKey;
    THtmlHelp help;
    TDirectoryWatcher scriptsWatcher;
    HMENU hiddenMenu = nullptr;
    TProtocolLogDialog* scriptConsole = nullptr;
    bool scriptConsoleShown = false;
    std::map<CString, int> actionTable;
    bool actionTableBuilt = false;

    // ---- Commands: the menu command table, its handlers and the actions (MainFrameCommands*.cpp).
public:
    bool ExecuteAction(const CString& name) override;
    bool LookupAction(const CString& name, int& commandId) override;
    int FindActionCommand(const CString& name) override;
    void ShowDCCDialog(bool minimized) override;
    void BringDCCDialogToFront() override;
    void OnUserInfo() override;
    // The script console, made on first use.
    void WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text, bool error);

private:
    // The command entries of the map, taken from the command table.
    BOOL ProcessCommands(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
};
