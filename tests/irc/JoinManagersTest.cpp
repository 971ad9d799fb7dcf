#include "irc/RejoinManager.h"
#include "irc/WhoCommandManager.h"
#include "settings/Preference.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CString Numbered(const wchar_t* form, int i)
{
    CString text;
    text.Format(form, i);
    return text;
}

// Records every batch and WHO, with the tick it came on.
class TRecorder : public IRejoinManagerListener, public IWhoCommandManagerListener {
public:
    void OnRejoin(const TChannelKeyList& channels) override
    {
        CString line;
        for (const auto& pair : channels)
            line += pair.first + L"/" + pair.second + L" ";
        batches.push_back(line);
    }
    void OnSendWho(const CString& target) override
    {
        CString line;
        line.Format(L"%d:%s", tick, target.GetString());
        whos.push_back(line);
    }

    std::vector<CString> batches;
    std::vector<CString> whos;
    int tick = 0;
};

class RejoinManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        preference = {};
        preference.Error437RejoinInterval = 30;
        preference.Error437RejoinCount = 3;
        manager.SetPreference(&preference);
        manager.SetListener(&recorder);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; i++)
            manager.Tick();
    }

    TPreference preference;
    TRecorder recorder;
    TRejoinManager manager;
};

class WhoManagerTest : public ::testing::Test {
protected:
    void Start(int timing)
    {
        preference = {};
        preference.WhoTiming = timing;
        manager.SetPreference(&preference);
        manager.SetListener(&recorder);
    }
    void TicksUntil(int last)
    {
        while (recorder.tick < last) {
            recorder.tick++;
            manager.Tick(true);
        }
    }

    TPreference preference;
    TRecorder recorder;
    TWhoCommandManager manager;
};

} // namespace

TEST_F(RejoinManagerTest, RetriesStopAfterTheLimit)
{
    for (int i = 0; i < 3; i++) {
        manager.AddRejoin(L"#a");
        Ticks(30);
    }
    EXPECT_EQ(recorder.batches.size(), 3u);
    manager.AddRejoin(L"#a"); // the fourth 437
    EXPECT_EQ(manager.GetPendingCount(), 0u);
    EXPECT_EQ(manager.GetRecordCount(), 0u);

    preference.Error437RejoinCount = 0;
    for (int i = 0; i < 10; i++) {
        manager.AddRejoin(L"#b");
        Ticks(30);
    }
    EXPECT_EQ(recorder.batches.size(), 13u);
}

TEST_F(RejoinManagerTest, PendingChannelsAreSharedAndBatched)
{
    manager.RememberKey(L"#Key", L"k1");
    manager.RememberKey(L"#KEY", L""); // a later join without a key keeps it
    manager.AddRejoin(L"#key");
    manager.AddRejoin(L"#KEY"); // already pending
    EXPECT_EQ(manager.GetPendingCount(), 1u);
    Ticks(5);
    manager.AddRejoin(L"#b");
    Ticks(24);
    EXPECT_TRUE(recorder.batches.empty());
    Ticks(1);
    ASSERT_EQ(recorder.batches.size(), 1u);
    EXPECT_EQ(recorder.batches[0], L"#key/k1 #b/ "); // #b had 4 left after both decrements

    preference.Error437RejoinInterval = 60;
    manager.AddRejoin(L"#late");
    preference.Error437RejoinInterval = 5;
    manager.AddRejoin(L"#soon");
    Ticks(5);
    EXPECT_EQ(recorder.batches.back(), L"#soon/ ");
    EXPECT_EQ(manager.GetPendingCount(), 1u);
    manager.AddRejoin(L"#late"); // its 54 shrinks to the interval
    Ticks(5);
    EXPECT_EQ(recorder.batches.back(), L"#late/ ");
}

TEST_F(RejoinManagerTest, EveryJoinWeSentIsRetriedWhileAServersOwnNamesStayBounded)
{
    preference.Error437RejoinCount = 0;
    preference.Error437RejoinInterval = 1;
    // A server's flood of names nobody joined fills its share only.
    for (int i = 0; i < 5000; i++)
        manager.AddRejoin(Numbered(L"#flood%d", i));
    EXPECT_EQ(manager.GetRecordCount(), TRejoinManager::kMaxRecords);
    EXPECT_EQ(manager.GetPendingCount(), TRejoinManager::kMaxRecords);
    // 1,500 channels of our own refused at once all come back, with their keys.
    for (int i = 0; i < 1500; i++)
        manager.RememberKey(Numbered(L"#own%d", i), Numbered(L"k%d", i));
    for (int i = 0; i < 1500; i++)
        manager.AddRejoin(Numbered(L"#own%d", i));
    EXPECT_EQ(manager.GetRecordCount(), TRejoinManager::kMaxRecords + 1500);
    EXPECT_EQ(manager.GetPendingCount(), TRejoinManager::kMaxRecords + 1500);
    Ticks(1);
    ASSERT_EQ(recorder.batches.size(), 1u);
    EXPECT_NE(recorder.batches[0].Find(L"#own1499/k1499 "), -1);
    EXPECT_EQ(manager.GetPendingCount(), 0u);
    // A name of ours the server brought first counts as ours once we join it.
    manager.AddRejoin(L"#flood0");
    manager.RememberKey(L"#FLOOD0", L"key");
    manager.Forget(L"#own0");
    EXPECT_EQ(manager.GetRecordCount(), TRejoinManager::kMaxRecords + 1499);
    manager.AddRejoin(L"#another");
    EXPECT_EQ(manager.GetRecordCount(), TRejoinManager::kMaxRecords + 1500);
}

TEST(SafeChannelJoinManager, NamesFoldAndEveryJoinSentIsKept)
{
    TSafeChannelJoinManager manager;
    manager.Add(L"!chan{a}");
    EXPECT_TRUE(manager.Contains(L"!CHAN[A]"));
    manager.Remove(L"!Chan[a]");
    EXPECT_FALSE(manager.Contains(L"!chan{a}"));
    for (int i = 0; i < 3000; i++)
        manager.Add(Numbered(L"!c%d", i));
    // Only the JOINs we send fill it: none is forgotten until answered.
    EXPECT_TRUE(manager.Contains(L"!c2999"));
}

TEST_F(WhoManagerTest, WaitGrowsWithTheChannelJustAsked)
{
    Start(1);
    manager.Add(L"#big", 500);
    manager.Add(L"#a", 10);
    manager.Add(L"#b", 10);
    TicksUntil(20);
    EXPECT_EQ(recorder.whos, (std::vector<CString>{L"0:#big", L"11:#a", L"14:#b"}));
    // Once its WHO went out, a channel joined again is asked about again.
    manager.Add(L"#A", 10);
    EXPECT_EQ(recorder.whos.back(), L"20:#A");

    const int cases[][3] = {{1, 59, 3}, {1, 60, 4}, {2, 19, 6}, {2, 20, 7}, {2, 0, 6}, {2, -100, 6}};
    for (const auto& c : cases) {
        Start(c[0]);
        manager.Reset(0);
        manager.Add(L"#x", c[1]);
        EXPECT_EQ(manager.GetWait(), c[2]) << c[0] << " " << c[1];
    }
}

TEST_F(WhoManagerTest, QueueRulesWithoutListenerAndWithTiming3)
{
    Start(3);
    manager.Reset(5);
    manager.Add(L"#a", 1);
    manager.Add(L"#b", 1);
    TicksUntil(5);
    EXPECT_EQ(recorder.whos, (std::vector<CString>{L"5:#a"}));
    EXPECT_EQ(manager.GetQueuedCount(), 0u);

    Start(2);
    manager.SetListener(nullptr);
    manager.Add(L"#a", 40);
    EXPECT_EQ(manager.GetQueuedCount(), 0u);
    EXPECT_EQ(manager.GetWait(), 8);

    // Every channel of a long auto-join list waits its turn; a channel joined and parted over and
    // over waits once, whatever the case of its name.
    for (int i = 0; i < 600; i++)
        manager.Add(Numbered(L"#c%d", i), 1);
    for (int i = 0; i < 2000; i++)
        manager.Add(i % 2 ? L"#Flood" : L"#flood", 1);
    EXPECT_EQ(manager.GetQueuedCount(), 601u);
}
