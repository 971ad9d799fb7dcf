// Registration lines, login on the first welcome reply, and auto-join batches.

#include "tests/irc/SendSideSupport.h"

#include "tests/common/MessagePump.h"

#include <algorithm>
#include <functional>

namespace {

using Lines = std::vector<std::string>;

class UnitRegistrationTest : public TUnitTest {};

struct TRegistrationCase {
    const char* name;
    bool enablePassword;
    const wchar_t* password;
    bool invisible;
    const wchar_t* userName;
    const char* pass; // the PASS line's parameter, or null for none
    const char* user; // the USER line's user name and mode
};

// Each registration is an optional PASS, then NICK kvnick and USER with the real name.
TEST_F(UnitRegistrationTest, RegistrationSendsPassNickAndUserAsStored)
{
    const TRegistrationCase cases[] = {
        {"no password", false, L"", true, L"kvuser", nullptr, "kvuser 8"},
        {"password set but off", false, L"secret", true, L"kvuser", nullptr, "kvuser 8"},
        {"password on but empty", true, L"", true, L"kvuser", nullptr, "kvuser 8"},
        {"password on", true, L"secret", false, L"kvuser", "secret", "kvuser 0"},
        {"password with a blank goes whole", true, L"my secret", false, L"kvuser", ":my secret", "kvuser 0"},
        {"password with a leading colon goes whole", true, L":secret", false, L"kvuser", "::secret", "kvuser 0"},
        {"blank user name made valid", false, L"", true, L"kv user", nullptr, "kvuser 8"},
        {"punctuation kept", false, L"", true, L"j.r.r.tolkien", nullptr, "j.r.r.tolkien 8"},
        {"leading colon and control characters dropped", false, L"", true, L":kv\tus\1er", nullptr, "kvuser 8"},
    };
    for (const TRegistrationCase& c : cases) {
        settings.EnablePassword = c.enablePassword;
        settings.Password = c.password;
        settings.Invisible = c.invisible;
        settings.Username = c.userName;
        MakeUnit();
        StartOffline();
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateRegistering) << c.name;
        Lines lines = {"NICK kvnick", "USER " + std::string(c.user) + " * :Ketroval Test"};
        if (c.pass)
            lines.insert(lines.begin(), "PASS " + std::string(c.pass));
        EXPECT_EQ(Queued(), lines) << c.name;
    }
}

TEST_F(UnitRegistrationTest, TheServerPasswordReachesTheServerButNeverTheProtocolLog)
{
    settings.EnablePassword = true;
    settings.Password = L"s3 cret";
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(peer->Lines().at(0), "PASS :s3 cret");
    bool logged = false;
    for (const std::string& line : recorder.protocol) {
        EXPECT_EQ(line.find("cret"), std::string::npos) << line;
        logged = logged || line == "> PASS ********";
    }
    EXPECT_TRUE(logged);
}

TEST_F(UnitRegistrationTest, AnEmptyUserNameStillGivesAValidUserLine)
{
    settings.Username = L"";
    StartOffline();
    Lines queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].rfind("USER ", 0), 0u);
    EXPECT_NE(queued[1].substr(5, 1), " ") << queued[1];
}

TEST_F(UnitRegistrationTest, LoginHappensOnceOnTheFirstWelcomeReply)
{
    const char* welcomes[] = {"001", "376", "422"};
    for (const char* first : welcomes) {
        recorder.scriptConnects = 0;
        StartOffline();
        TakeQueued();
        Feed(std::string(":irc.example ") + first + " kvnick_ :Welcome");
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateLoggedIn) << first;
        EXPECT_EQ(Narrow(unit->GetSession().currentNick), "kvnick_");
        EXPECT_EQ(Narrow(unit->GetSession().serverName), "irc.example");
        for (const char* other : welcomes)
            Feed(std::string(":irc.example ") + other + " kvnick_ :again");
        EXPECT_EQ(recorder.scriptConnects, 1) << first;
        unit->CloseByUser();
    }
}

TEST_F(UnitRegistrationTest, LoginRunsLoginCommandsBeforeJoiningAutoJoinChannels)
{
    settings.LoginCommands = {L"MODE kvnick +i", L"", L"PRIVMSG NickServ :identify pw"};
    MakeUnit();
    TChannelConfig joined, skipped;
    joined.Name = L"#one";
    skipped.Name = L"#two";
    skipped.AutoJoin = false;
    unit->AddChannel(joined, TIRCChannel::KindChannel);
    unit->AddChannel(skipped, TIRCChannel::KindChannel);
    StartOffline();
    TakeQueued();
    Feed(":irc.example 001 kvnick :Welcome");
    EXPECT_EQ(TakeQueued(), (Lines{"MODE kvnick +i", "PRIVMSG NickServ :identify pw", "JOIN #one"}));
}

TEST_F(UnitRegistrationTest, WhoQueriesWaitBehindAutoJoinsButNotBehindARejoin)
{
    preference.WhoTiming = 1;
    MakeUnit();
    for (const wchar_t* name : {L"#one", L"#two"})
        AddChannel(name);
    WelcomeOffline();
    EXPECT_EQ(unit->GetWhoManager().GetWait(), 4) << "two auto-joins, two ticks each";
    Feed(":kvnick!u@h JOIN :#one");
    Feed(":kvnick!u@h JOIN :#two");
    // The server drops the link; the next login rejoins both.
    unit->OnClose(&unit->GetConnection());
    WelcomeOffline();
    EXPECT_EQ(unit->GetWhoManager().GetWait(), 0);
}

TEST_F(UnitRegistrationTest, ASafeChannelJoinedByALoginCommandKeepsItsRecordForTheRetry)
{
    settings.LoginCommands = {L"JOIN !safe"};
    MakeUnit();
    WelcomeOffline();
    EXPECT_TRUE(unit->GetSafeJoinManager().Contains(L"!safe"));
    TakeQueued();
    // The server does not know it yet: the join is asked again as a creation.
    Feed(":irc.example 403 kvnick !safe :No such channel");
    Lines sent = TakeQueued();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "JOIN !!safe"), sent.end());
}

TEST_F(UnitRegistrationTest, TalksOfTheLastSessionOpenAgainWithTheirPeerAndTheUser)
{
    WelcomeOffline();
    Feed(":friend!f@h PRIVMSG kvnick :hi");
    TIRCChannel* talk = unit->FindChannel(L"friend");
    ASSERT_TRUE(talk);
    unit->OnClose(&unit->GetConnection());
    EXPECT_EQ(talk->GetMembers().GetCount(), 0);
    WelcomeOffline();
    EXPECT_TRUE(talk->IsJoined());
    EXPECT_NE(talk->FindMember(L"friend"), nullptr);
    EXPECT_NE(talk->FindMember(L"kvnick"), nullptr);
    EXPECT_EQ(talk->GetMembers().GetCount(), 2);
}

// A script that drops the connection when it sees a typed command.
class TDroppingScripts : public TSendRecorder {
public:
    bool FireOnSendingCommand(const CString& command, const CString& text) override
    {
        TSendRecorder::FireOnSendingCommand(command, text);
        unit->CloseByUser();
        return true;
    }
    TIRCUnit* unit = nullptr;
};

TEST_F(UnitRegistrationTest, ALoginCommandThatLosesTheConnectionEndsTheLogin)
{
    settings.LoginCommands = {L"mycommand", L"MODE kvnick +i"};
    MakeUnit();
    AddChannel(L"#one");
    TDroppingScripts scripts;
    scripts.unit = unit.get();
    unit->SetSendScripts(&scripts);
    StartOffline();
    TakeQueued();
    Feed(":irc.example 001 kvnick :Welcome");
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_EQ(recorder.scriptConnects, 0);
    EXPECT_EQ(scripts.events.size(), 1u);
}

// The login's first lines, its AWAY or its address query, may meet a link the server has reset:
// the login ends there, the talks stay closed and the away state is kept for the next login.
TEST_F(UnitRegistrationTest, ALoginWhoseAwayOrAddressQueryLosesTheLinkEndsThere)
{
    const struct {
        const char* name;
        bool autoAway;
        int addressMethod;
        bool reset;
    } cases[] = {
        {"reset at the AWAY", true, 1, true},
        {"reset at the address query", false, 2, true},
        {"live link", true, 2, false},
    };
    settings.AwayMessage = L"Gone here";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.AutoAway = c.autoAway;
        preference.IPResolveMethod = c.addressMethod;
        TScriptedServer server;
        TLineSocket* peer = ConnectTo(server, false);
        TIRCChannel* talk = AddChannel(L"friend", TIRCChannel::KindTalk);
        int connects = recorder.scriptConnects;
        ASSERT_TRUE(peer && peer->WaitFor("USER "));
        recorder.views.clear();
        peer->Send(":irc.example 001 kvnick :Welcome\r\n");
        if (c.reset) {
            peer->Reset();
            ASSERT_TRUE(WaitDisconnected());
        } else {
            ASSERT_TRUE(peer->WaitFor("GETADDRESS"));
        }
        // The login began, so what follows tells whether it ended at the lost link.
        EXPECT_TRUE(ServerLogShows("ログインしました"));
        EXPECT_EQ(talk->IsJoined(), !c.reset);
        EXPECT_EQ(recorder.scriptConnects - connects, c.reset ? 0 : 1);
        // A live login waits for the server's 306.
        EXPECT_EQ(unit->GetSession().userMode.away, c.reset && c.autoAway);
        unit->CloseByUser();
    }
}

struct TJoinCase {
    const char* name;
    TJoinList list;
    Lines lines;
};

TEST_F(UnitRegistrationTest, AutoJoinBatchesChannelsWithKeyedOnesFirst)
{
    const TJoinCase cases[] = {
        {"two keyless", {{L"#a", L""}, {L"#b", L""}}, {"JOIN #a,#b"}},
        {"keyed, keyless, keyed", {{L"#a", L"ka"}, {L"#b", L""}, {L"#c", L"kc"}}, {"JOIN #a,#b ka", "JOIN #c kc"}},
        {"keyless then keyed", {{L"#a", L""}, {L"#b", L"kb"}}, {"JOIN #a", "JOIN #b kb"}},
        {"two keyed", {{L"#a", L"1"}, {L"#b", L"2"}}, {"JOIN #a,#b 1,2"}},
        {"alias expanded", {{L"%test", L""}}, {"JOIN #test:*.jp"}},
        {"empty list", {}, {}},
    };
    // A name longer than a line on its own goes out alone, never after an empty JOIN.
    CString longName = L"#" + CString(L'x', 499);
    std::string longLine = "JOIN " + Narrow(longName);
    const TJoinCase overlong[] = {
        {"overlong keyless first", {{longName, L""}}, {longLine}},
        {"overlong keyed first", {{longName, L"k"}}, {longLine + " k"}},
    };
    StartOffline();
    TakeQueued();
    for (const TJoinCase& c : overlong) {
        unit->AutoJoin(c.list);
        Lines lines = TakeQueued();
        ASSERT_EQ(lines.size(), 1u) << c.name;
        EXPECT_EQ(lines[0], c.lines[0]) << c.name;
    }
    for (const TJoinCase& c : cases) {
        unit->AutoJoin(c.list);
        EXPECT_EQ(TakeQueued(), c.lines) << c.name;
    }
}

TEST_F(UnitRegistrationTest, AutoJoinLinesStayWithin480BytesAndNeverGoOutBare)
{
    settings.Codepage = CP_UTF8;
    StartOffline();
    TakeQueued();
    for (int keyed = 0; keyed < 2; keyed++) {
        TJoinList list;
        for (int i = 0; i < 120; i++) {
            CString name;
            name.Format(L"#チャンネル%03d", i);
            list.emplace_back(name, keyed ? L"key" : L"");
        }
        unit->AutoJoin(list);
        Lines lines = TakeQueued();
        EXPECT_GT(lines.size(), 3u);
        size_t channels = 0;
        for (const std::string& line : lines) {
            ASSERT_GT(line.size(), 5u) << "bare JOIN";
            std::string params = line.substr(5);
            size_t blank = params.find(' ');
            std::string names = params.substr(0, blank);
            std::string keys = blank == std::string::npos ? "" : params.substr(blank + 1);
            EXPECT_LE(names.size() + keys.size(), 480u);
            channels += std::count(names.begin(), names.end(), '#');
        }
        EXPECT_EQ(channels, 120u);
    }
}

TEST_F(UnitRegistrationTest, ConnectionAttemptsRotateThroughAlternativeServers)
{
    settings.Hostname = L"127.0.0.1 (main)";
    settings.Port = 1;
    settings.AltServers = {{L"127.0.0.2", 2}, {L"127.0.0.3,comment", 3}};
    MakeUnit();
    unit->Connect();
    std::vector<std::pair<std::string, int>> attempts;
    for (int i = 0; i < 5; i++) {
        const TSocksClient& transport = unit->GetConnection().transport;
        attempts.emplace_back(Narrow(transport.targetHost), transport.targetPort);
        unit->GetConnection().Close();
        unit->OpenConnection(false);
    }
    unit->GetConnection().Close();
    std::vector<std::pair<std::string, int>> expected = {
        {"127.0.0.1", 1}, {"127.0.0.2", 2}, {"127.0.0.3", 3}, {"127.0.0.1", 1}, {"127.0.0.2", 2}};
    EXPECT_EQ(attempts, expected);
}

// Restoring the away state (on by default) is for a lost connection: one the user starts again by
// hand is away only by the server's AutoAway setting, with its message.
TEST_F(UnitRegistrationTest, AConnectionStartedByHandIsAwayOnlyByAutoAway)
{
    const struct {
        bool autoAway;
        std::vector<std::string> away; // AWAY lines of the second login
    } cases[] = {{false, {}}, {true, {"AWAY :Gone here"}}};
    for (const auto& c : cases) {
        settings.AutoAway = c.autoAway;
        settings.AwayMessage = L"Gone here";
        TScriptedServer server;
        ASSERT_NE(ConnectTo(server, true), nullptr);
        unit->SetAway(true, L"at lunch");
        unit->CloseByUser();
        unit->Connect();
        TLineSocket* again = server.WaitClient(2);
        ASSERT_TRUE(WelcomeOn(again) && RoundTrip(*unit, *again));
        EXPECT_EQ(again->LinesStartingWith("AWAY"), c.away) << c.autoAway;
        unit->CloseByUser();
    }
}

// After a lost link the login restores the away state the user chose last, also one chosen while
// the link was down: the away prompt answered then, or the nick question's away box.
TEST_F(UnitRegistrationTest, AReconnectRestoresTheAwayStateChosenLast)
{
    preference.ReconnectTime = 1;
    settings.AwayMessage = L"Gone here";
    const struct {
        const char* name;
        bool awayBefore; // confirmed by the server before the link drops
        bool asked;      // a nick question waits when the link drops
        std::function<void(const TNickRequest&)> whileDown;
        std::vector<std::string> away; // AWAY lines of the reconnect's login
    } rows[] = {
        {"away kept", true, false, nullptr, {"AWAY :at lunch"}},
        {"back while down", true, false, [&](const TNickRequest&) { unit->SetAway(false, CString()); }, {}},
        {"away while down", false, false, [&](const TNickRequest&) { unit->SetAway(true, L"brb"); }, {"AWAY :brb"}},
        {"away by the nick question while down",
         false,
         true,
         [&](const TNickRequest& asked) {
             TNickRequest answer = asked;
             answer.away = true;
             unit->AnswerNickQuestion(asked, answer);
         },
         {"AWAY :Gone here"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        preference.NickPolicy = row.asked ? NickAskUser : NickAddUnderscore;
        TScriptedServer server;
        TLineSocket* peer = ConnectTo(server, true);
        ASSERT_NE(peer, nullptr);
        if (row.awayBefore) {
            unit->SetAway(true, L"at lunch");
            ASSERT_TRUE(peer->WaitFor("AWAY :at lunch"));
            peer->Send(":irc.example 306 kvnick :You have been marked as being away\r\n");
            ASSERT_TRUE(PumpMessagesUntil([&] { return unit->IsAway(); }, kWaitBoundMs));
        }
        TNickRequest asked;
        if (row.asked) {
            peer->Send(":irc.example 433 kvnick kvother :Nickname is already in use\r\n");
            ASSERT_TRUE(PumpMessagesUntil([&] { return unit->TakeNickQuestion(asked); }, kWaitBoundMs));
        }
        peer->Close();
        ASSERT_TRUE(WaitDisconnected());
        if (row.whileDown)
            row.whileDown(asked);
        TLineSocket* again = TickToReconnect(*unit, server, 2);
        ASSERT_TRUE(WelcomeOn(again) && RoundTrip(*unit, *again));
        EXPECT_EQ(again->LinesStartingWith("AWAY"), row.away);
        unit->CloseByUser();
    }
}

TEST_F(UnitRegistrationTest, SocksUserIsTheIrcUserForVersion4AndTheProxyUserForVersion5)
{
    settings.EnableSocks = true;
    settings.SocksHostname = L"127.0.0.1";
    settings.SocksPort = 1;
    settings.SocksUsername = L"proxyuser";
    settings.UseSSL = true;
    for (int version : {4, 5}) {
        settings.SocksVersion = version;
        MakeUnit();
        unit->Connect();
        const TSocksClient& transport = unit->GetConnection().transport;
        EXPECT_EQ(Narrow(transport.user), version == 4 ? "kvuser" : "proxyuser");
        EXPECT_TRUE(transport.useProxy);
        unit->GetConnection().Close();
    }
}

// A SOCKS4 proxy is told the stored user name, each in its own encoding; only the USER line needs
// a name without blanks.
TEST_F(UnitRegistrationTest, TheUserNameGoesOutAsStoredInUserAndToASocks4Proxy)
{
    const struct {
        const wchar_t* stored;
        std::string proxy;
        std::string sent;
    } cases[] = {
        {L"j.r.r.tolkien", "j.r.r.tolkien", "j.r.r.tolkien"},
        {L"\x540D\x524D", "\xE5\x90\x8D\xE5\x89\x8D", "\xE5\x90\x8D\xE5\x89\x8D"},
        {L"kv user", "kv user", "kvuser"},
        {L"", "", "user"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        TScriptedServer proxy;
        ThroughSocks4(proxy.Port());
        settings.Codepage = 65001;
        settings.Username = c.stored;
        MakeUnit();
        unit->Connect();
        TLineSocket* peer = proxy.WaitClient();
        ASSERT_NE(peer, nullptr);
        // Eight bytes of command, port and address, then the user id and a NUL.
        size_t request = 8 + c.proxy.size() + 1;
        ASSERT_TRUE(PumpMessagesUntil([&] { return peer->Received().size() >= request; }, 5000));
        EXPECT_EQ(peer->Received().substr(8), c.proxy + std::string(1, '\0'));
        peer->Send(std::string("\0\x5a\0\0\0\0\0\0", 8));
        ASSERT_TRUE(peer->WaitFor("Ketroval Test"));
        std::string lines = peer->Received().substr(request);
        EXPECT_NE(lines.find("\r\nUSER " + c.sent + " 8 * :Ketroval Test\r\n"), std::string::npos) << lines;
        unit->CloseByUser();
    }
}

TEST_F(UnitRegistrationTest, StripHostCommentKeepsTheHostName)
{
    EXPECT_EQ(Narrow(StripHostComment(L"irc.example.net (Tokyo)")), "irc.example.net");
    EXPECT_EQ(Narrow(StripHostComment(L"irc.example.net(x)")), "irc.example.net");
    EXPECT_EQ(Narrow(StripHostComment(L"a,b")), "a");
    EXPECT_EQ(Narrow(StripHostComment(L"plain")), "plain");
}

} // namespace
