// The preference window: opening it, what its OK changes in the running program, and its end.

#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "foundation/WindowHelpers.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <memory>

void CMainFrame::OnPreferences()
{
    if (preferenceDialog.ShowOrBringForward())
        return;
    auto made = std::make_unique<TPreferenceDialog>(this);
    made->SetListener(&preferenceEvents);
    made->SetConfig(settings);
    made->SetAddressFinder(GetAddressFinder());
    if (!preferenceDialog.Open(std::move(made), [](TPreferenceDialog& d) { return d.Open(); }))
        return;
    // The key is off while it may be the one being chosen.
    hotKey.SetActive(false);
}

void CMainFrame::OnPreferenceDialogOK(TPreferenceDialog*)
{
    TPreference& pref = settings->preference;
    snapEnabled = pref.SnapWindow;
    trayIcon.SetShowOnlyWhenMinimized(pref.ShowTrayIconOnMinimized);
    trayIcon.restoreOnSingleClick = pref.RestoreTrayIconOnSingleClick;
    SetTrayIconEnabled(pref.EnableTrayIcon);
    contentPanel.ApplyLayoutPreferences(pref);
    ApplyHotKey();
    app->ApplySingleInstance(pref.ForceSingleApplicationInstance);
    if (!pref.EnableBaloon)
        trayIcon.ShowBalloon(CString(), CString());
    if (world)
        world->ApplyPreferences();
    if (scriptConsole.IsOpen())
        scriptConsole->ApplySettings();
    if (world) {
        world->UpdateTitle();
        world->SortTree();
    }
    pref.Save(settings->GetSettingsFolder());
    settings->view.Save(*settings);
}

// A key another program holds is refused: the user hears so, and the choice is stored all the
// same, for the next start finds the key free once that program has ended.
void CMainFrame::ApplyHotKey()
{
    const TPreference& pref = settings->preference;
    hotKey.SetActive(false);
    hotKey.SetHotKey(m_hWnd, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode);
    if (!pref.RestoreOnHotKey || pref.RestoreHotKeyVCode == 0)
        return;
    hotKey.SetActive(true);
    if (!hotKey.IsActive())
        ShowWarningMessage(preferenceDialog.IsOpen() ? preferenceDialog->m_hWnd : m_hWnd,
                           LoadResourceString(IDS_HOTKEY_TAKEN), CString());
}

void CMainFrame::OnPreferenceDialogClose(TPreferenceDialog* dialog)
{
    // A window the close took away while its OK waited on a box: the key stays off.
    if (!preferenceDialog.Holds(dialog))
        return;
    const TPreference& pref = settings->preference;
    if (pref.RestoreOnHotKey != hotKey.IsActive()) {
        hotKey.SetHotKey(m_hWnd, pref.RestoreHotKeyModifiers, pref.RestoreHotKeyVCode);
        hotKey.SetActive(pref.RestoreOnHotKey);
    }
    preferenceDialog.Destroy();
}

LRESULT CMainFrame::OnEnableMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_ENABLE, wParam, lParam);
    EnableModelessWindows(wParam != FALSE);
    return result;
}

// A modal dialog over the main window holds these too; the auto-op, group, ignore-list and
// history windows stay usable, and the transfer window and script console only once placed.
void CMainFrame::EnableModelessWindows(bool enable)
{
    for (TOwnedWindowSlot* slot : ownedWindows.GetSlots()) {
        switch (slot->GetCommand()) {
        case ID_AUTO_OP:
        case ID_USER_GROUPS:
        case ID_IGNORE_LIST:
        case ID_KEYWORD_HISTORY:
        case ID_URL_HISTORY:
            continue;
        case ID_DCC_WINDOW:
            if (!dccDialogShown)
                continue;
            break;
        case ID_SCRIPT_CONSOLE:
            if (!scriptConsoleShown)
                continue;
            break;
        }
        slot->Enable(enable);
    }
    if (world)
        world->EnableAllDialogs(enable);
}
