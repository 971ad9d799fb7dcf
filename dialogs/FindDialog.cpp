#include "dialogs/FindDialog.h"

#include "classlib/CmdUI.h"

BOOL TFindDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    Exchange(TDialogExchange::Direction::Load);
    OnTextChange();
    return TRUE;
}

void TFindDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.Check(IDC_FIND_CASE, matchCase);
    io.Check(IDC_FIND_RING, wrapAround);
    io.Edit(IDC_FIND_TEXT, text, 0);
}

bool TFindDialog::HasText() const { return ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, IDC_FIND_TEXT)) > 0; }

void TFindDialog::Find(bool forward)
{
    // Enter reaches here too; an empty text searches nothing.
    if (!HasText())
        return;
    Exchange(TDialogExchange::Direction::Store);
    if (listener)
        listener->OnFind(this, text, forward);
}

// The idle update's rule, applied at once.
void TFindDialog::OnTextChange() { OnKickIdle(0, 0); }

void TFindDialog::OnUpdateFind(CCmdUI* ui) { ui->Enable(HasText()); }

void TFindDialog::OnCancel()
{
    Exchange(TDialogExchange::Direction::Store);
    TUpdateDialog::OnCancel();
    // The listener deletes this dialog.
    if (listener)
        listener->OnFindDialogClose(this);
}
