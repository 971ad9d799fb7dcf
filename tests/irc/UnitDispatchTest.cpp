// Received lines reach their handlers and the macro engine; a session ends once and remembers
// what to rejoin.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"

#include <functional>

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
        WelcomeOffline();
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

class UnitRejoinTest : public UnitDispatchTest {
protected:
    // The channels the lost link leaves for the next login's rejoin.
    Lines DropAndTakeRejoinNames()
    {
        unit->OnClose(&unit->GetConnection());
        Lines names;
        for (const auto& entry : unit->GetSession().rejoinList)
            names.push_back(Narrow(entry.first));
        return names;
    }
};

TEST_F(UnitRejoinTest, ForcedAutoJoinAddsTheAutoJoinChannelsThatWereNotJoined)
{
    preference.ForceAutoJoin = true;
    LogIn();
    AddChannel(L"#two");
    unit->OnClose(&unit->GetConnection());
    StartOffline();
    TakeQueued();
    Feed(":irc.example 001 kvnick :Welcome back");
    EXPECT_EQ(TakeQueued(), (Lines{"JOIN #one,#two key1"}));
}

// A lost link brings back the login's channels the server had said nothing about; any answer
// naming the channel, in whatever form the server gives it, ends the wait.
TEST_F(UnitRejoinTest, OnlyTheLoginsUnansweredJoinsAreKeptForTheRejoin)
{
    const std::string kana = Narrow(L"#\u30ab\u30ca"); // decoded; the server sends it encoded
    const struct {
        const wchar_t* channel; // auto-joined by the login
        std::string answer;     // after the login's JOIN, or empty
        Lines kept;
    } cases[] = {
        {L"#quiet", "", {"#quiet"}},
        {L"%mask", "", {"#mask:*.jp"}},
        {L"#Names", ":srv 353 kvnick = #nAMES :kvnick", {}},
        {L"%mask", ":srv 475 kvnick #mask:*.jp :Cannot join channel (+k)", {}},
        {L"!abc", ":kvnick!u@h JOIN :!ABCDEabc", {"!ABCDEabc"}},
        {L"!abc", ":srv 471 kvnick !ABCDEabc :Cannot join channel (+l)", {}},
        {L"!!new", ":kvnick!u@h JOIN :!XYZWVnew", {"!XYZWVnew"}},
        {L"!!new", ":srv 403 kvnick !!NEW :No such channel", {}},
        {L"!long-name", ":kvnick!u@h JOIN :!QRSTUlong-name", {"!QRSTUlong-name"}},
        {L"#busy", ":srv 437 kvnick #busy :Channel temporarily unavailable", {}},
        {L"#old", ":srv 470 kvnick #old #new :Forwarding to another channel", {}},
        {L"#many", ":srv 407 kvnick #many :Duplicate recipients", {}},
        {L"#tls", ":srv 480 kvnick #tls :Cannot join channel (TLS only)", {}},
        {L"#tls", ":srv 489 kvnick #tls :Cannot join channel (secure only)", {}},
        {L"#inv", ":srv 520 kvnick #inv :Cannot join channel (invisible)", {}},
        {L"#gone", ":srv 403 kvnick #gone :No such channel", {}},
        {L"#out", ":op!u@h KICK #out kvnick :not you", {}},
        {L"#left", ":kvnick!u@h PART #left :", {}},
        {L"#\uff76\uff85", ":srv 474 kvnick " + kana + " :Cannot join channel (+b)", {}},
        {L"#\uff76\uff85", "", {Narrow(L"#\uff76\uff85")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.channel) + " " + c.answer);
        settings.Codepage = 50221;
        MakeUnit();
        AddChannel(c.channel);
        WelcomeOffline();
        if (!c.answer.empty()) {
            CStringA encoded = EncodeIso2022Jp(ConvertFromCodePage(c.answer.c_str(), CP_UTF8), 0);
            Feed(std::string(encoded.GetString(), (size_t)encoded.GetLength()));
        }
        EXPECT_EQ(DropAndTakeRejoinNames(), c.kept);
    }
}

// The user's own JOINs are never kept: the server answers nothing to one of a channel the user is
// in, and a creation request sent again at every reconnect would create the channel.
TEST_F(UnitRejoinTest, AJoinTheUserTypesIsNeverKept)
{
    for (const wchar_t* typed : {L"join #quiet", L"join #one", L"join !abc", L"join !!abc", L"join #\uff76\uff85"}) {
        SCOPED_TRACE(Narrow(typed));
        settings.Codepage = 50221;
        LogIn();
        unit->ExecuteCommand(typed, false);
        ASSERT_FALSE(TakeQueued().empty());
        EXPECT_EQ(DropAndTakeRejoinNames(), Lines{"#one"});
    }
}

// A channel the user parted, or whose node was deleted, stays away after the reconnect: a PART the
// server had not answered yet, the part prompt answered with the link down, a deletion then.
TEST_F(UnitRejoinTest, AChannelPartedOrDeletedIsNotRejoined)
{
    const auto partAnswered = [](TIRCUnit& u) {
        u.ExecuteCommand(L"part #two", false);
        FeedLine(u, ":kvnick!kvuser@host PART #two :");
    };
    const struct {
        const char* name;
        std::function<void(TIRCUnit&)> before, after; // the drop between them
        Lines joins;                                  // of the next login
    } cases[] = {
        {"part unanswered", [](TIRCUnit& u) { u.ExecuteCommand(L"part #two", false); }, nullptr, {"JOIN #one key1"}},
        {"parted and joined again",
         [](TIRCUnit& u) {
             u.ExecuteCommand(L"part #two", false);
             u.ExecuteCommand(L"join #two", false);
         },
         nullptr,
         {"JOIN #one,#two key1"}},
        {"part answered", partAnswered, nullptr, {"JOIN #one key1"}},
        {"joined again by the server",
         [&](TIRCUnit& u) {
             partAnswered(u);
             FeedLine(u, ":kvnick!kvuser@host JOIN :#two");
         },
         nullptr,
         {"JOIN #one,#two key1"}},
        {"part prompt with the link down",
         nullptr,
         [](TIRCUnit& u) { u.PartChannel(u.FindChannel(L"#two"), L"bye"); },
         {"JOIN #one key1"}},
        {"deleted with the link down",
         nullptr,
         [](TIRCUnit& u) { u.DeleteChannel(u.FindChannel(L"#two")); },
         {"JOIN #one key1"}},
        {"another node deleted",
         nullptr,
         [](TIRCUnit& u) { u.DeleteChannel(u.FindChannel(L"#three")); },
         {"JOIN #one,#two key1"}},
    };
    preference.ForceAutoJoin = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogIn();
        AddChannel(L"#two");
        AddChannel(L"#three");
        Feed(":kvnick!kvuser@host JOIN :#two");
        if (c.before)
            c.before(*unit);
        unit->OnClose(&unit->GetConnection());
        if (c.after)
            c.after(*unit);
        StartOffline();
        TakeQueued();
        Feed(":irc.example 001 kvnick :Welcome back");
        EXPECT_EQ(TakeQueued(), c.joins);
    }
}

// A 437 retry waits a while; the user's deletion or part of its channel meanwhile ends it.
TEST_F(UnitRejoinTest, A437RetryOfAChannelDeletedOrPartedMeanwhileIsDropped)
{
    preference.Error437RejoinInterval = 3;
    LogIn();
    AddChannel(L"#busy");
    AddChannel(L"#held");
    for (const char* channel : {"#busy", "#held", "#kept"})
        Feed(std::string(":irc.example 437 kvnick ") + channel + " :Channel temporarily unavailable");
    unit->DeleteChannel(unit->FindChannel(L"#busy"));
    unit->ExecuteCommand(L"part #held", false);
    TakeQueued();
    for (int i = 0; i < 4; i++)
        unit->Tick();
    EXPECT_EQ(TakeQueued(), Lines{"JOIN #kept"});
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
