// The wait for input to be handled, which every window test relies on, at its edges: the marker
// over a window's frame, and waits that ended because their window went. The pointer moves by
// input, never by SetCursorPos: under Wine a warp lands late and can move the pointer back after
// later input.

#include "tests/common/InputHandled.h"
#include "classlib/Wnd.h"
#include "tests/common/PointerInput.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A window of another thread in front: markers go there by the pointer, once it is parked there,
// and that thread reads them, never the waiting one. Under Wine, that thread turns the X server's
// late report of a move into that window into a move back there, so the pointer goes there only
// where no later move comes before the wait.
class TOtherThreadWindow {
public:
    TOtherThreadWindow() : thread([this] { Run(); })
    {
        WaitUntil([&] { return window.load() != nullptr; }, "the other thread's window");
        FocusForInput(window);
    }
    void ParkPointer(int dx, int dy)
    {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        MoveMouseTo({rect.left + dx, rect.top + dy});
    }
    ~TOtherThreadWindow()
    {
        ::PostThreadMessageW(id, WM_QUIT, 0, 0);
        thread.join();
    }

    std::atomic<HWND> window{nullptr};

private:
    void Run()
    {
        id = ::GetCurrentThreadId();
        HWND made = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER | SS_NOTIFY,
                                      600, 100, 200, 150, nullptr, nullptr, nullptr, nullptr);
        window = made;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::DestroyWindow(made);
    }

    DWORD id = 0;
    std::thread thread;
};

class InputHandledTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTopmostWindow(waiting, L"waiting", 100, 100, 300, 200)); }

    POINT Middle() const
    {
        RECT rect = {};
        ::GetWindowRect(waiting.m_hWnd, &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    POINT CaptionPoint() const
    {
        RECT rect = {};
        ::GetWindowRect(waiting.m_hWnd, &rect);
        POINT at = {rect.left + 60, rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2};
        EXPECT_EQ(HTCAPTION, ::SendMessageW(waiting.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
        return at;
    }

    CWnd waiting;
};

} // namespace

TEST_F(InputHandledTest, OverAFrameTheMarkerEndsTheWaitAndARealButtonsReleaseDoesNot)
{
    MoveMouseTo(CaptionPoint());
    WaitForInputHandled(waiting.m_hWnd);
    TOtherThreadWindow other;
    WaitForInputHandled(waiting.m_hWnd);

    // A release of a real extra button over the frame, read before the marker, which goes to the
    // other thread: the wait must go on.
    INPUT release = {};
    release.type = INPUT_MOUSE;
    release.mi.dwFlags = MOUSEEVENTF_XUP;
    release.mi.mouseData = XBUTTON1;
    ::SendInput(1, &release, sizeof release);
    other.ParkPointer(20, 20);
    EXPECT_NONFATAL_FAILURE(WaitForInputHandled(waiting.m_hWnd, 500), "the input was not read");
}

TEST_F(InputHandledTest, WaitsEndedByTheirWindowGoingLeaveTheNextWaitWaiting)
{
    // A marker of its own read first, whatever ran before on this thread: the numbers count on
    // from it.
    MoveMouseTo(Middle());
    WaitForInputHandled(waiting.m_hWnd);

    TOtherThreadWindow other;
    other.ParkPointer(100, 75);
    waiting.ShowWindow(SW_HIDE);
    // More than half the markers' numbers, each sent where no wait of this thread reads it.
    for (int i = 0; i < 130; i++)
        WaitForInputHandled(waiting.m_hWnd);
    waiting.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_NONFATAL_FAILURE(WaitForInputHandled(waiting.m_hWnd, 500), "the input was not read");
}
