// The main window's side of DCC file transfers: the transfer window, made on first use and kept
// hidden between uses, and the member list's command that offers a file to the selected nicks.

#include "mainframe/MainFrame.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "world/IRCWorld.h"
#include "res/resource.h"
#include "settings/Config.h"

#include <algorithm>

TDCCManager* CMainFrame::GetDCCManager() const { return world ? &world->GetDCCManager() : nullptr; }

void CMainFrame::ShowDCCDialog(bool minimized)
{
    HWND focus = ::GetFocus();
    HWND active = ::GetActiveWindow();
    TDCCManager* manager = GetDCCManager();
    if (dccDialog && dccDialogShown) {
        if (::IsIconic(dccDialog->m_hWnd))
            dccDialog->PostMessage(WM_SYSCOMMAND, SC_RESTORE);
        else
            dccDialog->ShowWindow(SW_SHOW);
    } else if (dccDialog) {
        if (manager)
            manager->SetListener(dccDialog);
        dccDialog->ShowWindow(minimized ? SW_SHOWMINIMIZED : SW_SHOW);
        AlignDCCDialogTopMost();
        dccDialog->RefreshAndSelectFirst();
        dccDialogShown = true;
        if (focus)
            ::SetFocus(focus);
    } else {
        dccDialog = new TDCCDialog;
        dccDialog->SetManager(manager);
        dccDialog->SetListener(&dccEvents);
        dccDialog->SetSettings(settings);
        if (manager)
            manager->SetListener(dccDialog);
        if (!dccDialog->LoadFrame(IDR_DCC_WINDOW, WS_OVERLAPPEDWINDOW)) {
            delete dccDialog;
            dccDialog = nullptr;
            return;
        }
        dccDialog->RestorePlacement(minimized);
        AlignDCCDialogTopMost();
        dccDialog->RefreshAndSelectFirst();
        dccDialogShown = true;
    }
    // The transfer window never takes the input away from the main window.
    if (applicationActive) {
        if (active && ::IsWindow(active))
            ::SetActiveWindow(active);
        if (focus && ::IsWindow(focus))
            ::SetFocus(focus);
    }
}

void CMainFrame::AlignDCCDialogTopMost()
{
    if (dccDialog->IsTopMost() != alwaysOnTop)
        SetDCCDialogTopMost(alwaysOnTop);
}

void CMainFrame::SetDCCDialogTopMost(bool on)
{
    dccDialog->SetTopMostFlag(on);
    dccDialog->SetWindowPos(on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainFrame::BringDCCDialogToFront()
{
    if (!dccDialog || !dccDialogShown)
        return;
    ForceBringWindowToTop(dccDialog->m_hWnd);
    ForceSetForegroundWindow(dccDialog->m_hWnd);
}

void CMainFrame::BlinkDCCDialog()
{
    if (dccDialog && dccDialogShown)
        dccDialog->GetFlasher().BlinkTitle();
}

void CMainFrame::OnDCCWindow()
{
    ShowDCCDialog(false);
    BringDCCDialogToFront();
}

void CMainFrame::OnDCCDialogClosed(TDCCDialog* dialog)
{
    if (dialog != dccDialog)
        return;
    if (TDCCManager* manager = GetDCCManager(); manager && manager->GetListener() == dialog)
        manager->SetListener(nullptr);
    dccDialogShown = false;
}

void CMainFrame::RelayIdleToDCCDialog()
{
    if (dccDialog && dccDialog->m_hWnd && dccDialogShown)
        dccDialog->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

void CMainFrame::ShowDCCDialogWithOwnWindows(int showCommand)
{
    if (dccDialog && dccDialogShown)
        dccDialog->ShowWindow(showCommand);
}

void CMainFrame::DestroyDCCDialog()
{
    if (!dccDialog)
        return;
    TDCCDialog* dialog = dccDialog;
    dccDialog = nullptr;
    dccDialogShown = false;
    if (dialog->m_hWnd)
        dialog->OnClose();
    delete dialog;
}

void CMainFrame::OnDccSend()
{
    auto [unit, channel] = GetActiveNode();
    TDCCManager* manager = GetDCCManager();
    if (!CanRunMemberCommand(unit, channel) || !manager)
        return;
    std::vector<CString> nicks = GetTargetNicks();
    TFileDialog dialog(true, CString(), CString(), OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       LoadResourceString(IDS_FILTER_ALL_FILES), m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_DCC_SEND_FILE_TITLE));
    if (dialog.DoModal() != IDOK)
        return;
    CString path = dialog.GetPathName();
    // The server or the channel may have gone while the chooser was open.
    if (!world || !world->HasUnit(unit))
        return;
    const std::vector<TIRCChannel*>& channels = unit->GetChannels();
    if (std::find(channels.begin(), channels.end(), channel) == channels.end())
        return;
    bool added = false;
    for (const CString& nick : nicks)
        if (channel->FindMember(nick)) {
            manager->AddSendItem(unit, nick, path);
            added = true;
        }
    if (added && settings->preference.ViewDialogOnSend)
        ShowDCCDialog(false);
}
