// The frame as the user drives it: snapping while dragged by the caption, the hot key, and the
// window state and splitter positions that a close writes and the next start reads back.

#include "tests/mainframe/FrameFixture.h"

#include "tests/common/DialogSteps.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/UserInput.h"

#include <imm.h>

#include <cwchar>
#include <functional>
#include <iterator>

namespace {

// The caption's middle, in screen coordinates.
POINT CaptionPoint(HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, r.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
}

// Answers the message box of that caption (OK or Cancel) once it shows; its text is kept.
void AnswerMessageBox(const wchar_t* caption, bool ok, CString& seenText)
{
    auto isBox = [caption](HWND window) {
        wchar_t kind[16] = L"";
        ::GetClassNameW(window, kind, 16);
        return wcscmp(kind, L"#32770") == 0 && HasCaption(caption)(window);
    };
    WhenShown(isBox, [ok, &seenText](HWND box) {
        seenText = MessageBoxText(box);
        ::PostMessageW(box, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    });
}

RECT WorkArea()
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

} // namespace

TEST_F(FrameTest, DraggedNearTheWorkAreaEdgeTheWindowSnapsOntoItOnlyWithSnapping)
{
    for (bool snap : {true, false}) {
        SCOPED_TRACE(snap ? "snapping" : "not snapping");
        Settings().preference.SnapWindow = snap;
        Open();
        frame->SetWindowPos(HWND_TOPMOST, 200, 150, 0, 0, SWP_NOSIZE);
        PumpPendingMessages();
        RECT work = WorkArea(), before, after;
        frame->GetWindowRect(&before);
        POINT from = CaptionPoint(frame->m_hWnd);
        // 10 pixels short of the left edge, 60 pixels up, far from the top and bottom edges.
        DragMouse(from, POINT{from.x - (before.left - work.left) + 10, from.y - 60});
        frame->GetWindowRect(&after);
        EXPECT_EQ(snap ? work.left : work.left + 10, after.left);
        EXPECT_EQ(before.top - 60, after.top);
        EXPECT_EQ(before.right - before.left, after.right - after.left);
        if (snap) {
            // Pushed 20 pixels past the edge, beyond the snap distance, it is let go.
            from = CaptionPoint(frame->m_hWnd);
            DragMouse(from, POINT{from.x - 20, from.y});
            frame->GetWindowRect(&after);
            EXPECT_EQ(work.left - 20, after.left);
        }
        frame->DestroyWindow();
    }
}

// With snapping on, a move with the keys starts with the cursor put mid-caption by the system:
// the window follows the keys, whether or not a caption drag came before, and the drag itself
// still follows the cursor.
TEST_F(FrameTest, MovedWithTheKeysTheSnappingWindowFollowsTheKeys)
{
    Settings().preference.SnapWindow = true;
    Open();
    frame->SetWindowPos(HWND_TOPMOST, 200, 150, 0, 0, SWP_NOSIZE);
    PumpPendingMessages();
    auto moveWithKeys = [&](const char* what) {
        SCOPED_TRACE(what);
        RECT before, after;
        frame->GetWindowRect(&before);
        FocusForInput(frame->GetInputLine()->m_hWnd);
        // Once the window menu's move has begun, three steps left and two up of 8 pixels each,
        // a key at a time as a user presses them, then Enter.
        const WORD keys[] = {VK_LEFT, VK_LEFT, VK_LEFT, VK_UP, VK_UP, VK_RETURN};
        size_t next = 0;
        int ticks = 0;
        std::function<void()> pressNext = [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            bool moving = ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMOVESIZE);
            if (moving || next > 0)
                QueueKey(keys[next++]);
            if (next < std::size(keys) && ++ticks < 100)
                RunLater(100, pressNext);
        };
        RunLater(100, pressNext);
        QueueKey(VK_SPACE, {VK_MENU});
        QueueKey('M');
        WaitUntil([&] { return next == std::size(keys); }, "the keys of the move pressed");
        // A move that never began leaves the chain armed, and it refers to this call's locals.
        CancelLater();
        PumpPendingMessages();
        frame->GetWindowRect(&after);
        EXPECT_EQ(before.left - 24, after.left);
        EXPECT_EQ(before.top - 16, after.top);
    };
    moveWithKeys("no drag before");
    // Held near the caption's left end, far from where the keys' move holds it.
    RECT window;
    frame->GetWindowRect(&window);
    POINT from = {window.left + 40, CaptionPoint(frame->m_hWnd).y};
    DragMouse(from, POINT{from.x + 50, from.y + 30});
    RECT dragged;
    frame->GetWindowRect(&dragged);
    EXPECT_EQ(window.left + 50, dragged.left);
    EXPECT_EQ(window.top + 30, dragged.top);
    moveWithKeys("after a caption drag");
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-moved-with-keys.png"));
}

TEST_F(FrameTest, HotKeyRestoresAMinimisedWindowAndCountsOnlyWhenRegistered)
{
    Settings().preference.RestoreOnHotKey = true;
    Settings().preference.RestoreHotKeyModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT;
    Settings().preference.RestoreHotKeyVCode = 'K';
    // Another window holds the key already: the frame must not count it as its own.
    HWND holder = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(holder, 9, MOD_CONTROL | MOD_ALT, 'K'));
    Open();
    EXPECT_FALSE(frame->IsHotKeyActive());
    ::UnregisterHotKey(holder, 9);
    ::DestroyWindow(holder);

    frame->ShowWindow(SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(frame->m_hWnd) != FALSE; }, "the window minimised");
    ASSERT_TRUE(::IsIconic(frame->m_hWnd));
    frame->SendMessage(WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'K'));
    PumpPendingMessages();
    EXPECT_FALSE(::IsIconic(frame->m_hWnd));
}

TEST_F(FrameTest, AMainWindowThatCannotBeMadeIsReportedAndLeavesNoWindow)
{
    // A class name longer than the 255 characters of an atom is refused, so no window is made.
    CString tooLong(L'x', 256);
    CString told;
    AnswerMessageBox(L"Ketroval2", true, told);
    EXPECT_FALSE(app.CreateMainFrame(tooLong));
    EXPECT_EQ(CString(L"メインウィンドウを作成できませんでした。"), told);
    EXPECT_EQ(nullptr, app.GetMainFrame());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST_F(FrameTest, CloseWritesWindowStateThatTheNextStartReads)
{
    Open();
    CContentPanel& panel = Panel();
    // The user drags the bar between the logs and the list column 40 pixels to the left.
    TSplitter* main = panel.GetMainSplitter();
    RECT info = WindowRectIn(panel.GetInfoSplitter()->m_hWnd, main->m_hWnd);
    POINT bar = ScreenPointOf(main->m_hWnd, info.left - 2, (info.top + info.bottom) / 2);
    DragMouse(bar, POINT{bar.x - 40, bar.y});
    EXPECT_EQ(160, panel.GetSplitterPositions().root);
    // "PromptOnQuit" is on by default: Cancel keeps the program as it was, nothing written.
    CString asked;
    AnswerMessageBox(L"確認", false, asked);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(CString(L"終了します"), asked);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(Settings().GetSettingsFolder() + L"window.ini"));
    AnswerMessageBox(L"確認", true, asked);
    frame->SendMessage(WM_CLOSE);
    PumpPendingMessages();
    EXPECT_EQ(nullptr, frame->m_hWnd);

    std::string saved(ReadFileBytes(Settings().GetSettingsFolder() + L"window.ini").GetString());
    EXPECT_NE(std::string::npos, saved.find("Splitter.Root=160")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Splitter.Log=100"));
    EXPECT_NE(std::string::npos, saved.find("\nLeft=40")) << "the normal rectangle";

    // The next start reads the file and lays out from it.
    Settings().splitterRoot = 0;
    Settings().LoadWindowSettings();
    Open();
    EXPECT_EQ(160, Panel().GetSplitterPositions().root);
    RECT tree = WindowRectIn(Panel().GetServerTree()->m_hWnd, Panel().m_hWnd);
    EXPECT_EQ(160, tree.right - tree.left);
}

// The first-start wizard runs between the window's creation and its start: what it changes
// there counts when the window starts.
TEST_F(FrameTest, InputMethodOpensAtStartWhenChosenAfterTheWindowWasMade)
{
    frame = std::make_unique<CMainFrame>(&app, &Settings());
    frame->SetClassName(L"Ketroval2MainWindow frame test");
    ASSERT_TRUE(frame->CreateFrame());
    Settings().preference.EnableIMEOnInit = true;
    frame->ApplyStartupSettings(SW_SHOWNORMAL);
    PumpPendingMessages();
    HIMC context = ::ImmGetContext(frame->m_hWnd);
    ASSERT_TRUE(context);
    EXPECT_TRUE(::ImmGetOpenStatus(context));
    ::ImmReleaseContext(frame->m_hWnd, context);
    EXPECT_EQ(::GetFocus(), frame->GetInputLine()->m_hWnd);
}
