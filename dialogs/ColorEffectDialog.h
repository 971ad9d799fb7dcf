#pragma once
// TColorEffectDialog: picks the text and background colour of an IRC colour tag. A colour is
// 0-15, or -1 for none; no background can be picked without a text colour.

#include "controls/ComboBox.h"
#include "controls/UpdateDialog.h"
#include "res/windows/prompts.h"

class TColorEffectDialog : public TUpdateDialog {
public:
    TColorEffectDialog() : TUpdateDialog(IDD_COLOR_EFFECT) {}

    int textColor = 0;
    int backColor = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TColorEffectDialog)
        UPDATE_UI_HANDLER(IDC_COLOR_EFFECT_BACK, OnUpdateBack)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    void OnUpdateBack(CCmdUI* ui);

    TColorComboBox textBox;
    TColorComboBox backBox;
};
