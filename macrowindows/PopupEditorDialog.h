#pragma once
// TPopupEditorDialog: the modeless window in which the whole user popup menu is edited as a
// list: one row per item with its level, caption, action, target and argument. The main window
// fills `file` with a copy of the menu; on OK the rows become that copy again and the listener
// takes it. Cancel leaves the settings as they were.

#include "macrowindows/PopupItemDialog.h"
#include "macrowindows/RowListDialog.h"

#include "settings/PopupFile.h"

class TPopupEditorDialog;

class IPopupEditorDialogListener {
public:
    virtual void OnPopupEditorDialogOK(TPopupEditorDialog* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnPopupEditorDialogClose(TPopupEditorDialog* dialog) = 0;

protected:
    ~IPopupEditorDialogListener() = default;
};

class TPopupEditorDialog : public TRecordListDialog<TPopupItem, TPopupItemDialog> {
public:
    // config gives the sound folder and the window's stored geometry.
    explicit TPopupEditorDialog(TConfig* config);
    ~TPopupEditorDialog() override;
    // The column widths and the window's size into the settings, while the window is there: its
    // owner calls it before destroying the window, which goes before the object.
    void StoreLayout();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnRightClick(TListView* list) override;

    BEGIN_MSG_MAP(TPopupEditorDialog)
        COMMAND_ID_HANDLER(IDC_POPUP_EDITOR_LEFT, OnLeft)
        COMMAND_ID_HANDLER(IDC_POPUP_EDITOR_RIGHT, OnRight)
        COMMAND_ID_HANDLER(IDC_POPUP_EDITOR_DEFAULTS, OnAddDefaults)
        UPDATE_UI_HANDLER(IDC_POPUP_EDITOR_LEFT, OnUpdateLeft)
        UPDATE_UI_HANDLER(IDC_POPUP_EDITOR_RIGHT, OnUpdateRight)
        CHAIN_MSG_MAP(TRowListDialog)
    END_MSG_MAP()

    IPopupEditorDialogListener* listener = nullptr;
    TPopupFile file; // the working copy

protected:
    TPopupItem ReadRow(int row) const override;
    void WriteRow(const TPopupItem& item, int row) override;

private:
    int SelectedLevel() const;
    // Changes the selected row's level; wrap turns a step past the deepest level into 0.
    void ChangeLevel(int step, bool wrap);
    void OnLeft() { ChangeLevel(-1, false); }
    void OnRight() { ChangeLevel(1, false); }
    void OnAddDefaults();
    void OnUpdateLeft(CCmdUI* ui);
    void OnUpdateRight(CCmdUI* ui);
};
