#pragma once
// A dialog from its resource template holding every own control, laid out by TLayoutManager,
// with the code-made panels (splitter, card and chat panels) in its lower part. Listeners
// record what the controls report; each can be told to consume keys.

#include "classlib/UpDown.h"
#include "controls/ChatPanel.h"
#include "controls/ComboBox.h"
#include "controls/DoubleBufferedView.h"
#include "controls/Edit.h"
#include "controls/Label.h"
#include "controls/LayoutManager.h"
#include "controls/ListBox.h"
#include "controls/Splitter.h"
#include "controls/UpdateDialog.h"

#include <set>
#include <vector>

struct TReport {
    CString what; // "key", "syskey", "enter", "ctrlspace", "context", "change", "click", ...
    UINT key = 0;
    int x = 0, y = 0;
    void* item = nullptr;
};

class TRecordingListener : public IEditListener,
                           public IListViewListener,
                           public ITreeViewListener,
                           public ITreeViewDragListener,
                           public ICheckListBoxListener {
public:
    bool Record(const wchar_t* what, UINT key = 0, int x = 0, int y = 0, void* item = nullptr);
    int Count(const wchar_t* what) const;
    const TReport* Last(const wchar_t* what) const;
    void Clear() { reports.clear(); }

    bool OnKeyDown(TEdit*, UINT key) override { return Record(L"key", key); }
    bool OnSysKeyDown(TEdit*, UINT key) override { return Record(L"syskey", key); }
    bool OnEnter(TEdit*, UINT key) override { return Record(L"enter", key); }
    bool OnCtrlSpace(TEdit*) override { return Record(L"ctrlspace"); }
    bool OnMouseWheel(TEdit*, UINT, short delta, int, int) override { return Record(L"wheel", 0, delta); }
    // Taken, so no edit menu opens its modal loop in the middle of a test.
    bool OnContextMenu(TEdit*, int x, int y) override { return Record(L"context", 0, x, y) || true; }
    void OnChange(TEdit*) override { Record(L"change"); }
    void OnHeightChanged(TEdit*) override { Record(L"height"); }
    void OnImeComposition(TEdit*, CString) override { Record(L"ime"); }

    bool OnKeyDown(UINT key) override { return Record(L"key", key); }
    bool OnSysKeyDown(UINT key) override { return Record(L"syskey", key); }
    // With the selected row and whether its box was ticked when the owner heard of it.
    void OnDoubleClick(TListView* list, UINT, int x, int y) override
    {
        int row = list->GetNextItem(-1, LVNI_SELECTED);
        Record(L"dblclick", (UINT)row, x, y, (void*)(INT_PTR)ListView_GetCheckState(list->m_hWnd, row));
    }
    void OnRightClick(TListView*) override { Record(L"rclick"); }
    void OnContextMenu(TListView*, int x, int y) override { Record(L"context", 0, x, y); }
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int column) override { Record(L"column", (UINT)column); }

    void OnSelChanged(TTreeView*, HTREEITEM item, HTREEITEM) override { Record(L"selchanged", 0, 0, 0, item); }
    void OnContextMenu(TTreeView*, HTREEITEM item, int x, int y) override { Record(L"context", 0, x, y, item); }
    void OnDoubleClick(TTreeView*, HTREEITEM item, int x, int y) override { Record(L"dblclick", 0, x, y, item); }
    void OnCustomDraw(TTreeView*, NMHDR*, LRESULT*) override {}
    void OnDragOver(TTreeView*, HTREEITEM, HTREEITEM& target) override;
    void OnDrop(TTreeView*, HTREEITEM dragged, HTREEITEM target) override;

    bool OnKeyDown(TListBox*, UINT key) override { return Record(L"key", key); }
    bool OnSysKeyDown(TListBox*, UINT key) override { return Record(L"syskey", key); }
    void OnDoubleClick(TListBox*, UINT, int x, int y) override { Record(L"dblclick", 0, x, y); }
    void OnClick(TListBox*, UINT, int x, int y) override { Record(L"click", 0, x, y); }
    void OnSelChange(TListBox*) override { Record(L"selchange"); }
    void OnCheckChange(TListBox*) override { Record(L"checkchange"); }

    std::vector<TReport> reports;
    std::set<UINT> consumedKeys; // key reports answered true
    bool consumeAll = false;     // every report that can be consumed is
    bool refuseDragTargets = false;
    HTREEITEM droppedOn = nullptr;
};

class TControlsDialog : public TUpdateDialog {
public:
    TControlsDialog();

    BEGIN_MSG_MAP(TControlsDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    BOOL OnInitDialog() override;

    TRecordingListener listener;
    TGradientStatic caption;
    TLabel label;
    TEdit edit;
    TInputEdit input;
    TImeCompositionEdit search;
    CEdit number;
    CSpinButtonCtrl spin;
    TColorComboBox colors;
    TFontComboBox fonts;
    TListBox list;
    TCheckListBox checkList;
    TListView listView;
    TDoubleBufferedTreeView tree;
    TSplitter splitter; // owns the two panes below
    TListPanel* cards = nullptr;
    TChatPanel* chat = nullptr;
    TLayoutManager layout;
    CImageList images;
    HTREEITEM treeItems[6] = {}; // root A (A1, A2 (A2a)), root B, root C

private:
    void FillControls();
    void BuildPanels();
    LRESULT OnSize(WPARAM, LPARAM);
};
