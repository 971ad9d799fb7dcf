#include "prefs/FormatItemDialogs.h"

namespace {

// "<caption> - <event>", so the user sees which row is being edited.
void AppendItemName(HWND dialog, const CString& itemName)
{
    CString caption;
    caption.Format(L"%s - %s", (const wchar_t*)GetControlText(dialog), (const wchar_t*)itemName);
    ::SetWindowTextW(dialog, caption);
}

void SetCheck(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

bool GetCheck(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

} // namespace

BOOL TFormatItemDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    AppendItemName(m_hWnd, itemName);
    SetCheck(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG, channel);
    SetCheck(m_hWnd, IDC_FORMAT_ITEM_ALL_LOG, console);
    SetEditText(::GetDlgItem(m_hWnd, IDC_FORMAT_ITEM_TEXT), format, kTextLimit);
    return TRUE;
}

void TFormatItemDialog::OnOK()
{
    channel = GetCheck(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG);
    console = GetCheck(m_hWnd, IDC_FORMAT_ITEM_ALL_LOG);
    format = GetControlText(::GetDlgItem(m_hWnd, IDC_FORMAT_ITEM_TEXT));
    TUpdateDialog::OnOK();
}

BOOL TFormatTextItemDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    AppendItemName(m_hWnd, itemName);
    SetCheck(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG, channel);
    SetCheck(m_hWnd, IDC_FORMAT_ITEM_ALL_LOG, console);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG), channelEnabled);
    return TRUE;
}

void TFormatTextItemDialog::OnOK()
{
    channel = GetCheck(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG);
    console = GetCheck(m_hWnd, IDC_FORMAT_ITEM_ALL_LOG);
    TUpdateDialog::OnOK();
}
