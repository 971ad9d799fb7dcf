#include "foundation/DirectoryWatcher.h"

#include "tests/common/FolderWatch.h"
#include "tests/common/ImportPatch.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

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

    // Makes the change and waits for a report of its own: one counted after the change, which
    // found the file as the change left it. An earlier change's report cannot stand in for it.
    void ChangeAndWaitUntilReported(const std::function<bool()>& change, const char* state, const char* what)
    {
        PumpPendingMessages();
        int before = changes;
        EXPECT_TRUE(change()) << what;
        WaitUntil([&] { return changes > before && seen == state; }, what);
    }

    // Starts the watcher on the folder and waits until a change there is reported.
    bool StartWatching(TDirectoryWatcher& w, const std::function<bool()>& reported)
    {
        w.SetFolder(temp.path);
        return w.Start() && WaitUntilWatching(temp.path, reported);
    }

    TTempFolder temp;
    TDirectoryWatcher watcher{this};
    TDirectoryWatcher* reporter = &watcher;
    int changes = 0;
    CStringA seen;
};

// Holds the worker before it starts watching until the test lets it go, so a stop meets a
// worker that cannot have ended.
HANDLE g_workerEntered = nullptr;
HANDLE g_workerRelease = nullptr;
ULONG_PTR g_findFirstChange = 0;

HANDLE WINAPI HeldFindFirstChange(LPCWSTR folder, BOOL subtree, DWORD filter)
{
    ::SetEvent(g_workerEntered);
    ::WaitForSingleObject(g_workerRelease, 10000);
    return reinterpret_cast<decltype(&::FindFirstChangeNotificationW)>(g_findFirstChange)(folder, subtree, filter);
}

class THeldWorker {
public:
    THeldWorker()
    {
        g_workerEntered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_workerRelease = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_findFirstChange =
            ReplaceImport("kernel32.dll", "FindFirstChangeNotificationW", (ULONG_PTR)&HeldFindFirstChange);
    }
    ~THeldWorker()
    {
        Release();
        ReplaceImport("kernel32.dll", "FindFirstChangeNotificationW", g_findFirstChange);
        ::CloseHandle(g_workerEntered);
        ::CloseHandle(g_workerRelease);
    }
    bool IsHooked() const { return g_findFirstChange != 0; }
    bool WaitEntered() const { return ::WaitForSingleObject(g_workerEntered, 10000) == WAIT_OBJECT_0; }
    void Release() const { ::SetEvent(g_workerRelease); }
};
} // namespace

TEST_F(DirectoryWatcherTest, NewRewrittenAndDeletedFilesAreReported)
{
    ASSERT_TRUE(StartWatching(watcher, [&] { return changes > 0; }));

    const CString file = temp.File(L"a.js");
    ChangeAndWaitUntilReported([&] { return WriteFileBytes(file, "x"); }, "x", "the new file reported");
    ChangeAndWaitUntilReported([&] { return WriteFileBytes(file, "longer"); }, "longer", "the rewritten file reported");
    ChangeAndWaitUntilReported([&] { return DeleteFileW(file) != FALSE; }, "gone", "the deleted file reported");

    EXPECT_TRUE(watcher.Stop());
}

TEST_F(DirectoryWatcherTest, StoppedWatcherReportsNothingMore)
{
    ASSERT_TRUE(StartWatching(watcher, [&] { return changes > 0; }));
    // A second watcher on the folder witnesses that the change after the stop was seen.
    struct TWitness : IDirectoryWatcherListener {
        void OnDirectoryChanged(TDirectoryWatcher*) override { changes++; }
        int changes = 0;
    } witness;
    TDirectoryWatcher second(&witness);
    ASSERT_TRUE(StartWatching(second, [&] { return witness.changes > 0; }));

    ASSERT_TRUE(watcher.Stop());
    // The worker has ended: what it reported before is all in the queue, and nothing is left to
    // report the change after it.
    PumpPendingMessages();
    changes = 0;
    witness.changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"b.js"), "x"));
    ASSERT_TRUE(WaitUntil([&] { return witness.changes > 0; }, "the witness reporting the change"));
    PumpPendingMessages();
    EXPECT_EQ(0, changes);
    EXPECT_TRUE(second.Stop());
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

// Only a test starts a watcher twice, but then the stop must answer for the new worker.
TEST_F(DirectoryWatcherTest, StartedAgainItWatchesAndItsStopAnswersForTheNewWorker)
{
    // A worker on a missing folder ends at once; stopped twice, the second stop's signal is never
    // taken.
    watcher.SetFolder(temp.File(L"missing\\"));
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(watcher.Stop());
    EXPECT_TRUE(watcher.Stop());
    ASSERT_TRUE(StartWatching(watcher, [&] { return changes > 0; })) << "the new worker watches";
    EXPECT_TRUE(watcher.Stop());

    THeldWorker held;
    ASSERT_TRUE(held.IsHooked());
    ASSERT_TRUE(watcher.Start());
    ASSERT_TRUE(held.WaitEntered());
    EXPECT_FALSE(watcher.Stop()) << "the held worker has not ended, whatever the last one did";
    held.Release();
    EXPECT_TRUE(WaitUntil([&] { return watcher.Stop(); }, "the released worker ended"));
}

TEST_F(DirectoryWatcherTest, WatcherDestroyedWhileItsWorkerRunsLeavesTheWorkerSafe)
{
    {
        TDirectoryWatcher early(this);
        reporter = &early;
        ASSERT_TRUE(StartWatching(early, [&] { return changes > 0; }));
    }
    // The worker may not have seen the stop yet; a change now must neither reach us nor crash.
    changes = 0;
    ASSERT_TRUE(WriteFileBytes(temp.File(L"c.js"), "x"));
    PumpMessagesFor(300); // bounded: a report that must not come
    EXPECT_EQ(0, changes);
}
