#pragma once
// TMacroItemDialog: edits one macro rule, its conditions and its action, field by field. The
// caller copies the rule into `item` before the modal run and takes it back after IDOK. Nothing
// typed is refused.

#include "macro/MacroItem.h"
#include "macrowindows/ActionItemDialog.h"

class TMacroItemDialog : public TActionItemDialog {
public:
    TMacroItemDialog() : TActionItemDialog(IDD_MACRO_ITEM, IDC_MACRO_ITEM_USER) {}

    BEGIN_MSG_MAP(TMacroItemDialog)
        UPDATE_UI_HANDLER(IDC_MACRO_ITEM_CHANNEL, OnUpdateChannel)
        CHAIN_MSG_MAP(TActionItemDialog)
    END_MSG_MAP()

    TMacroItem item;

private:
    void FillLists() override;
    void Exchange(TDialogExchange& io) override;
    void OnUpdateChannel(CCmdUI* ui);
};

// Whether the command's events have a channel to test: the channel events, a pattern, or none.
bool CommandHasChannel(const CString& command);
