#include "prefs/FormatItemDialogs.h"

BOOL TFormatMarksDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    // "<caption> - <event>", so the user sees which row is being edited.
    CString caption;
    caption.Format(L"%s - %s", (const wchar_t*)GetControlText(m_hWnd), (const wchar_t*)itemName);
    ::SetWindowTextW(m_hWnd, caption);
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Load);
    Exchange(io);
    return TRUE;
}

void TFormatMarksDialog::OnOK()
{
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Store);
    Exchange(io);
    TUpdateDialog::OnOK();
}

void TFormatMarksDialog::Exchange(TDialogExchange& io)
{
    io.Check(IDC_FORMAT_ITEM_CHANNEL_LOG, channel);
    io.Check(IDC_FORMAT_ITEM_ALL_LOG, console);
}

void TFormatItemDialog::Exchange(TDialogExchange& io)
{
    TFormatMarksDialog::Exchange(io);
    io.Edit(IDC_FORMAT_ITEM_TEXT, format, kTextLimit);
}

BOOL TFormatTextItemDialog::OnInitDialog()
{
    TFormatMarksDialog::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FORMAT_ITEM_CHANNEL_LOG), channelEnabled);
    return TRUE;
}
