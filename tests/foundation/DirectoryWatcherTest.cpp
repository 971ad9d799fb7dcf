#include "foundation/DirectoryWatcher.h"

#include "tests/common/FolderWatch.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {
class DirectoryWatcherTest : public ::testing::Test, public IDirectoryWatcherListener {
protected:
    // Rescans as a listener must, so each step waits for its own file's state to be seen.
    void OnDirectoryChanged(TDirectoryWatcher* from) override
    {
        EXPECT_EQ(reporter, from);
        changes++;
        CString file = temp.File(L"a.js");
        seen = GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES ? CStringA("gone") : ReadFileBytes(file);
    }

    bool WaitUntilSeen(const char* state, const char* what)
    {
        return WaitUntil([&] { return seen == state; }, what);
    }

    TTempFolder temp;
    TDirectoryWatcher watcher{this};
    TDirectoryWatcher* reporter = &watcher;
    int changes = 0;
    CStringA seen;
};
} // namespace

TEST_F(DirectoryWatcherTest, NewRewrittenAndDeletedFilesAreReported)
{
    watcher.SetFolder(temp.path);
    ASSERT_TRUE(watcher.Start());
    ASSERT_TRUE(WaitUntilWatching(temp.path, [&] { return changes > 0; }));

    ASSERT_TRUE(WriteFileBytes(temp.File(L"a.js"), "x"));
    WaitUntilSeen("x", "the new file reported");
    ASSERT_TRUE(WriteFileBytes(temp.File(L"a.js"), "longer"));
    WaitUntilSeen("longer", "the rewritten file reported");
    ASSERT_TRUE(DeleteFileW(temp.File(L"a.js")));
    WaitUntilSeen("gone", "the deleted file reported");

    EXPECT_TRUE(watcher.Stop());
}

TEST_F(DirectoryWatcherTest, StoppedWatcherReportsNothingMore)
{
    watcher.SetFolder(temp.path);
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(watcher.Stop());
    // The worker has ended: what it reported before is all in the queue.
    PumpPendingMessages();
    changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"b.js"), "x"));
    PumpMessagesFor(500); // bounded: a report that must not come
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
        reporter = &early;
        early.SetFolder(temp.path);
        ASSERT_TRUE(early.Start());
        ASSERT_TRUE(WaitUntilWatching(temp.path, [&] { return changes > 0; }));
    }
    // The worker may not have seen the stop yet; a change now must neither reach us nor crash.
    changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"c.js"), "x"));
    PumpMessagesFor(300); // bounded: a report that must not come
    EXPECT_EQ(0, changes);
}
