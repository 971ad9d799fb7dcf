#pragma once
// The member list and server tree pages: a font and text and background colours each, edited in
// the preference window's working view settings at once and shown in a preview drawn the way the
// real list and tree draw their rows.

#include "controls/ListView.h"
#include "controls/TreeView.h"
#include "prefs/PropertyPage.h"
#include "res/windows/preference.h"
#include "res/windows/themepages.h"
#include "settings/Font.h"
#include "settings/ViewSettings.h"

#include <commctrl.h>

// What both pages share: the preview's font and pictures, and the choosers their buttons open.
class TViewPreviewPage : public TPropertyPage {
public:
    ~TViewPreviewPage() override;

    // The preview takes the settings again (after a theme was loaded, say); nothing before the
    // page was first shown.
    virtual void RefreshPreview() = 0;
    HFONT GetPreviewFont() const { return previewFont.handle; }

protected:
    explicit TViewPreviewPage(UINT templateId) : TPropertyPage(templateId) {}

    // A colour button: the field it edits and the system colour an unset field draws in.
    struct TColorButton {
        int id;
        COLORREF* field;
        int systemColor;
    };
    void MakeImages(std::initializer_list<int> iconIds);
    void ChangeFont(TViewFont& font);
    // For the colour button with that id among the page's buttons.
    void PickColor(int id, std::initializer_list<TColorButton> buttons);

    bool initialised = false;
    HIMAGELIST images = nullptr;
    TFont previewFont;
};

// A page over one record of the view settings, drawn in one preview control.
template <class TRecord, class TPreview> class TViewRecordPage : public TViewPreviewPage {
public:
    void SetConfig(TRecord* value) { config = value; }
    const TPreview& GetPreview() const { return preview; }
    void RefreshPreview() override
    {
        if (!initialised || !preview.m_hWnd)
            return;
        ApplyLook();
        preview.RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }

protected:
    explicit TViewRecordPage(UINT templateId) : TViewPreviewPage(templateId) {}
    bool HasRecord() const override { return config != nullptr; }
    // The record's background and font onto the preview.
    virtual void ApplyLook() = 0;
    void OnChangeFont()
    {
        if (config)
            ChangeFont(config->font);
    }

    TPreview preview;
    TRecord* config = nullptr;
};

class TViewListPage : public TViewRecordPage<TViewListConfig, TListView>, public IListViewListener {
public:
    TViewListPage() : TViewRecordPage(IDD_VIEW_LIST_PAGE) { preview.listener = this; }

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TViewListPage)
        COMMAND_ID_HANDLER(IDC_VIEW_FONT, OnChangeFont)
        COMMAND_RANGE_HANDLER(IDC_VIEW_NORMAL_TEXT, IDC_LIST_GROUP5_BACK, OnColorButton)
        CHAIN_MSG_MAP(TViewPreviewPage)
    END_MSG_MAP()

    // IListViewListener: only the drawing of the rows.
    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override {}
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView* list, NMHDR* header, LRESULT* result) override;
    void OnColumnClick(TListView*, int) override {}

private:
    void CreatePreview();
    void ApplyLook() override;
    void OnColorButton(int id);

    CWnd frame;
};

class TViewTreePage : public TViewRecordPage<TViewTreeConfig, TTreeView>, public ITreeViewListener {
public:
    TViewTreePage() : TViewRecordPage(IDD_VIEW_TREE_PAGE) {}

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TViewTreePage)
        COMMAND_ID_HANDLER(IDC_VIEW_FONT, OnChangeFont)
        COMMAND_RANGE_HANDLER(IDC_VIEW_NORMAL_TEXT, IDC_TREE_UPDATE_BACK, OnColorButton)
        CHAIN_MSG_MAP(TViewPreviewPage)
    END_MSG_MAP()

    // ITreeViewListener: only the drawing of the rows.
    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnSelChanged(TTreeView*, HTREEITEM, HTREEITEM) override {}
    void OnContextMenu(TTreeView*, HTREEITEM, int, int) override {}
    void OnDoubleClick(TTreeView*, HTREEITEM, int, int) override {}
    void OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result) override;

private:
    void CreatePreview();
    void ApplyLook() override;
    void OnColorButton(int id);
};
