#include "dialogs/PasteDialog.h"

#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "res/windows/paste.h"

#include <vector>

namespace {

const SIZE kMinimum = {400, 160};

} // namespace

TPasteDialog::TPasteDialog(CWnd* parent) : TResizableDialog(IDD_PASTE_DIALOG, kMinimum, parent) {}

BOOL TPasteDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    HWND edit = ::GetDlgItem(m_hWnd, IDC_PASTE_TEXT);
    Exchange(TDialogExchange::Direction::Load);
    initialised = true;

    RECT client, rect;
    GetClientRect(&client);
    ::GetWindowRect(edit, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    ::MoveWindow(edit, 0, rect.top, client.right, rect.bottom - rect.top, TRUE);

    textFont.SetFaceName(LoadResourceString(IDS_PASTE_FONT_FACE));
    textFont.size = 90;
    textFont.logFont.lfWeight = FW_NORMAL;
    textFont.logFont.lfItalic = FALSE;
    textFont.logFont.lfUnderline = FALSE;
    HDC dc = ::GetDC(m_hWnd);
    textFont.logFont.lfCharSet = (BYTE)::GetTextCharset(dc);
    ::ReleaseDC(m_hWnd, dc);
    textFont.color = 0;
    textFont.CreateHandle();
    ::SendMessageW(edit, WM_SETFONT, (WPARAM)textFont.handle, TRUE);

    for (UINT id : {IDOK, IDCANCEL, IDC_PASTE_QUOTE_LABEL, IDC_PASTE_ADD_QUOTE, IDC_PASTE_QUOTE})
        layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, id));
    for (UINT id : {IDC_PASTE_REMOVE_BLANK, IDC_PASTE_NOTICE})
        layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, id));
    layout.AddControl(LAYOUT_ANCHOR_ALL, edit);

    if (!pasteMode) {
        SetWindowText(LoadResourceString(IDS_SEND_MULTI_LINE_TITLE));
        ::SetFocus(edit);
    }
    // The kept size comes from the window settings; none given opens at the smallest.
    if (HWND parent = ::GetParent(m_hWnd))
        SizeAndCentre(width, height, kMinimum, parent);
    // The send command puts the caret into the text itself.
    return pasteMode;
}

void TPasteDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.Edit(IDC_PASTE_TEXT, text, 0);
    io.Edit(IDC_PASTE_QUOTE, quote, kTextLimit);
    io.Check(IDC_PASTE_NOTICE, notice);
}

void TPasteDialog::OnOK()
{
    Exchange(TDialogExchange::Direction::Store);
    TResizableDialog::OnOK();
}

void TPasteDialog::OnCancel()
{
    Exchange(TDialogExchange::Direction::Store);
    TResizableDialog::OnCancel();
}

void TPasteDialog::OnAddQuote()
{
    HWND edit = ::GetDlgItem(m_hWnd, IDC_PASTE_TEXT);
    CString prefix = GetControlText(::GetDlgItem(m_hWnd, IDC_PASTE_QUOTE));
    std::vector<CString> lines;
    GetEditLines(edit, lines);
    for (CString& line : lines)
        line = prefix + line;
    SetEditLines(lines, edit);
}

void TPasteDialog::OnRemoveBlankLines()
{
    HWND edit = ::GetDlgItem(m_hWnd, IDC_PASTE_TEXT);
    std::vector<CString> lines;
    GetEditLines(edit, lines);
    CString kept;
    for (const CString& line : lines)
        if (!line.IsEmpty() && !IsBlankText(line))
            kept += line + L"\r\n";
    ::SetWindowTextW(edit, kept);
}

// The labels of the bottom row leave traces behind when they move.
void TPasteDialog::OnResized() { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
