// Received lines reach their handlers and the macro engine; a session ends once and remembers
// what to rejoin.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"

namespace {

using Lines = std::vector<std::string>;

class UnitDispatchTest : public TUnitTest {
protected:
    // Logged in with #one joined and a talk open.
    void LogIn()
    {
        MakeUnit();
        TChannelConfig one, talk;
        one.Name = L"#one";
        one.Password = L"key1";
        one.AutoJoin = false;
        talk.Name = L"friend";
        unit->AddChannel(one, TIRCChannel::KindChannel);
        unit->AddChannel(talk, TIRCChannel::KindTalk);
        StartOffline();
        Feed(":irc.example 001 kvnick :Welcome");
        Feed(":kvnick!kvuser@host JOIN :#one");
        TakeQueued();
        recorder.macroEvents.clear();
    }
};

TEST_F(UnitDispatchTest, PingIsAnsweredAheadOfWaitingLines)
{
    LogIn();
    unit->SendCommand(L"PRIVMSG", L"#one", L":first", 2, 0);
    unit->SendCommand(L"PRIVMSG", L"#one", L":second", 2, 0);
    unit->GetSession().keepAliveCount = 50;
    Feed("PING :irc.example");
    Lines queued = Queued();
    ASSERT_EQ(queued.size(), 3u);
    // The first line has started to be written; nothing overtakes it, but the PONG comes next.
    EXPECT_EQ(queued[0], "PRIVMSG #one :first");
    EXPECT_EQ(queued[1], "PONG :irc.example");
    EXPECT_EQ(unit->GetSession().keepAliveCount, 0);
}

TEST_F(UnitDispatchTest, MacroEventsFollowEachLineWithDerivedModeAndKeywordEvents)
{
    LogIn();
    Feed(":op!u@h MODE #one +o-v kvnick other");
    Feed(":a!u@h PRIVMSG #one :hello");
    Feed(":a!u@h WHATEVER x");
    EXPECT_EQ(recorder.macroEvents, (Lines{"MODE #one +o-v kvnick other", "OP #one kvnick", "DEVOICE #one other",
                                           "PRIVMSG #one hello", "WHATEVER x"}));
}

// Handlers see every parameter as its own bytes decoded alone, whatever comes before it in the
// line: plain text, Japanese in the prefix or in an earlier parameter, in both code pages.
TEST_F(UnitDispatchTest, EveryParameterReadsAsItsOwnBytesDecoded)
{
    for (int codePage : {50221, 65001}) {
        settings.Codepage = codePage;
        LogIn();
        CStringA encoded = codePage == 50221 ? EncodeIso2022Jp(L"\u65e5\u672c\u8a9e\uff76\uff85", 0)
                                             : ConvertToCodePage(L"\u65e5\u672c\u8a9e\uff76\uff85", CP_UTF8);
        std::string jp(encoded.GetString(), encoded.GetLength());
        const std::string lines[] = {
            ":a!u@h PRIVMSG #one :" + jp,
            ":a!u@h PRIVMSG #one :say " + jp + " and more",
            ":a!u@h PRIVMSG #one :" + jp + jp,
            ":" + jp + "!u@h PRIVMSG #one :" + jp,
            ":a!u@" + jp + " PRIVMSG #one :plain",
            ":a!u@h PRIVMSG " + jp + " :" + jp,
            ":a!u@h TOPIC #one " + jp,
            ":a!u@h PRIVMSG #one " + jp + "   ",
            ":a!u@h PRIVMSG #one :",
            "PING :" + jp,
        };
        for (const std::string& line : lines) {
            recorder.macroEvents.clear();
            Feed(line);
            TIRCReceiveMessageA raw;
            raw.rawLine = CStringA(line.data(), (int)line.size());
            raw.Parse();
            std::string expected = Narrow(unit->Decode(raw.command));
            for (const CStringA& param : raw.params)
                expected += " " + Narrow(unit->Decode(param));
            ASSERT_FALSE(recorder.macroEvents.empty()) << line;
            EXPECT_EQ(recorder.macroEvents[0], expected) << codePage << " " << line;
        }
    }
}

TEST_F(UnitDispatchTest, StoppedMacrosSeeNothingWhileHandlersStillRun)
{
    LogIn();
    recorder.macrosStopped = true;
    Feed("PING :x");
    EXPECT_TRUE(recorder.macroEvents.empty());
    EXPECT_EQ(Queued(), (Lines{"PONG :x"}));
}

TEST_F(UnitDispatchTest, ALostLoggedInSessionRemembersJoinedChannelsAndArmsTheReconnect)
{
    LogIn();
    unit->OnClose(&unit->GetConnection());
    const TIRCUnitSession& session = unit->GetSession();
    EXPECT_EQ(session.state, TIRCUnit::StateDisconnected);
    EXPECT_FALSE(unit->GetConnection().IsActive()) << "the transport is closed, so a reconnect starts clean";
    ASSERT_TRUE(session.rejoinPending);
    ASSERT_EQ(session.rejoinList.size(), 1u) << "the talk is not rejoined";
    EXPECT_EQ(Narrow(session.rejoinList[0].first), "#one");
    EXPECT_EQ(Narrow(session.rejoinList[0].second), "key1");
    EXPECT_TRUE(session.reconnectArmed);
    EXPECT_EQ(session.reconnectCountdown, preference.ReconnectTime);
    EXPECT_FALSE(unit->GetChannels()[0]->IsJoined());
    EXPECT_FALSE(unit->GetChannels()[1]->IsJoined());
    EXPECT_EQ(recorder.scriptDisconnects, 1);

    // The next login joins them again.
    StartOffline();
    TakeQueued();
    Feed(":irc.example 001 kvnick :Welcome back");
    EXPECT_EQ(TakeQueued(), (Lines{"JOIN #one key1"}));
    EXPECT_FALSE(unit->GetSession().rejoinPending);
}

TEST_F(UnitDispatchTest, UserDisconnectNeverReconnects)
{
    LogIn();
    unit->CloseByUser();
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    for (int i = 0; i < 2 * preference.ReconnectTime; i++)
        unit->Tick();
    EXPECT_FALSE(unit->GetConnection().IsActive());
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
}

TEST_F(UnitDispatchTest, AnErrorEndsTheSessionLikeAClose)
{
    LogIn();
    unit->OnError(&unit->GetConnection(), L"refused");
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_TRUE(unit->GetSession().rejoinPending);
    EXPECT_EQ(recorder.connectionsEnded, 1);
}

TEST_F(UnitDispatchTest, OwnNickChangeIsFollowed)
{
    LogIn();
    Feed(":kvnick!u@h NICK :renamed");
    Feed(":other!u@h NICK :kvnick2");
    EXPECT_EQ(Narrow(unit->GetSession().currentNick), "renamed");
}

} // namespace

namespace {

class UnitRejoinTest : public UnitDispatchTest {};

TEST_F(UnitRejoinTest, ForcedAutoJoinAddsTheAutoJoinChannelsThatWereNotJoined)
{
    preference.ForceAutoJoin = true;
    LogIn();
    TChannelConfig two;
    two.Name = L"#two";
    unit->AddChannel(two, TIRCChannel::KindChannel);
    unit->OnClose(&unit->GetConnection());
    StartOffline();
    TakeQueued();
    Feed(":irc.example 001 kvnick :Welcome back");
    EXPECT_EQ(TakeQueued(), (Lines{"JOIN #one,#two key1"}));
}

// What the server answered to a JOIN decides whether a lost link brings the channel back.
TEST_F(UnitRejoinTest, AnAnsweredJoinIsNoLongerKeptForTheRejoin)
{
    const struct {
        const wchar_t* join;
        const char* answer; // after the JOIN, or null
        bool retry437;
        Lines kept; // besides #one, joined before
    } cases[] = {
        {L"#quiet", nullptr, false, {"#quiet"}},
        {L"!abc", ":kvnick!u@h JOIN :!ABCDEabc", false, {"!ABCDEabc"}},
        {L"!!new", ":kvnick!u@h JOIN :!XYZWVnew", false, {"!XYZWVnew"}},
        {L"!long-name", ":kvnick!u@h JOIN :!QRSTUlong-name", false, {"!QRSTUlong-name"}},
        {L"#busy", ":srv 437 kvnick #busy :Channel temporarily unavailable", true, {"#busy"}},
        {L"#busy", ":srv 437 kvnick #busy :Channel temporarily unavailable", false, {}},
        {L"#full", ":srv 471 kvnick #full :Cannot join channel (+l)", false, {}},
        {L"#gone", ":srv 403 kvnick #gone :No such channel", false, {}},
        {L"0", nullptr, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.join));
        preference.RejoinOnError437 = c.retry437;
        LogIn();
        unit->JoinChannelByName(c.join, L"");
        if (c.answer)
            Feed(c.answer);
        unit->OnClose(&unit->GetConnection());
        Lines kept;
        for (const auto& entry : unit->GetSession().rejoinList)
            if (entry.first != L"#one")
                kept.push_back(Narrow(entry.first));
        EXPECT_EQ(kept, c.kept);
    }
}

TEST_F(UnitRejoinTest, AConnectionTheUserStartsForgetsThePreviousChannels)
{
    LogIn();
    unit->OnClose(&unit->GetConnection());
    ASSERT_TRUE(unit->GetSession().rejoinPending);
    unit->Connect();
    EXPECT_FALSE(unit->GetSession().rejoinPending);
    EXPECT_TRUE(unit->GetSession().rejoinList.empty());
    unit->CloseByUser();
}

} // namespace
