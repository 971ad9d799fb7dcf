// The script settings window that the frame opens and owns, what the frame does when it reports,
// and the reload of every server's scripts when the scripts folder changes.

#include "mainframe/MainFrame.h"
#include "world/IRCWorld.h"
#include "script/ScriptSelectDialog.h"
#include "settings/Config.h"

void CMainFrame::OnScriptSettings()
{
    if (scriptSelect) {
        BringBackWindow(scriptSelect->m_hWnd);
        return;
    }
    if (!world)
        return;
    // Files changed while no one watched are picked up before the user looks at the list.
    world->ReloadAllScripts();
    std::vector<TIRCUnit*> servers;
    world->GetUnitsInTreeOrder(servers);
    scriptSelect = new TScriptSelectDialog(settings, world);
    scriptSelect->listener = this;
    scriptSelect->SetServers(servers);
    if (!scriptSelect->Create()) {
        delete scriptSelect;
        scriptSelect = nullptr;
        return;
    }
    CentreWindowOn(scriptSelect->m_hWnd, m_hWnd);
    scriptSelect->ShowWindow(SW_SHOW);
    scriptSelect->SetWindowPos(alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The enabled scripts are stored per server in "tree.ini".
void CMainFrame::OnScriptSelectDialogClosed(TScriptSelectDialog* dialog)
{
    if (world)
        world->SaveServerTree();
    if (dialog == scriptSelect)
        scriptSelect = nullptr;
    delete dialog;
}

void CMainFrame::OnScriptSelectionChanged(TScriptSelectDialog*)
{
    if (world)
        world->SaveServerTree();
}

void CMainFrame::OnShowScriptConsole(TScriptSelectDialog*) { ShowScriptConsole(); }

void CMainFrame::DestroyScriptSettings()
{
    delete scriptSelect;
    scriptSelect = nullptr;
}

// A script saved, added or removed in the folder: every server runs what is there now.
void CMainFrame::OnDirectoryChanged(TDirectoryWatcher*)
{
    if (closing || !world)
        return;
    world->ReloadAllScripts();
    if (scriptSelect)
        scriptSelect->RefreshList();
}
