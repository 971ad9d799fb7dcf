#include "macrowindows/PopupItemDialog.h"

#include "macrowindows/ActionFields.h"

#include "classlib/CmdUI.h"

BOOL TPopupItemDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    FillComboList(GetDlgItem(IDC_POPUP_ITEM_ACTION), ActionSuggestions());
    FillComboList(GetDlgItem(IDC_POPUP_ITEM_TARGET), {L"%a"});
    ::SetFocus(GetDlgItem(IDC_POPUP_ITEM_NAME));
    SetEditText(GetDlgItem(IDC_POPUP_ITEM_NAME), item.name, kTextLimit);
    SetComboText(GetDlgItem(IDC_POPUP_ITEM_ACTION), item.action, kTextLimit);
    SetComboText(GetDlgItem(IDC_POPUP_ITEM_TARGET), item.target, kTextLimit);
    SetEditText(GetDlgItem(IDC_POPUP_ITEM_ARGUMENT), item.actionInfo, kTextLimit);
    // The focus was placed here.
    return FALSE;
}

void TPopupItemDialog::OnOK()
{
    item.name = FieldText(IDC_POPUP_ITEM_NAME);
    item.action = FieldText(IDC_POPUP_ITEM_ACTION);
    item.target = FieldText(IDC_POPUP_ITEM_TARGET);
    item.actionInfo = FieldText(IDC_POPUP_ITEM_ARGUMENT);
    TUpdateDialog::OnOK();
}

void TPopupItemDialog::OnBrowse()
{
    CString argument = FieldText(IDC_POPUP_ITEM_ARGUMENT);
    if (BrowseActionArgument(this, FieldText(IDC_POPUP_ITEM_ACTION), soundsFolder, argument))
        SetEditText(GetDlgItem(IDC_POPUP_ITEM_ARGUMENT), argument, 0);
}

void TPopupItemDialog::OnUpdateTarget(CCmdUI* ui) { ui->Enable(ActionTakesTarget(FieldText(IDC_POPUP_ITEM_ACTION))); }
void TPopupItemDialog::OnUpdateBrowse(CCmdUI* ui) { ui->Enable(ActionCanBrowse(FieldText(IDC_POPUP_ITEM_ACTION))); }
