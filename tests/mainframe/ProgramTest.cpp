// The real program without a server: the single instance, and the layouts and splitter positions
// that a close writes to "window.ini" and the next start shows again.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

namespace {

const char kQuietStart[] = "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n";

RECT ScreenRect(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    return r;
}

HWND TreeOf(HWND main) { return FindChildren(main, L"SysTreeView32").at(0); }
HWND ChatOf(HWND main) { return FindChildren(main, L"Ketroval2ChatPanel").at(0); }

} // namespace

TEST(ProgramTest, SecondStartWithSingleInstanceBringsTheFirstForwardAndEnds)
{
    TProgramRun run;
    run.WriteSettings(L"preference.ini", std::string(kQuietStart) + "[Window]\r\nForceSingleApplicationInstance=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND first = run.WaitMainWindow();
    ASSERT_TRUE(first);
    DWORD firstProcess = run.ProcessId();
    // Start-up ends with the window shown and active; on a busy machine that may come late.
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetForegroundWindow() == first; }, 10000));
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(first, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer);
    // Another program holds the foreground when the user starts the program again.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr);
    // The first window may still take the front once more as its start-up settles: try again.
    ASSERT_TRUE(PumpMessagesUntil(
        [&] {
            FocusForInput(other);
            // Bounded: a check that the first window does not take the front back meanwhile.
            PumpMessagesFor(300);
            return ::GetForegroundWindow() == other;
        },
        8000));

    ASSERT_TRUE(run.Start());
    EXPECT_EQ(0, run.WaitExit(10000)) << "the second instance ends";
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetForegroundWindow() == first; }, 8000));

    // A minimised first instance is restored as well.
    ::ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(first) != FALSE; }, 5000));
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(0, run.WaitExit(10000));
    EXPECT_TRUE(PumpMessagesUntil([&] { return !::IsIconic(first); }, 8000));
    DWORD owner = 0;
    ::GetWindowThreadProcessId(first, &owner);
    EXPECT_EQ(firstProcess, owner);
    ::DestroyWindow(other);
}

TEST(ProgramTest, LayoutsAndSplitterPositionsSurviveARestart)
{
    const struct {
        const char* layout;
        bool treeLeftOfChat;
    } cases[] = {
        {"ThreeColumnsLayout=0\r\nInvertLogAndList=0\r\n", false},
        {"ThreeColumnsLayout=0\r\nInvertLogAndList=1\r\n", true},
        {"ThreeColumnsLayout=1\r\nInvertLogAndList=0\r\n", true},
    };
    for (const auto& c : cases) {
        TProgramRun run;
        run.WriteSettings(L"preference.ini", std::string(kQuietStart) + "[Layout]\r\n" + c.layout);
        run.WriteSettings(L"window.ini", "[Main]\r\nLeft=30\r\nTop=30\r\nWidth=800\r\nHeight=600\r\n");
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitMainWindow();
        ASSERT_TRUE(main) << c.layout;
        WaitAnswer(main);
        RECT tree = ScreenRect(TreeOf(main)), chat = ScreenRect(ChatOf(main));
        EXPECT_EQ(c.treeLeftOfChat, tree.right <= chat.left) << c.layout;
        // The user widens the tree by dragging the bar at its right edge 30 pixels.
        POINT bar = {tree.right + 1, (tree.top + tree.bottom) / 2};
        if (!c.treeLeftOfChat)
            bar.x = tree.left - 2;
        DragMouse(bar, POINT{bar.x + (c.treeLeftOfChat ? 30 : -30), bar.y});
        auto treeWidth = [&] { return ScreenRect(TreeOf(main)).right - ScreenRect(TreeOf(main)).left; };
        EXPECT_TRUE(PumpMessagesUntil([&] { return treeWidth() == 150; }, 5000)) << c.layout << ": " << treeWidth();
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, run.WaitExit(6000)) << c.layout;
        std::string saved = run.ReadSettings(L"window.ini");
        std::string key = strstr(c.layout, "ThreeColumnsLayout=1") ? "Splitter.Left" : "Splitter.Root";
        EXPECT_EQ("150", IniValue(saved, key)) << c.layout << saved;

        ASSERT_TRUE(run.Start());
        main = run.WaitMainWindow();
        ASSERT_TRUE(main);
        WaitAnswer(main);
        RECT again = ScreenRect(TreeOf(main));
        EXPECT_EQ(150, again.right - again.left) << c.layout;
        EXPECT_EQ(c.treeLeftOfChat, again.right <= ScreenRect(ChatOf(main)).left) << c.layout;
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, run.WaitExit(6000));
    }
}

// Quitting while the window sits hidden in the tray keeps the tool bar as the user had it.
TEST(ProgramTest, ToolBarChoiceSurvivesAQuitFromTheTray)
{
    for (const char* toolBar : {"true", "false"}) {
        TProgramRun run;
        run.WriteSettings(L"preference.ini",
                          std::string(kQuietStart) + "[Window]\r\nEnableTrayIcon=1\r\nHideWindowOnMinimize=1\r\n");
        run.WriteSettings(L"window.ini", std::string("[Main]\r\nEnableToolBar=") + toolBar + "\r\n");
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitMainWindow();
        ASSERT_TRUE(main);
        HWND bar = ::FindWindowExW(main, nullptr, L"ToolbarWindow32", nullptr);
        EXPECT_EQ(toolBar[0] == 't', ::IsWindowVisible(bar) != FALSE);
        ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindowVisible(main); }, 5000)) << "hidden in the tray";
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, run.WaitExit(6000)) << toolBar;
        EXPECT_EQ(toolBar, IniValue(run.ReadSettings(L"window.ini"), "EnableToolBar"));
    }
}
