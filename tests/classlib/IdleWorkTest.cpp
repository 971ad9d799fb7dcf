// Idle work: queued once however often asked, run in the order queued, never after it was
// cancelled (also by work earlier in the same round), and work queued while a round runs waits
// for the next one.

#include "classlib/IdleWork.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class TRecordedWork : public IIdleWork {
public:
    TRecordedWork(std::string* log, char name) : log(log), name(name) {}
    void OnIdleWork() override
    {
        *log += name;
        if (then)
            then();
    }

    std::string* log;
    char name;
    std::function<void()> then;
};

} // namespace

TEST(IdleWork, RunsOnceInTheOrderQueued)
{
    std::string log;
    TRecordedWork a(&log, 'a'), b(&log, 'b');
    QueueIdleWork(&b);
    QueueIdleWork(&a);
    QueueIdleWork(&b);
    EXPECT_FALSE(RunIdleWork());
    EXPECT_EQ(log, "ba");
    EXPECT_FALSE(RunIdleWork());
    EXPECT_EQ(log, "ba");
}

TEST(IdleWork, CancelledWorkDoesNotRunEvenLaterInTheSameRound)
{
    std::string log;
    TRecordedWork a(&log, 'a'), b(&log, 'b'), c(&log, 'c');
    a.then = [&] { CancelIdleWork(&b); };
    QueueIdleWork(&a);
    QueueIdleWork(&b);
    QueueIdleWork(&c);
    CancelIdleWork(&c);
    RunIdleWork();
    EXPECT_EQ(log, "a");
}

TEST(IdleWork, WorkQueuedWhileRunningWaitsForTheNextRound)
{
    std::string log;
    TRecordedWork a(&log, 'a');
    int rounds = 0;
    a.then = [&] {
        if (++rounds < 3)
            QueueIdleWork(&a);
    };
    QueueIdleWork(&a);
    EXPECT_TRUE(RunIdleWork());
    EXPECT_EQ(log, "a");
    EXPECT_TRUE(RunIdleWork());
    EXPECT_FALSE(RunIdleWork());
    EXPECT_EQ(log, "aaa");
}
