#include "dialogs/InviteDialog.h"

#include "res/windows/dialogs.h"

TInviteDialog::TInviteDialog() : TUpdateDialog(IDD_INVITE_DIALOG) {}

TInviteDialog::~TInviteDialog() { DestroyWindow(); }

bool TInviteDialog::CreateAndShow(bool activate) { return ShowOwnWindow(IDD_INVITE_DIALOG, activate); }

BOOL TInviteDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    timeText.Format(L"%04d/%02d/%02d %02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    ::SetDlgItemTextW(m_hWnd, IDC_INVITE_CHANNEL, channel);
    ::SetDlgItemTextW(m_hWnd, IDC_INVITE_NICK, nick);
    ::SetDlgItemTextW(m_hWnd, IDC_INVITE_TIME, timeText);
    // The invitation should not take the focus from what the user is typing elsewhere.
    return FALSE;
}

// The listener deletes this dialog in its close slot: nothing of it is used after that call.
void TInviteDialog::OnOK()
{
    TUpdateDialog::OnOK();
    if (!listener)
        return;
    IInviteDialogListener* owner = listener;
    owner->OnInviteDialogOK(this);
    owner->OnInviteDialogClose(this);
}

void TInviteDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    if (listener)
        listener->OnInviteDialogClose(this);
}
