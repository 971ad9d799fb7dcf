#pragma once
// TMacroItemDialog: edits one macro rule, its conditions and its action, field by field. The
// caller copies the rule into `item` before the modal run and takes it back after IDOK. Nothing
// typed is refused.

#include "controls/UpdateDialog.h"
#include "macro/MacroItem.h"
#include "res/windows/macro.h"

class TMacroItemDialog : public TUpdateDialog {
public:
    TMacroItemDialog() : TUpdateDialog(IDD_MACRO_ITEM) {}

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TMacroItemDialog)
        COMMAND_ID_HANDLER(IDC_MACRO_ITEM_BROWSE, OnBrowse)
        UPDATE_UI_HANDLER(IDC_MACRO_ITEM_CHANNEL, OnUpdateChannel)
        UPDATE_UI_HANDLER(IDC_MACRO_ITEM_TARGET, OnUpdateTarget)
        UPDATE_UI_HANDLER(IDC_MACRO_ITEM_BROWSE, OnUpdateBrowse)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    TMacroItem item;
    CString soundsFolder; // where the sound picker looks

private:
    CString FieldText(int id) const { return GetControlText(::GetDlgItem(m_hWnd, id)); }
    void OnBrowse();
    void OnUpdateChannel(CCmdUI* ui);
    void OnUpdateTarget(CCmdUI* ui);
    void OnUpdateBrowse(CCmdUI* ui);
};

// Whether the command's events have a channel to test: the channel events, a pattern, or none.
bool CommandHasChannel(const CString& command);
