// The preference window: opening it, what its OK changes in the running program, and its end.

#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "foundation/WindowHelpers.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::OnPreferences()
{
    if (preferenceDialog) {
        preferenceDialog->ShowWindow(SW_SHOWNORMAL);
        ForceBringWindowToTop(preferenceDialog->m_hWnd);
        ForceSetActiveWindow(preferenceDialog->m_hWnd);
        preferenceDialog->SetFocus();
        return;
    }
    const TPreference& pref = settings->preference;
    hotKeyBeforePreferences = {pref.RestoreOnHotKey, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode};
    preferenceDialog = new TPreferenceDialog(this);
    preferenceDialog->SetListener(&preferenceEvents);
    preferenceDialog->SetConfig(settings);
    if (!preferenceDialog->Open()) {
        delete preferenceDialog;
        preferenceDialog = nullptr;
        return;
    }
    // The key is off while it may be the one being chosen.
    hotKey.SetActive(false);
}

void CMainFrame::OnPreferenceDialogOK(TPreferenceDialog*)
{
    TPreference& pref = settings->preference;
    snapEnabled = pref.SnapWindow;
    trayIcon.SetShowOnlyWhenMinimized(pref.ShowTrayIconOnMinimized);
    trayIcon.restoreOnSingleClick = pref.RestoreTrayIconOnSingleClick;
    trayIcon.SetEnabled(pref.EnableTrayIcon);
    contentPanel.ApplyLayoutPreferences(pref);
    ApplyHotKey(hotKeyBeforePreferences);
    app->ApplySingleInstance(pref.ForceSingleApplicationInstance);
    if (!pref.EnableBaloon)
        trayIcon.ShowBalloon(CString(), CString());
    if (world) {
        world->ApplyPreferences();
        for (THistoryDialog* history : {keywordHistory, urlHistory})
            if (history && history->m_hWnd)
                history->ApplyViewSettings();
    }
    if (scriptConsole && scriptConsole->m_hWnd)
        scriptConsole->ApplySettings();
    if (world) {
        world->UpdateTitle();
        world->SortTree();
    }
    pref.Save(settings->GetSettingsFolder());
    settings->view.Save(*settings);
}

// A key another program holds is refused: the user hears so, and the key of before stays, in the
// preferences too, so the file never keeps a key that does not work.
void CMainFrame::ApplyHotKey(const THotKeySetting& previous)
{
    TPreference& pref = settings->preference;
    hotKey.SetActive(false);
    hotKey.SetHotKey(m_hWnd, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode);
    if (!pref.RestoreOnHotKey || pref.RestoreHotKeyVCode == 0)
        return;
    hotKey.SetActive(true);
    if (hotKey.IsActive())
        return;
    ShowWarningMessage(preferenceDialog && preferenceDialog->m_hWnd ? preferenceDialog->m_hWnd : m_hWnd,
                       LoadResourceString(IDS_HOTKEY_TAKEN), CString());
    pref.RestoreOnHotKey = previous.on;
    pref.RestoreHotKeyModifiers = previous.modifiers;
    pref.RestoreHotKeyVCode = previous.key;
    hotKey.SetHotKey(m_hWnd, previous.modifiers, previous.key);
    hotKey.SetActive(previous.on);
}

void CMainFrame::OnPreferenceDialogClose(TPreferenceDialog* dialog)
{
    const TPreference& pref = settings->preference;
    if (pref.RestoreOnHotKey != hotKey.IsActive()) {
        hotKey.SetHotKey(m_hWnd, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode);
        hotKey.SetActive(pref.RestoreOnHotKey);
    }
    if (dialog != preferenceDialog)
        return;
    preferenceDialog = nullptr;
    delete dialog;
}

void CMainFrame::DestroyPreferenceDialog()
{
    delete preferenceDialog;
    preferenceDialog = nullptr;
}

LRESULT CMainFrame::OnEnableMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_ENABLE, wParam, lParam);
    EnableModelessWindows(wParam != FALSE);
    return result;
}

// A modal dialog over the main window holds these too; the auto-op, group, ignore-list and
// history windows stay usable.
void CMainFrame::EnableModelessWindows(bool enable)
{
    CWnd* windows[] = {preferenceDialog, dccDialogShown ? dccDialog : nullptr,
                       scriptConsoleShown ? scriptConsole : nullptr, scriptSelect};
    for (CWnd* window : windows)
        if (window && window->m_hWnd)
            window->EnableWindow(enable);
    if (world)
        world->EnableAllDialogs(enable);
}
