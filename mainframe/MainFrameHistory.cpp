// The keyword and URL history windows the frame keeps from start to end, and the channel list
// command.

#include "mainframe/MainFrame.h"
#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "world/IRCWorld.h"
#include "res/resource.h"
#include "settings/Config.h"

void CMainFrame::SetWorld(TIRCWorld* newWorld)
{
    if (world)
        world->SetHistoryWindows(nullptr, nullptr);
    world = newWorld;
    if (world)
        world->SetHistoryWindows(keywordHistory, urlHistory);
}

THistoryDialog* CMainFrame::MakeHistoryWindow(const TSize2& size, UINT titleId)
{
    THistoryDialog* dialog = new THistoryDialog;
    TLogTheme& theme = settings->view.logTheme;
    dialog->SetListener(this);
    dialog->SetAppearance(&theme.text, &theme.channelLogBack, &settings->preference.keyword, GetAddressFinder());
    dialog->SetPreference(&settings->preference);
    dialog->SetGeometry(&settings->geometry);
    dialog->SetSize(size.width, size.height);
    dialog->SetUrlOpener([this](const CString& url) {
        if (world)
            world->OpenUrl(url, false);
    });
    if (!dialog->CreateHidden(m_hWnd)) {
        delete dialog;
        return nullptr;
    }
    dialog->SetWindowText(LoadResourceString(titleId));
    return dialog;
}

void CMainFrame::CreateHistoryWindows()
{
    const TWindowGeometry& geometry = settings->geometry;
    keywordHistory = MakeHistoryWindow(geometry.keywordHistorySize, IDS_KEYWORD_HISTORY_TITLE);
    urlHistory = MakeHistoryWindow(geometry.urlHistorySize, IDS_URL_HISTORY_TITLE);
    if (urlHistory)
        urlHistory->SetFileLogEnabled(settings->preference.EnableURLLog);
    if (world)
        world->SetHistoryWindows(keywordHistory, urlHistory);
}

void CMainFrame::DestroyHistoryWindows()
{
    if (!keywordHistory && !urlHistory)
        return;
    if (world)
        world->SetHistoryWindows(nullptr, nullptr);
    TWindowGeometry& geometry = settings->geometry;
    if (keywordHistory)
        geometry.keywordHistorySize = {keywordHistory->GetWidth(), keywordHistory->GetHeight()};
    if (urlHistory)
        geometry.urlHistorySize = {urlHistory->GetWidth(), urlHistory->GetHeight()};
    delete keywordHistory;
    delete urlHistory;
    keywordHistory = nullptr;
    urlHistory = nullptr;
}

void CMainFrame::KickIdleHistoryWindows(WPARAM wParam, LPARAM lParam)
{
    for (THistoryDialog* dialog : {keywordHistory, urlHistory})
        if (dialog && dialog->m_hWnd && dialog->IsWindowVisible())
            dialog->SendMessage(WM_KICKIDLE, wParam, lParam);
}

void CMainFrame::HideHistoryWindows()
{
    for (THistoryDialog* dialog : {keywordHistory, urlHistory})
        if (dialog && dialog->m_hWnd)
            dialog->ShowWindow(SW_HIDE);
}

void CMainFrame::ShowHistory(THistoryDialog* dialog)
{
    if (!dialog || !dialog->m_hWnd)
        return;
    if (!dialog->IsWindowVisible()) {
        dialog->Show();
        return;
    }
    BringBackWindow(dialog->m_hWnd);
}

void CMainFrame::OnKeywordHistory() { ShowHistory(keywordHistory); }

void CMainFrame::OnUrlHistory() { ShowHistory(urlHistory); }

void CMainFrame::OnUpdateHistory(CCmdUI* ui)
{
    THistoryDialog* dialog = ui->m_nID == ID_URL_HISTORY ? urlHistory : keywordHistory;
    ui->Enable(dialog && dialog->GetLogView().GetLineCount() > 0);
}

void CMainFrame::OnChannelList()
{
    auto [unit, channel] = GetSelectedNode();
    if (unit && unit->GetState() == TIRCUnit::StateLoggedIn)
        unit->ShowChannelListDialog();
}

void CMainFrame::OnHistoryLineClick(THistoryDialog*, TIRCUnit* unit, TIRCChannel* channel, int line)
{
    OnHistoryLineClick(unit, channel, line);
}
