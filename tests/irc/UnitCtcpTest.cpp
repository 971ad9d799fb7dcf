// CTCP queries and DCC offers as they arrive from the network: the exact answers, the rate rule,
// what reaches the DCC side, and a stream of hostile lines that must not make the client a
// reflector or hand it values it cannot use.

#include "tests/irc/SendSideSupport.h"

#include "dcc/DCCReceiveItem.h"
#include "foundation/SafeFileName.h"
#include "irc/DccOffer.h"
#include "tests/common/MessagePump.h"

#include <algorithm>
#include <random>

namespace {

using Lines = std::vector<std::string>;

class UnitCtcpTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        TSendSideTest::SetUp();
        settings.UserInfo = L"I am <bold>bold<bold>";
        LogIn();
    }
    bool LastShownContains(const std::string& text)
    {
        std::vector<std::string> shown = recorder.ViewTexts(nullptr);
        return !shown.empty() && shown.back().find(text) != std::string::npos;
    }
    bool LastShownEndsWith(const std::string& tail)
    {
        std::vector<std::string> shown = recorder.ViewTexts(nullptr);
        return !shown.empty() && shown.back().size() >= tail.size() &&
               shown.back().compare(shown.back().size() - tail.size(), tail.size(), tail) == 0;
    }
    // One query from peer!u@h.example, answered or not; the rate rule starts afresh.
    Lines Query(const std::string& target, const std::string& text)
    {
        unit->GetSession().lastCtcpTime = 0;
        Feed(":peer!u@h.example PRIVMSG " + target + " :" + text);
        return TakeQueued();
    }
};

bool IsSafeWireLine(const std::string& line)
{
    return line.size() <= 510 && line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

} // namespace

TEST_F(UnitCtcpTest, KnownQueriesAreAnsweredToTheSenderExactly)
{
    const struct {
        const char* target;
        const char* text;
        Lines answer;
    } cases[] = {
        {"#chan", "\1VERSION\1 trailing", {"NOTICE peer :\1VERSION Ketroval 2.40 (Win32)\1"}},
        {"kvnick", "\1version", {"NOTICE peer :\1VERSION Ketroval 2.40 (Win32)\1"}},
        {"kvnick", "\1PING 12345", {"NOTICE peer :\1PING 12345\1"}},
        {"kvnick", "\1PING\1", {"NOTICE peer :\1PING \1"}},
        {"kvnick", "\1CLIENTINFO\1", {"NOTICE peer :\1CLIENTINFO DCC VERSION CLIENTINFO USERINFO PING TIME\1"}},
        {"kvnick", "\1USERINFO\1", {"NOTICE peer :\1USERINFO I am \2bold\2\1"}},
        {"kvnick", "\1FINGER\1", {}},
        {"kvnick", "\1GETADDRESS\1", {}},
        {"kvnick", "hello \1VERSION\1", {}},
        {"kvnick", "\1DCC XMIT x\1", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Query(c.target, c.text), c.answer) << c.text;

    Lines time = Query("kvnick", "\1TIME\1");
    ASSERT_EQ(time.size(), 1u);
    EXPECT_EQ(time[0].size(), std::string("NOTICE peer :\1TIME \1").size() + 24) << time[0];
    EXPECT_EQ(send.events.front(), "onCtcp #chan VERSION ");
}

TEST_F(UnitCtcpTest, OneAnswerInFiveSecondsAndIgnoredQueriesDoNotMoveTheClock)
{
    preference.EnableCtcpSequenceLimit = true;
    Feed(":peer!u@h PRIVMSG kvnick :\1VERSION\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1VERSION\1");
    Feed(":other!u@h PRIVMSG kvnick :\1PING 1\1");
    EXPECT_EQ(TakeQueued().size(), 1u);
    unit->GetSession().lastCtcpTime = GetTickCount() - 6000;
    Feed(":peer!u@h PRIVMSG kvnick :\1PING 2\1");
    EXPECT_EQ(TakeQueued(), Lines{"NOTICE peer :\1PING 2\1"});
    // Our own address query counts as an answered one.
    unit->GetSession().lastCtcpTime = GetTickCount() - 6000;
    Feed(":kvnick!u@h PRIVMSG kvnick :\1GETADDRESS\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1VERSION\1");
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_TRUE(LastShownEndsWith("(VERSION) from peer : ignored"));

    preference.IgnoreCtcp = true;
    unit->GetSession().lastCtcpTime = 0;
    Feed(":peer!u@h PRIVMSG kvnick :\1VERSION\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 2130706433 4000\1");
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_EQ(unit->GetSession().lastCtcpTime, 0u);
}

// Without the sequence limit an answer waits behind whatever the user sent, however long; only
// answers piling up under a flood of queries are cut, and the cut ones are shown as ignored.
TEST_F(UnitCtcpTest, AnswersWaitBehindTheUsersBacklogAndOnlyAFloodOfThemIsCut)
{
    preference.EnableCtcpSequenceLimit = false;
    TIRCChannel* room = AddJoined(L"#room");
    CString pasted;
    for (int i = 0; i < 30; i++)
        pasted.AppendFormat(L"pasted line %d\r\n", i);
    unit->SendTextLines(room, pasted, false);
    unit->SendCommand(L"WHO", L"#room", L"", 2, 0);
    Lines queued = Query("kvnick", "\1VERSION\1");
    ASSERT_EQ(queued.size(), 32u);
    EXPECT_EQ(queued.back(), "NOTICE peer :\1VERSION Ketroval 2.40 (Win32)\1");
    EXPECT_TRUE(LastShownEndsWith("(VERSION) from peer"));

    // A flood: the ninth answer and those after it are not queued behind the eight waiting.
    for (int i = 0; i < 20; i++)
        Feed(":n" + std::to_string(i) + "!u@h PRIVMSG kvnick :\1PING " + std::to_string(i) + "\1");
    Lines answers = TakeQueued();
    ASSERT_EQ(answers.size(), 8u);
    EXPECT_EQ(answers.front(), "NOTICE n0 :\1PING 0\1");
    EXPECT_EQ(answers.back(), "NOTICE n7 :\1PING 7\1");
    std::vector<std::string> shown = recorder.ViewTexts(nullptr);
    ASSERT_GE(shown.size(), 20u);
    std::vector<std::string> flood(shown.end() - 20, shown.end());
    for (size_t i = 0; i < flood.size(); i++) {
        std::string tail = "(PING) from n" + std::to_string(i) + (i < 8 ? "" : " : ignored");
        EXPECT_EQ(flood[i].substr(flood[i].size() - std::min(flood[i].size(), tail.size())), tail);
    }
    // Once they are sent, the next query is answered again.
    EXPECT_EQ(Query("kvnick", "\1PING x\1"), Lines{"NOTICE peer :\1PING x\1"});
}

TEST_F(UnitCtcpTest, OwnAddressQueryTakesUserAndHostFromOurselvesOnly)
{
    preference.EnableCtcpSequenceLimit = true;
    // A stranger's query just before ours must not hold our own one back.
    Feed(":stranger!evil@spoof PRIVMSG kvnick :\1GETADDRESS\1");
    EXPECT_EQ(unit->GetSession().host, L"host.example");
    Feed(":kvnick!realuser@real.host PRIVMSG kvnick :\1GETADDRESS\1");
    EXPECT_EQ(unit->GetSession().userName, L"realuser");
    EXPECT_EQ(unit->GetSession().host, L"real.host");
    // Scripts hear of both, as of every query that is not ignored.
    EXPECT_EQ(send.events, (Lines{"onCtcp kvnick GETADDRESS ", "onCtcp kvnick GETADDRESS "}));
}

TEST_F(UnitCtcpTest, TheOwnAddressFollowsTheLatestGetAddressReplyOrBecomesNone)
{
    // The reply's host waits for the address method that reads it.
    Feed(":kvnick!u@127.0.0.2 PRIVMSG kvnick :\1GETADDRESS\1");
    preference.IPResolveMethod = 2;
    unit->ApplyPreferences();
    EXPECT_EQ(TakeQueued(), Lines{}) << "the known host is resolved, not asked for again";
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->GetMyAddress().ToString() == L"127.0.0.2"; }, 5000));
    // A later reply whose host cannot be found leaves no address, not the old one.
    Feed(":kvnick!u@bad..host PRIVMSG kvnick :\1GETADDRESS\1");
    EXPECT_TRUE(unit->GetMyAddress().IsNone());
    PumpMessagesUntil([] { return false; }, 1500);
    EXPECT_TRUE(unit->GetMyAddress().IsNone());
}

TEST_F(UnitCtcpTest, RepliesAreShownAndReportedNeverAnswered)
{
    Feed(":peer!u@h NOTICE kvnick :\1VERSION :Other 1.0\1");
    Feed(":peer!u@h NOTICE kvnick :\1PING 123\1");
    Feed(":peer!u@h NOTICE kvnick :\1DCC SEND x 2130706433 5000 10\1");
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_EQ(send.dcc, Lines{});
    EXPECT_EQ(send.events, (Lines{"onCtcpReply kvnick VERSION :Other 1.0", "onCtcpReply kvnick PING 123",
                                  "onCtcpReply kvnick DCC SEND x 2130706433 5000 10"}));
}

// Every offer is shown and reported with the name as offered; an item is made only for values a
// real offer has, and making the name safe is the receive item's.
TEST_F(UnitCtcpTest, FileOffersAreReportedAsOfferedAndMakeItemsOnlyWhenChecked)
{
    preference.DCCReceiveAction = 2;
    preference.AutoReceiveNormal = true;
    preference.ViewDialogOnReceive = false;
    const struct {
        const char* offer;
        Lines dcc;
        const char* event;
    } cases[] = {
        {"\"my file.txt\" 3232235777 5000 1024",
         {"receive 0 auto peer my file.txt 5000 1024 192.168.1.1"},
         "my file.txt 1024 192.168.1.1 5000"},
        {"a_b.txt 3232235777 5000 8589934592 2 :a b.txt",
         {"receive 2 auto peer a b.txt 5000 8589934592 192.168.1.1"},
         "a b.txt 8589934592 192.168.1.1 5000"},
        {"dir/a?b.txt 3232235777 5000 10",
         {"receive 0 auto peer dir/a?b.txt 5000 10 192.168.1.1"},
         "dir/a?b.txt 10 192.168.1.1 5000"},
        {"CON 3232235777 5000 10", {"receive 0 auto peer CON 5000 10 192.168.1.1"}, "CON 10 192.168.1.1 5000"},
        {"x 3232235777 0 10", {}, "x 10 192.168.1.1 0"},
        {"x 3232235777 70000 10", {}, "x 10 192.168.1.1 70000"},
        // An address nobody answers on is the item's connect to fail and report.
        {"x 0 5000 10", {"receive 0 auto peer x 5000 10 0.0.0.0"}, "x 10 0.0.0.0 5000"},
        {"x 4294967295 5000 10", {"receive 0 auto peer x 5000 10 255.255.255.255"}, "x 10 255.255.255.255 5000"},
        {"x 3232235777 5000 99999999999999999999", {}, "x 9223372036854775807 192.168.1.1 5000"},
        // No size: shown, and then dropped without an event.
        {"x 3232235777 5000 0", {}, nullptr},
        {"x 3232235777 5000 -5", {}, nullptr},
    };
    for (const auto& c : cases) {
        send.dcc.clear();
        send.events.clear();
        size_t before = recorder.ViewTexts(nullptr).size();
        Feed(std::string(":peer!u@h PRIVMSG kvnick :\1DCC SEND ") + c.offer + "\1");
        EXPECT_EQ(send.dcc, c.dcc) << c.offer;
        EXPECT_EQ(send.events, c.event ? Lines{std::string("onDccSend ") + c.event} : Lines{}) << c.offer;
        std::string offered = c.offer[0] == '"' ? "my file.txt" : std::string(c.offer).substr(0, strcspn(c.offer, " "));
        if (strstr(c.offer, " 2 :"))
            offered = "a b.txt";
        // An offer with a size that is refused says so after the offer line.
        std::vector<std::string> shown = recorder.ViewTexts(nullptr);
        bool refused = c.dcc.empty() && c.event;
        ASSERT_EQ(shown.size(), before + (refused ? 2 : 1)) << c.offer;
        EXPECT_NE(shown[before].find("(SEND) from peer : " + offered + " "), std::string::npos) << c.offer;
        if (refused) {
            EXPECT_NE(shown.back().find("peer からの " + offered + " は、ポート番号かファイルサイズが扱えない値"),
                      std::string::npos)
                << shown.back();
        }
    }
    EXPECT_EQ(TakeQueued(), Lines{});

    // Ignoring offers makes no item, but the scripts still hear of every one, even a refused one.
    preference.DCCReceiveAction = 0;
    send.dcc.clear();
    send.events.clear();
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC SEND f 3232235777 5000 10\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC SEND f 3232235777 70000 10\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC SEND f 3232235777 5000 0\1");
    EXPECT_EQ(send.dcc, Lines{});
    EXPECT_EQ(send.events, (Lines{"onDccSend f 10 192.168.1.1 5000", "onDccSend f 10 192.168.1.1 70000",
                                  "onDccSend f 0 192.168.1.1 5000"}));
}

// Once the user has closed the program an offer is only shown: no sound, no item, no transfer
// window or request, no event.
TEST_F(UnitCtcpTest, OffersDuringTheQuitWaitAreShownAndGoNoFurther)
{
    preference.DCCReceiveAction = 2;
    preference.AutoReceiveNormal = true;
    preference.EnableDCCReceiveSound = true;
    preference.DCCReceiveSoundFile = L"file.wav";
    preference.DCCChatAction = 1;
    preference.EnableDCCChatSound = true;
    preference.DCCChatSoundFile = L"chat.wav";
    send.dialogLimit = 2;
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "running");
        if (closing) {
            unit->Shutdown(false);
            ASSERT_TRUE(unit->GetSession().quitSent) << "the program waits for the server to close";
        }
        send.dcc.clear();
        send.events.clear();
        recorder.sounds.clear();
        Feed(":peer!u@h PRIVMSG kvnick :\1DCC SEND f.bin 2130706433 5000 10\1");
        EXPECT_TRUE(LastShownContains("(SEND) from peer : f.bin"));
        Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 2130706433 4000\1");
        EXPECT_TRUE(LastShownContains("(CHAT) from peer : 127.0.0.1:4000"));
        const Lines offered = {"receive 0 auto peer f.bin 5000 10 127.0.0.1", "window", "chat ask peer 127.0.0.1 4000"};
        EXPECT_EQ(send.dcc, closing ? Lines{} : offered);
        EXPECT_EQ(send.events.size(), closing ? 0u : 2u);
        EXPECT_EQ(recorder.sounds.size(), closing ? 0u : 2u);
    }
}

// Every chat offer is shown, sounded, asked about or taken, and reported, whatever its address and
// port; resume positions are checked against the file.
TEST_F(UnitCtcpTest, ChatOffersAreAllTakenAndResumePositionsAreChecked)
{
    preference.EnableDCCChatSound = true;
    preference.DCCChatSoundFile = L"chat.wav";
    preference.DCCChatAction = 1;
    send.dialogLimit = 2;
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 2130706433 4000\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 0 4000\1");
    preference.DCCChatAction = 2;
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 2130706433 4001\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 0 4002\1");
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC CHAT chat 2130706433 65536\1");
    EXPECT_EQ(send.dcc, (Lines{"chat ask peer 127.0.0.1 4000", "chat ask peer 0.0.0.0 4000"}));
    EXPECT_EQ(send.events, (Lines{"onDccChat 127.0.0.1 4000", "onDccChat 0.0.0.0 4000", "onDccChat 127.0.0.1 4001",
                                  "onDccChat 0.0.0.0 4002", "onDccChat 127.0.0.1 65536"}));
    EXPECT_EQ(recorder.sounds.size(), 5u);
    EXPECT_TRUE(LastShownContains("(CHAT) from peer : 127.0.0.1:65536"));
    // Each automatic offer made its talk, and so does the offer of 0.0.0.0 taken in its window.
    for (const wchar_t* name : {L"=peer", L"=peer0", L"=peer1"}) {
        TIRCChannel* talk = unit->FindChannel(name);
        ASSERT_TRUE(talk) << Narrow(name);
        EXPECT_EQ(talk->GetKind(), TIRCChannel::KindDccChat);
    }
    ASSERT_EQ(unit->GetDccChatDialogs().size(), 2u);
    IDCCChatRequest* unusable = unit->GetDccChatDialogs()[1];
    unit->OnDCCChatAccepted(unusable);
    unit->OnDCCChatDialogClosed(unusable);
    EXPECT_TRUE(unit->FindChannel(L"=peer2"));
    unit->OnDCCChatDialogClosed(unit->GetDccChatDialogs()[0]);

    // A RESUME the DCC side takes is answered with ACCEPT; which positions it takes is the items'
    // (the DCC unit tests).
    send.dcc.clear();
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC RESUME f.bin 5000 500\1");
    EXPECT_EQ(send.dcc, Lines{"resume peer 5000 500"});
    EXPECT_EQ(TakeQueued(), Lines{"PRIVMSG peer :\1DCC ACCEPT f.bin 5000 500\1"});
}

TEST_F(UnitCtcpTest, OwnOffersAreQueries)
{
    unit->SendDccChatOffer(L"peer", 4000);
    preference.ExtendedDCCProtocol = true;
    unit->SendDccSendOffer(L"peer", L"a b.txt", 5000, 8589934592LL);
    unit->SendDccResumeRequest(L"peer", L"a_b.txt", 5000, 100);
    EXPECT_EQ(TakeQueued(), (Lines{"PRIVMSG peer :\1DCC CHAT chat 4294967295 4000\1",
                                   "PRIVMSG peer :\1DCC SEND a_b.txt 4294967295 5000 8589934592 2 :a b.txt\1",
                                   "PRIVMSG peer :\1DCC RESUME a_b.txt 5000 100\1"}));
}

// Random CTCP and DCC lines from many senders: no crash, no hang, every queued line a single safe
// line, the queue bounded, and every value the DCC side sees within its checks.
TEST_F(UnitCtcpTest, HostileCtcpAndDccLinesMakeNoReflectorAndPassNoBadValues)
{
    preference.DCCReceiveAction = 2;
    preference.AutoReceiveNormal = true;

    send.fileSize = 1 << 20;
    std::mt19937 random(18);
    const char* const words[] = {
        "VERSION",       "PING",       "TIME",       "CLIENTINFO", "USERINFO",   "ACTION", "DCC SEND",
        "DCC CHAT chat", "DCC RESUME", "DCC ACCEPT", "DCC",        "GETADDRESS", "FINGER", ""};
    const char* const numbers[] = {"0",
                                   "1",
                                   "-1",
                                   "65535",
                                   "65536",
                                   "4294967295",
                                   "4294967296",
                                   "3232235777",
                                   "99999999999999999999999",
                                   "-9223372036854775808",
                                   "2130706433",
                                   "x",
                                   ""};
    const char* const names[] = {"a.txt", "..",  "\"a b\"", "\"unclosed", "CON.txt", "..\\..\\x",   "/etc/passwd",
                                 "a\rb",  "nul", "x. . ",   ":",          "\x01",    "\xe6\x97\xa5"};
    auto pick = [&random](const auto& list) { return list[random() % (sizeof(list) / sizeof(list[0]))]; };
    size_t maxQueued = 0, answered = 0;
    for (int i = 0; i < 100000; i++) {
        preference.EnableCtcpSequenceLimit = (i / 25000) % 2 == 0;
        // Chats are asked about as offered; in the last quarter they are taken at once, which
        // connects (a talk and a socket each, up to the unit's limit of talks).
        preference.DCCChatAction = i < 75000 ? DccOfferAsk : DccOfferAccept;
        std::string body = pick(words);
        // A chat taken at once really connects: its address stays on this machine, its port is hostile.
        if (preference.DCCChatAction == DccOfferAccept && body == "DCC CHAT chat")
            body += " 2130706433";
        for (int n = random() % 7; n > 0; n--)
            body += std::string(" ") + (random() % 3 ? pick(numbers) : pick(names));
        if (random() % 50 == 0)
            body += std::string(400 + random() % 300, 'p');
        std::string line = ":n" + std::to_string(random() % 100) + "!u@h PRIVMSG " +
                           (random() % 2 ? "kvnick" : "#chan") + " :\1" + body + (random() % 2 ? "\1" : "");
        Feed(line);
        maxQueued = std::max(maxQueued, unit->GetConnection().QueuedCount());
        if (unit->GetConnection().QueuedCount() > 8) {
            for (const std::string& sent : TakeQueued()) {
                ASSERT_TRUE(IsSafeWireLine(sent)) << sent.size() << " " << sent.substr(0, 60);
                answered++;
            }
        }
    }
    for (const std::string& sent : TakeQueued())
        ASSERT_TRUE(IsSafeWireLine(sent)) << sent;
    EXPECT_LE(maxQueued, 10u);
    EXPECT_GT(answered, 0u); // the stretches without the rate rule were answered
    EXPECT_FALSE(send.dcc.empty());
    for (int port : send.dccPorts)
        EXPECT_TRUE(port >= 1 && port <= 65535) << port;
    EXPECT_FALSE(send.chatPorts.empty()) << "chat offers asked about";
    // Chats taken at once opened their talks; what one at a port nobody can listen on tells there
    // is the chat tests' table.
    EXPECT_TRUE(std::any_of(unit->GetChannels().begin(), unit->GetChannels().end(), [](TIRCChannel* talk) {
        return talk->GetKind() == TIRCChannel::KindDccChat;
    })) << "chats taken at once";
    // Names arrive as offered; what a receive item makes of them is one name inside its folder.
    for (const CString& name : send.dccNames)
        EXPECT_TRUE(IsSafeFileNamePart(MakeSafeReceiveFileName(name))) << Narrow(name);
}
