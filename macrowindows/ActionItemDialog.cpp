#include "macrowindows/ActionItemDialog.h"

#include "macrowindows/ActionFields.h"

#include "classlib/CmdUI.h"

BOOL TActionItemDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    FillLists();
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Load);
    Exchange(io);
    ::SetFocus(GetDlgItem(firstField));
    // The focus was placed here.
    return FALSE;
}

void TActionItemDialog::OnOK()
{
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Store);
    Exchange(io);
    TUpdateDialog::OnOK();
}

void TActionItemDialog::FillActionLists(const std::vector<CString>& targets)
{
    FillComboList(GetDlgItem(IDC_ACTION_ITEM_ACTION), ActionSuggestions());
    FillComboList(GetDlgItem(IDC_ACTION_ITEM_TARGET), targets);
}

void TActionItemDialog::ExchangeAction(TDialogExchange& io, CString& action, CString& target, CString& argument)
{
    io.ComboText(IDC_ACTION_ITEM_ACTION, action, kTextLimit);
    io.ComboText(IDC_ACTION_ITEM_TARGET, target, kTextLimit);
    io.Edit(IDC_ACTION_ITEM_ARGUMENT, argument, kTextLimit);
}

void TActionItemDialog::OnBrowse()
{
    CString argument = FieldText(IDC_ACTION_ITEM_ARGUMENT);
    if (BrowseActionArgument(this, FieldText(IDC_ACTION_ITEM_ACTION), soundsFolder, argument))
        SetEditText(GetDlgItem(IDC_ACTION_ITEM_ARGUMENT), argument, 0);
}

void TActionItemDialog::OnUpdateTarget(CCmdUI* ui) { ui->Enable(ActionTakesTarget(FieldText(IDC_ACTION_ITEM_ACTION))); }

void TActionItemDialog::OnUpdateBrowse(CCmdUI* ui) { ui->Enable(ActionCanBrowse(FieldText(IDC_ACTION_ITEM_ACTION))); }
