#pragma once
// Steps on the real preference window that several of its test files take.

#include "mainframe/MainFrame.h"
#include "prefs/PreferenceDialog.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <commctrl.h>

// Clicks the page's item in the window's tree; true once the page shows.
inline bool ShowPreferencePage(TPreferenceDialog* dialog, TPropertyPage* page)
{
    HWND tree = dialog->GetTree();
    HTREEITEM item = dialog->FindItem(page);
    TreeView_EnsureVisible(tree, item);
    RECT rect = {};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    ClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    return PumpMessagesUntil([&] { return dialog->GetCurrentPage() == page && page->m_hWnd; }, 3000);
}

// Alt+S in the main window, as a user opens the preferences; the window, or null when none opened.
inline TPreferenceDialog* OpenPreferencesFromKey(CMainFrame& frame)
{
    FocusForInput(frame.m_hWnd);
    PressKey('S', {VK_MENU});
    PumpMessagesUntil([&] { return frame.GetPreferenceDialog() != nullptr; }, 3000);
    return frame.GetPreferenceDialog();
}
