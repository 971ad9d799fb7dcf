// The macro settings window and the popup menu editor that the frame opens and owns, and what the
// frame does when they report: the servers read their macro files again, follow a renamed or
// deleted file, and the popup menu is saved and numbered again.

#include "mainframe/MainFrame.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::OnMacroSettings()
{
    if (macroSelect) {
        TMacroEditorDialog* editor = macroSelect->GetEditor();
        BringBackWindow(editor ? editor->m_hWnd : macroSelect->m_hWnd);
        return;
    }
    if (!world)
        return;
    std::vector<TIRCUnit*> servers;
    world->GetUnitsInTreeOrder(servers);
    macroSelect = new TMacroSelectDialog(settings, world);
    macroSelect->listener = this;
    macroSelect->SetServers(servers);
    if (!macroSelect->Create(IDD_MACRO_SELECT, nullptr)) {
        delete macroSelect;
        macroSelect = nullptr;
        return;
    }
    CentreWindowOn(macroSelect->m_hWnd, m_hWnd);
    macroSelect->ShowWindow(SW_SHOW);
    macroSelect->SetTopMost(alwaysOnTop);
}

// The enabled files are stored per server in "tree.ini".
void CMainFrame::OnMacroSelectDialogClosed(TMacroSelectDialog* dialog)
{
    if (world)
        world->SaveServerTree();
    if (dialog == macroSelect)
        macroSelect = nullptr;
    delete dialog;
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
    if (popupEditor) {
        BringBackWindow(popupEditor->m_hWnd);
        return;
    }
    popupEditor = new TPopupEditorDialog(settings);
    popupEditor->listener = this;
    popupEditor->file.CopyFrom(settings->popup);
    if (!popupEditor->Create(IDD_POPUP_EDITOR, nullptr)) {
        delete popupEditor;
        popupEditor = nullptr;
        return;
    }
    popupEditor->ShowWindow(SW_SHOW);
    if (alwaysOnTop)
        popupEditor->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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
    if (dialog == popupEditor)
        popupEditor = nullptr;
    delete dialog;
}

void CMainFrame::DestroyMacroWindows()
{
    delete macroSelect;
    macroSelect = nullptr;
    delete popupEditor;
    popupEditor = nullptr;
}
