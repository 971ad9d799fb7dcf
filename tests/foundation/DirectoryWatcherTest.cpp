#include "foundation/DirectoryWatcher.h"

#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {
class DirectoryWatcherTest : public ::testing::Test, public IDirectoryWatcherListener {
protected:
    void OnDirectoryChanged(TDirectoryWatcher* from) override
    {
        EXPECT_EQ(&watcher, from);
        changes++;
    }

    bool WaitForChange()
    {
        return PumpMessagesUntil([this] { return changes > 0; }, 2000);
    }

    TTempFolder temp;
    TDirectoryWatcher watcher{this};
    int changes = 0;
};
} // namespace

TEST_F(DirectoryWatcherTest, NewRewrittenAndDeletedFilesAreReported)
{
    watcher.SetFolder(temp.path);
    ASSERT_TRUE(watcher.Start());
    PumpMessagesFor(100);

    ASSERT_TRUE(WriteFileBytes(temp.File(L"a.js"), "x"));
    EXPECT_TRUE(WaitForChange());

    PumpMessagesFor(200);
    changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"a.js"), "longer"));
    EXPECT_TRUE(WaitForChange());

    PumpMessagesFor(200);
    changes = 0;
    ASSERT_TRUE(DeleteFileW(temp.File(L"a.js")));
    EXPECT_TRUE(WaitForChange());

    EXPECT_TRUE(watcher.Stop());
}

TEST_F(DirectoryWatcherTest, StoppedWatcherReportsNothingMore)
{
    watcher.SetFolder(temp.path);
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(watcher.Stop());
    PumpMessagesFor(100);
    changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"b.js"), "x"));
    PumpMessagesFor(500);
    EXPECT_EQ(0, changes);
}

TEST_F(DirectoryWatcherTest, MissingFolderEndsTheWorkerAtOnce)
{
    watcher.SetFolder(temp.File(L"missing\\"));
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(watcher.Stop());
}

TEST_F(DirectoryWatcherTest, StopWithoutStartHasNoWorkerToConfirm) { EXPECT_FALSE(watcher.Stop()); }

// The frame stops it as the window closes and again as it goes: the end the first call took stays
// known, where waiting for it again would hold the exit back a full second.
TEST_F(DirectoryWatcherTest, SecondStopKnowsTheWorkerEnded)
{
    watcher.SetFolder(temp.path);
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(watcher.Stop());
    EXPECT_TRUE(watcher.Stop());
}

TEST_F(DirectoryWatcherTest, WatcherDestroyedWhileItsWorkerRunsLeavesTheWorkerSafe)
{
    {
        TDirectoryWatcher early(this);
        early.SetFolder(temp.path);
        ASSERT_TRUE(early.Start());
        PumpMessagesFor(50);
    }
    // The worker may still be waking up; a change now must neither reach us nor crash.
    ASSERT_TRUE(WriteFileBytes(temp.File(L"c.js"), "x"));
    PumpMessagesFor(300);
    EXPECT_EQ(0, changes);
}
