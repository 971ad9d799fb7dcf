#include "dccwindows/DCCChatDialog.h"

#include "res/windows/dcc.h"

TDCCChatDialog::TDCCChatDialog() : TUpdateDialog(IDD_DCC_CHAT_DIALOG) {}

TDCCChatDialog::~TDCCChatDialog() { DestroyWindow(); }

bool TDCCChatDialog::ShowModeless(bool activate) { return ShowOwnWindow(IDD_DCC_CHAT_DIALOG, activate); }

BOOL TDCCChatDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    addressText.Format(L"%s:%d", address.GetString(), port);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    timeText.Format(L"%04d/%02d/%02d %02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    ::SetDlgItemTextW(m_hWnd, IDC_DCC_CHAT_TIME, timeText);
    ::SetDlgItemTextW(m_hWnd, IDC_DCC_CHAT_ADDRESS, addressText);
    ::SetDlgItemTextW(m_hWnd, IDC_DCC_CHAT_NICK, nick);
    // The offer should not take the focus from what the user is typing elsewhere.
    return FALSE;
}

// The listener deletes this dialog in its close slot: nothing of it is used after that call.
void TDCCChatDialog::OnOK()
{
    TUpdateDialog::OnOK();
    if (!listener)
        return;
    IDCCChatDialogListener* owner = listener;
    owner->OnDCCChatAccepted(this);
    owner->OnDCCChatDialogClosed(this);
}

void TDCCChatDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    if (listener)
        listener->OnDCCChatDialogClosed(this);
}
