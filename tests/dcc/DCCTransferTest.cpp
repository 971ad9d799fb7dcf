// Whole transfers over loopback sockets between two managers, or a manager and a scripted peer.

#include "tests/common/ImportPatch.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StringPrinter.h"
#include "tests/dcc/DCCTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>
#include <memory>

namespace {

using DCCTransferTest = TDCCTest;

TEST_F(DCCTransferTest, WholeFileArrivesByteForByteUnderItsOwnName)
{
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"photo.jpg", 700000, &bytes));
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->GetPort(), portStart);
    TDCCReceiveItem* receive = Offer(send, true);
    EXPECT_EQ(receive->GetState(), DCC_STATE_CONNECTING);

    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    ASSERT_TRUE(Pump([&] { return send->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(receive->GetFileName(), L"photo.jpg");
    EXPECT_EQ(receive->GetDiskFileName(), L"photo.jpg");
    EXPECT_EQ(receive->GetPosition(), 700000);
    EXPECT_EQ(send->GetSentBytes(), 700000);
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"photo.jpg")) == bytes);
    EXPECT_EQ(ListFolder(receiveFolder.path), std::vector<std::string>{"photo.jpg"});
    EXPECT_EQ(GetFileAttributesW(receiveFolder.File(L"photo.jpg")) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A relative folder is the program folder's: every file chooser moves the current folder.
TEST_F(DCCTransferTest, AReceiveLandsInTheFolderSetEvenWhenTheCurrentFolderMoved)
{
    TTempFolder program, current;
    TCurrentFolderMoved moved(current.path);
    receiver.SetProgramFolder(program.path);
    const struct {
        CString setting, folder;
    } rows[] = {{receiveFolder.path, receiveFolder.path}, {L"recv", program.path + L"recv\\"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.setting));
        preference.DCCRootDir = row.setting;
        std::string bytes;
        TDCCSendItem* send = StartSend(MakeSendFile(L"here.bin", 3000, &bytes));
        ASSERT_NE(send, nullptr);
        TDCCReceiveItem* receive = Offer(send, true);
        EXPECT_EQ(receive->GetFolder(), row.folder);
        ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
        EXPECT_TRUE(ReadWholeFile(row.folder + L"here.bin") == bytes);
    }
    EXPECT_EQ(ListFolder(current.path), std::vector<std::string>{});
}

TEST_F(DCCTransferTest, ResumeContinuesTheUnfinishedFileFromTheAcceptedPosition)
{
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"a.bin", 300000, &bytes));
    ASSERT_NE(send, nullptr);
    // An earlier try left 100000 good bytes and a tail that the resume must cut off.
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a.bin"), bytes.substr(0, 100000) + "junk"));
    TDCCReceiveItem* receive = Offer(send, false);
    ASSERT_TRUE(receive->TryResume());
    EXPECT_EQ(receive->GetState(), DCC_STATE_RESUMING);

    // What the units would carry as RESUME and ACCEPT.
    ASSERT_TRUE(sender.HandleResumeRequest(nullptr, L"bob", send->GetPort(), 100000));
    receiver.HandleResumeAccept(nullptr, L"alice", send->GetPort(), 100000);
    EXPECT_TRUE(receive->IsResuming());

    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(send->GetSentBytes(), 200000);
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"a.bin")) == bytes);
    EXPECT_EQ(ListFolder(receiveFolder.path), std::vector<std::string>{"a.bin"});
}

TEST_F(DCCTransferTest, NoUnfinishedFileFailsTheResumeAndTheQueueReceivesWhole)
{
    preference.AutoResume = true;
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"b.bin", 5000, &bytes));
    ASSERT_NE(send, nullptr);
    TDCCReceiveItem* receive = Offer(send, true);
    EXPECT_EQ(receive->GetErrorMessage(), L"レジューム対象のファイルがありません");
    EXPECT_FALSE(receive->IsResuming());
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"b.bin")) == bytes);
}

TEST_F(DCCTransferTest, TemporaryNameWhileReceivingAndNumberedFinalNameOnAClash)
{
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"a.txt"), "older"));
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_a.txt"), "earlier try"));
    std::string bytes = MakePattern(20000);
    TPeer peer;
    peer.Send(bytes.substr(0, 5000)).Pause(1500).Send(bytes.substr(5000)).Drain(500).Run();
    TDCCReceiveItem* receive = AddReceive(L"a.txt", peer.Port(), 20000);

    ASSERT_TRUE(Pump([&] { return receive->GetPosition() >= 5000; }));
    EXPECT_EQ(receive->GetState(), DCC_STATE_TRANSFERRING);
    EXPECT_EQ(receive->GetDiskFileName(), L"_incomplete_a_00.txt");
    EXPECT_TRUE(FileExists(receiveFolder.File(L"_incomplete_a_00.txt")));

    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(receive->GetFileName(), L"a_00.txt");
    EXPECT_EQ(receive->GetDiskFileName(), L"a_00.txt");
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"a_00.txt")) == bytes);
    EXPECT_EQ(ReadWholeFile(receiveFolder.File(L"a.txt")), "older");
    EXPECT_EQ(ReadWholeFile(receiveFolder.File(L"_incomplete_a.txt")), "earlier try");
}

TEST_F(DCCTransferTest, HiddenWhileReceivingAndVisibleWhenDone)
{
    preference.HideFileInReceiving = true;
    std::string bytes = MakePattern(3000);
    TPeer peer;
    peer.Send(bytes.substr(0, 1000)).Pause(1500).Send(bytes.substr(1000)).Drain(300).Run();
    TDCCReceiveItem* receive = AddReceive(L"README", peer.Port(), 3000);
    ASSERT_TRUE(Pump([&] { return receive->GetPosition() >= 1000; }));
    EXPECT_EQ(receive->GetDiskFileName(), L"_incomplete_README");
    EXPECT_NE(GetFileAttributesW(receive->GetFullPath()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_EQ(GetFileAttributesW(receiveFolder.File(L"README")) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A peer that offers one size and sends more must not grow the file past it.
TEST_F(DCCTransferTest, BytesBeyondTheOfferedSizeAreNotWritten)
{
    std::string bytes = MakePattern(65536 + 40000);
    TScriptedSender peer(bytes);
    TDCCReceiveItem* receive = AddReceive(L"x.bin", peer.Port(), 65536);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE && peer.Done(); }));
    EXPECT_EQ(receive->GetPosition(), 65536);
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"x.bin")) == bytes.substr(0, 65536));
    ASSERT_FALSE(peer.Acknowledgements().empty());
    EXPECT_EQ(peer.Acknowledgements().back(), 65536u);
}

// One acknowledgement per arrival of data, each the count so far in network byte order, the
// last one the whole size; mode 2 sends none.
TEST_F(DCCTransferTest, AcknowledgementsCountUpToTheSizeAndModeTwoSendsNone)
{
    struct Row {
        int mode;
        bool acknowledged;
    } rows[] = {{0, true}, {1, true}, {2, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        std::string bytes = MakePattern(200000);
        TScriptedSender peer(bytes, 70000, 300);
        TDCCReceiveItem* receive = AddReceive(L"ack.bin", peer.Port(), 200000, true, L"alice", row.mode);
        ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE && peer.Done(); }));
        EXPECT_TRUE(ReadWholeFile(receive->GetFullPath()) == bytes);
        std::vector<unsigned long> acks = peer.Acknowledgements();
        EXPECT_EQ(peer.Received().size() % 4, 0u);
        if (row.acknowledged) {
            // The pause splits the data into at least two arrivals.
            ASSERT_GE(acks.size(), 2u);
            EXPECT_TRUE(std::is_sorted(acks.begin(), acks.end()));
            EXPECT_EQ(acks.back(), 200000u);
            EXPECT_LE(acks.size(), 200000u / 4096u);
        } else {
            EXPECT_TRUE(acks.empty());
        }
        receiver.RemoveReceiveItem(receive);
        DeleteFileW(receiveFolder.File(L"ack.bin"));
    }
}

TEST_F(DCCTransferTest, ExactlyOneBlockEndsWithAnAcknowledgementOfItsSize)
{
    std::string bytes = MakePattern(65536);
    TScriptedSender peer(bytes);
    // Offered before the peer's bytes can be read, the block is usually whole in the first read;
    // either way the last acknowledgement is 00 01 00 00.
    TDCCReceiveItem* receive = AddReceive(L"one.bin", peer.Port(), 65536);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE && peer.Done(); }));
    std::string back = peer.Received();
    ASSERT_GE(back.size(), 4u);
    EXPECT_EQ(Hex(back.substr(back.size() - 4)), Hex(std::string("\x00\x01\x00\x00", 4)));
}

// Over 4 GB the acknowledgement keeps the low 32 bits; position and size stay 64-bit.
TEST_F(DCCTransferTest, AcknowledgementWrapsPastFourGigabytes)
{
    const long long size = (1LL << 32) + 100;
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_big.bin"), "x"));
    std::string tail = MakePattern(90);
    TScriptedSender peer(tail);
    TDCCReceiveItem* receive = AddReceive(L"big.bin", peer.Port(), size, false);
    ASSERT_TRUE(receive->TryResume());
    receiver.HandleResumeAccept(nullptr, L"alice", peer.Port(), size - 90);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE && peer.Done(); }));
    EXPECT_EQ(receive->GetPosition(), size);
    EXPECT_EQ(Hex(peer.Received()), Hex(std::string("\x00\x00\x00\x64", 4)));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(receiveFolder.File(L"big.bin"), GetFileExInfoStandard, &data));
    EXPECT_EQ(((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow, size);
    DeleteFileW(receiveFolder.File(L"big.bin"));
}

TEST_F(DCCTransferTest, SenderThatClosesEarlyFailsTheReceiveAndKeepsWhatArrived)
{
    std::string bytes = MakePattern(1000);
    TPeer peer;
    peer.Send(bytes).Run();
    TDCCReceiveItem* receive = AddReceive(L"cut.bin", peer.Port(), 5000);
    int changesBefore = receiveEvents.changes;
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_ERROR; }));
    EXPECT_EQ(receive->GetErrorMessage(), L"切断されました");
    EXPECT_EQ(receive->GetPosition(), 1000);
    EXPECT_GT(receiveEvents.changes, changesBefore);
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"_incomplete_cut.bin")) == bytes);
}

TEST_F(DCCTransferTest, ConnectionRefusedLeavesNoEmptyTemporaryFile)
{
    TDCCReceiveItem* receive = AddReceive(L"none.bin", TPeer::UnusedPort(), 5000);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_ERROR; }));
    EXPECT_FALSE(receive->GetErrorMessage().IsEmpty());
    EXPECT_EQ(ListFolder(receiveFolder.path), std::vector<std::string>{});
}

TEST_F(DCCTransferTest, ReceiverThatClosesEarlyFailsTheSend)
{
    TDCCSendItem* send = StartSend(MakeSendFile(L"s.bin", 2000000));
    ASSERT_NE(send, nullptr);
    int changes = sendEvents.changes;
    TScriptedReceiver peer(send->GetPort(), 2000000, 10000);
    ASSERT_TRUE(Pump([&] { return send->GetState() == DCC_STATE_ERROR; }));
    // Closed with data unread, the peer's socket resets: the close or the reset's text.
    EXPECT_FALSE(send->GetErrorMessage().IsEmpty());
    EXPECT_LT(send->GetSentBytes(), 2000000);
    EXPECT_GT(sendEvents.changes, changes);
}

TEST_F(DCCTransferTest, SendToScriptedReceiverCompletesAndLingers)
{
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"t.bin", 150000, &bytes));
    ASSERT_NE(send, nullptr);
    TScriptedReceiver peer(send->GetPort(), 150000);
    ASSERT_TRUE(Pump([&] { return peer.Done() && send->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(peer.Data() == bytes);
    // The peer's close after the last byte is the normal end, not a failure.
    PumpMessagesFor(300);
    EXPECT_EQ(send->GetState(), DCC_STATE_COMPLETE);
}

// A file that stops reading (a removed drive, a lost share) or comes up short fails its send with
// the reason and frees its slot for the send queued behind it, as a file read whole does.
TEST_F(DCCTransferTest, AFileThatStopsReadingFailsTheSendAndTheQueueMovesOn)
{
    preference.EnableMaxDCCSendConnection = true;
    preference.MaxDCCSendConnection = 1;
    const struct {
        const char* name;
        const wchar_t* file;
        long long readable; // bytes read before reads fail or find the end; -1: all
        bool cutShort;      // the reads then find the end instead of failing
        int state;
        CString error;
    } rows[] = {
        {"a read that fails part-way", L"lost.bin", 30000, false, DCC_STATE_ERROR,
         GetSystemErrorText(ERROR_READ_FAULT)},
        {"a file that comes up short", L"short.bin", 30000, true, DCC_STATE_ERROR, L"ファイルを開けません"},
        {"a file read whole", L"whole.bin", -1, false, DCC_STATE_COMPLETE, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TDCCSendItem* send = StartSend(MakeSendFile(row.file, 150000));
        ASSERT_NE(send, nullptr);
        sender.AddSendItem(nullptr, L"carol", MakeSendFile(L"next.bin", 10));
        TDCCSendItem* next = sender.GetSendItems().back();
        ASSERT_EQ(next->GetState(), DCC_STATE_QUEUED) << "the one slot is taken";
        int changes = sendEvents.changes;
        std::unique_ptr<TFileCutShort> cut;
        if (row.cutShort)
            cut = std::make_unique<TFileCutShort>(row.readable);
        else
            SimulateReadFailureAfter(row.readable);
        ASSERT_TRUE(!cut || cut->IsHooked());
        TScriptedReceiver peer(send->GetPort(), 150000);
        bool ended = Pump([&] { return send->GetState() == row.state; });
        SimulateReadFailureAfter(-1);
        cut.reset();
        ASSERT_TRUE(ended) << send->GetState();
        EXPECT_EQ(send->GetErrorMessage(), row.error);
        if (row.state == DCC_STATE_ERROR) {
            EXPECT_LE(send->GetSentBytes(), 30000);
        }
        EXPECT_GT(sendEvents.changes, changes) << "the end was reported";
        EXPECT_TRUE(Pump([&] { return next->GetState() == DCC_STATE_RESUMING; })) << "the queued send started";
        next->Stop();
    }
}

TEST_F(DCCTransferTest, ResumeRequestTakesThePositionOnlyWhileWaitingForThePeer)
{
    TDCCSendItem* send = StartSend(MakeSendFile(L"r.bin", 5000));
    ASSERT_NE(send, nullptr);
    const int port = send->GetPort();
    EXPECT_FALSE(sender.HandleResumeRequest(nullptr, L"bob", port, 5000));
    EXPECT_FALSE(sender.HandleResumeRequest(nullptr, L"bob", port, -1));
    EXPECT_FALSE(sender.HandleResumeRequest(nullptr, L"Bob", port, 1000));
    EXPECT_FALSE(sender.HandleResumeRequest(nullptr, L"bob", port + 1, 1000));
    EXPECT_FALSE(sender.HandleResumeRequest(reinterpret_cast<TIRCUnit*>(&registry), L"bob", port, 1000));
    ASSERT_TRUE(sender.HandleResumeRequest(nullptr, L"bob", port, 1000));
    EXPECT_EQ(send->GetPosition(), 1000);

    TScriptedReceiver peer(port, 4000);
    ASSERT_TRUE(Pump([&] { return send->GetState() == DCC_STATE_COMPLETE && peer.Done(); }));
    EXPECT_EQ(send->GetSentBytes(), 4000);
    EXPECT_TRUE(peer.Data() == ReadWholeFile(send->GetFilePath()).substr(1000));
    EXPECT_FALSE(sender.HandleResumeRequest(nullptr, L"bob", port, 1000));
}

// The cap holds per one-second tick, whatever the writable events say.
TEST_F(DCCTransferTest, SpeedCapLimitsEachTick)
{
    preference.EnableMaxOutgoingBandwidth = true;
    preference.MaxOutgoingBandwidth = 10;
    TDCCSendItem* send = StartSend(MakeSendFile(L"cap.bin", 100000));
    ASSERT_NE(send, nullptr);
    TScriptedReceiver peer(send->GetPort(), 100000);
    ASSERT_TRUE(Pump([&] { return send->GetPosition() == 10240; }));
    PumpMessagesFor(200);
    EXPECT_EQ(send->GetPosition(), 10240);
    // Ticks by hand, no message loop: the first clears the count, each later one sends the cap.
    send->OnTimer(nullptr);
    long long before = send->GetPosition();
    EXPECT_LE(before, 20480);
    send->OnTimer(nullptr);
    EXPECT_EQ(send->GetPosition() - before, 10240);
    send->OnTimer(nullptr);
    EXPECT_EQ(send->GetPosition() - before, 20480);
}

TEST_F(DCCTransferTest, TakenPortsAreSkippedAndAFullRangeFails)
{
    preference.DCCReceivePortEnd = portStart + 1;
    SOCKET blocker = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)portStart);
    ASSERT_EQ(bind(blocker, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(blocker, 1), 0);
    TDCCSendItem* send = StartSend(MakeSendFile(L"p.bin", 100));
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->GetPort(), portStart + 1);

    // The second send finds both ports taken: the first by the blocker, the other by the first send.
    sender.AddSendItem(nullptr, L"carol", sendFolder.File(L"p.bin"));
    TDCCSendItem* second = sender.GetSendItems().back();
    EXPECT_EQ(second->GetState(), DCC_STATE_ERROR);
    EXPECT_EQ(second->GetErrorMessage(), L"空きポートがありません");
    closesocket(blocker);
}

// Sends bind with address reuse, and a system that lets a port bind twice gives its next peer to
// either: a port another send still waits on is never handed out again.
TEST_F(DCCTransferTest, APortAnotherSendWaitsOnIsPassedOver)
{
    preference.DCCReceivePortEnd = portStart + 1;
    std::string firstBytes;
    TDCCSendItem* unaccepted = StartSend(MakeSendFile(L"first.bin", 3000, &firstBytes));
    ASSERT_NE(unaccepted, nullptr);
    ASSERT_EQ(unaccepted->GetPort(), portStart);
    CString later = sendFolder.File(L"later.bin");
    ASSERT_TRUE(WriteWholeFile(later, MakePattern(3000, 2)));
    TDCCSendItem* stopped = StartSend(later);
    ASSERT_NE(stopped, nullptr);
    stopped->Stop();

    // The round comes back to the start, where the first offer still waits.
    EXPECT_EQ(sender.GetSendPort(nullptr), portStart + 1);
    TDCCSendItem* next = StartSend(later);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetPort(), portStart + 1);
    sender.AddSendItem(nullptr, L"carol", later);
    EXPECT_EQ(sender.GetSendItems().back()->GetErrorMessage(), L"空きポートがありません");

    // The first offer's peer gets the first file.
    TScriptedReceiver peer(portStart, 3000);
    ASSERT_TRUE(Pump([&] { return peer.Done() && unaccepted->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(peer.Data() == firstBytes);
    EXPECT_EQ(next->GetState(), DCC_STATE_RESUMING);
}

} // namespace
