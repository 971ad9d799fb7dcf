// The keyword and URL history windows the frame keeps from start to end, and the channel list
// command.

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::SetWorld(TIRCWorld* newWorld)
{
    if (world)
        world->SetHistoryWindows(nullptr, nullptr);
    world = newWorld;
    if (world)
        world->SetHistoryWindows(keywordHistory.Get(), urlHistory.Get());
}

// Its size is kept in `size` when it goes, whichever way the frame goes.
void CMainFrame::MakeHistoryWindow(TOwnedWindow<THistoryDialog>& slot, TSize2& size, UINT titleId, bool& shown)
{
    shown = false;
    auto made = std::make_unique<THistoryDialog>();
    TLogTheme& theme = settings->view.logTheme;
    made->SetListener(this);
    made->SetAppearance(&theme.text, &theme.channelLogBack, &settings->preference.keyword, GetAddressFinder());
    made->SetPreference(&settings->preference);
    made->SetGeometry(&settings->geometry);
    made->SetSize(size.width, size.height);
    made->SetUrlOpener([this](const CString& url) {
        if (world)
            world->OpenUrl(url, false);
    });
    THistoryDialog* dialog = slot.Open(std::move(made), [this](THistoryDialog& d) { return d.CreateHidden(m_hWnd); });
    if (!dialog)
        return;
    dialog->SetWindowText(LoadResourceString(titleId));
    slot.markedShown = [&shown] { return shown; };
    slot.beforeDestroy = [this, &slot, &size] {
        if (world)
            world->SetHistoryWindows(nullptr, nullptr);
        size = {slot->GetWidth(), slot->GetHeight()};
    };
}

void CMainFrame::StoreHistorySizes()
{
    TWindowGeometry& geometry = settings->geometry;
    // An open find dialog's options are kept as its close keeps them.
    if (keywordHistory) {
        keywordHistory->CloseFindDialog();
        geometry.keywordHistorySize = {keywordHistory->GetWidth(), keywordHistory->GetHeight()};
    }
    if (urlHistory) {
        urlHistory->CloseFindDialog();
        geometry.urlHistorySize = {urlHistory->GetWidth(), urlHistory->GetHeight()};
    }
}

void CMainFrame::CreateHistoryWindows()
{
    TWindowGeometry& geometry = settings->geometry;
    MakeHistoryWindow(keywordHistory, geometry.keywordHistorySize, IDS_KEYWORD_HISTORY_TITLE, keywordHistoryShown);
    MakeHistoryWindow(urlHistory, geometry.urlHistorySize, IDS_URL_HISTORY_TITLE, urlHistoryShown);
    if (urlHistory)
        urlHistory->SetFileLogEnabled(settings->preference.EnableURLLog);
    if (world)
        world->SetHistoryWindows(keywordHistory.Get(), urlHistory.Get());
}

void CMainFrame::DestroyHistoryWindows()
{
    keywordHistory.Destroy();
    urlHistory.Destroy();
}

void CMainFrame::ShowHistory(TOwnedWindow<THistoryDialog>& slot, bool& shown)
{
    if (!slot.IsOpen())
        return;
    shown = true;
    if (!slot.IsVisible()) {
        slot->Show();
        return;
    }
    slot.ShowOrBringForward();
}

void CMainFrame::OnKeywordHistory() { ShowHistory(keywordHistory, keywordHistoryShown); }

void CMainFrame::OnUrlHistory() { ShowHistory(urlHistory, urlHistoryShown); }

// Closing only hides it; the mark keeps the frame's restore from bringing it back.
void CMainFrame::OnHistoryDialogClose(THistoryDialog* dialog)
{
    if (keywordHistory.Holds(dialog))
        keywordHistoryShown = false;
    if (urlHistory.Holds(dialog))
        urlHistoryShown = false;
}

void CMainFrame::OnUpdateHistory(CCmdUI* ui)
{
    THistoryDialog* dialog = ui->m_nID == ID_URL_HISTORY ? urlHistory.Get() : keywordHistory.Get();
    ui->Enable(dialog && dialog->GetLogView().GetLineCount() > 0);
}

void CMainFrame::OnChannelList()
{
    auto [unit, channel] = GetSelectedNode();
    if (unit && unit->GetState() == TIRCUnit::StateLoggedIn)
        unit->ShowChannelListDialog();
}

void CMainFrame::OnHistoryLineClick(THistoryDialog*, unsigned unit, unsigned channel, int line)
{
    OnHistoryLineClick(unit, channel, line);
}
