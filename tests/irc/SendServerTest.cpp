// The sending side against ngircd with a second client: CTCP answers as they arrive at the
// asker, the rate rule on the wire, DCC offers reaching the DCC side, and long typed Japanese.

#include "tests/irc/SendSideSupport.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

namespace {

class SendServerTest : public TSendSideTest {
protected:
    // The unit as kvsend<suffix> in channel, and a second client kvask<suffix> with it.
    bool Start(int port, const std::string& suffix, const CString& channel)
    {
        settings.Nick = L"kvsend" + CString(Wide(suffix).c_str());
        settings.Port = port;
        MakeUnit();
        unit->SetSendScripts(&send);
        unit->SetDccManager(&send);
        unit->SetFrame(&send);
        AddChannel(channel);
        unit->Connect();
        if (!PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateLoggedIn; }, 15000) ||
            !PumpMessagesUntil([&] { return unit->FindChannel(channel)->IsJoined(); }, 10000))
            return false;
        asker = ConnectIrcClient(port, "kvask" + suffix);
        return asker && (asker->Send("JOIN " + Narrow(channel) + "\r\n"), asker->WaitFor(" 366 "));
    }
    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
    // Lines the asker got that contain the text.
    size_t Count(const std::string& text)
    {
        size_t n = 0;
        for (const std::string& line : asker->Lines())
            n += line.find(text) != std::string::npos;
        return n;
    }
    bool WaitDcc(size_t count)
    {
        return PumpMessagesUntil([&] { return send.dcc.size() >= count; }, 10000);
    }

    std::unique_ptr<TLineSocket> asker;
};

} // namespace

TEST_F(SendServerTest, CtcpQueriesAreAnsweredExactlyAndRateLimited)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    settings.UserInfo = L"kv user info";
    preference.EnableCtcpSequenceLimit = false;
    ASSERT_TRUE(Start(port, "1", L"#kv-ctcp"));
    const struct {
        const char* query;
        const char* answer;
    } cases[] = {
        {"VERSION", "NOTICE kvask1 :\1VERSION Ketroval 2.40 (Win32)\1"},
        {"PING 424242", "NOTICE kvask1 :\1PING 424242\1"},
        {"CLIENTINFO", "NOTICE kvask1 :\1CLIENTINFO DCC VERSION CLIENTINFO USERINFO PING TIME\1"},
        {"USERINFO", "NOTICE kvask1 :\1USERINFO kv user info\1"},
        {"TIME", "NOTICE kvask1 :\1TIME "},
    };
    for (const auto& c : cases) {
        asker->Send(std::string("PRIVMSG #kv-ctcp :\1") + c.query + "\1\r\n");
        EXPECT_TRUE(asker->WaitFor(c.answer)) << c.query;
    }
    for (const std::string& line : asker->Lines()) {
        if (line.find("TIME ") != std::string::npos) {
            EXPECT_EQ(line.size(), line.find("TIME ") + 5 + 24 + 1) << line; // 24 characters, then \1
        }
    }

    preference.EnableCtcpSequenceLimit = true;
    unit->GetSession().lastCtcpTime = 0;
    for (int i = 0; i < 3; i++)
        asker->Send("PRIVMSG kvsend1 :\1PING rate" + std::to_string(i) + "\1\r\n");
    // A plain line after them marks the moment every answer would have come.
    asker->Send("PRIVMSG #kv-ctcp :done\r\n");
    ASSERT_TRUE(asker->WaitFor("PING rate0"));
    PumpMessagesFor(1500);
    EXPECT_EQ(Count("PING rate"), 1u);
    unit->CloseByUser();
}

TEST_F(SendServerTest, DccOffersReachTheDccSideWithCheckedValues)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    preference.DCCReceiveAction = 1;
    preference.DCCChatAction = 1;
    ASSERT_TRUE(Start(port, "2", L"#kv-dcc"));
    asker->Send("PRIVMSG kvsend2 :\1DCC SEND \"../../my file.txt\" 2130706433 5000 8589934592\1\r\n");
    asker->Send("PRIVMSG kvsend2 :\1DCC SEND evil.txt 2130706433 70000 10\1\r\n");
    asker->Send("PRIVMSG kvsend2 :\1DCC CHAT chat 2130706433 4000\1\r\n");
    ASSERT_TRUE(WaitDcc(3));
    PumpMessagesFor(300);
    // The name as offered: the receive item makes it one for the disk.
    EXPECT_EQ(send.dcc, (std::vector<std::string>{"receive 0 ask kvask2 ../../my file.txt 5000 8589934592 127.0.0.1",
                                                  "window", "chat ask kvask2 127.0.0.1 4000"}));
    unit->CloseByUser();
}

TEST_F(SendServerTest, LongTypedJapaneseArrivesWholeInJisAndUtf8)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    const CString piece = L"\x65E5\x672C\x8A9E\x306E\x30C6\x30B9\x30C8\x3002";
    int n = 3;
    for (int codePage : {50221, CP_UTF8}) {
        std::string suffix = std::to_string(n++);
        CString channel = L"#kv-jp" + CString(Wide(suffix).c_str());
        settings.Codepage = codePage;
        ASSERT_TRUE(Start(port, suffix, channel));
        CString text;
        for (int i = 0; i < 40; i++)
            text += piece;
        ASSERT_TRUE(unit->SendInput(unit->FindChannel(channel), text, false, false, true));
        std::string head = "PRIVMSG " + Narrow(channel) + " :";
        CString received;
        PumpMessagesUntil(
            [&] {
                received.Empty();
                for (const std::string& line : asker->Lines()) {
                    size_t at = line.find(head);
                    if (at == std::string::npos)
                        continue;
                    EXPECT_LE(line.size(), 510u);
                    CStringA bytes(line.c_str() + at + head.size(), (int)(line.size() - at - head.size()));
                    received += codePage == 50221 ? DecodeIso2022Jp(bytes) : ConvertFromUtf8(bytes);
                }
                return received.GetLength() >= text.GetLength();
            },
            40000); // flood control keeps long lines in its byte window for many ticks
        EXPECT_EQ(received, text) << codePage;
        EXPECT_GE(Count(head), 2u) << codePage;
        unit->CloseByUser();
        asker.reset();
    }
}
