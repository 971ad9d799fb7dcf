// The main window's side of DCC file transfers: the transfer window, made on first use and kept
// hidden between uses, and the member list's command that offers a file to the selected nicks.

#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

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
            manager->SetListener(dccDialog.Get());
        dccDialog->ShowWindow(minimized ? SW_SHOWMINIMIZED : SW_SHOW);
        AlignDCCDialogTopMost();
        dccDialog->RefreshAndSelectFirst();
        dccDialogShown = true;
        if (focus)
            ::SetFocus(focus);
    } else {
        auto made = std::make_unique<TDCCDialog>();
        made->SetManager(manager);
        made->SetListener(&dccEvents);
        made->SetSettings(settings);
        if (manager)
            manager->SetListener(made.get());
        TDCCDialog* window = dccDialog.Open(
            std::move(made), [](TDCCDialog& d) { return d.LoadFrame(IDR_DCC_WINDOW, WS_OVERLAPPEDWINDOW) != FALSE; });
        if (!window) {
            if (manager)
                manager->SetListener(nullptr);
            return;
        }
        dccDialog.beforeDestroy = [this] { CloseDCCDialog(); };
        dccDialog.markedShown = [this] { return dccDialogShown; };
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
    bool topMost = (dccDialog->GetExStyle() & WS_EX_TOPMOST) != 0;
    if (topMost != alwaysOnTop)
        dccDialog.FollowFrameTopMost(alwaysOnTop);
}

void CMainFrame::BringDCCDialogToFront()
{
    if (!dccDialog || !dccDialogShown)
        return;
    ForceToFront(dccDialog->m_hWnd);
}

// A window the user is looking at already has nothing to call attention to.
void CMainFrame::BlinkDCCDialog()
{
    if (dccDialog && dccDialogShown && ::GetForegroundWindow() != dccDialog->m_hWnd)
        dccDialog->GetFlasher().BlinkTitle();
}

void CMainFrame::OnDCCWindow()
{
    ShowDCCDialog(false);
    BringDCCDialogToFront();
}

void CMainFrame::OnDCCDialogClosed(TDCCDialog* dialog)
{
    if (!dccDialog.Holds(dialog))
        return;
    if (TDCCManager* manager = GetDCCManager(); manager && manager->GetListener() == dialog)
        manager->SetListener(nullptr);
    dccDialogShown = false;
}

// Its own close keeps its placement and, through OnDCCDialogClosed, takes it off the manager.
void CMainFrame::CloseDCCDialog()
{
    if (dccDialog->m_hWnd)
        dccDialog->OnClose();
    if (TDCCManager* manager = GetDCCManager(); manager && manager->GetListener() == dccDialog.Get())
        manager->SetListener(nullptr);
    dccDialogShown = false;
}

void CMainFrame::OnDccSend()
{
    auto [unit, channel] = GetActiveNode();
    TDCCManager* manager = GetDCCManager();
    if (!CanRunMemberCommand(unit, channel) || !manager)
        return;
    std::vector<CString> nicks = GetTargetNicks();
    TFileDialog dialog(true, CString(), CString(),
                       OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       LoadResourceString(IDS_FILTER_ALL_FILES), m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_DCC_SEND_FILE_TITLE));
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (dialog.DoModal() != IDOK)
        return;
    CString path = dialog.GetPathName();
    // The server or the channel may have gone while the chooser was open.
    if (!FindNodeAgain(asked, unit, channel) || !channel)
        return;
    for (const CString& nick : nicks)
        if (channel->FindMember(nick))
            manager->AddSendItem(unit, nick, path);
    // Shown even when every nick has left meanwhile: the user sees that nothing was offered.
    if (settings->preference.ViewDialogOnSend)
        ShowDCCDialog(false);
}
