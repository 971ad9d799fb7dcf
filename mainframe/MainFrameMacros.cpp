// The macro settings window and the popup menu editor that the frame opens and owns, and what the
// frame does when they report: the servers read their macro files again, follow a renamed or
// deleted file, and the popup menu is saved and numbered again.

#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "mainframe/MainFrame.h"
#include "res/strings/macro.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::OnMacroSettings()
{
    // An open editor stands in for the window, which hides while it is open.
    if (macroSelect.IsOpen() && macroSelect->GetEditor()) {
        BringBackWindow(macroSelect->GetEditor()->m_hWnd);
        return;
    }
    if (macroSelect.ShowOrBringForward() || !world)
        return;
    std::vector<TIRCUnit*> servers;
    world->GetUnitsInTreeOrder(servers);
    auto made = std::make_unique<TMacroSelectDialog>(settings, world);
    made->listener = this;
    made->SetServers(servers);
    TMacroSelectDialog* dialog = macroSelect.Open(
        std::move(made), [](TMacroSelectDialog& d) { return d.Create(IDD_MACRO_SELECT, nullptr) != FALSE; });
    if (!dialog)
        return;
    // The window hides while its editor is open: the editor follows the frame in its place, and
    // the window passes the top-most state on to it, now and when it opens one later.
    // Closed by the program's end as well as by the user, the window keeps its layout, and the
    // servers' choices and column widths reach tree.ini.
    macroSelect.beforeDestroy = [this] { SaveLayoutAndServerTree(*macroSelect.Get()); };
    macroSelect.standIn = [this]() -> CWnd* { return macroSelect->GetEditor(); };
    macroSelect.setTopMost = [this](bool on) { macroSelect->SetTopMost(on); };
    CentreWindowOn(dialog->m_hWnd, m_hWnd);
    dialog->ShowWindow(SW_SHOW);
    dialog->SetTopMost(alwaysOnTop);
}

void CMainFrame::SaveLayoutAndServerTree(TServerFileListDialog& window)
{
    window.SaveLayout();
    if (world)
        world->SaveServerTree();
}

// The enabled files are stored per server in "tree.ini" as the slot lets the window go.
void CMainFrame::OnMacroSelectDialogClosed(TMacroSelectDialog* dialog)
{
    if (macroSelect.Holds(dialog))
        macroSelect.Destroy();
}

void CMainFrame::OnMacroFilesChanged(TMacroSelectDialog*)
{
    if (world)
        world->ResetAllMacros();
}

void CMainFrame::OnMacroFileRenamed(TMacroSelectDialog*, const CString& oldName, const CString& newName)
{
    if (!world)
        return;
    world->RenameMacroFileInAllUnits(oldName, newName);
    world->SaveServerTree();
}

void CMainFrame::OnMacroFileDeleted(TMacroSelectDialog*, const CString& name)
{
    if (!world)
        return;
    world->RemoveMacroFileFromAllUnits(name);
    world->SaveServerTree();
}

void CMainFrame::OnPopupMenuSettings()
{
    if (popupEditor.ShowOrBringForward())
        return;
    auto made = std::make_unique<TPopupEditorDialog>(settings);
    made->listener = this;
    made->file.CopyFrom(settings->popup);
    TPopupEditorDialog* dialog = popupEditor.Open(
        std::move(made), [](TPopupEditorDialog& d) { return d.Create(IDD_POPUP_EDITOR, nullptr) != FALSE; });
    if (!dialog)
        return;
    popupEditor.beforeDestroy = [this] { popupEditor->StoreLayout(); };
    dialog->ShowWindow(SW_SHOW);
    if (alwaysOnTop)
        dialog->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::OnPopupEditorDialogOK(TPopupEditorDialog* dialog)
{
    settings->popup.CopyFrom(dialog->file);
    // The menu in use is the new one either way; only the file may be behind.
    if (!settings->SavePopupMenu())
        ShowWarningMessage(m_hWnd, LoadResourceString(IDS_POPUP_SAVE_FAILED), CString());
    AssignPopupCommandIds();
}

void CMainFrame::OnPopupEditorDialogClose(TPopupEditorDialog* dialog)
{
    if (popupEditor.Holds(dialog))
        popupEditor.Destroy();
}
