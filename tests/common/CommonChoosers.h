#pragma once
// The system's file and folder choosers as a user answers them: a path typed into the file
// chooser's name box and Enter; a folder reached in the folder chooser's tree with the keys;
// Escape to leave either unchanged.

#include "tests/common/ControlText.h"
#include "tests/common/MessagePump.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <functional>

// The explorer-style file chooser, known by its file name box.
inline std::function<bool(HWND)> IsFileChooser()
{
    return [](HWND window) { return ::GetDlgItem(window, cmb13) != nullptr && ::IsWindowEnabled(window); };
}

inline BOOL CALLBACK MatchFolderTree(HWND window, LPARAM data)
{
    wchar_t name[32] = L"";
    ::GetClassNameW(window, name, 32);
    if (wcscmp(name, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

inline HWND FolderTreeOf(HWND chooser)
{
    HWND found = nullptr;
    ::EnumChildWindows(chooser, MatchFolderTree, (LPARAM)&found);
    return found;
}

// The text of the folder chooser's selected folder: empty until it has taken a selection.
inline CString SelectedFolderName(HWND chooser)
{
    HWND tree = FolderTreeOf(chooser);
    HTREEITEM item = tree ? TreeView_GetSelection(tree) : nullptr;
    return item ? TreeItemText(tree, item) : CString();
}

// The folder chooser once it shows the folder selected; the chooser fills its tree and takes
// the start folder after it has shown, later on a busy machine.
inline std::function<bool(HWND)> IsFolderChooserAt(const CString& folderName)
{
    return [folderName](HWND window) {
        return ::IsWindowEnabled(window) && FolderTreeOf(window) && SelectedFolderName(window) == folderName;
    };
}

// Types the path over whatever the name box holds and presses Enter, from inside the chooser's
// own loop.
inline void AnswerFileChooser(HWND chooser, const wchar_t* path)
{
    HWND box = ::GetDlgItem(chooser, cmb13);
    ClickAt(ScreenPointOf(box, 12, 8));
    // The box's edit knows no Ctrl+A.
    PressKey(VK_END);
    PressKey(VK_HOME, {VK_SHIFT});
    PressKey(VK_DELETE);
    TypeText(path);
    QueueKey(VK_RETURN);
}

// Opens the selected folder in the folder chooser's tree, types the name of one of its
// subfolders to select it, and presses Enter. False (the chooser left open) when the subfolder
// was not reached.
inline bool AnswerFolderChooserWithSubfolder(HWND chooser, const wchar_t* subfolder)
{
    HWND tree = FolderTreeOf(chooser);
    FocusForInput(tree);
    PressKey(VK_RIGHT);
    PumpMessagesUntil(
        [&] {
            HTREEITEM selected = TreeView_GetSelection(tree);
            return selected && TreeView_GetChild(tree, selected) != nullptr;
        },
        5000);
    TypeText(subfolder);
    if (!PumpMessagesUntil([&] { return SelectedFolderName(chooser) == subfolder; }, 5000))
        return false;
    QueueKey(VK_RETURN);
    return true;
}

// Leaves the chooser as a user does who changed his mind.
inline void CancelChooser(HWND chooser)
{
    FocusForInput(chooser);
    QueueKey(VK_ESCAPE);
}

inline void CALLBACK CancelChooserLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND chooser = FindShownWindow(
        [](HWND window) { return ::IsWindowEnabled(window) && (::GetDlgItem(window, cmb13) || FolderTreeOf(window)); });
    if (chooser) {
        ADD_FAILURE() << "a chooser stayed open, at \"" << Narrow(SelectedFolderName(chooser)) << "\"";
        ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    }
}

// Clicks the button and answers the chooser it opens, in the chooser's own loop; false when none
// showed. A chooser that never matches or is never answered is cancelled after a generous while
// as a failure, so the test does not wait for ever.
inline bool ClickAndAnswerChooser(HWND button, std::function<bool(HWND)> match, std::function<void(HWND)> answer)
{
    UINT_PTR guard = ::SetTimer(nullptr, 0, 30000, CancelChooserLeftOpen);
    bool shown = ClickAndAnswer(button, std::move(match), std::move(answer));
    ::KillTimer(nullptr, guard);
    return shown;
}
