// The search bar commands: showing and hiding the bar, and finding the next or previous match in
// the selected node's log.

#include "app/MainFrame.h"
#include "classlib/CmdUI.h"
#include "irc/IRCChannel.h"
#include "settings/Config.h"

void CMainFrame::OnFind()
{
    bool shown = !contentPanel.IsSearchBarShown();
    contentPanel.ShowSearchBar(shown);
    if (shown) {
        TSearchPanel& bar = contentPanel.GetSearchBar();
        bar.ApplySearch();
        bar.edit.SetFocus();
    } else {
        ResetSearchInAllLogs();
        if (TInputEdit* input = contentPanel.GetInputLine())
            input->SetFocus();
    }
}

void CMainFrame::OnUpdateFind(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(contentPanel.IsSearchBarShown() ? 1 : 0);
}

void CMainFrame::OnFindNext() { FindInSelectedLog(true); }

void CMainFrame::OnFindPrevious() { FindInSelectedLog(false); }

void CMainFrame::FindInSelectedLog(bool forward)
{
    if (!contentPanel.IsSearchBarShown()) {
        OnFind();
        return;
    }
    if (TLogView* view = GetSelectedLogView())
        view->FindNextMatch(forward, false);
}

// Every log view drops its search highlight: the console, the servers', the channels' and talks'.
void CMainFrame::ResetSearchInAllLogs()
{
    std::vector<CString> none;
    if (TLogView* console = contentPanel.GetConsoleLog())
        console->SetSearchWords(none);
    if (!world)
        return;
    for (TIRCUnit* unit : world->GetUnits()) {
        for (TIRCChannel* channel : unit->GetChannels())
            if (channel->logView)
                channel->logView->SetSearchWords(none);
    }
}
