// The world's side of the channel list windows and of the main window's keyword and URL
// history windows.

#include "world/WorldChannelLists.h"

#include "dialogs/HistoryDialog.h"
#include "dialogs/ListDialog.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

IChannelListWindow* TWorldChannelLists::CreateChannelListWindow(TIRCUnit*, IListDialogListener* listener,
                                                                const CString& title)
{
    TListDialog* dialog = new TListDialog;
    dialog->SetListener(listener);
    dialog->SetTitle(title);
    dialog->SetGeometry(geometry);
    if (!dialog->CreateAndShow()) {
        delete dialog;
        return nullptr;
    }
    return dialog;
}

IChannelListWindows* TIRCWorld::GetChannelListWindows()
{
    channelListMaker.geometry = &config->geometry;
    return &channelListMaker;
}

void TIRCWorld::SetHistoryWindows(THistoryDialog* keyword, THistoryDialog* url)
{
    if (urlHistory)
        urlHistory->GetFileLogger().listener = nullptr;
    keywordHistory = keyword;
    urlHistory = url;
    if (urlHistory)
        urlHistory->GetFileLogger().listener = this;
}

void TIRCWorld::OnLogFileFailed(TFileLogger* logger, const CString& path, DWORD error)
{
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    GetSelection(unit, channel);
    if (!unit && !units.empty())
        unit = units.front();
    if (unit)
        unit->OnLogFileFailed(logger, path, error);
}

void TIRCWorld::AddToKeywordHistory(const TLogLineData& line)
{
    if (keywordHistory)
        keywordHistory->AddLine(line);
}

void TIRCWorld::AddToUrlHistory(const TLogLineData& line)
{
    if (urlHistory)
        urlHistory->AddLine(line);
}

// Both windows were made before settings a take-over or the preference window brings.
void TIRCWorld::ApplyHistoryPreferences()
{
    for (THistoryDialog* history : {keywordHistory, urlHistory})
        if (history && history->m_hWnd)
            history->ApplyViewSettings();
    if (!urlHistory)
        return;
    urlHistory->SetFileLogEnabled(preference->EnableURLLog);
    urlHistory->GetFileLogger().ReopenIfNameChanged();
}

void TIRCWorld::TickUrlHistory(bool newDay)
{
    if (!urlHistory)
        return;
    if (newDay)
        urlHistory->GetFileLogger().ReopenIfNameChanged();
    urlHistory->GetFileLogger().FlushTick();
}
