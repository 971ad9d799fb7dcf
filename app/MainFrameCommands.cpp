// The menu commands of the main window: the command table, its handlers and the action names.

#include "app/MainFrame.h"

BOOL CMainFrame::ProcessCommands(UINT, WPARAM, LPARAM, LRESULT&) { return FALSE; }

bool CMainFrame::ExecuteAction(const CString&) { return false; }

bool CMainFrame::LookupAction(const CString&, int& commandId)
{
    commandId = 0;
    return false;
}

int CMainFrame::FindActionCommand(const CString&) { return 0; }

void CMainFrame::ShowDCCDialog(bool) {}

void CMainFrame::BringDCCDialogToFront() {}

void CMainFrame::OnUserInfo() {}

void CMainFrame::WriteScriptConsole(const CString&, const CString&, const CString&, bool) {}
