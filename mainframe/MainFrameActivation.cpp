// How the main window follows activation, minimising to the tray, restoring and the system menu;
// the title and tray alerts, the menu-bar and always-on-top switches, the search bar commands,
// and the end of a Windows session.

#include "classlib/CmdUI.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

namespace {

// Set by minimising, so the next restore brings the frame forward; one main window per process.
bool s_restoringFromMinimized = false;

} // namespace

void CMainFrame::FollowActivation(UINT state)
{
    if (closing)
        return;
    const TPreference& preference = settings->preference;
    if (state == WA_INACTIVE && preference.EnableBaloon && world)
        world->SetBalloonCountdown(0);
    if (state == WA_ACTIVE || state == WA_CLICKACTIVE) {
        applicationActive = true;
        if (world)
            world->ClearCurrentMarks();
        RestoreTitle();
        // Balloons of messages that came while the user was away stay a few seconds more.
        if (preference.EnableBaloon && preference.ShowBalloonOnInactive && world)
            world->SetBalloonCountdown(3);
    }
    // The panel keeps or gives back the keyboard focus of its windows.
    contentPanel.OnActivate(state);
}

LRESULT CMainFrame::OnActivateAppMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_ACTIVATEAPP, wParam, lParam);
    applicationActive = wParam != FALSE;
    if (!applicationActive && settings->preference.EnableBaloon && world)
        world->SetBalloonCountdown(0);
    if (!closing && world)
        world->ClearCurrentMarks();
    return result;
}

void CMainFrame::FollowSizeChange(UINT type)
{
    if ((type == SIZE_RESTORED || type == SIZE_MAXIMIZED) && s_restoringFromMinimized) {
        s_restoringFromMinimized = false;
        // Not by the system's restore, which did this itself: the tray menu's restore or a new
        // start's activation.
        bool otherRoad = trayIcon.ownerMinimized;
        if (otherRoad)
            ShowWindowsHiddenWithFrame();
        ::BringWindowToTop(m_hWnd);
        SetFocus();
        if (otherRoad)
            RemoveMinimizedTrayIcon();
    } else if (type == SIZE_MINIMIZED) {
        s_restoringFromMinimized = true;
        trayIcon.ownerMinimized = true;
        if (trayIcon.IsShownOnlyWhenMinimized())
            trayIcon.AddIcon();
        const TPreference& preference = settings->preference;
        if (preference.HideAllWindowOnMinimize) {
            // The servers' windows first, then the frame's own.
            if (world)
                world->HideAllDialogs(true);
            ownedWindows.HideWithFrame(true);
        }
        // Only the tray icon is left to bring the window back.
        if (preference.EnableTrayIcon && preference.HideWindowOnMinimize)
            ShowWindow(SW_HIDE);
    }
    if (type == SIZE_RESTORED)
        applicationActive = true;
    else if (type == SIZE_MINIMIZED)
        applicationActive = false;
}

// Without the icon nothing on the screen would be left to bring a window hidden in the tray
// back: it comes back as the tray's restore brings it.
void CMainFrame::SetTrayIconEnabled(bool enabled)
{
    trayIcon.SetEnabled(enabled);
    if (!enabled && !closing && ::IsIconic(m_hWnd) && !IsWindowVisible())
        SendMessage(WM_SYSCOMMAND, SC_RESTORE);
}

LRESULT CMainFrame::OnSysCommandMessage(WPARAM wParam, LPARAM lParam)
{
    // During the quit wait a macro's or script's window action does not bring the hidden window
    // back; only the close goes on.
    if (closing && (wParam & 0xFFF0) != SC_CLOSE)
        return 0;
    // A main-menu item reached through the copy of the main menu in the system menu.
    if (wParam < 0xF000)
        return SendMessageW(WM_COMMAND, MAKEWPARAM((UINT)wParam, 0), 0);
    if ((wParam & 0xFFF0) != SC_RESTORE)
        return DefWindowProc(WM_SYSCOMMAND, wParam, lParam);
    // The windows hidden with the frame come back first, so the frame's own restore leaves it
    // in front of them.
    ShowWindow(SW_SHOWNA);
    ShowWindowsHiddenWithFrame();
    LRESULT result = DefWindowProc(WM_SYSCOMMAND, wParam, lParam);
    RemoveMinimizedTrayIcon();
    return result;
}

void CMainFrame::ShowWindowsHiddenWithFrame()
{
    if (world)
        world->HideAllDialogs(false);
    ownedWindows.HideWithFrame(false);
    trayIcon.ownerMinimized = false;
}

// Only once the frame is active: the tray's window may hold the activation, and when it vanishes
// with the icon it hands it on to the next window, one of those shown just now.
void CMainFrame::RemoveMinimizedTrayIcon()
{
    if (trayIcon.IsShownOnlyWhenMinimized())
        trayIcon.RemoveIcon();
}

// The main menu's popups, shared with the menu bar, so they stay reachable when it is hidden.
void CMainFrame::AppendMainMenuToSystemMenu()
{
    HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
    HMENU menu = ::GetMenu(m_hWnd);
    if (!system || !menu)
        return;
    ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        wchar_t text[128] = L"";
        ::GetMenuStringW(menu, (UINT)i, text, 128, MF_BYPOSITION);
        ::AppendMenuW(system, MF_POPUP | MF_STRING, (UINT_PTR)::GetSubMenu(menu, i), text);
    }
}

LRESULT CMainFrame::OnQueryEndSessionMessage(WPARAM wParam, LPARAM lParam)
{
    if (!DefWindowProc(WM_QUERYENDSESSION, wParam, lParam))
        return FALSE;
    ending = true;
    SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}

void CMainFrame::ShowMainMenu(bool show)
{
    bool shown = ::GetMenu(m_hWnd) != nullptr;
    if (show == shown)
        return;
    if (show) {
        ::SetMenu(m_hWnd, hiddenMenu);
        hiddenMenu = nullptr;
    } else {
        // The menu lives on: its popups stay in the system menu and it comes back later.
        hiddenMenu = ::GetMenu(m_hWnd);
        ::SetMenu(m_hWnd, nullptr);
    }
}

void CMainFrame::OnToggleMainMenu()
{
    ShowMainMenu(::GetMenu(m_hWnd) == nullptr);
    SaveWindowState();
}

void CMainFrame::OnUpdateToggleMainMenu(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(::GetMenu(m_hWnd) ? 1 : 0);
}

void CMainFrame::OnToggleTopMost()
{
    alwaysOnTop = !alwaysOnTop;
    SetWindowPos(alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The last moved ends in front: the transfer window first, the servers' windows last.
    ownedWindows.SetTopMost(
        alwaysOnTop, {ID_DCC_WINDOW, ID_SCRIPT_CONSOLE, ID_MACRO_SETTINGS, ID_SCRIPT_SETTINGS, ID_POPUP_MENU_SETTINGS});
    if (world)
        world->SetAllDialogsTopMost(alwaysOnTop);
    SaveWindowState();
}

void CMainFrame::OnUpdateToggleTopMost(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(alwaysOnTop ? 1 : 0);
}

void CMainFrame::OnMinimize() { SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void CMainFrame::OnRestoreFromTray() { ShowWindow(SW_RESTORE); }

void CMainFrame::OnUpdateRestoreFromTray(CCmdUI* ui)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(m_hWnd, &placement);
    UINT show = placement.showCmd;
    ui->Enable(show == SW_SHOWMINIMIZED || show == SW_SHOWMAXIMIZED || show == SW_MINIMIZE ||
               show == SW_SHOWMINNOACTIVE);
}

void CMainFrame::OnToggleToolBar()
{
    toolBar.ShowWindow(IsToolBarShown() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CMainFrame::OnUpdateToggleToolBar(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(IsToolBarShown() ? 1 : 0);
}

void CMainFrame::StartHighlightAlert()
{
    if (applicationActive)
        return;
    flasher.BlinkTitle();
    trayIcon.newMessageAlert = false;
    trayIcon.highlightAlert = true;
    trayIcon.UpdateIcon();
}

void CMainFrame::StartMessageAlert()
{
    if (applicationActive)
        return;
    flasher.FlashTitle();
    // A highlight outranks an ordinary message and stays.
    if (trayIcon.highlightAlert)
        return;
    trayIcon.newMessageAlert = true;
    trayIcon.UpdateIcon();
}
