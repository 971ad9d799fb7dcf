#pragma once
// TTreeDialog: reorders the servers of the server tree and the channels of each server, by
// buttons or by drag and drop. Channels stay with their own server. On OK the world record
// holds the new order as names only; the owner rearranges its real servers by them.

#include "controls/TreeView.h"
#include "controls/UpdateDialog.h"
#include "res/windows/paste.h"
#include "settings/ServerConfig.h"

class CImageList;

class TTreeDialog : public TUpdateDialog, public ITreeViewListener, public ITreeViewDragListener {
public:
    TTreeDialog();

    TWorldConfig GetWorldConfig() const { return world; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The drop target the dragged item really goes next to.
    HTREEITEM ResolveTarget(HTREEITEM dragged, HTREEITEM target) const;
    TTreeView& GetTree() { return tree; }

    BEGIN_MSG_MAP(TTreeDialog)
        COMMAND_ID_HANDLER(IDC_TREE_UP, OnUp)
        COMMAND_ID_HANDLER(IDC_TREE_DOWN, OnDown)
        UPDATE_UI_HANDLER(IDC_TREE_UP, OnUpdateUp)
        UPDATE_UI_HANDLER(IDC_TREE_DOWN, OnUpdateDown)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    // In: a copy of the server tree; out after OK: the new order.
    TWorldConfig world;
    // The main window's tree images; shared, not owned.
    CImageList* imageList = nullptr;

private:
    void OnUp();
    void OnDown();
    void OnUpdateUp(CCmdUI* ui);
    void OnUpdateDown(CCmdUI* ui);

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnSelChanged(TTreeView*, HTREEITEM, HTREEITEM) override {}
    void OnContextMenu(TTreeView*, HTREEITEM, int, int) override {}
    void OnDoubleClick(TTreeView*, HTREEITEM, int, int) override {}
    void OnCustomDraw(TTreeView*, NMHDR*, LRESULT*) override {}
    void OnDragOver(TTreeView* view, HTREEITEM dragged, HTREEITEM& target) override;
    void OnDrop(TTreeView* view, HTREEITEM dragged, HTREEITEM target) override;

    TTreeView tree;
};
