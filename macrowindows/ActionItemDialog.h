#pragma once
// TActionItemDialog: the part the macro rule and popup item dialogs share: an action with its
// target and argument, the argument's browse button, and the sound folder it browses. The ids
// are the same in both templates.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "res/windows/macro.h"

#include <vector>

enum : UINT {
    IDC_ACTION_ITEM_BROWSE = IDC_MACRO_ITEM_BROWSE,
    IDC_ACTION_ITEM_ACTION = IDC_MACRO_ITEM_ACTION,
    IDC_ACTION_ITEM_TARGET = IDC_MACRO_ITEM_TARGET,
    IDC_ACTION_ITEM_ARGUMENT = IDC_MACRO_ITEM_ARGUMENT,
};
static_assert(IDC_POPUP_ITEM_BROWSE == IDC_ACTION_ITEM_BROWSE && IDC_POPUP_ITEM_ACTION == IDC_ACTION_ITEM_ACTION &&
              IDC_POPUP_ITEM_TARGET == IDC_ACTION_ITEM_TARGET && IDC_POPUP_ITEM_ARGUMENT == IDC_ACTION_ITEM_ARGUMENT);

class TActionItemDialog : public TUpdateDialog {
public:
    // The lists filled, the record loaded, the focus in the first field.
    BOOL OnInitDialog() override;
    // The record taken from the controls.
    void OnOK() override;

    BEGIN_MSG_MAP(TActionItemDialog)
        COMMAND_ID_HANDLER(IDC_ACTION_ITEM_BROWSE, OnBrowse)
        UPDATE_UI_HANDLER(IDC_ACTION_ITEM_TARGET, OnUpdateTarget)
        UPDATE_UI_HANDLER(IDC_ACTION_ITEM_BROWSE, OnUpdateBrowse)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    CString soundsFolder; // where the sound picker looks

protected:
    TActionItemDialog(UINT templateId, int firstField) : TUpdateDialog(templateId), firstField(firstField) {}

    virtual void FillLists() = 0;
    // The record's fields, the action's three among them through ExchangeAction.
    virtual void Exchange(TDialogExchange& io) = 0;

    CString FieldText(int id) const { return GetControlText(::GetDlgItem(m_hWnd, id)); }
    // The suggestions of the action box and of the target box.
    void FillActionLists(const std::vector<CString>& targets);
    void ExchangeAction(TDialogExchange& io, CString& action, CString& target, CString& argument);

private:
    void OnBrowse();
    void OnUpdateTarget(CCmdUI* ui);
    void OnUpdateBrowse(CCmdUI* ui);

    int firstField;
};
