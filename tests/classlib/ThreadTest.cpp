#include "classlib/Thread.h"
#include "classlib/Sync.h"

#include <gtest/gtest.h>

namespace {
struct TWorkerData {
    CEvent go;
    CEvent done;
    int seen = 0;
};

UINT __cdecl Worker(LPVOID param)
{
    TWorkerData* data = static_cast<TWorkerData*>(param);
    if (data->go.Lock(5000))
        data->seen = 42;
    data->done.SetEvent();
    return 0;
}
} // namespace

TEST(ThreadTest, WorkerGetsItsParameterAndRunsUntilSignalled)
{
    TWorkerData data;
    ASSERT_NE(nullptr, AfxBeginThread(&Worker, &data));
    EXPECT_FALSE(data.done.Lock(50));
    data.go.SetEvent();
    ASSERT_TRUE(data.done.Lock(5000));
    EXPECT_EQ(42, data.seen);
}

TEST(ThreadTest, AutoResetEventWakesOneWaitThenResets)
{
    CEvent event;
    EXPECT_FALSE(event.Lock(0));
    event.SetEvent();
    EXPECT_TRUE(event.Lock(0));
    EXPECT_FALSE(event.Lock(0));

    CEvent manual(TRUE, TRUE);
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
}
