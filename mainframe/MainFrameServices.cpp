// The main window's own switches, help pages, log clearing, tray exit, user popup items and
// script console, and the services other parts of the program call on the frame.

#include "classlib/CmdUI.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

namespace {

// Actions that talk to the server; their items wait for a logged-in server.
const wchar_t* const kServerActions[] = {L"send",     L"action",    L"join",      L"part",          L"quit",   L"mode",
                                         L"nick",     L"topic",     L"kick",      L"away",          L"invite", L"ctcp",
                                         L"ctcpping", L"ctcpquery", L"ctcpreply", L"pushtoopqueue", L"sendraw"};

// The first "%s" of the text, when it is not written "%%s".
bool HasSelectionPlaceholder(const CString& text)
{
    int at = text.Find(L"%s");
    return at >= 0 && (at == 0 || text[at - 1] != L'%');
}

bool IsServerAction(const CString& action)
{
    CString lower = action;
    lower.MakeLower();
    for (const wchar_t* name : kServerActions)
        if (lower == name)
            return true;
    return false;
}

} // namespace

CString GetHomePageUrl() { return L"https://ketroval.example.org/"; }

bool CMainFrame::AskConfirmation(UINT textId, UINT captionId)
{
    // Counted, so the main window stays disabled until the last modal window closes.
    return ShowConfirmMessage(m_hWnd, LoadResourceString(textId), LoadResourceString(captionId));
}

// The tree's selection: a server with a channel or talk, a server alone, or neither.
CMainFrame::TSelectedNode CMainFrame::GetSelectedNode()
{
    TSelectedNode node;
    if (world)
        world->GetSelection(node.unit, node.channel);
    return node;
}

bool CMainFrame::FindNodeAgain(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const
{
    unit = nullptr;
    channel = nullptr;
    return world && world->FindNode(noted, unit, channel);
}

// The selected node's own log; without a node, an empty view of the world's.
TLogView* CMainFrame::GetSelectedLogView() { return world ? world->GetCurrentLogView() : nullptr; }

// Saving and clearing a log need a node whose log holds lines.
void CMainFrame::OnUpdateNodeHasLines(CCmdUI* ui)
{
    TLogView* view = GetSelectedLogView();
    ui->Enable(view && view->GetLineCount() > 0);
}

void CMainFrame::OnStopMacros() { macrosStopped = !macrosStopped; }

void CMainFrame::OnUpdateStopMacros(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(macrosStopped ? 1 : 0);
}

void CMainFrame::OnToggleTrayIcon()
{
    TPreference& preference = settings->preference;
    preference.EnableTrayIcon = !preference.EnableTrayIcon;
    SetTrayIconEnabled(preference.EnableTrayIcon);
    preference.Save(settings->GetSettingsFolder());
    ShowTrayToggleOnPreferencePage(IDC_TRAY_ENABLE);
}

void CMainFrame::OnUpdateToggleTrayIcon(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(settings->preference.EnableTrayIcon ? 1 : 0);
}

void CMainFrame::OnToggleBalloon()
{
    TPreference& preference = settings->preference;
    preference.EnableBaloon = !preference.EnableBaloon;
    // An empty balloon takes one that is still on screen away.
    if (!preference.EnableBaloon)
        trayIcon.ShowBalloon(CString(), CString());
    preference.Save(settings->GetSettingsFolder());
    ShowTrayToggleOnPreferencePage(IDC_TRAY_BALLOON);
}

void CMainFrame::ShowTrayToggleOnPreferencePage(int box)
{
    if (preferenceDialog.IsOpen())
        preferenceDialog->trayIconPage.ShowTrayToggle(box);
}

void CMainFrame::OnUpdateToggleBalloon(CCmdUI* ui)
{
    ui->Enable(settings->preference.EnableTrayIcon);
    ui->SetCheck(settings->preference.EnableBaloon ? 1 : 0);
}

void CMainFrame::OnClearLog()
{
    auto [unit, channel] = GetSelectedNode();
    TLogView* view = GetSelectedLogView();
    if (!unit || !view || view->GetLineCount() == 0)
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (!AskConfirmation(IDS_CLEAR_LOG_CONFIRM, IDS_CLEAR_LOG_CAPTION))
        return;
    // The node asked about, wherever the selection went meanwhile; not when it went itself.
    if (!FindNodeAgain(asked, unit, channel))
        return;
    view = channel ? channel->logView : unit->logView;
    if (view)
        view->RemoveHeadLines(view->GetLineCount());
}

void CMainFrame::OnExitFromTray()
{
    if (!AskConfirmation(IDS_CONFIRM_QUIT, IDS_QUIT_CAPTION))
        return;
    ending = true;
    SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CMainFrame::OnOpenHomePage()
{
    if (world)
        world->OpenUrl(GetHomePageUrl(), false);
}

void CMainFrame::OnHelpIndex() { help.ShowTopic(L"help\\index.html"); }
void CMainFrame::OnHelpMainWindow() { help.ShowTopic(L"help\\mainwindow.html"); }
void CMainFrame::OnHelpShortcutKeys() { help.ShowTopic(L"help\\shortcutkey.html"); }
void CMainFrame::OnHelpScript() { help.ShowTopic(L"help\\script\\index.html"); }
void CMainFrame::OnHelpMacro() { help.ShowTopic(L"help\\macro\\index.html"); }

void CMainFrame::OnResetSplitters() { contentPanel.ResetSplitterPositions(); }

void CMainFrame::OnUpdateSendMultiLine(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(unit && channel && unit->GetState() == TIRCUnit::StateLoggedIn && channel->IsJoined());
}

void CMainFrame::OnUpdateUserPopupCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit) {
        ui->Enable(FALSE);
        return;
    }
    const std::vector<TPopupItem*>& items = settings->popup.items;
    size_t index = ui->m_nID - ID_USER_POPUP_FIRST;
    if (index >= items.size())
        return;
    const TPopupItem& item = *items[index];
    if ((HasSelectionPlaceholder(item.target) || HasSelectionPlaceholder(item.actionInfo)) &&
        unit->GetSelectedText().IsEmpty()) {
        ui->Enable(FALSE);
        return;
    }
    ui->Enable(!IsServerAction(item.action) || unit->GetState() == TIRCUnit::StateLoggedIn);
}

void CMainFrame::SetTrayToolTip(const CString& text) { trayIcon.SetToolTip(text); }

// Held back while the screen saver runs; shown without IRC control codes.
void CMainFrame::ShowBalloon(const CString& title, const CString& text) { trayIcon.ShowNotice(title, text); }
