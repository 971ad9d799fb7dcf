#include "dialogs/InputPrompts.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"

BOOL TInputMessageDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, promptId, prompt);
    Exchange(TDialogExchange::Direction::Load);
    SetWindowText(title);
    return TRUE;
}

void TInputMessageDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.Edit(editId, text, kTextLimit);
}

CString TInputMessageDialog::GetEditText() const { return GetControlText(::GetDlgItem(m_hWnd, editId)); }

void TInputMessageDialog::OnUpdateOK(CCmdUI* ui) { ui->Enable(CanConfirm()); }

void TInputMessageDialog::OnOK()
{
    // Enter reaches here even while the button is greyed.
    if (!CanConfirm())
        return;
    Exchange(TDialogExchange::Direction::Store);
    TUpdateDialog::OnOK();
}

BOOL TInputInviteDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    HWND box = ::GetDlgItem(m_hWnd, IDC_INPUT_INVITE_CHANNEL);
    for (const CString& name : channels)
        ::SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)name.GetString());
    ::SendMessageW(box, CB_LIMITTEXT, (WPARAM)kTextLimit, 0);
    SetWindowText(LoadResourceString(IDS_INVITE_PROMPT_TITLE) + serverName);
    return TRUE;
}

CString TInputInviteDialog::GetBoxText() const
{
    return GetControlText(::GetDlgItem(m_hWnd, IDC_INPUT_INVITE_CHANNEL));
}

bool TInputInviteDialog::CanConfirm() const { return IsChannelNameOrAlias(GetBoxText()); }

void TInputInviteDialog::OnUpdateOK(CCmdUI* ui) { ui->Enable(CanConfirm()); }

void TInputInviteDialog::OnOK()
{
    if (!CanConfirm())
        return;
    channel = GetBoxText();
    TUpdateDialog::OnOK();
}
