#pragma once
// Steps the macro and popup windows' tests add to the shared dialog steps: reading controls,
// clicking rows of list boxes and list views, and a settings aggregate over a temporary folder.

#include "tests/common/DialogSteps.h"
#include "tests/common/ListViewCells.h"
#include "tests/common/MessagePump.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"

#include "controls/UpdateDialog.h"
#include "settings/Config.h"
#include "tests/common/ControlText.h"

#include <commctrl.h>

inline POINT ListBoxRowPoint(HWND list, int row)
{
    RECT rect = {};
    ::SendMessageW(list, LB_GETITEMRECT, (WPARAM)row, (LPARAM)&rect);
    return ScreenPointOf(list, rect.left + 20, (rect.top + rect.bottom) / 2);
}

// The next click waits out the double-click time (Wine's list view otherwise takes it elsewhere
// for the second half of a double click). Then the window's enable rules run, as its loop would
// run them once idle.
inline void ClickCell(HWND list, int row, int column, bool right = false)
{
    ClickAt(ListViewCellPoint(list, row, column), right);
    KickIdle(::GetAncestor(list, GA_ROOT));
}

// The thread's topmost shown and enabled dialog: the modal dialog or message box a click opened
// (tool tips and menus are no dialogs).
inline HWND TopDialog()
{
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        ::GetClassNameW(window, kind, 16);
        if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId() && ::IsWindowVisible(window) &&
            ::IsWindowEnabled(window) && wcscmp(kind, L"#32770") == 0)
            return window;
    }
    return nullptr;
}

inline int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

// The settings of a user whose folders lie in a temporary folder.
struct TTempSettings {
    TTempSettings()
    {
        config.settingsFolder = folder.path + L"settings\\";
        config.macroFolder = folder.path + L"macros\\";
        config.filesFolder = config.macroFolder + L"files\\";
        config.soundsFolder = config.macroFolder + L"sounds\\";
        for (const CString& path : {config.settingsFolder, config.macroFolder, config.filesFolder, config.soundsFolder})
            CreateDirectoryW(path, nullptr);
        // No "window.ini" yet: the windows open at the sizes and column widths a new user has.
        config.LoadWindowSettings();
    }
    CString MacroPath(const wchar_t* name) const { return config.macroFolder + name + L".kmf"; }

    TTempFolder folder;
    TConfig config;
};
