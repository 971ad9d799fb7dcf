// The close: confirmation, the shutdown in order, and the wait for the servers to quit.

#include "dcc/DCCReceiveItem.h"
#include "dcc/DCCSendItem.h"
#include "dccmanager/DCCManager.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "logview/ProtocolLogDialog.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <shellapi.h>

CString ChooseQuitQuestion(bool promptOnQuit, int receiving, int sending)
{
    if (promptOnQuit)
        return LoadResourceString(IDS_CONFIRM_QUIT);
    CString text;
    if (receiving && sending)
        text.Format(LoadResourceString(IDS_QUIT_TRANSFERRING), receiving + sending);
    else if (receiving)
        text.Format(LoadResourceString(IDS_QUIT_RECEIVING), receiving);
    else if (sending)
        text.Format(LoadResourceString(IDS_QUIT_SENDING), sending);
    return text;
}

bool CMainFrame::ConfirmClose()
{
    int receiving = 0;
    int sending = 0;
    if (TDCCManager* manager = GetDCCManager()) {
        receiving = manager->CountActiveReceives();
        sending = manager->CountActiveSends();
    }
    CString question = ChooseQuitQuestion(settings->preference.PromptOnQuit, receiving, sending);
    return question.IsEmpty() || ShowConfirmMessage(m_hWnd, question, LoadResourceString(IDS_QUIT_CAPTION));
}

// The main menu's exit is an ordinary close, with its questions.
void CMainFrame::OnAppExit() { SendMessageW(WM_CLOSE, 0, 0); }

LRESULT CMainFrame::OnClose(WPARAM, LPARAM)
{
    if (closing) {
        FinishClose();
        return 0;
    }
    if (!ending && !ConfirmClose())
        return 0;
    BeginShutdown();
    TIRCWorld* world = app->GetWorld();
    if (!world || world->CountActiveUnits() == 0) {
        FinishClose();
        return 0;
    }
    // Hidden, the window waits for the last connection to close or for the timer.
    quitWaitTimer.Start(kQuitWaitMs);
    app->ReleaseInstanceMutex();
    return 0;
}

void CMainFrame::BeginShutdown()
{
    closing = true;
    scriptsWatcher.Stop();
    ::DragAcceptFiles(m_hWnd, FALSE);
    hotKey.SetActive(false);
    ownedWindows.CloseForQuit();
    // Until start-up has placed the window (a log-off during the first questions) it holds none
    // of the user's state: window.ini stays as it was read.
    if (placed) {
        // The history windows stay until the end, but window.ini is written now.
        StoreHistorySizes();
        SaveWindowState();
        TSplitterPositions positions = contentPanel.GetSplitterPositions();
        settings->splitterLeft = positions.left;
        settings->splitterRoot = positions.root;
        settings->splitterInfo = positions.info;
        settings->splitterLog = positions.log;
    }
    // A logged-in server says goodbye; one still on its way in is cut off; scripts unload.
    if (TIRCWorld* world = app->GetWorld())
        world->ShutdownAllUnits(false);
    if (placed)
        settings->SaveWindowSettings();
    flasher.RestoreTitle();
    if (trayIcon.IsEnabled())
        trayIcon.SetEnabled(false);
    ShowWindow(SW_HIDE);
}

void CMainFrame::FinishClose()
{
    quitWaitTimer.Stop();
    ownedWindows.DestroyAll();
    if (TIRCWorld* world = app->GetWorld())
        world->Shutdown();
    DestroyWindow();
}
