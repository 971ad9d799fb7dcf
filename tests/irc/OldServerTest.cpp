// The unit against ircd-irc2, an older server than ngircd: it cuts long nicks to its NICKLEN of
// 15, sends its MOTD after 001, gives no op to the maker of a '#' channel while it counts itself
// split from its network, and knows '!' safe channels. A second client talks to the unit.

#include "tests/common/MessagePump.h"
#include "tests/irc/ReceiveTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>
#include <windows.h>

namespace {

class OldServerTest : public TReceiveTest {
protected:
    // The server holds a busy client's commands back by its own penalty: slow machines need room.
    static constexpr DWORD kBoundMs = 30000;
    bool Until(const std::function<bool()>& done) { return PumpMessagesUntil(done, kBoundMs); }
    // A unit on the old server with the given auto-join channels, logged in.
    bool LogInAs(int port, const wchar_t* nick, std::initializer_list<const wchar_t*> autoJoin)
    {
        settings.Nick = nick;
        settings.Port = port;
        settings.Codepage = CP_UTF8;
        MakeUnit();
        unit->SetChannelWindows(&windows);
        for (const wchar_t* name : autoJoin) {
            TChannelConfig config;
            config.Name = name;
            config.Mode = L"";
            unit->AddChannel(config, TIRCChannel::KindChannel);
        }
        unit->Connect();
        return Until([&] { return unit->GetState() == TIRCUnit::StateLoggedIn; });
    }
    bool Joined(const wchar_t* name)
    {
        return Until([&] {
            TIRCChannel* channel = Channel(name);
            return channel && channel->IsJoined() && channel->namesComplete;
        });
    }
    bool Has(const wchar_t* channel, const wchar_t* nick)
    {
        return Until([&] { return Member(channel, nick) != nullptr; });
    }
    bool Gone(const wchar_t* channel, const wchar_t* nick)
    {
        return Until([&] { return Member(channel, nick) == nullptr; });
    }
    bool ServerViewHolds(const std::string& text)
    {
        return Until([&] {
            for (const std::string& line : recorder.ViewTexts(nullptr))
                if (line.find(text) != std::string::npos)
                    return true;
            return false;
        });
    }
    bool SentLine(const std::string& line)
    {
        const std::vector<std::string>& lines = recorder.protocol;
        return std::find(lines.begin(), lines.end(), "> " + line) != lines.end();
    }
    std::string Protocol()
    {
        std::string text;
        for (const std::string& line : recorder.protocol)
            text += line + "\n";
        return text;
    }
};

TEST_F(OldServerTest, RegistersChatsChangesNickPartsAndQuits)
{
    REQUIRE_PEER_PORT(port, "IRC2_PORT");
    ASSERT_TRUE(LogInAs(port, L"kvoldservernick19", {L"#kv-old", L"#kv-old2"}));
    const TIRCUnitSession& session = unit->GetSession();
    EXPECT_EQ(Narrow(session.serverName), "irc2.test.local");
    EXPECT_EQ(Narrow(session.currentNick), "kvoldservernick") << "the nick as the welcome gives it";
    ASSERT_TRUE(ServerViewHolds("old test server")) << "the MOTD after the welcome is shown";
    EXPECT_EQ(recorder.scriptConnects, 1) << "376 after 001 logs in only once";
    EXPECT_EQ(session.capabilities.GetNickLength(), 15);
    EXPECT_TRUE(HistoryHolds("JOIN #kv-old,#kv-old2\r\n"));
    ASSERT_TRUE(Joined(L"#kv-old") && Joined(L"#kv-old2"));
    EXPECT_FALSE(Channel(L"#kv-old")->op) << "a split server gives the channel's maker no op";

    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(port, "kvoldpeer");
    ASSERT_NE(peer, nullptr);
    peer->Send("JOIN #kv-old,#kv-old2\r\n");
    ASSERT_TRUE(Has(L"#kv-old", L"kvoldpeer") && Has(L"#kv-old2", L"kvoldpeer"));
    peer->Send("PRIVMSG #kv-old :hello from the old server\r\n");
    EXPECT_TRUE(SawMacroEvent("PRIVMSG #kv-old hello from the old server", kBoundMs));
    peer->Send("NOTICE kvoldservernick :a notice\r\n");
    EXPECT_TRUE(SawMacroEvent("NOTICE kvoldservernick a notice", kBoundMs));

    peer->Send("NICK kvoldpeer2\r\n");
    ASSERT_TRUE(Has(L"#kv-old", L"kvoldpeer2") && Has(L"#kv-old2", L"kvoldpeer2"));
    EXPECT_EQ(Member(L"#kv-old", L"kvoldpeer"), nullptr);
    peer->Send("PART #kv-old :bye\r\n");
    ASSERT_TRUE(Gone(L"#kv-old", L"kvoldpeer2"));
    EXPECT_NE(Member(L"#kv-old2", L"kvoldpeer2"), nullptr);

    unit->SendCommand(L"NICK", L"kvold2", L"", 2, 0);
    ASSERT_TRUE(Until([&] { return session.currentNick == L"kvold2"; }));
    EXPECT_TRUE(peer->WaitFor(":kvoldservernick!"));
    EXPECT_NE(Member(L"#kv-old2", L"kvold2"), nullptr);
    unit->PartChannel(Channel(L"#kv-old"), L"leaving");
    ASSERT_TRUE(Until([&] { return !Channel(L"#kv-old")->IsJoined(); }));

    peer->Send("QUIT :gone\r\n");
    ASSERT_TRUE(Gone(L"#kv-old2", L"kvoldpeer2"));
    EXPECT_EQ(Nicks(L"#kv-old2"), (std::vector<CString>{L"kvold2"}));
    unit->SendQuit(L"done");
    ASSERT_TRUE(Until([&] { return unit->GetState() == TIRCUnit::StateDisconnected; }));
    EXPECT_TRUE(SentLine("QUIT :done"));
    EXPECT_FALSE(session.reconnectArmed);
}

TEST_F(OldServerTest, ASafeChannelIsMadeByItsShortNameAndItsModesFollowTheServersTables)
{
    REQUIRE_PEER_PORT(port, "IRC2_PORT");
    ASSERT_TRUE(LogInAs(port, L"kvsafe", {}));
    // Safe channels outlive their members on the server for a while: a fresh name per run.
    CString shortName = (L"!kvs" + std::to_wstring(GetTickCount() % 100000)).c_str();
    unit->SendJoin(shortName, CString());
    TIRCChannel* channel = nullptr;
    ASSERT_TRUE(Until([&] {
        channel = unit->LookupChannel(shortName);
        return channel && channel->IsJoined() && channel->namesComplete;
    })) << Protocol();
    EXPECT_TRUE(SentLine("JOIN !" + Narrow(shortName))) << "the 403 asks the server to make it";
    // The server names it by a five-character id after the '!'.
    std::string fullName = Narrow(channel->GetIRCName());
    ASSERT_EQ(fullName.size(), (size_t)shortName.GetLength() + 5);
    EXPECT_EQ(fullName.substr(6), Narrow(shortName).substr(1));
    EXPECT_TRUE(channel->op) << "the maker of a safe channel operates it";

    // R (a list) takes its mask before l and k take theirs; the server's echo ends in a blank.
    unit->SendCommand(L"MODE", channel->GetIRCName(), L"+Rlk *!*@reop.example 10 key", 2, 0);
    ASSERT_TRUE(Until([&] { return channel->mode.limit == 10; })) << Protocol();
    EXPECT_EQ(Narrow(channel->mode.key), "key");
    EXPECT_FALSE(channel->mode.reop);
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(port, "kvsafepeer");
    ASSERT_NE(peer, nullptr);
    peer->Send("JOIN " + fullName + " key\r\n");
    ASSERT_TRUE(Until([&] { return channel->FindMember(L"kvsafepeer") != nullptr; }));
    unit->SendCommand(L"MODE", channel->GetIRCName(), L"+v-l kvsafepeer", 2, 0);
    ASSERT_TRUE(Until([&] { return channel->FindMember(L"kvsafepeer")->v; })) << Protocol();
    EXPECT_EQ(channel->mode.limit, 0);
    EXPECT_FALSE(channel->FindMember(L"kvsafepeer")->o);
    unit->SendQuit(L"done");
    EXPECT_TRUE(Until([&] { return unit->GetState() == TIRCUnit::StateDisconnected; }));
}

} // namespace
