#include "dcc/DCCChatDialog.h"

#include "classlib/App.h"
#include "res/windows/dcc.h"

TDCCChatDialog::TDCCChatDialog() : TUpdateDialog(IDD_DCC_CHAT_DIALOG) {}

TDCCChatDialog::~TDCCChatDialog() { DestroyWindow(); }

bool TDCCChatDialog::ShowModeless()
{
    if (!Create(IDD_DCC_CHAT_DIALOG, nullptr))
        return false;
    CWnd* main = AfxGetMainWnd();
    HWND mainWindow = main ? main->m_hWnd : nullptr;
    if (!mainWindow || !::IsWindowVisible(mainWindow) || ::IsIconic(mainWindow)) {
        RECT rect = {}, work = {};
        ::GetWindowRect(m_hWnd, &rect);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        int x = work.left + ((work.right - work.left) - (rect.right - rect.left)) / 2;
        int y = work.top + ((work.bottom - work.top) - (rect.bottom - rect.top)) / 2;
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(SW_SHOWNORMAL);
    return true;
}

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
