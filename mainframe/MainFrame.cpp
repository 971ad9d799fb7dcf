#include "mainframe/MainFrame.h"

#include "classlib/App.h"
#include "controls/Clipboard.h"
#include "logview/ProtocolLogDialog.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainAppServices.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <imm.h>
#include <shellapi.h>

namespace {

const UINT kToolBarBitmap = 290;
const LPCWSTR kToolBarResourceType = MAKEINTRESOURCEW(241);

bool IsMinimizedShow(UINT showCommand)
{
    return showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINNOACTIVE;
}

} // namespace

CMainFrame::CMainFrame(CMainApp* app, TConfig* settings) : app(app), settings(settings)
{
    quitWaitTimer.SetListener(this);
    contentPanel.SetSources(settings, &app->GetAddressFinder());
    contentPanel.searchTarget = &searchEvents;
}

CMainFrame::~CMainFrame()
{
    contentPanel.searchTarget = nullptr;
    scriptsWatcher.Stop();
    hotKey.SetActive(false);
    quitWaitTimer.SetListener(nullptr);
    quitWaitTimer.Stop();
    ownedWindows.DestroyAll();
}

BOOL CMainFrame::CreateFrame() { return LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW); }

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style |= WS_CLIPCHILDREN;
    if (className.IsEmpty())
        return TRUE;
    WNDCLASSW known = {};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), className, &known)) {
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
        wc.hCursor = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        if (!::RegisterClassW(&wc))
            return FALSE;
    }
    cs.lpszClass = className;
    return TRUE;
}

LRESULT CMainFrame::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    AppendMainMenuToSystemMenu();
    settings->view.UpdateTheme(*settings);
    flasher.SetWindow(m_hWnd);
    if (!contentPanel.Create(m_hWnd, kContentPanelId, WS_CHILD | WS_VISIBLE | WS_BORDER)) {
        ::OutputDebugStringW(L"Failed to create view window\n");
        return -1;
    }
    if (!CreateToolBar()) {
        ::OutputDebugStringW(L"Failed to create toolbar\n");
        return -1;
    }
    ApplyCreationSettings();
    AssignPopupCommandIds();
    CreateHistoryWindows();
    return 0;
}

void CMainFrame::ApplyCreationSettings()
{
    const TPreference& pref = settings->preference;
    snapEnabled = pref.SnapWindow;
    snapDistance = 16;
    releaseBeyondEdge = true;
    ::DragAcceptFiles(m_hWnd, TRUE);
    hotKey.SetHotKey(m_hWnd, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode);
    hotKey.SetActive(pref.RestoreOnHotKey);
    contentPanel.ApplyLayoutPreferences(pref);
    help.SetHelpFile(settings->GetProgramFolder() + L"Ketroval2.chm");
    scriptsWatcher.SetListener(this);
    scriptsWatcher.SetFolder(settings->GetScriptFolder());
    scriptsWatcher.Start();
}

bool CMainFrame::CreateToolBar()
{
    DWORD style = WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER;
    if (settings->enableToolBar)
        style |= WS_VISIBLE;
    if (!toolBar.Create(style, RECT{}, m_hWnd, kToolBarId))
        return false;
    toolBar.SetButtonStructSize();
    toolBarImages.Create(16, 15, ILC_COLOR32 | ILC_MASK, 16, 16);
    HBITMAP bitmap = (HBITMAP)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kToolBarBitmap), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION);
    if (bitmap) {
        ImageList_AddMasked(toolBarImages, bitmap, RGB(255, 0, 255));
        ::DeleteObject(bitmap);
    }
    toolBar.SetImageList(toolBarImages);
    LoadToolBarButtons();
    SetToolBar(toolBar.m_hWnd);
    return true;
}

// The tool-bar resource lists the command of each button in order, 0 for a separator; the
// buttons take the bitmap's images in the same order.
void CMainFrame::LoadToolBarButtons()
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), kToolBarResourceType);
    const WORD* data = found ? (const WORD*)::LockResource(::LoadResource(module, found)) : nullptr;
    if (!data || ::SizeofResource(module, found) < 8)
        return;
    int count = data[3];
    if ((DWORD)(8 + count * 2) > ::SizeofResource(module, found))
        return;
    int image = 0;
    for (int i = 0; i < count; i++) {
        TBBUTTON button = {};
        button.idCommand = data[4 + i];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = button.idCommand ? BTNS_BUTTON : BTNS_SEP;
        button.iBitmap = button.idCommand ? image++ : 0;
        toolBar.AddButtons(1, &button);
    }
    toolBar.SendMessage(TB_AUTOSIZE);
}

// The bar's own style, not IsWindowVisible: while the frame itself is hidden (before its first
// show, or in the tray) the bar still takes its place and is still switched on.
bool CMainFrame::IsToolBarShown() const
{
    return toolBar.m_hWnd && (::GetWindowLongW(toolBar.m_hWnd, GWL_STYLE) & WS_VISIBLE);
}

void CMainFrame::RecalcLayout()
{
    RECT client;
    GetClientRect(&client);
    int top = 0;
    if (IsToolBarShown()) {
        toolBar.SendMessage(TB_AUTOSIZE);
        RECT bar;
        toolBar.GetWindowRect(&bar);
        top = bar.bottom - bar.top;
    }
    contentPanel.MoveWindow(0, top, client.right, client.bottom - top);
}

LRESULT CMainFrame::OnSize(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SIZE, wParam, lParam);
    if (wParam != SIZE_MINIMIZED)
        RecalcLayout();
    FollowSizeChange((UINT)wParam);
    return 0;
}

LRESULT CMainFrame::OnSetFocus(WPARAM wParam, LPARAM)
{
    // The default handling of an activation takes the focus to the frame even from a window of
    // the panel a click has just focused: that window keeps it.
    HWND lost = (HWND)wParam;
    if (contentPanel.m_hWnd && contentPanel.HoldsFocus(lost))
        ::SetFocus(lost);
    else if (contentPanel.m_hWnd)
        contentPanel.SetFocus();
    return 0;
}

LRESULT CMainFrame::OnActivate(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_ACTIVATE, wParam, lParam);
    FollowActivation(LOWORD(wParam));
    return 0;
}

// Runs after the first-start wizard, so settings it took over count in this first session too.
void CMainFrame::ApplyStartupSettings(int showCommand)
{
    const TPreference& pref = settings->preference;
    ShowMainMenu(settings->menuVisible);
    contentPanel.ApplyLayoutPreferences(pref);
    trayIcon.Create(m_hWnd);
    trayIcon.SetShowOnlyWhenMinimized(pref.ShowTrayIconOnMinimized);
    trayIcon.restoreOnSingleClick = pref.RestoreTrayIconOnSingleClick;
    trayIcon.newMessageAlert = trayIcon.highlightAlert = false;
    trayIcon.UpdateIcon();
    trayIcon.SetToolTip(GetAppTitle());
    trayIcon.SetEnabled(pref.EnableTrayIcon);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.flags = 0;
    if (showCommand != SW_SHOWNORMAL)
        placement.showCmd = (UINT)showCommand;
    else if (settings->maximized)
        placement.showCmd = SW_SHOWMAXIMIZED;
    else if (settings->minimized)
        placement.showCmd = SW_SHOWMINIMIZED;
    else
        placement.showCmd = SW_SHOWDEFAULT;
    placement.rcNormalPosition = settings->mainWindowRect;
    ::SetWindowPlacement(m_hWnd, &placement);
    placed = true;
    alwaysOnTop = settings->topMost;
    ::SetWindowPos(m_hWnd, alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (pref.EnableIMEOnInit)
        OpenInputMethod();
}

void CMainFrame::OpenInputMethod()
{
    contentPanel.GetInputLine()->SetFocus();
    HIMC context = ::ImmGetContext(m_hWnd);
    if (!context)
        return;
    if (!::ImmGetOpenStatus(context))
        ::ImmSetOpenStatus(context, TRUE);
    ::ImmReleaseContext(m_hWnd, context);
}

void CMainFrame::SaveWindowState()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(m_hWnd, &placement);
    settings->mainWindowRect = placement.rcNormalPosition;
    settings->minimized = IsMinimizedShow(placement.showCmd);
    settings->maximized = placement.showCmd == SW_SHOWMAXIMIZED;
    contentPanel.StoreInputHistory(settings->inputHistory);
    settings->menuVisible = ::GetMenu(m_hWnd) != nullptr;
    settings->topMost = alwaysOnTop;
    settings->enableToolBar = IsToolBarShown();
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOTKEY) {
        OnHotKey();
        return 1;
    }
    return TAttachWindow::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnHotKey()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(m_hWnd, &placement);
    if (IsMinimizedShow(placement.showCmd)) {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        return;
    }
    ForceBringWindowToTop(m_hWnd);
    ForceSetActiveWindow(m_hWnd);
}

const TLogAddressFinder* CMainFrame::GetAddressFinder() const { return &app->GetAddressFinder(); }

LRESULT CMainFrame::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    ownedWindows.KickIdle(wParam, lParam);
    // The macro editor stands in for the macro settings window, which hides while it is open.
    if (macroSelect.IsOpen() && macroSelect->GetEditor())
        macroSelect->GetEditor()->SendMessage(WM_KICKIDLE, wParam, lParam);
    if (world)
        world->KickIdleAllDialogs(wParam, lParam);
    return 0; // the frame class updated the tool bar before
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    trayIcon.OnTaskbarCreated();
    return 0;
}

LRESULT CMainFrame::OnActivateRequest(WPARAM, LPARAM)
{
    if (!closing && ::IsIconic(m_hWnd))
        SendMessage(WM_COMMAND, 61728);
    return 0;
}

void CMainFrame::OnTimer(TTimer* timer)
{
    if (timer == &quitWaitTimer) {
        quitWaitTimer.Stop();
        SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    }
}

LRESULT CMainFrame::OnDestroy(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_DESTROY, wParam, lParam);
    ::PostQuitMessage(0);
    return 0;
}

void CMainFrame::CopyTextToClipboard(const CString& text) { ::CopyTextToClipboard(text); }
void CMainFrame::RestoreTitle()
{
    flasher.RestoreTitle();
    trayIcon.newMessageAlert = trayIcon.highlightAlert = false;
    trayIcon.UpdateIcon();
}
