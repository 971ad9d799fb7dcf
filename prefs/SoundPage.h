#pragma once
// The sound page: for each event whether a sound plays and which file it is; a row's check box
// turns the event's sound on.

#include "prefs/PreferencePage.h"

#include <commctrl.h>

#include <vector>

class TSoundPage : public TPreferencePage {
public:
    TSoundPage() : TPreferencePage(IDD_SOUND_PAGE) {}

    // Where the column widths are kept; without it the defaults show and nothing is kept.
    void SetColumnWidths(std::vector<int>* widths) { columnWidths = widths; }

    BOOL OnInitDialog() override;
    void OnCancel() override { StoreColumnWidths(); }

    // Play, for the row chosen; tests call it without the sound.
    CString GetSelectedFile() const;

    BEGIN_MSG_MAP(TSoundPage)
        COMMAND_ID_HANDLER(IDC_SOUND_PLAY, OnPlay)
        COMMAND_ID_HANDLER(IDC_SOUND_CHANGE, OnChange)
        NOTIFY_HANDLER(IDC_SOUND_LIST, NM_DBLCLK, OnListDoubleClick)
        NOTIFY_HANDLER(IDC_SOUND_LIST, NM_RCLICK, OnListRightClick)
        UPDATE_UI_HANDLER(IDC_SOUND_PLAY, OnUpdatePlay)
        UPDATE_UI_HANDLER(IDC_SOUND_CHANGE, OnUpdateChange)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;
    void Load() override;
    void Store() override;

private:
    int GetSelectedRow() const;
    void OnPlay();
    void OnChange();
    LRESULT OnListDoubleClick(NMHDR*);
    LRESULT OnListRightClick(NMHDR*);
    void OnUpdatePlay(CCmdUI* ui);
    void OnUpdateChange(CCmdUI* ui);
    void StoreColumnWidths();

    std::vector<int>* columnWidths = nullptr;
    bool columnsBuilt = false;
};
