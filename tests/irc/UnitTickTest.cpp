// The per-second tick: reconnect attempts, login time-out, QUIT wait and keep-alive.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

namespace {

using Lines = std::vector<std::string>;

class UnitTickTest : public TUnitTest {};

TEST_F(UnitTickTest, ARefusingServerGetsExactlyReconnectCountAttemptsReconnectTimeApart)
{
    preference.ReconnectCount = 3;
    preference.ReconnectTime = 2;
    // Nothing listens there: every attempt is refused.
    TScriptedServer closed;
    settings.Port = closed.Port();
    closed.Kill();
    MakeUnit();
    unit->Connect();
    std::vector<int> attemptTicks;
    int lastAttempts = 0;
    for (int tick = 1; tick <= 20; tick++) {
        ASSERT_TRUE(WaitDisconnected()) << "tick " << tick;
        unit->Tick();
        if (unit->GetSession().reconnectAttempts != lastAttempts) {
            lastAttempts = unit->GetSession().reconnectAttempts;
            attemptTicks.push_back(tick);
        }
    }
    EXPECT_EQ(attemptTicks, (std::vector<int>{2, 4, 6}));
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
}

TEST_F(UnitTickTest, LoginTimeOutDropsAStalledRegistrationAndArmsTheReconnect)
{
    preference.RetryOnHaltTime = 3;
    MakeUnit();
    unit->GetSession().loginTimeoutArmed = true;
    unit->GetSession().reconnectArmed = true;
    StartOffline();
    unit->Tick();
    unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateRegistering);
    unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_FALSE(unit->GetConnection().IsActive());
    EXPECT_TRUE(unit->GetSession().reconnectArmed);
}

TEST_F(UnitTickTest, AConnectThatNeverCompletesTimesOutToo)
{
    preference.RetryOnHaltTime = 2;
    MakeUnit();
    unit->GetSession().loginTimeoutArmed = true;
    unit->GetConnection().transport.active = true;
    unit->BeginConnecting(true);
    unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateConnecting);
    unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
}

TEST_F(UnitTickTest, KeepAlivePongGoesOutEveryIntervalOnlyWhenLoggedIn)
{
    preference.AutoPongTime = 3;
    StartOffline();
    TakeQueued();
    for (int i = 0; i < 6; i++)
        unit->Tick();
    EXPECT_TRUE(Queued().empty()) << "no keep-alive while registering";
    Feed(":irc.example 001 kvnick :Welcome");
    TakeQueued();
    Lines pongs;
    for (int i = 0; i < 7; i++) {
        unit->Tick();
        for (const std::string& line : TakeQueued())
            pongs.push_back(std::to_string(i + 1) + " " + line);
    }
    EXPECT_EQ(pongs, (Lines{"3 PONG :irc.example", "6 PONG :irc.example"}));
}

TEST_F(UnitTickTest, AServerThatIgnoresQuitIsDroppedOnTheSeventhTick)
{
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    unit->SendQuit(L"bye");
    ASSERT_TRUE(peer->WaitFor("QUIT :bye"));
    for (int i = 0; i < 6; i++)
        unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateLoggedIn);
    unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    EXPECT_TRUE(PumpMessagesUntil([&] { return peer->Closed(); }, kWaitBoundMs));
}

// The quit prompt answered after the link dropped: the reconnect stops, and a connection the user
// starts next is nobody's QUIT.
TEST_F(UnitTickTest, AQuitWithTheLinkDownStopsTheReconnectButLeavesTheNextConnection)
{
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    peer->Close();
    ASSERT_TRUE(WaitDisconnected());
    ASSERT_TRUE(unit->GetSession().reconnectArmed);
    unit->SendQuit(L"bye");
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    unit->Connect();
    ASSERT_TRUE(WelcomeOn(server.WaitClient(2)));
    for (int i = 0; i < 10; i++)
        unit->Tick();
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateLoggedIn);
}

// The last counted attempt switches the reconnect off while it runs; the session it opens
// reconnects after its own drop.
TEST_F(UnitTickTest, TheSessionOfTheLastCountedAttemptReconnectsAgain)
{
    preference.ReconnectCount = 1;
    preference.ReconnectTime = 1;
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    peer->Close();
    ASSERT_TRUE(WaitDisconnected());
    peer = TickToReconnect(*unit, server, 2);
    EXPECT_FALSE(unit->GetSession().reconnectArmed) << "this attempt is the last";
    ASSERT_TRUE(WelcomeOn(peer));
    EXPECT_TRUE(unit->GetSession().reconnectArmed);
    peer->Close();
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_NE(TickToReconnect(*unit, server, 3), nullptr);
}

// A QUIT sent before the welcome stays the end of the session, whatever login or preferences say.
TEST_F(UnitTickTest, AQuitSentBeforeTheWelcomeOrThePreferencesKeepsTheReconnectOff)
{
    for (bool quit : {true, false}) {
        SCOPED_TRACE(quit ? "quit" : "no quit");
        MakeUnit();
        StartOffline();
        unit->GetSession().reconnectArmed = false;
        if (quit)
            unit->SendQuit(L"bye");
        Feed(":irc.example 001 kvnick :Welcome");
        EXPECT_EQ(unit->GetSession().reconnectArmed, !quit) << "login";
        unit->GetSession().reconnectArmed = false;
        unit->ApplyPreferences();
        EXPECT_EQ(unit->GetSession().reconnectArmed, !quit) << "preferences";
    }
}

TEST_F(UnitTickTest, ADelayedConnectStartsWhenItsCountdownRunsOut)
{
    TScriptedServer server;
    settings.Port = server.Port();
    MakeUnit();
    unit->ScheduleConnect(2);
    unit->Tick();
    EXPECT_FALSE(unit->GetConnection().IsActive());
    unit->Tick();
    EXPECT_TRUE(unit->GetConnection().IsActive());
    EXPECT_NE(server.WaitClient(), nullptr);
}

// The program's exit waits a few seconds for the other servers to answer QUIT; a server that lost
// its link meanwhile, or one still waiting for its turn at start, must not connect again then.
TEST_F(UnitTickTest, AUnitShutDownWhileWaitingToConnectNeverConnects)
{
    preference.ReconnectTime = 2;
    for (bool lostLink : {true, false}) {
        TScriptedServer server;
        int connections = 0;
        if (lostLink) {
            TLineSocket* peer = ConnectTo(server, true);
            ASSERT_NE(peer, nullptr);
            peer->Close();
            ASSERT_TRUE(WaitDisconnected());
            ASSERT_TRUE(unit->GetSession().reconnectArmed);
            connections = 1;
        } else {
            settings.Port = server.Port();
            MakeUnit();
            unit->ScheduleConnect(2);
        }
        unit->Shutdown(false);
        for (int i = 0; i < 4; i++)
            unit->Tick();
        EXPECT_FALSE(unit->GetConnection().IsActive()) << lostLink;
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected) << lostLink;
        // A connection made in the ticks would be accepted before this later one.
        std::unique_ptr<TLineSocket> later = ConnectLineSocket(server.Port());
        ASSERT_TRUE(later);
        later->Send("later\r\n");
        TLineSocket* next = server.WaitClient(connections + 1);
        ASSERT_NE(next, nullptr) << lostLink;
        EXPECT_TRUE(next->WaitFor("later")) << "the unit connected: " << next->Received();
    }
}

class UnitPreferencesTest : public TUnitTest {};

TEST_F(UnitPreferencesTest, QueuedAutoOpsWaitTheirDelayInTicksThenGoOut)
{
    preference.EnableAutoOpDelay = true;
    preference.AutoOpDelayMin = preference.AutoOpDelayMax = 3;
    WelcomeOffline();
    Feed(":kvnick!u@h JOIN :#ops");
    Feed(":irc.example 353 kvnick = #ops :@kvnick friend");
    TIRCChannel* channel = unit->FindChannel(L"#ops");
    ASSERT_TRUE(channel && channel->op);
    TakeQueued();
    channel->QueueAutoOp(L"friend");
    std::vector<std::string> sent;
    int ticks = 0;
    while (ticks < 10 && sent.empty()) {
        unit->Tick();
        ticks++;
        sent = TakeQueued();
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"MODE #ops +o friend"}));
    EXPECT_GE(ticks, 3) << "not before the delay";
    EXPECT_LE(ticks, 4) << "the delay counts down with the tick";
    EXPECT_TRUE(channel->GetAutoOpQueue().empty());
}

TEST_F(UnitPreferencesTest, SwitchingToGetAddressAsksOneselfOncePerChange)
{
    WelcomeOffline();
    TakeQueued();
    preference.IPResolveMethod = 2;
    unit->ApplyPreferences();
    EXPECT_EQ(TakeQueued(), (Lines{"PRIVMSG kvnick :\x01GETADDRESS\x01"}));
    unit->ApplyPreferences();
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(UnitPreferencesTest, TurningTheServerLogOffClosesItAndTheReconnectFollowsThePreference)
{
    preference.LogRootDir = folder.path + L"logs\\";
    preference.EnableUnitLog = true;
    WelcomeOffline();
    ASSERT_TRUE(unit->GetServerLog().IsOpen());
    preference.EnableUnitLog = false;
    preference.Reconnect = false;
    unit->ApplyPreferences();
    EXPECT_FALSE(unit->GetServerLog().IsOpen());
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    unit->PrintReply(L"not written");
    EXPECT_FALSE(unit->GetServerLog().IsOpen());
}

} // namespace
