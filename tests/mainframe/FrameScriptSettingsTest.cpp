// The script settings window as the frame keeps it: one window that a second command brings
// back, re-listed when the scripts folder changes, and gone after its close with the server tree
// written.

#include "tests/mainframe/MainFrameFixture.h"

#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/UserInput.h"

namespace {

BOOL CALLBACK CountSettingsWindow(HWND window, LPARAM count)
{
    wchar_t title[64] = L"";
    ::GetWindowTextW(window, title, 64);
    if (wcscmp(title, L"スクリプトの設定") == 0 && ::IsWindowVisible(window))
        ++*(int*)count;
    return TRUE;
}

int CountSettingsWindows()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountSettingsWindow, (LPARAM)&count);
    return count;
}

TEST_F(MainFrameFixture, ScriptSettingsComeBackInsteadOfASecondWindowAndCloseWithTheTreeWritten)
{
    ::CreateDirectoryW(settings.GetScriptFolder().Left(settings.GetScriptFolder().GetLength() - 1), nullptr);
    ASSERT_TRUE(WriteFileBytes(settings.GetScriptFolder() + L"a.js", "log('a');\r\n"));
    frame->SendMessageW(WM_COMMAND, ID_SCRIPT_SETTINGS, 0);
    PumpPendingMessages();
    TScriptSelectDialog* window = frame->GetScriptSettings();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(1, window->GetList().GetItemCount());
    EXPECT_EQ(1, CountSettingsWindows());

    ::ShowWindow(window->m_hWnd, SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(window->m_hWnd) != FALSE; }, "the window minimised");
    frame->SendMessageW(WM_COMMAND, ID_SCRIPT_SETTINGS, 0);
    PumpPendingMessages();
    EXPECT_EQ(window, frame->GetScriptSettings());
    EXPECT_FALSE(::IsIconic(window->m_hWnd));
    EXPECT_EQ(1, CountSettingsWindows());

    // A file saved into the folder shows up while the window is open.
    ASSERT_TRUE(WriteFileBytes(settings.GetScriptFolder() + L"b.js", "log('b');\r\n"));
    frame->OnDirectoryChanged(nullptr);
    EXPECT_EQ(2, window->GetList().GetItemCount());

    CString tree = settings.GetSettingsFolder() + L"tree.ini";
    ::DeleteFileW(tree);
    FocusForInput(window->GetList().m_hWnd);
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return frame->GetScriptSettings() == nullptr; }, "Esc closes the window");
    EXPECT_EQ(nullptr, frame->GetScriptSettings());
    EXPECT_EQ(0, CountSettingsWindows());
    EXPECT_NE(-1, ReadFileBytes(tree).Find("Name=net")) << "the enabled scripts are kept with the servers";

    frame->SendMessageW(WM_COMMAND, ID_SCRIPT_SETTINGS, 0);
    PumpPendingMessages();
    EXPECT_NE(nullptr, frame->GetScriptSettings()) << "the next command makes a new window";
    // The main window's close takes the open window with it (the fixture closes it).
}

} // namespace
