#include "prefs/PropertyTabSheet.h"

#include "classlib/CmdUI.h"
#include "foundation/WindowHelpers.h"
#include "prefs/PropertyPage.h"

TPropertyTabSheet::TPropertyTabSheet(CWnd* parent) : TUpdateDialog(IDD_PROPERTY_TAB_SHEET, parent) {}

TPropertyTabSheet::~TPropertyTabSheet()
{
    // The pages are the owner's; their windows are children and go with the sheet's.
    if (m_hWnd)
        DestroyWindow();
}

BOOL TPropertyTabSheet::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    // The pages' parent. Tab and the mnemonics of the sheet's dialog handling reach into them.
    tab.SubclassWindow(GetDlgItem(IDC_PROPERTY_TAB));
    ::SetWindowLongPtrW(tab, GWL_EXSTYLE, ::GetWindowLongPtrW(tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    return TRUE;
}

void TPropertyTabSheet::AddPage(TPropertyPage* page, CString title)
{
    pages.push_back(page);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title.GetBuffer(title.GetLength() + 1);
    int count = (int)tab.SendMessage(TCM_GETITEMCOUNT);
    tab.SendMessage(TCM_INSERTITEMW, count, (LPARAM)&item);
    title.ReleaseBuffer();
}

int TPropertyTabSheet::GetCurrentIndex() const { return (int)tab.SendMessage(TCM_GETCURSEL); }

void TPropertyTabSheet::ShowPage(int index)
{
    if (index < 0 || index >= (int)pages.size())
        return;
    tab.SendMessage(TCM_SETCURSEL, index);
    for (int i = 0; i < (int)pages.size(); i++)
        if (i != index && pages[i]->m_hWnd)
            pages[i]->ShowWindow(SW_HIDE);
    TPropertyPage* page = pages[index];
    if (!page->m_hWnd) {
        if (!page->Create(page->GetTemplateId(), &tab))
            return;
        EnableTabDialogTexture(page->m_hWnd);
    }
    RECT rect;
    tab.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, tab, (POINT*)&rect, 2);
    tab.SendMessage(TCM_ADJUSTRECT, FALSE, (LPARAM)&rect);
    page->SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOREDRAW);
    page->EnableWindow(TRUE);
    page->ShowWindow(SW_SHOW);
    page->SetFocus();
    page->OnPageShow();
}

bool TPropertyTabSheet::ApplyPages()
{
    for (int i = 0; i < (int)pages.size(); i++) {
        TDialogProblem problem;
        if (pages[i]->m_hWnd && !pages[i]->Validate(problem)) {
            ShowPage(i);
            pages[i]->ShowProblem(problem);
            return false;
        }
    }
    for (TPropertyPage* page : pages)
        if (page->m_hWnd)
            page->OnOK();
    return true;
}

void TPropertyTabSheet::OnOK()
{
    if (ApplyPages())
        TUpdateDialog::OnOK();
}

void TPropertyTabSheet::OnCancel()
{
    for (TPropertyPage* page : pages)
        if (page->m_hWnd)
            page->OnCancel();
    TUpdateDialog::OnCancel();
}

LRESULT TPropertyTabSheet::OnShowPageMessage(WPARAM wParam, LPARAM)
{
    ShowPage((int)wParam);
    return 0;
}

LRESULT TPropertyTabSheet::OnSelChange(NMHDR*)
{
    PostMessage(WM_SHOW_PROPERTY_PAGE, (WPARAM)GetCurrentIndex());
    return 0;
}

LRESULT TPropertyTabSheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    UpdateDialogControls(this, FALSE);
    int index = GetCurrentIndex();
    if (index >= 0 && index < (int)pages.size() && pages[index]->m_hWnd)
        pages[index]->SendMessage(WM_KICKIDLE, wParam, lParam);
    return 0;
}
