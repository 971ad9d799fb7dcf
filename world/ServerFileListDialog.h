#pragma once
// TServerFileListDialog: the base of the macro and script settings windows. The files of one
// folder are its rows and every server a column; a mark in a cell says that the server uses that
// file, and a right click on the cell switches it. Column widths and the window's size are kept
// in the settings.

#include "controls/ListView.h"
#include "controls/ResizableDialog.h"

#include <vector>

class TConfig;
class TIRCUnit;
class TIRCWorld;
struct TSize2;
struct TUnitSetting;
struct TWindowGeometry;

// Where a kind of file keeps its state: which servers use a file, and the stored widths.
struct TServerFileKind {
    UINT fileHeading; // string id of the file-name column
    std::vector<CString> TUnitSetting::*files;
    int TUnitSetting::*columnWidth;
    // A stored server column narrower or wider than these is taken as the nearest.
    int narrowestColumn;
    int widestColumn;
    void (TIRCUnit::*enableFile)(const CString& name, bool enable);
    void (TIRCUnit::*setColumnWidth)(int width);
    TSize2 TWindowGeometry::*windowSize;
    int TWindowGeometry::*fileColumnWidth;
};

class TServerFileListDialog : public TResizableDialog, public IListViewListener {
public:
    // The servers whose columns are shown, in server-tree order.
    void SetServers(const std::vector<TIRCUnit*>& value) { servers = value; }
    void RebuildColumns();
    void RefreshList();
    // Widths into the settings: the window's, the file column's, and each server's column.
    void SaveLayout();
    TListView& GetList() { return list; }

    BOOL OnInitDialog() override;

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override {}
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

    BEGIN_MSG_MAP(TServerFileListDialog)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

protected:
    // config gives the folders and the stored geometry.
    TServerFileListDialog(UINT templateId, const TServerFileKind& kind, SIZE minimum, TConfig* config,
                          TIRCWorld* world);

    // The names of the rows, in the order they are added.
    virtual std::vector<CString> ListFiles() const = 0;

    // Takes over the list control, fills it, selects the first row and gives it the focus.
    void SetUpList(UINT listId);
    // Switches the cell under the mouse pointer for its server; false when no server cell of a
    // server still in the world was hit.
    bool SwitchCellAtPointer();

    TConfig* config;
    TIRCWorld* world;
    TListView list;

private:
    // The server of a list column (1 and later); null when it has left the world since.
    TIRCUnit* ColumnServer(int column) const;

    const TServerFileKind& kind;
    std::vector<TIRCUnit*> servers;
    std::vector<TIRCUnit*> columnServers; // the server behind list column n + 1
    CString markText;
};
