// Message boxes and the folder chooser as a user answers them, and the main window they keep
// disabled while they are open.

#include "dialogs/MessageBoxes.h"
#include "classlib/App.h"
#include "classlib/Wnd.h"
#include "foundation/ModalCounter.h"
#include "tests/common/ControlText.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <ole2.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK MatchTree(HWND window, LPARAM data)
{
    wchar_t name[32] = L"";
    ::GetClassNameW(window, name, 32);
    if (wcscmp(name, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

HWND FindTree(HWND browser)
{
    HWND tree = nullptr;
    ::EnumChildWindows(browser, MatchTree, (LPARAM)&tree);
    return tree;
}

// The text of the folder browser's selected tree item: empty until it has taken a selection.
CString SelectedFolderName(HWND browser)
{
    HWND tree = FindTree(browser);
    if (!tree)
        return CString();
    HTREEITEM item = TreeView_GetSelection(tree);
    return item ? TreeItemText(tree, item) : CString();
}

// A box the keys did not close would hold the test for ever: it is closed, and the test fails.
HWND g_watched = nullptr;

void CALLBACK CloseLeftOver(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_watched && ::IsWindow(g_watched)) {
        ADD_FAILURE() << "the box stayed open";
        ::PostMessageW(g_watched, WM_COMMAND, IDCANCEL, 0);
    }
}

void WatchForLeftOver(HWND box)
{
    g_watched = box;
    ::SetTimer(nullptr, 0, kWaitBoundMs, CloseLeftOver);
}

BOOL CALLBACK CancelBrowser(HWND window, LPARAM)
{
    if (FindTree(window))
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CloseBrowserLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ADD_FAILURE() << "the browser stayed open";
    ::EnumThreadWindows(::GetCurrentThreadId(), CancelBrowser, 0);
}

// Once the box with the caption is up, the step answers it.
void AnswerBox(const wchar_t* caption, std::function<void(HWND)> step)
{
    RunLater(200, [caption, step] {
        HWND box = nullptr;
        PumpMessagesUntil([&] { return (box = FindShownWindow(HasCaption(caption))) != nullptr; }, kWaitBoundMs);
        ASSERT_TRUE(box) << "no box";
        FocusForInput(::GetDlgItem(box, IDOK));
        step(box);
    });
}

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTopmostWindow(main, L"main", 60, 60, 300, 200));
        app.m_pMainWnd = &main;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
    }
    bool MainEnabled() const { return ::IsWindowEnabled(main.m_hWnd) != FALSE; }

    CWinApp app;
    CWnd main;
};

} // namespace

TEST_F(MessageBoxes, ConfirmationIsTrueOnlyForOk)
{
    struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        bool answer;
    } const cases[] = {{VK_RETURN, {}, true}, {VK_ESCAPE, {}, false}, {VK_F4, {VK_MENU}, false}};
    for (const auto& row : cases) {
        bool disabledWhileOpen = false;
        AnswerBox(L"確認", [&](HWND box) {
            disabledWhileOpen = !MainEnabled();
            if (row.key == VK_RETURN) {
                SaveWindowPng(box, ScreenshotPath(L"confirm-message.png"));
            }
            WatchForLeftOver(box);
            QueueKey(row.key, row.modifiers);
        });
        EXPECT_EQ(row.answer, ShowConfirmMessage(main.m_hWnd, L"既存のファイルを上書きします", L"確認")) << row.key;
        EXPECT_TRUE(disabledWhileOpen);
        EXPECT_TRUE(MainEnabled());
        EXPECT_EQ(0, TModalManager::GetModalCount());
    }
}

TEST_F(MessageBoxes, BoxInsideABoxKeepsTheMainWindowDisabledUntilTheOuterCloses)
{
    bool innerSeenDisabled = false, afterInnerDisabled = false;
    int countInside = 0;
    // An empty caption shows the program's name.
    AnswerBox(L"Ketroval2", [&](HWND) {
        AnswerBox(L"失敗", [&](HWND inner) {
            innerSeenDisabled = !MainEnabled();
            countInside = TModalManager::GetModalCount();
            SaveWindowPng(inner, ScreenshotPath(L"warning-message.png"));
            QueueKey(VK_RETURN);
        });
        ShowWarningMessage(main.m_hWnd, L"ファイルを開けませんでした", L"失敗");
        afterInnerDisabled = !MainEnabled();
        HWND outer = FindShownWindow(HasCaption(L"Ketroval2"));
        ASSERT_TRUE(outer);
        FocusForInput(::GetDlgItem(outer, IDOK));
        WatchForLeftOver(outer);
        QueueKey(VK_ESCAPE);
    });
    EXPECT_FALSE(ShowConfirmMessage(main.m_hWnd, L"外側", CString()));
    EXPECT_TRUE(innerSeenDisabled);
    EXPECT_EQ(2, countInside);
    EXPECT_TRUE(afterInnerDisabled);
    EXPECT_TRUE(MainEnabled());
}

TEST_F(MessageBoxes, FolderChooserStartsAtTheStartFolderAndCancelChoosesNothing)
{
    // As the program does at start: the new-style browser needs OLE.
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    TTempFolder folder;
    CString start = folder.path.Left(folder.path.GetLength() - 1);
    CString leaf = start.Mid(start.ReverseFind(L'\\') + 1);
    // The last round moves up to the parent, which the browser must then keep.
    enum { Cancel, Accept, Parent };
    for (int round : {Cancel, Accept, Parent}) {
        TFolderDialog dialog(main.m_hWnd);
        dialog.SetTitle(L"フォルダの選択");
        dialog.SetFolder(start);
        // The browser's own loop shows it once idle, so the watch must not pump inside it. Wine
        // fills the tree and takes the start selection after that, later on a busy machine.
        bool answered = false;
        WhenShown([&](HWND box) { return SelectedFolderName(box) == leaf; },
                  [&](HWND box) {
                      answered = true;
                      if (round == Accept) {
                          SaveWindowPng(box, ScreenshotPath(L"folder-chooser.png"));
                      }
                      EXPECT_FALSE(MainEnabled());
                      FocusForInput(FindTree(box));
                      if (round != Parent) {
                          QueueKey(round == Accept ? VK_RETURN : VK_ESCAPE);
                          return;
                      }
                      QueueKey(VK_LEFT);
                      RunLater(1500, [] { QueueKey(VK_RETURN); });
                  });
        // A browser that never takes the selection would hold the test for ever.
        UINT_PTR guard = ::SetTimer(nullptr, 0, 20000, CloseBrowserLeftOpen);
        INT_PTR result = dialog.DoModal();
        StopWatching();
        ::KillTimer(nullptr, guard);
        EXPECT_TRUE(answered) << "the browser did not show with the start folder selected";
        EXPECT_EQ(round == Cancel ? IDCANCEL : IDOK, result);
        CString chosen[] = {CString(), start, start.Left(start.ReverseFind(L'\\'))};
        EXPECT_EQ(chosen[round], dialog.GetFolder());
        EXPECT_EQ(start, dialog.GetInitialFolder());
        EXPECT_TRUE(MainEnabled());
    }
    ::OleUninitialize();
}
