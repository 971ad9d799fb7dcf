#pragma once
// TRowListDialog: the base of the two list editors (macro rules, popup items). One list row per
// entry, a resizable window that keeps its controls anchored, and the commands every such list
// has: Copy, Delete, Up and Down on the selected row, Edit on Enter and on a double click.

#include "controls/ListView.h"
#include "controls/ResizableDialog.h"
#include "res/windows/macro.h"
#include "settings/Config.h"

#include <vector>

// The ids are the same in both editors' templates.
enum : UINT {
    IDC_ROWS_COPY = IDC_MACRO_EDITOR_COPY,
    IDC_ROWS_UP = IDC_MACRO_EDITOR_UP,
    IDC_ROWS_DOWN = IDC_MACRO_EDITOR_DOWN,
    IDC_ROWS_DELETE = IDC_MACRO_EDITOR_DELETE,
    IDC_ROWS_LIST = IDC_MACRO_EDITOR_LIST,
    IDC_ROWS_NEW = IDC_MACRO_EDITOR_NEW,
    IDC_ROWS_EDIT = IDC_MACRO_EDITOR_EDIT,
    IDC_ROWS_HINT = IDC_MACRO_EDITOR_HINT,
};
static_assert(IDC_POPUP_EDITOR_COPY == IDC_ROWS_COPY && IDC_POPUP_EDITOR_UP == IDC_ROWS_UP &&
              IDC_POPUP_EDITOR_DOWN == IDC_ROWS_DOWN && IDC_POPUP_EDITOR_DELETE == IDC_ROWS_DELETE &&
              IDC_POPUP_EDITOR_LIST == IDC_ROWS_LIST && IDC_POPUP_EDITOR_NEW == IDC_ROWS_NEW &&
              IDC_POPUP_EDITOR_EDIT == IDC_ROWS_EDIT && IDC_POPUP_EDITOR_HINT == IDC_ROWS_HINT);

class TRowListDialog : public TResizableDialog, public IListViewListener {
public:
    // The list takes the window's growth; OK, Cancel and the hint keep to the lower right.
    BOOL OnInitDialog() override;
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override { OnEdit(); }
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

    TListView& GetList() { return list; }

    BEGIN_MSG_MAP(TRowListDialog)
        COMMAND_ID_HANDLER(IDC_ROWS_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_ROWS_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_ROWS_COPY, OnCopy)
        COMMAND_ID_HANDLER(IDC_ROWS_DELETE, OnDelete)
        COMMAND_ID_HANDLER(IDC_ROWS_UP, OnUp)
        COMMAND_ID_HANDLER(IDC_ROWS_DOWN, OnDown)
        UPDATE_UI_HANDLER(IDC_ROWS_EDIT, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_ROWS_COPY, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_ROWS_DELETE, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_ROWS_UP, OnUpdateUp)
        UPDATE_UI_HANDLER(IDC_ROWS_DOWN, OnUpdateDown)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

protected:
    struct TColumn {
        UINT heading; // string id
        int format;   // LVCFMT_LEFT or LVCFMT_RIGHT
    };

    TRowListDialog(UINT templateId, SIZE minimum) : TResizableDialog(templateId, minimum) {}

    virtual void OnNew() = 0;
    virtual void OnEdit() = 0;
    // Inserts a row at `at` that holds what row `row` holds.
    virtual void DuplicateRow(int row, int at) = 0;

    // Subclasses the list and sets its styles; extendedStyle adds to full-row select.
    void SetUpList(DWORD extendedStyle);
    // Widths missing from the stored list take the defaults; the list then has a width for
    // every column.
    void InsertColumns(const std::vector<TColumn>& columns, std::vector<int>& widths, const std::vector<int>& defaults);
    // The window at its stored size (the fallback when none is stored), the first row selected
    // and the focus in the list.
    void ShowRows(const TSize2& size, SIZE fallback);
    // The column widths and the window's size into the stored geometry.
    void StoreGeometry(std::vector<int>& widths, TSize2& size) const;
    void Anchor(UINT id, UINT anchors) { layout.AddControl(anchors, GetDlgItem(id)); }

    int Selected() const { return list.GetNextItem(-1, LVNI_SELECTED); }
    // Selects, focuses and shows the row; a row that is not there clears every selection.
    void SelectRow(int row);
    // The row where a new entry goes: after the selected one, or at the end.
    int RowAfterSelection() const;

    TListView list;

private:
    void OnCopy();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnUpdateSelected(CCmdUI* ui);
    void OnUpdateUp(CCmdUI* ui);
    void OnUpdateDown(CCmdUI* ui);
};

// The row commands of a list whose rows stand for records of type TItem, each edited in a modal
// TItemDialog (with the members `item` and `soundsFolder`): New puts the edited record after the
// selected row, Edit writes it back over the row. A subclass says how a record fills a row.
template <class TItem, class TItemDialog> class TRecordListDialog : public TRowListDialog {
protected:
    // config gives the sound folder and the window's stored geometry.
    TRecordListDialog(UINT templateId, SIZE minimum, TConfig* config)
        : TRowListDialog(templateId, minimum), config(config)
    {
    }

    virtual TItem ReadRow(int row) const = 0;
    virtual void WriteRow(const TItem& item, int row) = 0;

    int InsertRow(const TItem& item, int at)
    {
        int row = list.InsertItem(at, L"");
        if (row >= 0)
            WriteRow(item, row);
        return row;
    }
    void DuplicateRow(int row, int at) override { InsertRow(ReadRow(row), at); }

    // Opens the item dialog on the record; true after OK, the record then edited.
    bool EditItem(TItem& item)
    {
        TItemDialog dialog;
        dialog.m_pParentWnd = this;
        dialog.item = item;
        dialog.soundsFolder = config->GetSoundsFolder();
        if (dialog.DoModal() != IDOK)
            return false;
        item = dialog.item;
        return true;
    }

    void OnNew() override
    {
        TItem item;
        if (EditItem(item))
            SelectRow(InsertRow(item, RowAfterSelection()));
    }

    void OnEdit() override
    {
        int selected = Selected();
        if (selected < 0)
            return;
        TItem item = ReadRow(selected);
        if (!EditItem(item))
            return;
        // The row selected now: the list kept working while the dialog was open.
        selected = Selected();
        if (selected < 0)
            return;
        WriteRow(item, selected);
        ListView_EnsureVisible(list.m_hWnd, selected, FALSE);
    }

    TConfig* config;
};
