#include "classlib/Frame.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "classlib/MsgMap.h"

#include <commctrl.h>

namespace {

class CToolButtonCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        ::SendMessageW(m_hOther, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? 1 : 0, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { ::SendMessageW(m_hOther, TB_CHECKBUTTON, m_nID, MAKELPARAM(check ? 1 : 0, 0)); }
    void SetText(LPCWSTR) override {}
};

} // namespace

CFrameWnd::~CFrameWnd()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent)
{
    HINSTANCE resources = AfxGetResourceHandle();
    CString title;
    title.LoadString(resourceId);
    m_hIcon = (HICON)::LoadImageW(resources, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    m_hAccelTable = ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(resourceId));
    HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(resourceId));
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW),
                                      (HBRUSH)(COLOR_BTNFACE + 1), m_hIcon);
    if (CreateEx(0, cls, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                 parent ? parent->m_hWnd : nullptr, menu))
        return TRUE;
    if (menu)
        ::DestroyMenu(menu);
    return FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_hAccelTable && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg);
    return FALSE;
}

void CFrameWnd::UpdateToolBar()
{
    if (!m_hToolBar)
        return;
    int count = (int)::SendMessageW(m_hToolBar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        TBBUTTON button = {};
        ::SendMessageW(m_hToolBar, TB_GETBUTTON, i, (LPARAM)&button);
        if (button.fsStyle & BTNS_SEP)
            continue;
        CToolButtonCmdUI state;
        state.m_nID = (UINT)button.idCommand;
        state.m_nIndex = (UINT)i;
        state.m_hOther = m_hToolBar;
        state.DoUpdate(this, FALSE);
    }
}

namespace {

const UINT_PTR kIdleUpdateTimerId = 0x4B57;
const DWORD kIdleUpdateMs = 16;

} // namespace

bool CFrameWnd::IsIdleUpdateDue()
{
    DWORD since = ::GetTickCount() - m_idleUpdatedAt;
    if (since >= kIdleUpdateMs) {
        m_idleUpdatedAt += since;
        return true;
    }
    if (!m_idleUpdateWaiting) {
        m_idleUpdateWaiting = true;
        ::SetTimer(m_hWnd, kIdleUpdateTimerId, kIdleUpdateMs - since, nullptr);
    }
    return false;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            UpdateMenuPopup(this, (HMENU)wParam, m_bAutoMenuEnable);
        break;
    case WM_TIMER:
        if (wParam != kIdleUpdateTimerId)
            break;
        ::KillTimer(m_hWnd, kIdleUpdateTimerId);
        m_idleUpdateWaiting = false;
        SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        return 0;
    case WM_IDLEUPDATECMDUI:
        if (!IsIdleUpdateDue())
            return 0;
        UpdateToolBar();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
