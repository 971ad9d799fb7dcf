// The channels a lost link brings back: those joined and those whose JOIN of the login the server
// had not answered yet, but never one the user left on purpose or joined by hand.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

namespace {

using Lines = std::vector<std::string>;

class LostLinkRejoinTest : public TUnitTest {
protected:
    void AddAutoJoin(const wchar_t* name, const wchar_t* key = L"")
    {
        TChannelConfig config;
        config.Name = name;
        config.Password = key;
        unit->AddChannel(config, TIRCChannel::KindChannel);
    }
    using TJoins = std::vector<std::pair<const wchar_t*, const wchar_t*>>;
    // A unit with these auto-join channels (name, key), connected to the server and, unless told
    // not to, welcomed; null when it did not get there.
    TLineSocket* WelcomedWith(TScriptedServer& server, const TJoins& joins, bool welcome = true)
    {
        preference.ReconnectTime = 1;
        preference.ForceAutoJoin = false;
        settings.Port = server.Port();
        MakeUnit();
        for (const auto& channel : joins)
            AddAutoJoin(channel.first, channel.second);
        unit->Connect();
        TLineSocket* peer = server.WaitClient();
        return !welcome || WelcomeOn(peer) ? peer : nullptr;
    }
    // The server log's reports of a login, over every link so far.
    int Logins()
    {
        int logins = 0;
        for (const std::string& line : recorder.ViewTexts(nullptr))
            logins += line.find("ログインしました") != std::string::npos;
        return logins;
    }
    // The next connection of the reconnect, logged in; the JOIN lines it was sent.
    Lines JoinsOfReconnect(TScriptedServer& server, int count, TLineSocket*& peer)
    {
        if (!WaitDisconnected())
            return {"still connected"};
        peer = TickToReconnect(*unit, server, count);
        if (!WelcomeOn(peer) || !RoundTrip(*unit, *peer))
            return {"no login"};
        return peer->LinesStartingWith("JOIN");
    }
};

TEST_F(LostLinkRejoinTest, ChannelsStillWaitingForTheirJoinSurviveDropsAfterTheWelcome)
{
    TScriptedServer server;
    TLineSocket* peer = WelcomedWith(server, {{L"#a", L""}, {L"#b", L""}, {L"#k", L"sesame"}, {L"#left", L""}});
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(peer->WaitFor("JOIN #k,#left sesame"));
    // Only #a is answered before the link drops; #left the user leaves meanwhile.
    peer->Send(":kvnick!kvuser@my.host JOIN :#a\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->FindChannel(L"#a")->IsJoined(); }, kWaitBoundMs));
    unit->ExecuteCommand(L"part #left", false);
    ASSERT_TRUE(peer->WaitFor("PART #left"));
    peer->Close();

    const Lines rejoin = {"JOIN #a,#b", "JOIN #k sesame"};
    EXPECT_EQ(JoinsOfReconnect(server, 2, peer), rejoin);
    // Closed again right behind the JOINs, none of them answered.
    peer->Close();
    EXPECT_EQ(JoinsOfReconnect(server, 3, peer), rejoin);

    // Refused or joined, a channel is no longer waited for; the joined one comes back as joined.
    peer->Send(":kvnick!kvuser@my.host JOIN :#a\r\n");
    peer->Send(":irc.example 474 kvnick #b :Cannot join channel (+b)\r\n");
    peer->Send(":irc.example 475 kvnick #k :Cannot join channel (+k)\r\n");
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return !recorder.protocol.empty() && recorder.protocol.back().find(" 475 ") != std::string::npos; },
        kWaitBoundMs));
    peer->Close();
    EXPECT_EQ(JoinsOfReconnect(server, 4, peer), Lines{"JOIN #a"});
}

// A server that resets the link right behind its welcome fails the login's first line: the
// channels of the session before, joined by hand, still wait for the next login.
TEST_F(LostLinkRejoinTest, ALinkLostBeforeTheLoginTookTheRejoinListKeepsIt)
{
    settings.LoginCommands = {L"MODE kvnick +i"};
    TScriptedServer server;
    TLineSocket* peer = WelcomedWith(server, {});
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(peer->WaitFor("MODE kvnick +i"));
    unit->ExecuteCommand(L"join #hand", false);
    ASSERT_TRUE(peer->WaitFor("JOIN #hand"));
    peer->Send(":kvnick!kvuser@my.host JOIN :#hand\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->FindChannel(L"#hand") != nullptr; }, kWaitBoundMs));
    peer->Close();

    ASSERT_TRUE(WaitDisconnected());
    peer = TickToReconnect(*unit, server, 2);
    ASSERT_TRUE(peer && peer->WaitFor("USER "));
    peer->Send(":irc.example 001 kvnick :Welcome back\r\n");
    peer->Reset();
    EXPECT_EQ(JoinsOfReconnect(server, 3, peer), Lines{"JOIN #hand"});
    EXPECT_EQ(Logins(), 3) << "the reset link got as far as the login";
}

// The same reset on a first connection: nothing was joined yet, so the next login still joins
// the auto-join channels.
TEST_F(LostLinkRejoinTest, AFirstLoginLostBeforeItsJoinsLeavesTheAutoJoinToTheNext)
{
    settings.LoginCommands = {L"MODE kvnick +i"};
    TScriptedServer server;
    TLineSocket* peer = WelcomedWith(server, {{L"#auto", L""}}, false);
    ASSERT_TRUE(peer && peer->WaitFor("USER "));
    peer->Send(":irc.example 001 kvnick :Welcome\r\n");
    peer->Reset();
    EXPECT_EQ(JoinsOfReconnect(server, 2, peer), Lines{"JOIN #auto"});
    EXPECT_EQ(Logins(), 2) << "the reset link got as far as the login";
}

// Over a real link too, a JOIN the user typed is not kept, and a channel the server forwarded
// comes back under its new name (the unit table has every kind of answer).
TEST_F(LostLinkRejoinTest, JoinsTheUserTypedOrTheServerAnsweredAreNotRejoined)
{
    TScriptedServer server;
    TLineSocket* peer = WelcomedWith(server, {{L"#b", L""}, {L"#c", L""}});
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(peer->WaitFor("JOIN #b,#c"));
    unit->ExecuteCommand(L"join #typed", false);
    ASSERT_TRUE(peer->WaitFor("JOIN #typed"));
    peer->Send(":irc.example 470 kvnick #b #b-overflow :Forwarding to another channel\r\n"
               ":kvnick!kvuser@my.host JOIN :#b-overflow\r\nPING :answered\r\n");
    ASSERT_TRUE(peer->WaitFor("PONG :answered"));
    peer->Close();

    EXPECT_EQ(JoinsOfReconnect(server, 2, peer), Lines{"JOIN #b-overflow,#c"});
}

} // namespace
