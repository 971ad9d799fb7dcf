// The search bar commands: showing and hiding the bar, and finding the next or previous match in
// the selected node's log.

#include "classlib/CmdUI.h"
#include "mainframe/MainFrame.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

TEdit* CMainFrame::GetSearchEdit()
{
    TSearchPanel& bar = contentPanel.GetSearchBar();
    return bar.m_hWnd ? &bar.edit : nullptr;
}

void CMainFrame::OnFind()
{
    bool shown = !contentPanel.IsSearchBarShown();
    contentPanel.ShowSearchBar(shown);
    if (shown) {
        TSearchPanel& bar = contentPanel.GetSearchBar();
        bar.ApplySearch();
        bar.edit.SetFocus();
    } else {
        if (world)
            world->ResetSearchInAllLogs();
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
    if (world)
        forward ? world->FindNext() : world->FindPrevious();
}

void CMainFrame::TSearchEvents::OnSearchWordsChanged(const std::vector<CString>& words)
{
    if (frame->world)
        frame->world->SetSearchWords(words);
}

bool CMainFrame::TSearchEvents::OnFindNext() { return frame->world && frame->world->FindNext(); }

bool CMainFrame::TSearchEvents::OnFindPrevious() { return frame->world && frame->world->FindPrevious(); }

void CMainFrame::TSearchEvents::OnCloseSearchBar()
{
    if (frame->contentPanel.IsSearchBarShown())
        frame->OnFind();
}

IEditListener* CMainFrame::TSearchEvents::GetShortcutListener() { return frame->world; }
