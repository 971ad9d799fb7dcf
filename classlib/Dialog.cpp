#include "classlib/Dialog.h"

#include "classlib/App.h"
#include "classlib/MsgMap.h"

namespace {

// The dialog's window procedure is our subclass; the dialog procedure only answers "not mine".
INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

bool IsIdleMessage(const MSG& msg)
{
    static POINT lastMouse = {-1, -1};
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == lastMouse.x && msg.pt.y == lastMouse.y)
            return false;
        lastMouse = msg.pt;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118; // WM_SYSTIMER: caret blinks
}

HWND TopLevelOf(HWND hwnd)
{
    while (hwnd && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = ::GetParent(hwnd);
    return hwnd;
}

} // namespace

HWND CDialog::CreateFromTemplate(HWND owner)
{
    return AfxCreateAttached(this, [&] {
        return ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner, PassiveDialogProc,
                                    0);
    });
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    if (templateId)
        m_nIDTemplate = templateId;
    if (parent)
        m_pParentWnd = parent;
    m_modal = false;
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr) != nullptr;
}

BOOL CDialog::CreateUnowned(UINT templateId)
{
    m_nIDTemplate = templateId;
    m_modal = false;
    return CreateFromTemplate(nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd())
        owner = AfxGetMainWnd()->m_hWnd;
    owner = TopLevelOf(owner);
    m_modal = true;
    m_endRequested = false;
    m_result = -1;
    if (!CreateFromTemplate(owner)) {
        m_modal = false;
        return -1;
    }
    bool ownerDisabled = owner && ::IsWindowEnabled(owner);
    if (ownerDisabled)
        ::EnableWindow(owner, FALSE);
    RunModalLoop();
    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    m_modal = false;
    return m_result;
}

void CDialog::RunModalLoop()
{
    bool idle = true;
    LPARAM idleCount = 0;
    bool shown = (GetStyle() & WS_VISIBLE) != 0;
    MSG msg;
    while (!m_endRequested && ::IsWindow(m_hWnd)) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // Shown once the queue first runs dry, after the first paint messages are made.
            if (!shown) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                shown = true;
            }
            if (!SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = false;
            if (m_endRequested)
                return;
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: let the outer loop see WM_QUIT too.
            ::PostQuitMessage(got == 0 ? (int)msg.wParam : 0);
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    if (m_modal) {
        m_endRequested = true;
        PostMessage(WM_NULL); // wakes the modal loop
    } else if (m_hWnd) {
        ShowWindow(SW_HIDE);
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // OK and Cancel reach the virtual handlers unless the map took them.
    if (message == WM_COMMAND && HIWORD(wParam) <= 1 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        LRESULT mapped = 0;
        if (!ProcessWindowMessage(WM_KV_HASCOMMAND, LOWORD(wParam), 0, mapped)) {
            if (LOWORD(wParam) == IDOK)
                OnOK();
            else
                OnCancel();
        }
    }
    return result;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
