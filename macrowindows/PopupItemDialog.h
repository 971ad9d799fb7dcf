#pragma once
// TPopupItemDialog: edits one item of the user popup menu: its caption, action, target and the
// action's argument. The caller copies the item into `item` before the modal run and takes it
// back after IDOK; its level and command id pass through. Nothing typed is refused.

#include "macrowindows/ActionItemDialog.h"
#include "settings/PopupFile.h"

class TPopupItemDialog : public TActionItemDialog {
public:
    TPopupItemDialog() : TActionItemDialog(IDD_POPUP_ITEM, IDC_POPUP_ITEM_NAME) {}

    TPopupItem item;

private:
    void FillLists() override;
    void Exchange(TDialogExchange& io) override;
};
