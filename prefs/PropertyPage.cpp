#include "prefs/PropertyPage.h"

#include "dialogs/MessageBoxes.h"

BOOL TPropertyPage::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    if (!HasRecord())
        return TRUE;
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Load);
    Exchange(io);
    Load();
    return TRUE;
}

void TPropertyPage::OnOK()
{
    if (!HasRecord() || !m_hWnd)
        return;
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Store);
    Exchange(io);
    Store();
}

bool TPropertyPage::Validate(TDialogProblem& problem)
{
    if (!HasRecord() || !m_hWnd)
        return true;
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Check);
    Exchange(io);
    problem = io.GetProblem();
    return io.Passed();
}

void TPropertyPage::ShowProblem(const TDialogProblem& problem)
{
    if (!problem.text.IsEmpty())
        ShowWarningMessage(::GetAncestor(m_hWnd, GA_ROOT), problem.text, CString());
    if (HWND control = Item(problem.control)) {
        ::SetFocus(control);
        ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

namespace {

bool IsComboBox(HWND window)
{
    wchar_t name[16] = L"";
    return window && ::GetClassNameW(window, name, 16) && _wcsicmp(name, L"ComboBox") == 0;
}

// The focus is in a combo box whose list is open (the box itself, or the edit of an editable one).
bool IsInOpenList(HWND focus)
{
    HWND combo = IsComboBox(focus) ? focus : focus ? ::GetParent(focus) : nullptr;
    return IsComboBox(combo) && ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

} // namespace

BOOL TPropertyPage::PreTranslateMessage(MSG* msg)
{
    // Esc in an open list only closes the list: the sheet's dialog handling hands it to the box.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && IsInOpenList(::GetFocus()))
        return FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        ::PostMessageW(::GetParent(m_hWnd), WM_KEYDOWN, VK_ESCAPE, msg->lParam);
        return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        HWND focus = ::GetFocus();
        wchar_t name[10] = L"";
        if (focus && ::IsChild(m_hWnd, focus) && (::GetWindowLongPtrW(focus, GWL_STYLE) & ES_WANTRETURN) &&
            ::GetClassNameW(focus, name, 10) && _wcsicmp(name, L"EDIT") == 0) {
            ::SendMessageW(focus, WM_CHAR, msg->wParam, msg->lParam);
            return TRUE;
        }
        // Not the page's own dialog handling: the sheet's turns Enter into its default button.
        return FALSE;
    }
    // Inside a sheet the sheet's dialog handling sees every key, so Tab and the mnemonics reach
    // its buttons and the other controls as well as the page's.
    if ((GetStyle() & WS_CHILD) && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return FALSE;
    return TUpdateDialog::PreTranslateMessage(msg);
}
