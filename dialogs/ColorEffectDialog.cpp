#include "dialogs/ColorEffectDialog.h"

#include "classlib/CmdUI.h"

BOOL TColorEffectDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    textBox.SubclassDlgItem(IDC_COLOR_EFFECT_TEXT, m_hWnd);
    backBox.SubclassDlgItem(IDC_COLOR_EFFECT_BACK, m_hWnd);
    for (TColorComboBox* box : {&textBox, &backBox}) {
        box->FillColors();
        box->SetCurSel(0);
    }
    return TRUE;
}

void TColorEffectDialog::OnUpdateBack(CCmdUI* ui) { ui->Enable(textBox.GetSelectedColor() != (COLORREF)-1); }

void TColorEffectDialog::OnOK()
{
    // The first entry stands for no colour, so entry k is colour k - 1.
    textColor = textBox.GetCurSel() - 1;
    backColor = backBox.GetCurSel() - 1;
    if (textColor < -1)
        textColor = -1;
    if (backColor < -1)
        backColor = -1;
    TUpdateDialog::OnOK();
}
