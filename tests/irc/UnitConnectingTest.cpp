// Commands given while the unit is still on its way to the server: during the name lookup, while
// a server that accepts slowly keeps the connect waiting, and while a SOCKS4 proxy answers. None
// of them but a QUIT ends the attempt, and none is written ahead of the registration.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

#include <functional>

namespace {

using Lines = std::vector<std::string>;

bool IsReadable(SOCKET s)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval none = {0, 0};
    return select(0, &set, nullptr, nullptr, &none) == 1;
}

// A listener whose accept queue is kept full: a new connect stays unanswered (the system drops
// its SYN and tries again later) until the test lets it in.
class TSlowServer {
public:
    TSlowServer()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 0) != 0)
            return;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        blocker = socket(AF_INET, SOCK_STREAM, 0);
        if (connect(blocker, reinterpret_cast<sockaddr*>(&address), length) != 0)
            port = 0;
    }
    ~TSlowServer()
    {
        closesocket(blocker);
        closesocket(listener);
    }
    int Port() const { return port; }
    // Takes the connection that fills the queue away, then accepts the one that was kept waiting.
    std::unique_ptr<TLineSocket> Accept()
    {
        closesocket(accept(listener, nullptr, nullptr));
        if (!PumpMessagesUntil([&] { return IsReadable(listener); }, 15000))
            return nullptr;
        return std::make_unique<TLineSocket>(accept(listener, nullptr, nullptr));
    }

private:
    SOCKET listener = INVALID_SOCKET;
    SOCKET blocker = INVALID_SOCKET;
    int port = 0;
};

class UnitConnectingTest : public TUnitTest {
protected:
    // The lines of the session once it logged in and a round trip came back, so nothing the unit
    // was asked for before is still to come; skip: the bytes of a proxy request in front.
    Lines LinesAfterLogin(TLineSocket& peer, size_t skip = 0)
    {
        if (!WelcomeOn(&peer) || !RoundTrip(*unit, peer))
            return {"no login"};
        Lines lines;
        std::string text = peer.Received().substr(skip);
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
};

struct TEarlyCommand {
    const char* name;
    std::function<void(TIRCUnit&, TPreference&)> give;
};

const TEarlyCommand kEarlyCommands[] = {
    {"typed join", [](TIRCUnit& unit, TPreference&) { unit.ExecuteCommand(L"join #early", false); }},
    {"typed nick", [](TIRCUnit& unit, TPreference&) { unit.ExecuteCommand(L"nick early", false); }},
    {"a script's message", [](TIRCUnit& unit, TPreference&) { unit.ExecuteCommand(L"msg peer early", true); }},
    {"own address asked of oneself",
     [](TIRCUnit& unit, TPreference& preference) {
         preference.IPResolveMethod = 2;
         unit.ApplyPreferences();
     }},
};

// The registration comes first and alone: nothing given before the connect was kept for it.
void ExpectOnlyTheSession(const Lines& lines, const std::string& name)
{
    ASSERT_GE(lines.size(), 3u) << name;
    EXPECT_EQ(lines[0], "NICK kvnick") << name;
    EXPECT_EQ(lines[1].rfind("USER kvuser ", 0), 0u) << name;
    int addressQueries = 0;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("early"), std::string::npos) << name << ": " << line;
        addressQueries += line.find("GETADDRESS") != std::string::npos;
    }
    // The login asks once by itself when the method is 2.
    EXPECT_LE(addressQueries, 1) << name;
}

TEST_F(UnitConnectingTest, ACommandDuringTheLookupOrASlowConnectLeavesTheAttemptToRegister)
{
    for (bool lookup : {true, false}) {
        for (const TEarlyCommand& command : kEarlyCommands) {
            std::string name = std::string(lookup ? "during the lookup: " : "during the connect: ") + command.name;
            SCOPED_TRACE(name);
            preference.IPResolveMethod = 1;
            TSlowServer server;
            ASSERT_GT(server.Port(), 0);
            // A name is looked up by a request answered later; an address is connected to at once.
            settings.Hostname = lookup ? L"localhost" : L"127.0.0.1";
            settings.Port = server.Port();
            MakeUnit();
            recorder.views.clear();
            unit->Connect();
            ASSERT_EQ(unit->GetConnection().transport.client.HasSocket(), !lookup);
            command.give(*unit, preference);
            EXPECT_EQ(unit->GetState(), TIRCUnit::StateConnecting);
            if (unit->GetState() != TIRCUnit::StateConnecting)
                continue;
            if (!lookup) {
                // What has come so far is handled: the server keeps the connect waiting.
                PumpPendingMessages();
                EXPECT_EQ(unit->GetState(), TIRCUnit::StateConnecting) << "the server took the connection at once";
            }

            std::unique_ptr<TLineSocket> peer = server.Accept();
            ASSERT_NE(peer, nullptr);
            ExpectOnlyTheSession(LinesAfterLogin(*peer), name);
            EXPECT_FALSE(ServerLogShows("切断")) << "the attempt was ended";
            unit->CloseByUser();
        }
    }
}

struct TQuitRoad {
    const char* name;
    std::function<void(TIRCUnit&)> quit;
};

const TQuitRoad kQuitRoads[] = {
    {"typed quit", [](TIRCUnit& unit) { unit.ExecuteCommand(L"quit bye", false); }},
    {"a script's quit", [](TIRCUnit& unit) { unit.ExecuteCommand(L"quit bye", true); }},
    {"the default quit of the menu and the tree", [](TIRCUnit& unit) { unit.QuitDefault(false); }},
};

// Where the QUIT cannot go yet the attempt ends at once, as the user's disconnect ends it; once
// the server has the connection the QUIT goes and the unit waits for the server to close.
TEST_F(UnitConnectingTest, AQuitBeforeTheServerHasTheConnectionEndsTheAttemptAtOnce)
{
    settings.QuitMessage = L"bye";
    for (const TQuitRoad& road : kQuitRoads) {
        SCOPED_TRACE(road.name);
        TSlowServer server;
        ASSERT_GT(server.Port(), 0);
        settings.Port = server.Port();
        MakeUnit();
        recorder.views.clear();
        unit->Connect();
        ASSERT_EQ(unit->GetState(), TIRCUnit::StateConnecting);
        road.quit(*unit);
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
        EXPECT_FALSE(unit->GetConnection().IsActive());
        EXPECT_FALSE(unit->GetSession().reconnectArmed);
        EXPECT_FALSE(unit->GetSession().quitSent) << "a wait would cut the next connection";
        EXPECT_TRUE(ServerLogShows("切断しました"));

        MakeUnit();
        StartOffline();
        TakeQueued();
        road.quit(*unit);
        EXPECT_EQ(TakeQueued(), Lines{"QUIT :bye"});
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateRegistering);
        EXPECT_TRUE(unit->GetSession().quitSent);
    }
}

TEST_F(UnitConnectingTest, ACommandWhileTheProxyAnswersWaitsForNothingAndGoesNowhere)
{
    for (const TEarlyCommand& command : kEarlyCommands) {
        SCOPED_TRACE(command.name);
        preference.IPResolveMethod = 1;
        TScriptedServer proxy;
        ThroughSocks4(proxy.Port());
        MakeUnit();
        unit->Connect();
        TLineSocket* peer = proxy.WaitClient();
        ASSERT_NE(peer, nullptr);
        // The SOCKS4 request: 8 bytes, the user id, a NUL.
        const size_t request = 8 + 6 + 1;
        ASSERT_TRUE(PumpMessagesUntil([&] { return peer->Received().size() >= request; }, 5000));
        command.give(*unit, preference);
        EXPECT_EQ(unit->GetState(), TIRCUnit::StateConnecting);
        peer->Send(std::string("\0\x5a\0\0\0\0\0\0", 8));
        ExpectOnlyTheSession(LinesAfterLogin(*peer, request), command.name);
        unit->CloseByUser();
    }
}

} // namespace
