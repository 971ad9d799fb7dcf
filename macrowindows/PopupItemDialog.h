#pragma once
// TPopupItemDialog: edits one item of the user popup menu: its caption, action, target and the
// action's argument. The caller copies the item into `item` before the modal run and takes it
// back after IDOK; its level and command id pass through. Nothing typed is refused.

#include "controls/UpdateDialog.h"
#include "res/windows/macro.h"
#include "settings/PopupFile.h"

class TPopupItemDialog : public TUpdateDialog {
public:
    TPopupItemDialog() : TUpdateDialog(IDD_POPUP_ITEM) {}

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TPopupItemDialog)
        COMMAND_ID_HANDLER(IDC_POPUP_ITEM_BROWSE, OnBrowse)
        UPDATE_UI_HANDLER(IDC_POPUP_ITEM_TARGET, OnUpdateTarget)
        UPDATE_UI_HANDLER(IDC_POPUP_ITEM_BROWSE, OnUpdateBrowse)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    TPopupItem item;
    CString soundsFolder; // where the sound picker looks

private:
    CString FieldText(int id) const { return GetControlText(::GetDlgItem(m_hWnd, id)); }
    void OnBrowse();
    void OnUpdateTarget(CCmdUI* ui);
    void OnUpdateBrowse(CCmdUI* ui);
};
