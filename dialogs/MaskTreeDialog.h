#pragma once
// TMaskTreeDialog: a tree of mask lists on the left and one list's editor on the right, as in the
// mask list window. Derived windows say which list an item stands for; the list box is written
// back into it when the selection leaves the item and on OK.

#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/TreeView.h"
#include "controls/UpdateDialog.h"
#include "dialogs/MaskListEditor.h"
#include "dialogs/MaskListIndex.h"
#include "res/windows/autoop.h"
#include "res/windows/dialogs.h"

#include <vector>

class TMaskTreeDialog : public TUpdateDialog, public ITreeViewListener {
public:
    explicit TMaskTreeDialog(UINT templateId) : TUpdateDialog(templateId) {}
    ~TMaskTreeDialog() override;

    // Added to the list box only: the item's list takes it when the selection moves or on OK.
    int AddMask(const CString& mask);
    void SetMaskText(const CString& text);
    std::vector<CString> GetListedMasks() const;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TMaskTreeDialog)
        if (editor.ProcessMessage(uMsg, wParam, lParam))
            return TRUE;
        MESSAGE_HANDLER(kEndBurstMessage, OnEndBurst)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    // The tree: keys typed there go on into the mask edit.
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT key) override;
    void OnSelChanged(TTreeView* tree, HTREEITEM newItem, HTREEITEM oldItem) override;
    void OnContextMenu(TTreeView*, HTREEITEM, int, int) override {}
    void OnDoubleClick(TTreeView*, HTREEITEM, int, int) override {}
    void OnCustomDraw(TTreeView*, NMHDR*, LRESULT*) override {}

protected:
    // The list an item stands for; null when none.
    virtual std::vector<CString>* FindItemMasks(HTREEITEM item) = 0;
    virtual void FillTree() = 0;
    // What the item shows besides its masks, on coming to it; edits store themselves as typed.
    virtual void LoadItemExtras(HTREEITEM) {}
    // The owner's slots; it deletes the dialog in the close one.
    virtual void ReportOK() = 0;
    virtual void ReportClose() = 0;

    void StoreItem(HTREEITEM item);
    void LoadItem(HTREEITEM item);
    HTREEITEM InsertTreeItem(const CString& text, HTREEITEM parent, int image, LPARAM data);

    TTreeView tree;
    TListBox list;
    TEdit edit;
    TMaskListIndex listed{list};
    TMaskListEditor editor{edit,
                           list,
                           {[this](const CString& text) { return listed.Find(text); },
                            [this](const CString& text) { return listed.Add(text); },
                            [this](int index) { listed.Remove(index); }},
                           false,
                           [this] { OnOK(); }};

private:
    static const UINT kEndBurstMessage = WM_APP + 0x20;

    LRESULT OnEndBurst(WPARAM wParam, LPARAM lParam);
    bool ForwardTreeKey(UINT key, UINT message);
};
