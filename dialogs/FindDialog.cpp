#include "dialogs/FindDialog.h"

#include "classlib/CmdUI.h"

BOOL TFindDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_FIND_CASE, matchCase ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_FIND_RING, wrapAround ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextW(m_hWnd, IDC_FIND_TEXT, text);
    OnTextChange();
    return TRUE;
}

void TFindDialog::TakeControls()
{
    matchCase = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_CASE) == BST_CHECKED;
    wrapAround = ::IsDlgButtonChecked(m_hWnd, IDC_FIND_RING) == BST_CHECKED;
    text = GetControlText(::GetDlgItem(m_hWnd, IDC_FIND_TEXT));
}

bool TFindDialog::HasText() const { return ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, IDC_FIND_TEXT)) > 0; }

void TFindDialog::Find(bool forward)
{
    // Enter reaches here too; an empty text searches nothing.
    if (!HasText())
        return;
    TakeControls();
    if (listener)
        listener->OnFind(this, text, forward);
}

// The idle update's rule, applied at once.
void TFindDialog::OnTextChange() { OnKickIdle(0, 0); }

void TFindDialog::OnUpdateFind(CCmdUI* ui) { ui->Enable(HasText()); }

void TFindDialog::OnCancel()
{
    TakeControls();
    TUpdateDialog::OnCancel();
    // The listener deletes this dialog.
    if (listener)
        listener->OnFindDialogClose(this);
}
