// The script settings window that the frame opens and owns, what the frame does when it reports,
// and the reload of every server's scripts when the scripts folder changes.

#include "mainframe/MainFrame.h"
#include "script/ScriptSelectDialog.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::OnScriptSettings()
{
    if (scriptSelect.ShowOrBringForward())
        return;
    if (!world)
        return;
    // Files changed while no one watched are picked up before the user looks at the list.
    world->ReloadAllScripts();
    std::vector<TIRCUnit*> servers;
    world->GetUnitsInTreeOrder(servers);
    auto made = std::make_unique<TScriptSelectDialog>(settings, world);
    made->listener = this;
    made->SetServers(servers);
    TScriptSelectDialog* dialog =
        scriptSelect.Open(std::move(made), [](TScriptSelectDialog& d) { return d.Create() != FALSE; });
    if (!dialog)
        return;
    // Closed by the program's end as well as by the user, the window keeps its layout, and the
    // servers' column widths reach tree.ini.
    scriptSelect.beforeDestroy = [this] { SaveLayoutAndServerTree(*scriptSelect.Get()); };
    CentreWindowOn(dialog->m_hWnd, m_hWnd);
    dialog->ShowWindow(SW_SHOW);
    dialog->SetWindowPos(alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The enabled scripts are stored per server in "tree.ini" as the slot lets the window go.
void CMainFrame::OnScriptSelectDialogClosed(TScriptSelectDialog* dialog)
{
    if (scriptSelect.Holds(dialog))
        scriptSelect.Destroy();
}

void CMainFrame::OnScriptSelectionChanged(TScriptSelectDialog*)
{
    if (world)
        world->SaveServerTree();
}

void CMainFrame::OnShowScriptConsole(TScriptSelectDialog*) { ShowScriptConsole(); }

// A script saved, added or removed in the folder: every server runs what is there now.
void CMainFrame::OnDirectoryChanged(TDirectoryWatcher*)
{
    if (closing || !world)
        return;
    world->ReloadAllScripts();
    if (scriptSelect)
        scriptSelect->RefreshList();
}
