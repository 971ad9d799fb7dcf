// Lines a broken or hostile server may send: every command word and numeric with missing, empty,
// overlong and binary fields, then a seeded stream of random lines. Nothing may crash or hang,
// and whatever the unit answers must still be a valid line.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

#include <random>

namespace {

using Lines = std::vector<std::string>;

const char* const kWords[] = {"PRIVMSG", "JOIN", "QUIT",   "PART",  "MODE",    "NICK", "PING", "TOPIC",
                              "NOTICE",  "KICK", "INVITE", "ERROR", "WALLOPS", "KILL", "001",  "376",
                              "422",     "005",  "433",    "353",   "000",     "999",  "0001", "4294967296"};

const char* const kPrefixes[] = {"", ":", ":irc.example ", ":kvnick!kvuser@host ", ":!@ ", ":a!b ", ":@@@ "};

std::vector<std::string> HostileParams()
{
    return {
        "",
        " ",
        ":",
        "::",
        "#",
        "#chan",
        "kvnick",
        std::string(600, 'x'),
        ":" + std::string(2000, '\x01'),
        std::string("\x1b$B\x1b$B\x1b", 7),
        "\xff\xfe\xfd",
        "\xe3\x81",
        "-2147483648",
        "99999999999999999999",
        "+ooooooooooooooooooooovvvvvvvvvvvvvvvvvvvvv",
        std::string("a\rb"),
    };
}

class HostileServerTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        settings.Codepage = 50221;
        MakeUnit();
        AddChannel(L"#chan");
        AddChannel(L"kvnick", TIRCChannel::KindTalk);
        WelcomeOffline();
    }

    // Every answer is a line the server can take: within 510 bytes and no line break inside.
    void CheckAnswers(const std::string& after)
    {
        for (const std::string& line : TakeQueued()) {
            ASSERT_LE(line.size(), 510u) << after;
            ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << after;
        }
        int state = unit->GetState();
        ASSERT_TRUE(state >= 0 && state <= 3) << after;
        // Stay logged in, so the next line meets a full session again.
        if (state != TIRCUnit::StateLoggedIn) {
            WelcomeOffline();
            TakeQueued();
        }
    }
};

TEST_F(HostileServerTest, EveryWordWithMissingEmptyOverlongAndBinaryFields)
{
    std::vector<std::string> params = HostileParams();
    for (const char* prefix : kPrefixes)
        for (const char* word : kWords) {
            std::string bare = std::string(prefix) + word;
            Feed(bare);
            CheckAnswers(bare);
            for (const std::string& a : params)
                for (const std::string& b : {std::string(), std::string("#chan"), std::string(":") + a}) {
                    std::string line = bare + " " + a + (b.empty() ? "" : " " + b);
                    Feed(line);
                    CheckAnswers(line);
                }
        }
}

TEST_F(HostileServerTest, HundredThousandSeededRandomLines)
{
    std::mt19937 random(20261207);
    std::vector<std::string> params = HostileParams();
    auto pick = [&random](size_t count) { return (size_t)(random() % count); };
    for (int n = 0; n < 100000; n++) {
        std::string line = kPrefixes[pick(std::size(kPrefixes))];
        line += kWords[pick(std::size(kWords))];
        for (size_t i = 0, count = pick(18); i < count; i++) {
            line += ' ';
            switch (pick(3)) {
            case 0:
                line += params[pick(params.size())];
                break;
            case 1:
                for (size_t j = 0, length = pick(40); j < length; j++)
                    line += (char)(1 + pick(255));
                break;
            default:
                line += i + 1 == count ? ":" : "";
                line += "#chan";
            }
        }
        // The connection never hands over the bytes that end a line.
        for (char& c : line)
            if (c == '\n' || c == '\0')
                c = ' ';
        Feed(line);
        if (n % 64 == 0)
            CheckAnswers(line);
    }
    CheckAnswers("end");
}

TEST_F(HostileServerTest, JunkOverTheSocketEndsOnlyInADisconnect)
{
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, false);
    ASSERT_NE(peer, nullptr);
    std::string junk(":irc.example 001 kvnick :hi\r\n");
    for (int i = 0; i < 256; i++)
        junk += std::string(1, (char)i) + "\r\n\r\n\n";
    junk += "PING " + std::string(5000, 'p') + "\r\n";
    peer->Send(junk);
    ASSERT_TRUE(peer->WaitFor("PONG :ppp"));
    for (const std::string& line : peer->Lines())
        EXPECT_LE(line.size(), 510u);
    // A line that never ends fills the receive buffer: the transport gives up, the unit survives.
    std::string endless(256 * 1024, 'z');
    for (int i = 0; i < 5 && unit->GetState() != TIRCUnit::StateDisconnected; i++)
        peer->Send(endless);
    EXPECT_TRUE(WaitDisconnected());
}

} // namespace
