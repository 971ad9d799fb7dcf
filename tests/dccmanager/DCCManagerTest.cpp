// The manager's queues, limits, tick, policy answers and bookkeeping, and the receive item's
// guards against hostile names.

#include "tests/common/MessagePump.h"
#include "tests/dcc/DCCTestSupport.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <memory>

namespace {

using DCCManagerTest = TDCCTest;

TIRCUnit* FakeUnit(int n) { return reinterpret_cast<TIRCUnit*>(0x1000 * n); }

TEST_F(DCCManagerTest, ReceiveLimitQueuesTheFourthUntilASlotFrees)
{
    // Peers that accept and then say nothing keep three receives busy.
    std::vector<std::unique_ptr<TPeer>> peers;
    for (int i = 0; i < 4; i++) {
        peers.push_back(std::make_unique<TPeer>());
        peers.back()->Pause(i == 0 ? 800 : 6000).Run();
    }
    for (int i = 0; i < 4; i++)
        AddReceive(L"q.bin", peers[i]->Port(), 1000);
    const std::vector<TDCCReceiveItem*>& items = receiver.GetReceiveItems();
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(items[i]->GetState(), DCC_STATE_CONNECTING) << i;
    EXPECT_EQ(items[3]->GetState(), DCC_STATE_QUEUED);
    EXPECT_TRUE(receiver.IsTimerRunning());

    // The first peer closes without data: that receive fails and the queued one starts at once.
    ASSERT_TRUE(Pump([&] { return items[0]->GetState() == DCC_STATE_ERROR; }));
    EXPECT_TRUE(IsDCCStateActive(items[3]->GetState()));
}

TEST_F(DCCManagerTest, TickStartsQueuedItemsWhenTheLimitAllows)
{
    preference.MaxDCCReceiveConnection = 1;
    TPeer busy, later;
    busy.Pause(5000).Run();
    later.Pause(3000).Run();
    AddReceive(L"busy.bin", busy.Port(), 1000);
    TDCCReceiveItem* item = AddReceive(L"t.bin", later.Port(), 1000);
    EXPECT_EQ(item->GetState(), DCC_STATE_QUEUED);
    PumpMessagesFor(1200);
    EXPECT_EQ(item->GetState(), DCC_STATE_QUEUED);
    int ticks = receiveEvents.ticks;
    EXPECT_GE(ticks, 1);
    // Nothing ended: only the tick can see that the limit went up.
    preference.MaxDCCReceiveConnection = 2;
    ASSERT_TRUE(Pump([&] { return item->GetState() != DCC_STATE_QUEUED; }, kWaitBoundMs));
    EXPECT_GT(receiveEvents.ticks, ticks);
    EXPECT_TRUE(IsDCCStateActive(item->GetState()));
}

TEST_F(DCCManagerTest, SendLimitAndInstantSend)
{
    preference.MaxDCCSendConnection = 2;
    CString path = MakeSendFile(L"l.bin", 100);
    for (int i = 0; i < 3; i++)
        sender.AddSendItem(nullptr, L"bob", path);
    const std::vector<TDCCSendItem*>& items = sender.GetSendItems();
    EXPECT_EQ(items[0]->GetState(), DCC_STATE_RESUMING);
    EXPECT_EQ(items[1]->GetState(), DCC_STATE_RESUMING);
    EXPECT_EQ(items[2]->GetState(), DCC_STATE_QUEUED);
    EXPECT_EQ(items[1]->GetPort(), items[0]->GetPort() + 1);

    preference.InstantSend = false;
    sender.AddSendItem(nullptr, L"bob", path);
    EXPECT_EQ(items.back()->GetState(), DCC_STATE_WAITING);
    EXPECT_EQ(sendEvents.changes, 4);
}

TEST_F(DCCManagerTest, ASendThatFailsToStartFreesItsSlotWithoutOverrunningTheLimit)
{
    preference.MaxDCCSendConnection = 2;
    preference.InstantSend = false;
    CString path = MakeSendFile(L"q.bin", 100);
    sender.AddSendItem(nullptr, L"bob", sendFolder.path + L"missing.bin");
    for (int i = 0; i < 3; i++)
        sender.AddSendItem(nullptr, L"bob", path);
    const std::vector<TDCCSendItem*>& items = sender.GetSendItems();
    for (TDCCSendItem* item : items)
        item->SetState(DCC_STATE_QUEUED);
    sender.StartQueuedSends();
    EXPECT_EQ(items[0]->GetState(), DCC_STATE_ERROR);
    EXPECT_EQ(sender.CountActiveSends(), 2);
    EXPECT_EQ(items[3]->GetState(), DCC_STATE_QUEUED);
}

TEST_F(DCCManagerTest, TimerStopsOneTickAfterTheLastTransferAndRestartsOnAdd)
{
    preference.InstantSend = false;
    sender.AddSendItem(nullptr, L"bob", L"C:\\none.bin");
    EXPECT_TRUE(sender.IsTimerRunning());
    ASSERT_TRUE(Pump([&] { return !sender.IsTimerRunning(); }, kWaitBoundMs));
    EXPECT_EQ(sendEvents.ticks, 1);
    sender.AddSendItem(nullptr, L"bob", L"C:\\none.bin");
    EXPECT_TRUE(sender.IsTimerRunning());
}

TEST_F(DCCManagerTest, QueueingWaitsForTheNextTickWhichRunsAgainToStartIt)
{
    // Offers and sends that wait for the user, and a tick that has stopped because nothing runs.
    TPeer peer;
    peer.Pause(3000).Run();
    TDCCReceiveItem* receive = AddReceive(L"idle.bin", peer.Port(), 1000, false);
    preference.InstantSend = false;
    sender.AddSendItem(nullptr, L"bob", MakeSendFile(L"idle.bin", 100));
    TDCCSendItem* send = sender.GetSendItems().back();
    ASSERT_TRUE(Pump([&] { return !receiver.IsTimerRunning() && !sender.IsTimerRunning(); }, kWaitBoundMs));
    ASSERT_EQ(receive->GetState(), DCC_STATE_WAITING);
    ASSERT_EQ(send->GetState(), DCC_STATE_WAITING);

    // Queued, not started: nobody is contacted and no port opens until the tick comes.
    int receiveTicks = receiveEvents.ticks, sendTicks = sendEvents.ticks;
    receiver.QueueReceive(receive);
    sender.QueueSend(send);
    EXPECT_EQ(receive->GetState(), DCC_STATE_QUEUED);
    EXPECT_EQ(send->GetState(), DCC_STATE_QUEUED);
    EXPECT_TRUE(receiver.IsTimerRunning());
    EXPECT_TRUE(sender.IsTimerRunning());
    ASSERT_TRUE(Pump([&] { return receive->GetState() != DCC_STATE_QUEUED && send->GetState() != DCC_STATE_QUEUED; },
                     kWaitBoundMs));
    EXPECT_GT(receiveEvents.ticks, receiveTicks);
    EXPECT_GT(sendEvents.ticks, sendTicks);
    EXPECT_TRUE(IsDCCStateActive(receive->GetState())) << receive->GetState();
    EXPECT_EQ(send->GetState(), DCC_STATE_RESUMING);

    // With every slot taken the item waits, and the running tick starts it once one frees.
    preference.MaxDCCSendConnection = 1;
    sender.AddSendItem(nullptr, L"bob", send->GetFilePath());
    TDCCSendItem* second = sender.GetSendItems().back();
    sender.QueueSend(second);
    EXPECT_EQ(second->GetState(), DCC_STATE_QUEUED);
    send->Stop();
    EXPECT_EQ(second->GetState(), DCC_STATE_QUEUED);
    ASSERT_TRUE(Pump([&] { return second->GetState() != DCC_STATE_QUEUED; }, kWaitBoundMs));
    EXPECT_EQ(second->GetState(), DCC_STATE_RESUMING);
}

// Offers come from anyone and are bounded; sends come only from the user, and every one is kept.
TEST_F(DCCManagerTest, OffersAreBoundedAgainstAFloodButSendsAreNot)
{
    for (int i = 0; i < TDCCManager::MaxReceiveItems + 50; i++)
        receiver.AddReceiveItem(nullptr, 0, false, L"flood", L"f.bin", 1024, 1000, Loopback());
    EXPECT_EQ((int)receiver.GetReceiveItems().size(), TDCCManager::MaxReceiveItems);
    preference.InstantSend = false;
    const size_t before = sender.GetSendItems().size();
    for (int i = 0; i < 2000; i++)
        sender.AddSendItem(nullptr, L"bob", L"C:\\x.bin");
    ASSERT_EQ(sender.GetSendItems().size(), before + 2000);
    EXPECT_EQ(sender.GetSendItems().back()->GetState(), DCC_STATE_WAITING);
}

TEST_F(DCCManagerTest, RemoveAndFindCheckStoredPointers)
{
    TDCCReceiveItem* first = AddReceive(L"1.bin", 1024, 10, false, L"a");
    TDCCReceiveItem* second = AddReceive(L"2.bin", 1024, 10, false, L"b");
    int changes = receiveEvents.changes;
    receiver.RemoveReceiveItem(first);
    EXPECT_EQ(receiver.FindReceiveItem(first), -1);
    EXPECT_EQ(receiver.FindReceiveItem(second), 0);
    EXPECT_EQ(receiveEvents.changes, changes + 1);
    receiver.RemoveReceiveItem(first);
    EXPECT_EQ(receiveEvents.changes, changes + 1);
}

TEST_F(DCCManagerTest, RenameNickFollowsUnfinishedItemsOfTheUnitOnly)
{
    struct Row {
        int state;
        bool receiveRenamed;
        bool sendRenamed;
    } rows[] = {
        {DCC_STATE_WAITING, true, true}, {DCC_STATE_ERROR, true, true},        {DCC_STATE_ABORTED, false, true},
        {DCC_STATE_QUEUED, true, true},  {DCC_STATE_TRANSFERRING, true, true}, {DCC_STATE_COMPLETE, false, false},
    };
    preference.InstantSend = false;
    for (const Row& row : rows) {
        receiver.AddReceiveItem(FakeUnit(1), 0, false, L"peer", L"n.bin", 1024, 10, Loopback());
        receiver.GetReceiveItems().back()->SetState(row.state);
        sender.AddSendItem(FakeUnit(1), L"peer", L"C:\\n.bin");
        sender.GetSendItems().back()->SetState(row.state);
    }
    receiver.AddReceiveItem(FakeUnit(2), 0, false, L"peer", L"other.bin", 1024, 10, Loopback());
    receiver.AddReceiveItem(FakeUnit(1), 0, false, L"Peer", L"case.bin", 1024, 10, Loopback());
    int changes = receiveEvents.changes + sendEvents.changes;

    receiver.RenameNick(FakeUnit(1), L"peer", L"newpeer");
    sender.RenameNick(FakeUnit(1), L"peer", L"newpeer");
    for (size_t i = 0; i < std::size(rows); i++) {
        SCOPED_TRACE(rows[i].state);
        EXPECT_EQ(receiver.GetReceiveItems()[i]->GetNick(), rows[i].receiveRenamed ? L"newpeer" : L"peer");
        EXPECT_EQ(sender.GetSendItems()[i]->GetNick(), rows[i].sendRenamed ? L"newpeer" : L"peer");
    }
    EXPECT_EQ(receiver.GetReceiveItems()[std::size(rows)]->GetNick(), L"peer");
    EXPECT_EQ(receiver.GetReceiveItems()[std::size(rows) + 1]->GetNick(), L"Peer");
    EXPECT_EQ(receiveEvents.changes + sendEvents.changes, changes);
}

TEST_F(DCCManagerTest, AllFinishedOnlyWhenEveryItemIsComplete)
{
    preference.CloseDialogOnEndTransfer = true;
    std::string bytes = MakePattern(2000);
    TPeer peer;
    peer.Send(bytes).Drain(300).Run();
    AddReceive(L"failed.bin", 1024, 10, false, L"x")->SetState(DCC_STATE_ERROR);
    TDCCReceiveItem* item = AddReceive(L"done.bin", peer.Port(), 2000);
    ASSERT_TRUE(Pump([&] { return item->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(receiveEvents.allFinished, 0);

    receiver.RemoveReceiveItem(receiver.GetReceiveItems()[0]);
    TPeer again;
    again.Send(bytes).Drain(300).Run();
    item = AddReceive(L"done.bin", again.Port(), 2000);
    ASSERT_TRUE(Pump([&] { return item->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(receiveEvents.allFinished, 1);
    EXPECT_EQ(item->GetFileName(), L"done_00.bin");
}

TEST_F(DCCManagerTest, PortsGoRoundTheRangeSharedByAllSends)
{
    struct Row {
        int start, end, last, expected, stored;
    } rows[] = {
        {1096, 1115, -1, 1096, 1096},
        {1096, 1115, 1096, 1097, 1097},
        {1096, 1115, 1115, 1096, 1096},
        {1096, 1115, 2000, 1096, 1096},
        {1096, 1096, 1096, 1096, 1096},
        {1100, 1096, -1, -1, 1100},
        {65534, 70000, 65535, 65534, 65534},
        {0, 3, 3, 0, 0},
        {0, 0, 0, 0, 0},
        {-5, 3, 3, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.start << ".." << row.end << " after " << row.last);
        preference.DCCReceivePortStart = row.start;
        preference.DCCReceivePortEnd = row.end;
        TDCCManager::SetLastSendPort(row.last);
        EXPECT_EQ(sender.GetSendPort(nullptr), row.expected);
        EXPECT_EQ(TDCCManager::GetLastSendPort(), row.stored);
    }
    // Another manager continues where this one stopped.
    preference.DCCReceivePortStart = 1096;
    preference.DCCReceivePortEnd = 1115;
    TDCCManager::SetLastSendPort(1100);
    EXPECT_EQ(receiver.GetSendPort(nullptr), 1101);
}

TEST_F(DCCManagerTest, PolicyAnswersFollowThePreferences)
{
    struct Row {
        bool enabled;
        int setting;
        int expected;
    } buffers[] = {{false, 64, 4}, {true, 2, 4}, {true, 64, 64}, {true, 100000, TDCCSendItem::MaxBlockSize / 1024}};
    for (const Row& row : buffers) {
        preference.EnableSendBufferSize = row.enabled;
        preference.SendBufferSize = row.setting;
        EXPECT_EQ(sender.GetSendBufferSize(nullptr), row.expected) << row.setting;
    }
    preference.EnableMaxOutgoingBandwidth = false;
    EXPECT_EQ(sender.GetSendSpeedLimit(nullptr), -1);
    preference.EnableMaxOutgoingBandwidth = true;
    preference.MaxOutgoingBandwidth = 50;
    EXPECT_EQ(sender.GetSendSpeedLimit(nullptr), 50);
    preference.ReceiveOnResumeFail = false;
    EXPECT_EQ(receiver.GetResumeTimeout(nullptr), -1);
    preference.ReceiveOnResumeFail = true;
    preference.ReceiveOnResumeFailTime = 7;
    EXPECT_EQ(receiver.GetResumeTimeout(nullptr), 7);
}

TEST_F(DCCManagerTest, HostileNamesStayInsideTheDownloadFolder)
{
    struct Row {
        const wchar_t* offered;
        const wchar_t* stored;
    } rows[] = {
        {L"a:b?.txt", L"a_b_.txt"}, {L"..\\..\\evil.exe", L".._.._evil.exe"},
        {L"../x", L".._x"},         {L"..", L"_"},
        {L"CON.txt", L"_CON.txt"},  {L"lpt1", L"_lpt1"},
        {L"name. . ", L"name"},     {L"tab\there", L"tab_here"},
        {L"<|>\"*", L"_____"},      {L"", L"_"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MakeSafeReceiveFileName(row.offered), row.stored) << Narrow(row.offered);
    // Names people send every day stay as offered.
    for (const wchar_t* name : {L"my file.txt", L"report.v2.tar.gz", L".profile", L"[2026] 写真 (1).jpg"})
        EXPECT_EQ(MakeSafeReceiveFileName(name), name) << Narrow(name);

    preference.ReceiveInNickFolder = true;
    EXPECT_EQ(AddReceive(L"x.bin", 1024, 10, false, L"..")->GetFolder(), receiveFolder.path + L"_\\");
    EXPECT_EQ(AddReceive(L"x.bin", 1024, 10, false, L"nick|x")->GetFolder(), receiveFolder.path + L"nick_x\\");
    EXPECT_EQ(AddReceive(L"x.bin", 1024, 10, false, L"[bob]")->GetFolder(), receiveFolder.path + L"[bob]\\");
    EXPECT_EQ(MakeReceiveFolder(L"C:\\dl:x?"), L"C:\\dl_x_\\");
}

TEST_F(DCCManagerTest, ResumePicksTheLargestUnfinishedFileBelowTheSize)
{
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a.txt"), std::string(100, 'a')));
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a_03.txt"), std::string(500, 'b')));
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a_x3.txt"), std::string(300, 'c')));
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a_7.txt"), std::string(200, 'd')));
    TDCCReceiveItem* item = AddReceive(L"a.txt", 1024, 400, false);
    ASSERT_TRUE(item->TryResume());
    EXPECT_EQ(item->GetDiskFileName(), L"_incomplete_a_7.txt");
    EXPECT_EQ(item->GetState(), DCC_STATE_RESUMING);
    EXPECT_TRUE(receiver.IsTimerRunning());
    EXPECT_FALSE(item->TryResume());

    // An ACCEPT for another nick or port is not this item's.
    receiver.HandleResumeAccept(nullptr, L"alice", 1025, 200);
    receiver.HandleResumeAccept(nullptr, L"Alice", 1024, 200);
    EXPECT_EQ(item->GetState(), DCC_STATE_RESUMING);
}

TEST_F(DCCManagerTest, ResumeTimeoutFallsBackToAWholeReceive)
{
    preference.ReceiveOnResumeFail = true;
    preference.ReceiveOnResumeFailTime = 1;
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_w.bin"), "part"));
    std::string bytes = MakePattern(3000);
    TPeer peer;
    peer.Send(bytes).Drain(300).Run();
    TDCCReceiveItem* item = AddReceive(L"w.bin", peer.Port(), 3000, false);
    ASSERT_TRUE(item->TryResume());
    ASSERT_TRUE(Pump([&] { return item->GetState() == DCC_STATE_COMPLETE; }, 5000));
    EXPECT_FALSE(item->IsResuming());
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"w.bin")) == bytes);
    EXPECT_EQ(ReadWholeFile(receiveFolder.File(L"_incomplete_w.bin")), "part");
}

TEST_F(DCCManagerTest, AbortKeepsThePartialFileAndEndsTheItem)
{
    std::string bytes = MakePattern(4000);
    TPeer peer;
    peer.Send(bytes.substr(0, 1500)).Pause(2000).Run();
    TDCCReceiveItem* item = AddReceive(L"ab.bin", peer.Port(), 4000);
    ASSERT_TRUE(Pump([&] { return item->GetPosition() == 1500; }));
    item->Abort();
    EXPECT_EQ(item->GetState(), DCC_STATE_ABORTED);
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"_incomplete_ab.bin")) == bytes.substr(0, 1500));
    item->StartReceive();
    EXPECT_EQ(item->GetState(), DCC_STATE_ABORTED);
}

} // namespace
