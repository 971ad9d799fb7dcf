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
