#pragma once
// The sound page: for each event whether a sound plays and which file it is; a row's check box
// turns the event's sound on.

#include "controls/ListView.h"
#include "prefs/PreferencePage.h"

#include <commctrl.h>

#include <vector>

class TSoundPage : public TPreferencePage, public IListViewListener {
public:
    TSoundPage() : TPreferencePage(IDD_SOUND_PAGE), rows(this) {}

    // Where the column widths are kept; without it the defaults show and nothing is kept.
    void SetColumnWidths(std::vector<int>* widths) { columnWidths = widths; }

    BOOL OnInitDialog() override;
    void OnCancel() override { StoreColumnWidths(); }

    // Play, for the row chosen; tests call it without the sound.
    CString GetSelectedFile() const;

    BEGIN_MSG_MAP(TSoundPage)
        COMMAND_ID_HANDLER(IDC_SOUND_PLAY, OnPlay)
        COMMAND_ID_HANDLER(IDC_SOUND_CHANGE, OnChange)
        UPDATE_UI_HANDLER(IDC_SOUND_PLAY, OnUpdatePlay)
        UPDATE_UI_HANDLER(IDC_SOUND_CHANGE, OnUpdateChange)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

    // IListViewListener: a double click changes the row's file, a right click plays it.
    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override { OnChange(); }
    void OnRightClick(TListView*) override { OnPlay(); }
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

protected:
    void Exchange(TDialogExchange& io) override;
    void Load() override;
    void Store() override;

private:
    int GetSelectedRow() const;
    void OnPlay();
    void OnChange();
    void OnUpdatePlay(CCmdUI* ui);
    void OnUpdateChange(CCmdUI* ui);
    void StoreColumnWidths();

    TListView rows; // the list control, which tells the page of clicks
    std::vector<int>* columnWidths = nullptr;
    bool columnsBuilt = false;
};
