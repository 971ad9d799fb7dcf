#include "dialogs/AboutDialog.h"

#include "res/windows/paste.h"

namespace {

const COLORREF kTextColor = RGB(0x73, 0x8A, 0x73);
const COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);

void MakeFont(TFont& font, int tenths, int weight)
{
    font.SetFaceName(L"Verdana");
    font.size = tenths;
    font.logFont.lfWeight = weight;
    font.logFont.lfCharSet = 0;
    font.color = kTextColor;
    font.CreateHandle();
}

} // namespace

CAboutDlg::CAboutDlg() : TUpdateDialog(IDD_ABOUT_BOX) {}

BOOL CAboutDlg::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    MakeFont(creditFont, 120, FW_BOLD);
    MakeFont(versionFont, 160, FW_BOLD);
    MakeFont(textFont, 100, FW_NORMAL);

    creditLabel.SubclassDlgItem(IDC_ABOUT_AUTHOR, m_hWnd);
    creditLabel.SetFont(creditFont.handle);
    creditLabel.SetTextColor(creditFont.color);
    creditLabel.SetBackgroundColor(kBackground);

    versionLabel.SubclassDlgItem(IDC_ABOUT_VERSION, m_hWnd);
    versionLabel.SetFont(versionFont.handle);
    versionLabel.SetTextColor(versionFont.color);
    versionLabel.SetBackgroundColor(kBackground);
    CString version;
    version.Format(L"%d.%d", kMajorVersion, kMinorVersion);
    versionLabel.SetWindowText(version);

    creditsEdit.SubclassDlgItem(IDC_ABOUT_CREDITS, m_hWnd);
    creditsEdit.SetFont(textFont.handle);
    creditsEdit.SetColors(textFont.color, kBackground);
    creditsEdit.SetWindowText(BuildCreditsText());
    ::SendMessageW(creditsEdit.m_hWnd, EM_SETSEL, 0, 0);
    ::SendMessageW(creditsEdit.m_hWnd, EM_SCROLLCARET, 0, 0);
    // Left to the class library, the focus would select the whole credits text.
    return FALSE;
}

LRESULT CAboutDlg::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(&client);
    HBRUSH white = ::CreateSolidBrush(kBackground);
    ::FillRect(dc, &client, white);
    ::DeleteObject(white);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}
