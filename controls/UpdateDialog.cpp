#include "controls/UpdateDialog.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "classlib/MsgMap.h"
#include "foundation/ModalCounter.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowHelpers.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(TUpdateDialog)

TUpdateDialog::~TUpdateDialog()
{
    if (m_hWnd)
        DestroyWindow();
}

INT_PTR TUpdateDialog::DoModal()
{
    // The counter's scope object also runs when the modal loop is left abnormally.
    TModalManager modal;
    return CDialog::DoModal();
}

bool TUpdateDialog::ShowOwnWindow(UINT templateId, bool activate)
{
    if (!Create(templateId, nullptr))
        return false;
    CWnd* main = AfxGetMainWnd();
    HWND mainWindow = main ? main->m_hWnd : nullptr;
    if (!mainWindow || !::IsWindowVisible(mainWindow) || ::IsIconic(mainWindow))
        CentreWindowOnWorkArea(m_hWnd);
    ShowWindow(activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    return true;
}

LRESULT TUpdateDialog::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    UpdateMenuPopup(this, (HMENU)wParam, FALSE);
    return DefWindowProc(WM_INITMENUPOPUP, wParam, lParam);
}

LRESULT TUpdateDialog::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void SetSpinEditValue(HWND edit, HWND spin, int value, int min, int max)
{
    CString text;
    text.Format(L"%d", value);
    ::SetWindowTextW(edit, text);
    ::SendMessageW(spin, UDM_SETRANGE32, (WPARAM)min, (LPARAM)max);
}

int GetSpinEditValue(HWND edit, HWND spin)
{
    // wcstol saturates, so an overlong number still clamps to the nearer end.
    int value = (int)wcstol(GetControlText(edit), nullptr, 10);
    int low = 0, high = 0;
    ::SendMessageW(spin, UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
    return value < low ? low : (value > high ? high : value);
}

void SetEditText(HWND edit, const CString& text, int limit)
{
    ::SetWindowTextW(edit, text);
    if (limit > 0)
        ::SendMessageW(edit, EM_LIMITTEXT, (WPARAM)limit, 0);
}

void SetComboText(HWND combo, const CString& text, int limit)
{
    ::SetWindowTextW(combo, text);
    if (limit > 0)
        ::SendMessageW(combo, CB_LIMITTEXT, (WPARAM)limit, 0);
}

CString GetControlText(HWND window) { return CWindow(window).GetWindowText(); }

void SetEditLines(const std::vector<CString>& lines, HWND edit) { ::SetWindowTextW(edit, JoinStrings(lines, L"\r\n")); }

void GetEditLines(HWND edit, std::vector<CString>& lines) { lines = SplitLines(GetControlText(edit)); }
