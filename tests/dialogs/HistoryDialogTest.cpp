// The history window on its own: clearing its lines asks first, and the main window takes no
// input while the question is open.

#include "dialogs/HistoryDialog.h"

#include "classlib/App.h"
#include "foundation/ModalCounter.h"
#include "log/AddressFinder.h"
#include "res/windows/lists.h"
#include "settings/LogKeyword.h"
#include "settings/ViewConfig.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

namespace {

class HistoryDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTopmostWindow(main, L"main", 60, 60, 400, 300));
        app.m_pMainWnd = &main;
        TViewLogTextConfig look;
        text.Apply(look);
        dialog.SetAppearance(&text, &back, &keyword, &finder);
        ASSERT_TRUE(dialog.CreateHidden(main.m_hWnd));
        TLogLineData line;
        line.body = L"kvword line";
        dialog.AddLine(line);
        dialog.Show();
        // Clear of the main window, which stays on top.
        dialog.SetWindowPos(nullptr, 500, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpPendingMessages();
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
    }
    // Presses Clear and answers the question, noting what held while it was open.
    void ClearAnswering(bool ok)
    {
        asked = false;
        modalWhileAsked = 0;
        mainEnabledWhileAsked = true;
        RunLater(200, [this, ok] {
            HWND box = nullptr;
            PumpMessagesUntil([&] { return (box = ::FindWindowW(L"#32770", L"確認")) != nullptr; }, 3000);
            if (!box)
                return;
            asked = true;
            modalWhileAsked = TModalManager::GetModalCount();
            mainEnabledWhileAsked = ::IsWindowEnabled(main.m_hWnd) != FALSE;
            ::PostMessageW(box, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
        });
        FocusForInput(::GetDlgItem(dialog.m_hWnd, IDC_HISTORY_CLEAR));
        PressKey(VK_SPACE);
        PumpMessagesUntil([&] { return asked && !::FindWindowW(L"#32770", L"確認"); }, 4000);
        PumpPendingMessages();
    }

    CWinApp app;
    CWnd main;
    TLogTextTheme text;
    TLogBkTheme back;
    TLogKeyword keyword;
    TLogAddressFinder finder;
    THistoryDialog dialog;
    bool asked = false;
    int modalWhileAsked = 0;
    bool mainEnabledWhileAsked = true;
};

} // namespace

TEST_F(HistoryDialogTest, ClearAsksAsAModalBoxThatKeepsTheMainWindowDisabled)
{
    ClearAnswering(false);
    EXPECT_TRUE(asked);
    EXPECT_GT(modalWhileAsked, 0);
    EXPECT_FALSE(mainEnabledWhileAsked);
    EXPECT_EQ(dialog.GetLogView().GetLineCount(), 1) << "cancel keeps the line";
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));

    ClearAnswering(true);
    EXPECT_TRUE(asked);
    EXPECT_GT(modalWhileAsked, 0);
    EXPECT_FALSE(mainEnabledWhileAsked);
    EXPECT_EQ(dialog.GetLogView().GetLineCount(), 0);
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDC_HISTORY_CLEAR))) << "nothing left to clear";
}
