// The unit against real servers: ngircd plain, over TLS and behind dante, and scripted servers
// that die, restart and ignore QUIT. A second client talks to the unit through ngircd.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

const wchar_t kJapanese[] = L"\x65E5\x672C\x8A9E\x306E\x30C6\x30B9\x30C8";

class UnitServerTest : public TUnitTest {
protected:
    bool WaitLoggedIn()
    {
        return PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateLoggedIn; }, 15000);
    }
    bool WaitJoined(size_t count)
    {
        return PumpMessagesUntil(
            [&] {
                size_t joined = 0;
                for (TIRCChannel* channel : unit->GetChannels())
                    joined += channel->IsJoined();
                return joined == count;
            },
            kWaitBoundMs);
    }
    // A fresh unit as this nick on the server, with these auto-join channels, logged in.
    bool LogInAs(const CString& nick, int port, std::initializer_list<const wchar_t*> autoJoin = {})
    {
        settings.Nick = nick;
        settings.Port = port;
        MakeUnit();
        for (const wchar_t* name : autoJoin)
            AddChannel(name);
        unit->Connect();
        return WaitLoggedIn();
    }
    void QuitAndWait()
    {
        unit->SendQuit(L"done");
        EXPECT_TRUE(WaitDisconnected()) << "the server closes the link after the QUIT";
    }
};

struct TRoadCase {
    const char* name;
    const char* portKey;
    bool tls;
    bool socks;
};

TEST_F(UnitServerTest, RegistersLogsInAndJoinsOnNgircdDirectlyOverTlsAndThroughSocks5WithAndWithoutTls)
{
    REQUIRE_PEER_PORT(plainPort, "IRC_PORT");
    REQUIRE_PEER_PORT(tlsPort, "IRC_TLS_PORT");
    REQUIRE_PEER_PORT(socksPort, "SOCKS_PORT");
    const TRoadCase cases[] = {
        {"plain", "IRC_PORT", false, false},
        {"TLS", "IRC_TLS_PORT", true, false},
        {"SOCKS5", "IRC_PORT", false, true},
        {"TLS through SOCKS5", "IRC_TLS_PORT", true, true},
    };
    int n = 0;
    for (const TRoadCase& c : cases) {
        settings.UseSSL = c.tls;
        settings.EnableSocks = c.socks;
        settings.SocksVersion = 5;
        settings.SocksHostname = L"127.0.0.1";
        settings.SocksPort = socksPort;
        preference.AutoPongTime = 1;
        ASSERT_TRUE(LogInAs(L"kvroad" + CString(std::to_wstring(n++).c_str()), atoi(PeerValue(c.portKey).c_str()),
                            {L"#kv-road-a", L"#kv-road-b"}))
            << c.name;
        EXPECT_EQ(Narrow(unit->GetSession().serverName), "irc.test.local") << c.name;
        EXPECT_TRUE(WaitJoined(2)) << c.name;
        EXPECT_TRUE(HistoryHolds("JOIN #kv-road-a,#kv-road-b\r\n")) << c.name;
        unit->Tick();
        // The joins' MODE lines may hold it behind flood control for a moment.
        EXPECT_TRUE(PumpMessagesUntil([&] { return HistoryHolds("PONG :irc.test.local\r\n"); }, kWaitBoundMs))
            << c.name << ": keep-alive";
        unit->SendQuit(L"done");
        EXPECT_TRUE(WaitDisconnected()) << c.name;
        EXPECT_FALSE(unit->GetSession().reconnectArmed) << c.name;
    }
    (void)plainPort;
    (void)tlsPort;
}

TEST_F(UnitServerTest, JapaneseRoundTripsWithASecondClientInJisAndUtf8)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    for (int codePage : {50221, CP_UTF8}) {
        std::string suffix = std::to_string(codePage);
        CString channel = L"#kv-jp-" + CString(std::to_wstring(codePage).c_str());
        settings.Codepage = codePage;
        ASSERT_TRUE(LogInAs(L"kvjp" + CString(std::to_wstring(codePage).c_str()), port, {channel}));
        ASSERT_TRUE(WaitJoined(1));
        std::unique_ptr<TLineSocket> other = ConnectIrcClient(port, "kvother" + suffix);
        ASSERT_NE(other, nullptr);
        std::string channelBytes = Narrow(channel);
        other->Send("JOIN " + channelBytes + "\r\n");
        ASSERT_TRUE(other->WaitFor(" 366 "));
        CStringA encoded = codePage == 50221 ? EncodeIso2022Jp(kJapanese, 0) : ConvertToUtf8(kJapanese);
        std::string wire(encoded.GetString(), encoded.GetLength());

        other->Send("PRIVMSG " + channelBytes + " :" + wire + "\r\n");
        EXPECT_TRUE(SawMacroEvent("PRIVMSG " + channelBytes + " " + Narrow(kJapanese), kWaitBoundMs)) << codePage;
        unit->SendCommand(L"PRIVMSG", channel, L":" + CString(kJapanese), 2, 0);
        EXPECT_TRUE(other->WaitFor("PRIVMSG " + channelBytes + " :" + wire)) << codePage;
        unit->CloseByUser();
    }
}

TEST_F(UnitServerTest, AKilledServerIsReconnectedOnTheNextServerAndChannelsAreRejoined)
{
    preference.ReconnectTime = 2;
    TScriptedServer main, alternative;
    settings.Port = main.Port();
    settings.AltServers = {{L"127.0.0.1", alternative.Port()}};
    MakeUnit();
    AddChannel(L"#kv-rejoin");
    unit->Connect();
    TLineSocket* first = main.WaitClient();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->WaitFor("USER kvuser"));
    first->Send(":irc.example 001 kvnick :Welcome\r\n");
    ASSERT_TRUE(first->WaitFor("JOIN #kv-rejoin"));
    first->Send(":kvnick!kvuser@host JOIN :#kv-rejoin\r\n");
    ASSERT_TRUE(WaitJoined(1));

    main.Kill();
    ASSERT_TRUE(WaitDisconnected());
    // After a login the rotation starts again at the main host, which is gone; then the alternative.
    for (int tick = 0; tick < 8 && alternative.Accepted() == 0; tick++) {
        unit->Tick();
        PumpMessagesFor(300);
    }
    TLineSocket* second = alternative.WaitClient(1, kWaitBoundMs);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(unit->GetSession().reconnectAttempts, 2);
    ASSERT_TRUE(second->WaitFor("USER kvuser 8 * :Ketroval Test"));
    EXPECT_EQ(second->Lines()[0], "NICK kvnick");
    second->Send(":irc.example 001 kvnick :Welcome back\r\n");
    EXPECT_TRUE(second->WaitFor("JOIN #kv-rejoin"));
}

TEST_F(UnitServerTest, AUserQuitIsNeverFollowedByAReconnect)
{
    preference.ReconnectTime = 1;
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    unit->SendQuit(L"bye");
    ASSERT_TRUE(peer->WaitFor("QUIT :bye"));
    peer->Close();
    ASSERT_TRUE(WaitDisconnected());
    for (int tick = 0; tick < 5; tick++) {
        unit->Tick();
        PumpMessagesFor(100);
    }
    EXPECT_EQ(server.Accepted(), 1);
}

// The away flag is what the server last said: an AWAY on its way, refused, or lost with the link
// changes nothing, so no sound is muted for it and no reconnect sends it again.
TEST_F(UnitServerTest, TheAwayFlagFollowsTheServersAnswerNotTheAwaySent)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    ASSERT_TRUE(LogInAs(L"kvaway", port));
    unit->SetAway(true, L"at lunch");
    EXPECT_FALSE(unit->IsAway()) << "before the server's answer";
    EXPECT_EQ(unit->GetSession().awayMessage, CString(L"at lunch"));
    EXPECT_TRUE(PumpMessagesUntil([&] { return unit->IsAway(); }, kWaitBoundMs)) << "306";
    unit->SetAway(false, CString());
    EXPECT_TRUE(unit->IsAway()) << "before the server's answer";
    EXPECT_TRUE(PumpMessagesUntil([&] { return !unit->IsAway(); }, kWaitBoundMs)) << "305";
    QuitAndWait();

    // The link drops with the AWAY unanswered.
    preference.ReconnectTime = 1;
    preference.MuteOnAway = true;
    preference.EnableDisconnectSound = true;
    preference.DisconnectSoundFile = L"gone.wav";
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    recorder.sounds.clear();
    unit->SetAway(true, L"brb");
    ASSERT_TRUE(peer->WaitFor("AWAY :brb"));
    peer->Close();
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_FALSE(unit->IsAway());
    EXPECT_EQ(recorder.sounds, std::vector<CString>{L"gone.wav"}) << "not muted for an away never confirmed";
    TLineSocket* again = TickToReconnect(*unit, server, 2);
    ASSERT_TRUE(WelcomeOn(again) && RoundTrip(*unit, *again));
    EXPECT_EQ(again->LinesStartingWith("AWAY"), Lines{});

    // The nick dialog's away box while registering: the server refuses the AWAY.
    unit->CloseByUser();
    preference.NickPolicy = NickAskUser;
    unit->Connect();
    TLineSocket* third = server.WaitClient(3);
    ASSERT_NE(third, nullptr);
    ASSERT_TRUE(third->WaitFor("USER "));
    third->Send(":irc.example 433 * kvnick :Nickname is already in use\r\n");
    TNickRequest asked;
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->TakeNickQuestion(asked); }, kWaitBoundMs));
    TNickRequest answer = asked;
    answer.nick = L"kvspare";
    answer.away = true;
    unit->AnswerNickQuestion(asked, answer);
    ASSERT_TRUE(third->WaitFor("AWAY :"));
    third->Send(":irc.example 451 kvspare :You have not registered\r\n");
    ASSERT_TRUE(RoundTrip(*unit, *third));
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateRegistering);
    EXPECT_FALSE(unit->IsAway()) << "refused";
}

TEST_F(UnitServerTest, AJoinWithoutAChannelGoesOutAndTheServersComplaintIsShown)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    ASSERT_TRUE(LogInAs(L"kvbarejoin", port));
    size_t shown = recorder.ViewTexts(nullptr).size();
    unit->ExecuteCommand(L"join", false);
    EXPECT_TRUE(PumpMessagesUntil([&] { return HistoryHolds("JOIN\r\n"); }, kWaitBoundMs));
    std::string reply;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] {
            for (const std::string& line : recorder.protocol)
                if (line.find(" 461 kvbarejoin JOIN :") != std::string::npos)
                    reply = line;
            return !reply.empty();
        },
        kWaitBoundMs))
        << "not enough parameters";
    // The server's own words for it, printed with the command they refuse.
    std::string reason = reply.substr(reply.find(" JOIN :") + 7);
    reason = reason.substr(0, reason.find_last_not_of("\r\n") + 1);
    ASSERT_FALSE(reason.empty()) << reply;
    std::vector<std::string> texts = recorder.ViewTexts(nullptr);
    bool complaint = false;
    for (size_t i = shown; i < texts.size(); i++)
        complaint =
            complaint || (texts[i].find("JOIN") != std::string::npos && texts[i].find(reason) != std::string::npos);
    EXPECT_TRUE(complaint) << "the reply \"" << reason << "\" is printed in the server's view";
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateLoggedIn);
    QuitAndWait();
}

TEST_F(UnitServerTest, PingIsAnsweredAheadOfLinesHeldByFloodControl)
{
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    size_t before = peer->Lines().size();
    // Budgets are paid back only once the PING has been read, so the order is exact.
    TIRCConnection& connection = unit->GetConnection();
    connection.timer.Stop();
    for (int i = 0; i < 10; i++)
        unit->SendCommand(L"PRIVMSG", L"#c", L":line " + CString(std::to_wstring(i).c_str()), 2, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return peer->LineCount() >= before + 6; }, kWaitBoundMs));
    peer->Send("PING :stamp\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return !connection.high.empty(); }, kWaitBoundMs));
    connection.timer.Start(TIRCConnection::kTickMs);
    ASSERT_TRUE(peer->WaitFor("PONG :stamp", 8000));
    Lines lines = peer->Lines();
    size_t pong = std::find(lines.begin(), lines.end(), "PONG :stamp") - lines.begin();
    EXPECT_EQ(pong, before + 6) << "the answer goes out before the lines that were waiting";
}

TEST_F(UnitServerTest, AQuitAtTheProgramsEndLeavesEachLogOneOpeningAndOneClosingStampPerSession)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    preference.LogRootDir = folder.path + L"logs\\";
    preference.EnableChannelLog = true;
    preference.EnableUnitLog = true;
    const char started[] = "\xE3\x83\xAD\xE3\x82\xB0\xE3\x82\x92\xE9\x96\x8B\xE5\xA7\x8B"; // "ログを開始"
    const char ended[] = "\xE3\x83\xAD\xE3\x82\xB0\xE3\x82\x92\xE7\xB5\x82\xE4\xBA\x86";   // "ログを終了"
    auto count = [](const CString& path, const char* stamp) {
        CStringA bytes = ReadFileBytes(path);
        std::string text(bytes.GetString(), (size_t)bytes.GetLength());
        int found = 0;
        for (size_t at = text.find(stamp); at != std::string::npos; at = text.find(stamp, at + 1))
            found++;
        return found;
    };
    for (int session = 1; session <= 2; session++) {
        ASSERT_TRUE(LogInAs(L"kvlogs", port, {L"#kv-logs"}));
        ASSERT_TRUE(WaitJoined(1));
        CString paths[] = {unit->FindChannel(L"#kv-logs")->logger.GetCurrentPath(),
                           unit->GetServerLog().GetCurrentPath()};
        // The program's end: QUIT, and the server closes the link.
        unit->Shutdown(false);
        ASSERT_TRUE(WaitDisconnected());
        unit->Tick();
        for (const CString& path : paths) {
            EXPECT_EQ(count(path, started), session) << Narrow(path);
            EXPECT_EQ(count(path, ended), session) << Narrow(path);
        }
    }
}

TEST_F(UnitServerTest, ADelayedAutoOpGivesOperatorStatusToAMatchingMemberAfterTheDelay)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    settings.Port = port;
    settings.Nick = L"kvopper";
    MakeUnit();
    ASSERT_TRUE(preference.EnableAutoOpDelay) << "the default delay";
    TChannelConfig config;
    config.Name = L"#kv-autoop";
    config.AutoOpMasks = {L"kvfriend!*@*"};
    TIRCChannel* channel = unit->AddChannel(config, TIRCChannel::KindChannel);
    unit->Connect();
    ASSERT_TRUE(WaitLoggedIn());
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->IsJoined() && channel->op; }, kWaitBoundMs));
    std::unique_ptr<TLineSocket> member = ConnectIrcClient(port, "kvfriend");
    ASSERT_NE(member, nullptr);
    member->Send("JOIN #kv-autoop\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->FindMember(L"kvfriend") != nullptr; }, kWaitBoundMs));
    // The world's timer gives the unit its ticks; here they come faster than once a second.
    int ticks = 0;
    bool given = false;
    while (!given && ticks < 2 * preference.AutoOpDelayMax) {
        unit->Tick();
        ticks++;
        given = member->WaitFor("MODE #kv-autoop +o kvfriend", 100);
    }
    EXPECT_TRUE(given);
    EXPECT_GE(ticks, preference.AutoOpDelayMin) << "not before the delay";
    EXPECT_TRUE(PumpMessagesUntil([&] { return channel->FindMember(L"kvfriend")->o; }, kWaitBoundMs));
    QuitAndWait();
}

TEST_F(UnitServerTest, AfterTheServerRestartsTheUnitRejoinsOnlyItsOwnChannels)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    TServerRelay relay(port);
    ASSERT_GT(relay.Port(), 0);
    std::unique_ptr<TLineSocket> other = ConnectIrcClient(port, "kvother");
    ASSERT_NE(other, nullptr);
    other->Send("JOIN #kv-not-ours\r\n");
    ASSERT_TRUE(other->WaitFor("JOIN"));
    preference.ReconnectTime = 1;
    // Only the channels the session was in, not those marked to join at every start.
    preference.ForceAutoJoin = false;
    ASSERT_TRUE(LogInAs(L"kvrestart", relay.Port(), {L"#kv-own-a", L"#kv-own-b", L"#kv-own-left"}));
    ASSERT_TRUE(WaitJoined(3));
    unit->PartChannel(unit->FindChannel(L"#kv-own-left"), L"later");
    // The new channels' MODE lines hold the PART behind flood control for a while.
    ASSERT_TRUE(PumpMessagesUntil([&] { return !unit->FindChannel(L"#kv-own-left")->IsJoined(); }, 40000));

    recorder.protocol.clear();
    relay.DropAll();
    ASSERT_TRUE(WaitDisconnected());
    for (int tick = 0; tick < 50 && unit->GetState() != TIRCUnit::StateLoggedIn; tick++) {
        unit->Tick();
        PumpMessagesFor(200);
    }
    ASSERT_EQ(unit->GetState(), TIRCUnit::StateLoggedIn);
    EXPECT_TRUE(WaitJoined(2));
    EXPECT_TRUE(unit->FindChannel(L"#kv-own-a")->IsJoined());
    EXPECT_TRUE(unit->FindChannel(L"#kv-own-b")->IsJoined());
    EXPECT_FALSE(unit->FindChannel(L"#kv-own-left")->IsJoined());
    EXPECT_EQ(unit->FindChannel(L"#kv-not-ours"), nullptr);
    // A few seconds of the new session: nothing of the old one asks for more.
    for (int tick = 0; tick < 5; tick++) {
        unit->Tick();
        PumpMessagesFor(100);
    }
    std::vector<std::string> joins;
    for (const std::string& line : recorder.protocol)
        if (line.rfind("> JOIN ", 0) == 0)
            joins.push_back(line);
    EXPECT_EQ(joins, (std::vector<std::string>{"> JOIN #kv-own-a,#kv-own-b"}));
    QuitAndWait();
}

} // namespace
