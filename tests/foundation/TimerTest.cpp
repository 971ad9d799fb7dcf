#include "foundation/Timer.h"

#include "tests/common/MessagePump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TTimerCounter : public ITimerListener {
public:
    void OnTimer(TTimer*) override { count++; }
    int count = 0;
};

class TMultiTimerRecorder : public IMultiTimerListener {
public:
    void OnTimer(TMultiTimer*, UINT_PTR id) override { fired.push_back(id); }
    int Count(UINT_PTR id) const
    {
        int n = 0;
        for (UINT_PTR f : fired)
            n += f == id;
        return n;
    }
    std::vector<UINT_PTR> fired;
};

class TListenerProbe : public IMessageWindowListener {
public:
    void OnMessage(TWindowMessage& msg) override
    {
        if (msg.message == WM_USER + 1) {
            msg.result = (LRESULT)msg.wParam * 2;
            seen++;
            return;
        }
        msg.result = hidden ? hidden->Default(msg) : window->DefWindowProc(msg.message, msg.wParam, msg.lParam);
    }
    TMessageWindow* window = nullptr;
    const THiddenWindow* hidden = nullptr;
    int seen = 0;
};

} // namespace

TEST(MessageWindow, HandsMessagesToTheListenerAndReturnsItsResult)
{
    TListenerProbe probe;
    TMessageWindow window;
    probe.window = &window;
    window.Create(&probe);
    ASSERT_NE(window.m_hWnd, nullptr);
    EXPECT_EQ(GetParent(window.m_hWnd), nullptr); // message-only windows have no visible parent
    EXPECT_EQ(window.SendMessage(WM_USER + 1, 21), 42);
    window.listener = nullptr;
    // Without a listener the default processing answers.
    EXPECT_EQ(window.SendMessage(WM_USER + 1, 21), 0);
    EXPECT_EQ(probe.seen, 1);
}

TEST(HiddenWindow, MadeOnceOnFirstUseAndGoneWithItsQueueAfterDestroy)
{
    TListenerProbe probe;
    THiddenWindow window(&probe);
    probe.hidden = &window;
    EXPECT_EQ(window.GetHandle(), nullptr);
    HWND first = window.Create();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(window.Create(), first);
    EXPECT_EQ(SendMessageW(first, WM_USER + 1, 21, 0), 42);
    PostMessageW(first, WM_USER + 1, 1, 0);
    window.Destroy();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(window.GetHandle(), nullptr);
    PumpMessagesFor(30);
    EXPECT_EQ(probe.seen, 1);
    window.Destroy(); // twice is harmless
    EXPECT_NE(window.Create(), nullptr);
}

TEST(Timer, RepeatsUntilStoppedAndNothingArrivesAfterStop)
{
    TTimerCounter counter;
    TTimer timer;
    timer.SetListener(&counter);
    timer.Start(20);
    EXPECT_TRUE(timer.IsRunning());
    ASSERT_TRUE(PumpMessagesUntil([&] { return counter.count >= 3; }, 3000));

    // A WM_TIMER already in the queue dies with the window.
    PostMessageW(timer.GetWindow(), WM_TIMER, 1, 0);
    timer.Stop();
    int atStop = counter.count;
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.GetWindow(), nullptr);
    PumpMessagesFor(150);
    EXPECT_EQ(counter.count, atStop);

    timer.Start(20); // a fresh window after a stop
    EXPECT_TRUE(PumpMessagesUntil([&] { return counter.count > atStop; }, 3000));
}

TEST(Timer, StopWithoutStartAndNullListenerAreHarmless)
{
    TTimer timer;
    timer.Stop();
    EXPECT_EQ(timer.GetWindow(), nullptr);
    timer.Start(10);
    PumpMessagesFor(60); // no listener: WM_TIMER is swallowed
    // Other messages still get the default processing.
    SendMessageW(timer.GetWindow(), WM_SETTEXT, 0, (LPARAM)L"abc");
    EXPECT_EQ(SendMessageW(timer.GetWindow(), WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST(MultiTimer, IdsCountUpAndAreNeverReused)
{
    TMultiTimerRecorder recorder;
    TMultiTimer timers;
    timers.SetListener(&recorder);
    EXPECT_EQ(timers.StartTimer(1000), 1u);
    timers.StopTimer(1);
    EXPECT_EQ(timers.StartTimer(1000), 2u);
    EXPECT_EQ(timers.StartTimer(1000), 3u);
    EXPECT_FALSE(timers.IsRunning(1));
    EXPECT_TRUE(timers.IsRunning(2) && timers.IsRunning(3));
    timers.StopTimer(99); // never started: the others run on
    EXPECT_EQ(timers.GetRunningCount(), 2u);
    timers.StopAllTimers();
    EXPECT_EQ(timers.GetRunningCount(), 0u);
    EXPECT_EQ(timers.StartTimer(1000), 4u);
}

TEST(MultiTimer, ReportsEachIdAndStopsOneWithoutTheOthers)
{
    TMultiTimerRecorder recorder;
    TMultiTimer timers;
    timers.SetListener(&recorder);
    UINT_PTR fast = timers.StartTimer(15);
    UINT_PTR slow = timers.StartTimer(40);
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.Count(fast) >= 2 && recorder.Count(slow) >= 1; }, 3000));
    timers.StopTimer(fast);
    PumpMessagesFor(30); // let a tick that was already due drain
    int fastAtStop = recorder.Count(fast);
    int slowAtStop = recorder.Count(slow);
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.Count(slow) >= slowAtStop + 2; }, 3000));
    EXPECT_EQ(recorder.Count(fast), fastAtStop);
}
