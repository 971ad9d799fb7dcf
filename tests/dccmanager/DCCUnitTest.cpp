// Transfers driven through two server units without sockets to a server: the offers, RESUME and
// ACCEPT travel as the CTCP lines the units queue, and the units print the result lines.

#include "irc/IRCUnit.h"
#include "settings/LogFormat.h"
#include "tests/common/MessagePump.h"
#include "tests/dcc/DCCTestSupport.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <regex>

namespace {

class DCCUnitTest : public TDCCTest {
protected:
    void SetUp() override
    {
        TDCCTest::SetUp();
        preference.IPResolveMethod = 1;
        preference.DCCReceiveAction = 1;
        preference.EnableDCCReceiveCompleteSound = true;
        preference.DCCReceiveCompleteSoundFile = L"done.wav";
        alice = MakeUnit(L"alice", aliceEvents, sender);
        bob = MakeUnit(L"bob", bobEvents, receiver);
    }
    std::unique_ptr<TIRCUnit> MakeUnit(const wchar_t* nick, TUnitRecorder& events, TDCCManager& manager,
                                       bool logIn = true)
    {
        TUnitSetting settings;
        settings.Name = nick;
        settings.Hostname = L"127.0.0.1";
        settings.Nick = nick;
        settings.Username = L"user";
        auto unit = std::make_unique<TIRCUnit>(&events, &preference, settings);
        unit->SetScriptEvents(&events);
        unit->SetMacroEngine(&events);
        unit->SetDccManager(&manager);
        unit->GetConnection().transport.active = true;
        TIRCUnitSession& session = unit->GetSession();
        session.currentNick = session.firstNick = session.secondNick = session.wantedNick = nick;
        session.state = TIRCUnit::StateConnecting;
        unit->OnConnect(&unit->GetConnection());
        if (logIn)
            LogIn(*unit);
        TakeQueuedLines(unit->GetConnection());
        registry.units.insert(unit.get());
        return unit;
    }
    static void LogIn(TIRCUnit& unit)
    {
        FeedLine(unit, ":irc.example 001 " + Narrow(unit.GetSession().currentNick) + " :Welcome");
    }
    static int CountOffers(TIRCUnit& unit)
    {
        int offers = 0;
        for (const std::string& line : TakeQueuedLines(unit.GetConnection()))
            offers += line.rfind("PRIVMSG bob :\x01"
                                 "DCC SEND ",
                                 0) == 0;
        return offers;
    }
    // The CTCP query the unit queued last for that target, without its framing.
    std::string TakeCtcp(TIRCUnit& unit, const std::string& target)
    {
        std::string found;
        for (const std::string& line : TakeQueuedLines(unit.GetConnection())) {
            std::string head = "PRIVMSG " + target + " :\x01";
            if (line.compare(0, head.size(), head) == 0)
                found = line.substr(head.size(), line.size() - head.size() - 1);
        }
        return found;
    }
    void Deliver(TIRCUnit& to, const std::string& from, const std::string& ctcp)
    {
        FeedLine(to, ":" + from + "!user@127.0.0.1 PRIVMSG " + Narrow(to.GetSession().currentNick) + " :\x01" + ctcp +
                         "\x01");
    }
    // Offers a file to bob, starts its receive at once and waits for it to fail.
    void ReceiveUntilFailed(const std::string& offer)
    {
        size_t before = receiver.GetReceiveItems().size();
        Deliver(*bob, "alice", offer);
        ASSERT_EQ(receiver.GetReceiveItems().size(), before + 1);
        TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
        receive->Queue();
        receiver.StartQueuedReceives();
        ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_ERROR; }));
    }
    bool ServerLogHas(TUnitRecorder& events, const std::string& text)
    {
        for (const std::string& line : events.ViewTexts(nullptr))
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    TUnitRecorder aliceEvents, bobEvents;
    std::unique_ptr<TIRCUnit> alice, bob;
};

TEST_F(DCCUnitTest, ResumeThroughTwoUnitsCompletesTheFileAndPrintsTheResults)
{
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"song.mp3", 250000, &bytes), alice.get());
    ASSERT_NE(send, nullptr);
    std::string offer = TakeCtcp(*alice, "bob");
    std::smatch fields;
    ASSERT_TRUE(std::regex_match(offer, fields, std::regex("DCC SEND song\\.mp3 (\\d+) (\\d+) 250000.*"))) << offer;
    EXPECT_EQ(std::stoi(fields[2].str()), send->GetPort());
    EXPECT_EQ(send->GetAddress().address, alice->GetMyAddress().address);

    // Bob's copy of the offer carries the loopback address that alice's unit does not know yet.
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_song.mp3"), bytes.substr(0, 120000)));
    Deliver(*bob, "alice", "DCC SEND song.mp3 2130706433 " + fields[2].str() + " 250000");
    ASSERT_EQ(receiver.GetReceiveItems().size(), 1u);
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    EXPECT_EQ(receive->GetState(), DCC_STATE_WAITING);
    ASSERT_TRUE(receive->TryResume());
    std::string resume = TakeCtcp(*bob, "alice");
    EXPECT_EQ(resume, "DCC RESUME file.ext " + fields[2].str() + " 120000");

    Deliver(*alice, "bob", resume);
    std::string accept = TakeCtcp(*alice, "bob");
    EXPECT_EQ(accept, "DCC ACCEPT file.ext " + fields[2].str() + " 120000");
    Deliver(*bob, "alice", accept);
    EXPECT_TRUE(receive->IsResuming());

    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    ASSERT_TRUE(Pump([&] { return send->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"song.mp3")) == bytes);
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信完了 song.mp3 from alice"));
    EXPECT_TRUE(ServerLogHas(aliceEvents, "*送信完了 song.mp3 to bob"));
    ASSERT_EQ(bobEvents.sounds.size(), 1u);
    EXPECT_EQ(bobEvents.sounds[0], L"done.wav");
    EXPECT_TRUE(aliceEvents.sounds.empty());
}

// A queued send whose server cannot offer yet waits without taking a slot, and its server's login
// starts it; one whose server was deleted fails as the window's start refuses it.
TEST_F(DCCUnitTest, AQueuedSendWaitsForItsServersLoginAndFailsWhenTheServerIsGone)
{
    preference.MaxDCCSendConnection = 1;
    TUnitRecorder carolEvents, daveEvents;
    std::unique_ptr<TIRCUnit> carol = MakeUnit(L"carol", carolEvents, sender, false);
    std::unique_ptr<TIRCUnit> dave = MakeUnit(L"dave", daveEvents, sender, false);
    sender.AddSendItem(carol.get(), L"bob", MakeSendFile(L"later.bin", 1000));
    TDCCSendItem* later = sender.GetSendItems().back();
    TDCCSendItem* ordinary = StartSend(MakeSendFile(L"now.bin", 1000), alice.get());
    ASSERT_NE(ordinary, nullptr) << "the one slot was taken";
    EXPECT_EQ(CountOffers(*alice), 1);
    EXPECT_EQ(later->GetState(), DCC_STATE_QUEUED);

    // The slot frees; the queue still passes the item over until nothing runs.
    ordinary->Stop();
    ASSERT_TRUE(Pump([&] { return !sender.IsTimerRunning(); }));
    EXPECT_EQ(later->GetState(), DCC_STATE_QUEUED);
    EXPECT_EQ(CountOffers(*carol), 0);
    LogIn(*carol);
    ASSERT_TRUE(Pump([&] { return later->GetState() != DCC_STATE_QUEUED; }));
    EXPECT_EQ(later->GetState(), DCC_STATE_RESUMING);
    EXPECT_EQ(CountOffers(*carol), 1);
    later->Stop();

    sender.AddSendItem(dave.get(), L"bob", MakeSendFile(L"gone.bin", 1000));
    TDCCSendItem* orphan = sender.GetSendItems().back();
    EXPECT_EQ(orphan->GetState(), DCC_STATE_QUEUED);
    sender.ForgetUnit(dave.get());
    registry.units.erase(dave.get());
    dave.reset();
    ASSERT_TRUE(Pump([&] { return orphan->GetState() != DCC_STATE_QUEUED; }));
    EXPECT_EQ(orphan->GetState(), DCC_STATE_ERROR);
    EXPECT_EQ(orphan->GetErrorMessage(),
              CString(L"サーバにログインしていないため、次の送信を開始できませんでした。gone.bin \u2192 bob"));
}

// A queued receive that would resume asks through its server: one not logged in yet leaves the
// item waiting without a slot until the login; a deleted server's item is received whole.
TEST_F(DCCUnitTest, AQueuedResumeWaitsForItsServersLoginAndADeletedServersItemIsReceivedWhole)
{
    preference.AutoResume = true;
    preference.ReceiveOnResumeFail = false;
    preference.MaxDCCReceiveConnection = 1;
    TUnitRecorder carolEvents, daveEvents;
    std::unique_ptr<TIRCUnit> carol = MakeUnit(L"carol", carolEvents, receiver, false);
    std::unique_ptr<TIRCUnit> dave = MakeUnit(L"dave", daveEvents, receiver, false);
    std::string bytes;
    TDCCSendItem* send = StartSend(MakeSendFile(L"gone.bin", 3000, &bytes), alice.get());
    ASSERT_NE(send, nullptr);
    for (const wchar_t* name : {L"now.bin", L"later.bin", L"gone.bin"})
        ASSERT_TRUE(WriteWholeFile(receiveFolder.File(CString(L"_incomplete_") + name), "part"));
    receiver.AddReceiveItem(carol.get(), 0, true, L"alice", L"later.bin", 2001, 1000, Loopback());
    TDCCReceiveItem* later = receiver.GetReceiveItems().back();
    receiver.AddReceiveItem(dave.get(), 0, true, L"alice", L"gone.bin", send->GetPort(), 3000, Loopback());
    TDCCReceiveItem* orphan = receiver.GetReceiveItems().back();
    receiver.AddReceiveItem(bob.get(), 0, true, L"alice", L"now.bin", 2003, 1000, Loopback());
    TDCCReceiveItem* ordinary = receiver.GetReceiveItems().back();
    EXPECT_EQ(ordinary->GetState(), DCC_STATE_RESUMING) << "the one slot was taken";
    EXPECT_EQ(TakeCtcp(*bob, "alice"), "DCC RESUME file.ext 2003 4");
    EXPECT_EQ(later->GetState(), DCC_STATE_QUEUED);
    EXPECT_EQ(TakeCtcp(*carol, "alice"), "");

    ordinary->Abort();
    ASSERT_TRUE(Pump([&] { return !receiver.IsTimerRunning(); }));
    EXPECT_EQ(later->GetState(), DCC_STATE_QUEUED);
    LogIn(*carol);
    ASSERT_TRUE(Pump([&] { return later->GetState() != DCC_STATE_QUEUED; }));
    EXPECT_EQ(later->GetState(), DCC_STATE_RESUMING);
    EXPECT_EQ(TakeCtcp(*carol, "alice"), "DCC RESUME file.ext 2001 4");
    later->Abort();

    receiver.ForgetUnit(dave.get());
    registry.units.erase(dave.get());
    dave.reset();
    ASSERT_TRUE(Pump([&] { return orphan->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"gone.bin")) == bytes);
    EXPECT_EQ(ReadWholeFile(receiveFolder.File(L"_incomplete_gone.bin")), "part");
}

// A range of 0 to 0 lets the system choose the port, and the offer names the one bound.
TEST_F(DCCUnitTest, AnOfferNamesThePortTheSendListensOnAndThePeerGetsTheFile)
{
    const struct {
        int start, end;
    } rows[] = {{portStart, portStart + 9}, {0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.start);
        preference.DCCReceivePortStart = row.start;
        preference.DCCReceivePortEnd = row.end;
        const CString name = row.start ? L"ranged.bin" : L"chosen.bin";
        std::string bytes;
        TDCCSendItem* send = StartSend(MakeSendFile(name, 3000, &bytes), alice.get());
        ASSERT_NE(send, nullptr);
        std::smatch fields;
        std::string offer = TakeCtcp(*alice, "bob");
        ASSERT_TRUE(std::regex_match(offer, fields, std::regex("DCC SEND \\w+\\.bin \\d+ ([1-9]\\d*) 3000"))) << offer;
        EXPECT_EQ(std::stoi(fields[1].str()), send->GetPort());
        if (row.start) {
            EXPECT_EQ(send->GetPort(), row.start);
        }
        Deliver(*bob, "alice", "DCC SEND " + Narrow(name) + " 2130706433 " + fields[1].str() + " 3000");
        TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
        receiver.QueueReceive(receive);
        ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
        EXPECT_TRUE(ReadWholeFile(receiveFolder.File(name)) == bytes);
    }
}

// A RESUME is taken only inside the file, for the port and nick of a waiting send; every other
// one gets no ACCEPT and no line, as a sender that ignores it would give.
TEST_F(DCCUnitTest, ResumeIsAcceptedOnlyInsideTheFileOfAWaitingSend)
{
    TDCCSendItem* send = StartSend(MakeSendFile(L"x.bin", 1000), alice.get());
    ASSERT_NE(send, nullptr);
    TakeCtcp(*alice, "bob");
    const std::string port = std::to_string(send->GetPort());
    const struct {
        const char* from;
        std::string request;
        long long accepted; // -1: no ACCEPT
    } rows[] = {
        {"bob", "1 10", -1},         {"bob", "70000 10", -1},     {"carol", port + " 10", -1},
        {"bob", port + " -1", -1},   {"bob", port + " 1000", -1}, {"bob", port + " 1001", -1},
        {"bob", port + " 999", 999}, {"bob", port + " 0", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.from + (" " + row.request));
        long long before = send->GetPosition();
        Deliver(*alice, row.from, "DCC RESUME file.ext " + row.request);
        bool taken = row.accepted >= 0;
        EXPECT_EQ(TakeCtcp(*alice, row.from),
                  taken ? "DCC ACCEPT file.ext " + port + " " + std::to_string(row.accepted) : "");
        EXPECT_EQ(send->GetPosition(), taken ? row.accepted : before);
    }
    EXPECT_FALSE(ServerLogHas(aliceEvents, "範囲外"));
}

// An ACCEPT is taken as it is when it lies inside the file, and otherwise refused with a line:
// the item must not wait in vain for one that never comes.
TEST_F(DCCUnitTest, AcceptInsideTheFileIsTakenAsItIsAndOthersAreTold)
{
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"_incomplete_y.bin"), std::string(400, 'y')));
    Deliver(*bob, "alice", "DCC SEND y.bin 2130706433 " + std::to_string(TPeer::UnusedPort()) + " 1000");
    ASSERT_EQ(receiver.GetReceiveItems().size(), 1u);
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    ASSERT_TRUE(receive->TryResume());
    const std::string port = std::to_string(receive->GetPort());
    for (const char* position : {"-1", "1000", "1001"}) {
        SCOPED_TRACE(position);
        Deliver(*bob, "alice", "DCC ACCEPT file.ext " + port + " " + position);
        EXPECT_EQ(receive->GetState(), DCC_STATE_RESUMING);
        EXPECT_TRUE(ServerLogHas(bobEvents, std::string("alice からの再開位置 ") + position +
                                                " はファイルの範囲外のため受け付けませんでした"));
    }
    // Not the 400 bytes asked for: the file goes on from where the sender says.
    Deliver(*bob, "alice", "DCC ACCEPT file.ext " + port + " 999");
    EXPECT_TRUE(receive->IsResuming());
    EXPECT_EQ(receive->GetPosition(), 999);
}

TEST_F(DCCUnitTest, EarlyCloseFailsWithTheFailureLine)
{
    std::string bytes = MakePattern(1000);
    TPeer peer;
    peer.Send(bytes).Run();
    ASSERT_NO_FATAL_FAILURE(ReceiveUntilFailed("DCC SEND cut.bin 2130706433 " + std::to_string(peer.Port()) + " 4000"));
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信失敗 cut.bin from alice : 切断されました"));
}

TEST_F(DCCUnitTest, TheFailureLineGivesTheWholePercentReceived)
{
    TLogFormat format;
    format.SetDefaults();
    format.DCCReceiveFail = L"*受信失敗 %f %z/%s %x%%";
    bob->SetLogFormat(&format);
    TPeer peer;
    peer.Send(MakePattern(530000)).Run();
    ASSERT_NO_FATAL_FAILURE(
        ReceiveUntilFailed("DCC SEND cut.bin 2130706433 " + std::to_string(peer.Port()) + " 1000000"));
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信失敗 cut.bin 530000/1000000 53%"))
        << ::testing::PrintToString(bobEvents.ViewTexts(nullptr));
}

TEST_F(DCCUnitTest, AFailedLastAcknowledgementStillCompletesOnce)
{
    // The sender pushes every byte and resets at once, so the receiver's last acknowledgement
    // fails inside the same read that completes the file.
    std::string bytes = MakePattern(3000);
    int port = 0;
    SOCKET listener = ListenOnLoopback(1, port);
    ASSERT_NE(listener, INVALID_SOCKET);
    std::atomic<bool> go{false}, reset{false};
    std::thread peer([&] {
        SOCKET s = accept(listener, nullptr, nullptr);
        while (!go)
            Sleep(10);
        send(s, bytes.data(), (int)bytes.size(), 0);
        linger abrupt = {1, 0};
        setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abrupt), sizeof(abrupt));
        Sleep(100);
        closesocket(s);
        reset = true;
    });
    Deliver(*bob, "alice", "DCC SEND last.bin 2130706433 " + std::to_string(port) + " 3000");
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    receiver.QueueReceive(receive);
    bool connected = Pump([&] { return receive->GetState() == DCC_STATE_TRANSFERRING; });
    // Nothing is read until the reset is there too.
    go = true;
    while (!reset)
        Sleep(10);
    peer.join();
    closesocket(listener);
    ASSERT_TRUE(connected);
    Sleep(200); // unpumped, so the loopback's reset lands before the first read
    ASSERT_TRUE(Pump([&] { return receive->GetState() != DCC_STATE_TRANSFERRING; }));
    EXPECT_EQ(receive->GetState(), DCC_STATE_COMPLETE);
    PumpMessagesFor(200); // bounded: a failure after the completion must not come
    EXPECT_EQ(receive->GetState(), DCC_STATE_COMPLETE);
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信完了 last.bin from alice"));
    EXPECT_FALSE(ServerLogHas(bobEvents, "*受信失敗"));
    EXPECT_TRUE(ReadWholeFile(receiveFolder.File(L"last.bin")) == bytes);
}

TEST_F(DCCUnitTest, FailuresOnTheOwnSideArePrintedToo)
{
    // A receive whose folder lies under a file: the temporary file cannot be made.
    ASSERT_TRUE(WriteWholeFile(receiveFolder.File(L"blocker"), "x"));
    TPeer peer;
    peer.Send(MakePattern(1000)).Drain(300).Run();
    Deliver(*bob, "alice", "DCC SEND nowhere.bin 2130706433 " + std::to_string(peer.Port()) + " 1000");
    ASSERT_EQ(receiver.GetReceiveItems().size(), 1u);
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    receive->SetFolder(receiveFolder.File(L"blocker\\sub"));
    receiver.QueueReceive(receive);
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_ERROR; }));
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信失敗 nowhere.bin from alice : ファイルを開けません"));

    // Sends that cannot open their file or find a port.
    struct Row {
        const wchar_t* file;
        bool noPorts;
        const char* line;
    } rows[] = {
        {L"missing.bin", false, "*送信失敗 missing.bin to bob : ファイルを開けません"},
        {L"present.bin", true, "*送信失敗 present.bin to bob : 空きポートがありません"},
    };
    MakeSendFile(L"present.bin", 100);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        if (row.noPorts)
            preference.DCCReceivePortEnd = preference.DCCReceivePortStart - 1;
        int changes = sendEvents.changes;
        sender.AddSendItem(alice.get(), L"bob", sendFolder.File(row.file));
        EXPECT_EQ(sender.GetSendItems().back()->GetState(), DCC_STATE_ERROR);
        EXPECT_TRUE(ServerLogHas(aliceEvents, row.line));
        EXPECT_EQ(sendEvents.changes, changes + 2) << "the failure and the new item each refresh the window";
    }
}

TEST_F(DCCUnitTest, AResultOfARemovedUnitIsNotPrinted)
{
    std::string bytes = MakePattern(1000);
    TPeer peer;
    peer.Send(bytes).Drain(300).Run();
    Deliver(*bob, "alice", "DCC SEND gone.bin 2130706433 " + std::to_string(peer.Port()) + " 1000");
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    registry.units.erase(bob.get());
    receive->StartReceive();
    ASSERT_TRUE(Pump([&] { return receive->GetState() == DCC_STATE_COMPLETE; }));
    EXPECT_TRUE(ServerLogHas(bobEvents, "gone.bin"));
    EXPECT_FALSE(ServerLogHas(bobEvents, "*受信完了"));
    EXPECT_TRUE(bobEvents.sounds.empty());
}

TEST_F(DCCUnitTest, AFullReceiveListRefusesWithAServerLineWhileFinishedItemsLeaveRoom)
{
    // A long day: finished items the user never cleared, then as many waiting ones as the list takes.
    const int finished[] = {DCC_STATE_COMPLETE, DCC_STATE_ERROR, DCC_STATE_ABORTED};
    const size_t receiveCap = TDCCManager::MaxReceiveItems + std::size(finished);
    for (int state : finished) {
        Deliver(*bob, "alice", "DCC SEND old.bin 2130706433 5000 100");
        receiver.GetReceiveItems().back()->SetState(state);
    }
    for (int i = 0; i < TDCCManager::MaxReceiveItems; i++)
        receiver.AddReceiveItem(bob.get(), 0, false, L"alice", L"wait.bin", 5000, 100, Loopback());
    ASSERT_EQ(receiver.GetReceiveItems().size(), receiveCap);
    Deliver(*bob, "alice", "DCC SEND late.bin 2130706433 5000 100");
    EXPECT_EQ(receiver.GetReceiveItems().size(), receiveCap);
    EXPECT_TRUE(
        ServerLogHas(bobEvents, "待機中・転送中の受信が多すぎるため、alice からの late.bin を受け付けませんでした"));
    // One that waited is done with: the next offer finds room, and nothing is said of it.
    receiver.GetReceiveItems()[std::size(finished)]->SetState(DCC_STATE_COMPLETE);
    Deliver(*bob, "alice", "DCC SEND next.bin 2130706433 5000 100");
    EXPECT_EQ(receiver.GetReceiveItems().size(), receiveCap + 1);
    EXPECT_FALSE(ServerLogHas(bobEvents, "next.bin を受け付けませんでした"));
    // Offers that fail at once (as auto-accepted ones to a closed port do) never wait, yet the
    // list they fill stays bounded.
    for (TDCCReceiveItem* item : receiver.GetReceiveItems())
        item->SetState(DCC_STATE_ERROR);
    while (receiver.GetReceiveItems().size() < (size_t)TDCCManager::MaxKeptReceiveItems) {
        size_t before = receiver.GetReceiveItems().size();
        receiver.AddReceiveItem(bob.get(), 0, false, L"alice", L"failed.bin", 5000, 100, Loopback());
        ASSERT_EQ(before + 1, receiver.GetReceiveItems().size());
        receiver.GetReceiveItems().back()->SetState(DCC_STATE_ERROR);
    }
    Deliver(*bob, "alice", "DCC SEND flood.bin 2130706433 5000 100");
    EXPECT_EQ(receiver.GetReceiveItems().size(), (size_t)TDCCManager::MaxKeptReceiveItems);
    EXPECT_TRUE(ServerLogHas(bobEvents, "受信の一覧が一杯のため、alice からの flood.bin を受け付けませんでした"));
}

// A peer that does not know its own address offers 255.255.255.255: the item is made and its
// connect fails as any other; a port no socket can take is refused at once, and said so.
TEST_F(DCCUnitTest, AnOfferFromAnUnknownAddressFailsOnConnectAndAnUnusablePortIsRefusedWithALine)
{
    ASSERT_NO_FATAL_FAILURE(ReceiveUntilFailed("DCC SEND lost.bin 4294967295 5000 100"));
    EXPECT_TRUE(ServerLogHas(bobEvents, "*受信失敗 lost.bin from alice"))
        << ::testing::PrintToString(bobEvents.ViewTexts(nullptr));

    Deliver(*bob, "alice", "DCC SEND far.bin 2130706433 70000 100");
    EXPECT_EQ(receiver.GetReceiveItems().size(), 1u);
    EXPECT_TRUE(ServerLogHas(bobEvents, "alice からの far.bin は、ポート番号かファイルサイズが扱えない値のため"));
}

TEST_F(DCCUnitTest, NickChangeOfThePeerRenamesItsItems)
{
    Deliver(*bob, "alice", "DCC SEND a.bin 2130706433 5000 100");
    Deliver(*bob, "alice", "DCC SEND b.bin 2130706433 5001 100");
    ASSERT_EQ(receiver.GetReceiveItems().size(), 2u);
    receiver.GetReceiveItems()[1]->SetState(DCC_STATE_COMPLETE);
    FeedLine(*bob, ":alice!user@127.0.0.1 NICK :alice_away");
    EXPECT_EQ(receiver.GetReceiveItems()[0]->GetNick(), L"alice_away");
    EXPECT_EQ(receiver.GetReceiveItems()[1]->GetNick(), L"alice");
}

} // namespace
