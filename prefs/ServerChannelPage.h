#pragma once
// TServerChannelPage: the channels of a server, in the order they are joined. A ticked row is
// joined at connect; right-clicking a mark cell of the selected row flips it. The rows are the
// page's working state: the server's record is rebuilt from them on OK.

#include "controls/ListView.h"
#include "prefs/ServerPage.h"

#include <vector>

class TServerChannelPage : public TServerPage, public IListViewListener {
public:
    TServerChannelPage();

    // The stored column widths, read when the page opens and written back on OK and Cancel.
    std::vector<int>* columnWidths = nullptr;

    BOOL OnInitDialog() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TServerChannelPage)
        COMMAND_ID_HANDLER(IDC_SERVER_CHANNEL_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_SERVER_CHANNEL_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_SERVER_CHANNEL_DELETE, OnDelete)
        COMMAND_ID_HANDLER(IDC_SERVER_CHANNEL_UP, OnUp)
        COMMAND_ID_HANDLER(IDC_SERVER_CHANNEL_DOWN, OnDown)
        UPDATE_UI_HANDLER(IDC_SERVER_CHANNEL_EDIT, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_SERVER_CHANNEL_DELETE, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_SERVER_CHANNEL_UP, OnUpdateUp)
        UPDATE_UI_HANDLER(IDC_SERVER_CHANNEL_DOWN, OnUpdateDown)
        CHAIN_MSG_MAP(TServerPage)
    END_MSG_MAP()

    // IListViewListener: Enter and a double click edit; a right click flips a mark.
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override { OnEdit(); }
    void OnRightClick(TListView* list) override;
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

protected:
    void Load() override;
    void Store() override;

private:
    // Writes the record into the row, or appends a row when row < 0; returns the row.
    int WriteRow(int row, const TChannelConfig& channel, size_t recordIndex);
    // The record the row came from, with what the row shows put over it.
    TChannelConfig ReadRow(int row) const;
    int Selected() const;
    void SelectRow(int row);
    void StoreColumnWidths();
    // Runs the channel dialog on the record; true on OK.
    bool EditChannel(TChannelConfig& channel, bool adding);
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnUp();
    void OnDown();
    void MoveSelected(int by);
    void OnUpdateSelected(CCmdUI* ui);
    void OnUpdateUp(CCmdUI* ui);
    void OnUpdateDown(CCmdUI* ui);

    TListView list;
    // Every record a row ever came from; a row's item data is its index here, so fields the
    // rows do not show (auto-op masks) survive the rebuild.
    std::vector<TChannelConfig> records;
    bool initialised = false;
};
