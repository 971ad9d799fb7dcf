// The received side against ngircd: a second client joins, parts, quits, changes its nick,
// gives modes, kicks, sets topics and invites, and the unit's channels and members follow.

#include "tests/common/MessagePump.h"
#include "tests/common/StringPrinter.h"
#include "tests/irc/ReceiveTestSupport.h"
#include "tests/net/NetTestSupport.h"

namespace {

class ReceiveServerTest : public TReceiveTest {
protected:
    bool Until(const std::function<bool()>& done) { return PumpMessagesUntil(done, 10000); }
    // The unit logged in on ngircd and joined to the channel, which it made and so operates.
    bool Start(int port, const wchar_t* nick, const wchar_t* channel)
    {
        settings.Nick = nick;
        settings.Port = port;
        settings.Codepage = CP_UTF8;
        MakeUnit();
        unit->SetChannelWindows(&windows);
        TChannelConfig config;
        config.Name = channel;
        config.Mode = L"";
        unit->AddChannel(config, TIRCChannel::KindChannel);
        unit->Connect();
        return Until([&] {
            TIRCChannel* c = Channel(channel);
            return unit->GetState() == TIRCUnit::StateLoggedIn && c && c->IsJoined() && c->namesComplete;
        });
    }
    bool Has(const wchar_t* channel, const wchar_t* nick)
    {
        return Until([&] { return Member(channel, nick) != nullptr; });
    }
};

TEST_F(ReceiveServerTest, ChannelsAndMembersFollowASecondClient)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    preference.RejoinOnKick = true;
    preference.InviteAction = 2;
    ASSERT_TRUE(Start(port, L"kvrecv", L"#kv-recv"));
    TIRCChannel* channel = Channel(L"#kv-recv");
    EXPECT_TRUE(channel->op) << "the channel's maker operates it";
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(port, "kvpeer");
    ASSERT_NE(peer, nullptr);

    peer->Send("JOIN #kv-recv\r\n");
    ASSERT_TRUE(Has(L"#kv-recv", L"kvpeer"));
    EXPECT_EQ(Member(L"#kv-recv", L"kvpeer")->user.IsEmpty(), false);

    unit->SendCommand(L"MODE", L"#kv-recv", L"+ov kvpeer kvpeer", 7, 0);
    ASSERT_TRUE(Until([&] { return Member(L"#kv-recv", L"kvpeer")->v; }));
    EXPECT_TRUE(Member(L"#kv-recv", L"kvpeer")->o);

    peer->Send("NICK kvpeer2\r\n");
    ASSERT_TRUE(Has(L"#kv-recv", L"kvpeer2"));
    EXPECT_EQ(Member(L"#kv-recv", L"kvpeer"), nullptr);

    peer->Send("TOPIC #kv-recv :set by the peer\r\n");
    ASSERT_TRUE(Until([&] { return channel->topic == L"set by the peer"; }));

    channel->ShowMaskList(TIRCChannel::BanList);
    peer->Send("MODE #kv-recv +b bad!*@*\r\n");
    ASSERT_TRUE(Until([&] { return !windows.lists.empty() && windows.lists[0]->masks.size() == 1; }));
    peer->Send("MODE #kv-recv -o kvrecv\r\n");
    ASSERT_TRUE(Until([&] { return !channel->op; }));

    peer->Send("KICK #kv-recv kvrecv :out\r\n");
    // The rejoin may be back before a look in between; the kick's status line stays.
    ASSERT_TRUE(Until([&] {
        for (const std::string& text : recorder.ViewTexts(channel))
            if (text.find(Narrow(L"チャンネルから追い出されました")) != std::string::npos)
                return true;
        return false;
    }));
    ASSERT_TRUE(Until([&] { return channel->IsJoined() && channel->namesComplete; })) << "rejoined after the kick";
    EXPECT_TRUE(Has(L"#kv-recv", L"kvpeer2"));

    peer->Send("JOIN #kv-invite\r\nMODE #kv-invite +i\r\nINVITE kvrecv #kv-invite\r\n");
    ASSERT_TRUE(Until([&] { return Channel(L"#kv-invite") && Channel(L"#kv-invite")->IsJoined(); }));
    ASSERT_TRUE(Has(L"#kv-invite", L"kvpeer2"));

    peer->Send("PART #kv-invite :bye\r\n");
    ASSERT_TRUE(Until([&] { return Member(L"#kv-invite", L"kvpeer2") == nullptr; }));
    unit->SendCommand(L"NICK", L"kvrecv2", L"", 2, 0);
    ASSERT_TRUE(Until([&] { return unit->GetSession().currentNick == L"kvrecv2"; }));
    EXPECT_NE(Member(L"#kv-recv", L"kvrecv2"), nullptr);
    peer->Send("QUIT :done\r\n");
    ASSERT_TRUE(Until([&] { return Member(L"#kv-recv", L"kvpeer2") == nullptr; }));
    EXPECT_EQ(Nicks(L"#kv-recv"), (NickList{L"kvrecv2"}));
    unit->CloseByUser();
}

TEST_F(ReceiveServerTest, NicksInUseClimbTheLadder)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    std::unique_ptr<TLineSocket> holder = ConnectIrcClient(port, "kvtaken");
    std::unique_ptr<TLineSocket> holder2 = ConnectIrcClient(port, "kvalt1");
    ASSERT_TRUE(holder && holder2);
    settings.AltNicks = L"kvalt1 kvalt2";
    settings.SetAltNicks(settings.AltNicks);
    ASSERT_TRUE(Start(port, L"kvtaken", L"#kv-ladder"));
    EXPECT_EQ(unit->GetSession().currentNick, L"kvalt2");
    unit->CloseByUser();

    settings.AltNicks = L"";
    settings.SetAltNicks(settings.AltNicks);
    preference.NickPolicy = 0;
    ASSERT_TRUE(Start(port, L"kvtaken", L"#kv-ladder"));
    EXPECT_EQ(unit->GetSession().currentNick, L"kvtaken_");
    unit->CloseByUser();
}

} // namespace
