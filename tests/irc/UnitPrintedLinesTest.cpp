// Where the received side prints its lines and what they say, with the default formats.

#include "tests/irc/ReceiveTestSupport.h"

namespace {

class PrintedLinesTest : public TReceiveTest {
protected:
    // The texts of a node's view (null: the server's) after the login, without time stamps.
    Lines Printed(TIRCChannel* channel) { return WithoutTimes(recorder.ViewTexts(channel), skip[channel]); }
    Lines AllLog() { return WithoutTimes(recorder.AllLogTexts(), allSkip); }
    // Lines printed so far are not looked at again.
    void Mark()
    {
        skip[nullptr] = recorder.ViewTexts(nullptr).size();
        for (TIRCChannel* channel : unit->GetChannels())
            skip[channel] = recorder.ViewTexts(channel).size();
        allSkip = recorder.AllLogTexts().size();
    }
    std::map<TIRCChannel*, size_t> skip;
    size_t allSkip = 0;
};

TEST_F(PrintedLinesTest, NickAndQuitLinesGoWhereTheNickWas)
{
    LogIn({"#a", "#b"}, "old");
    Feed(":only!u@h JOIN #a");
    Mark();
    Feed(":old!u@h NICK :new");
    Feed(":kvnick!u@h NICK :me2");
    Feed(":only!u@h QUIT :bye");
    Feed(":nobody!u@h QUIT :bye");
    EXPECT_EQ(Printed(Channel(L"#a")), (Lines{"*nick old → new", "*nick kvnick → me2", "*only quit (bye)"}));
    EXPECT_EQ(Printed(Channel(L"#b")), (Lines{"*nick old → new", "*nick kvnick → me2"}));
    EXPECT_EQ(Printed(nullptr), (Lines{"*nick kvnick → me2"}));
    EXPECT_EQ(AllLog(), (Lines{"<testnet> *nick old → new", "<testnet> *nick kvnick → me2",
                               "<testnet> *only quit (bye)", "<testnet> *nobody quit (bye)"}));
}

TEST_F(PrintedLinesTest, ChannelEventsOfUnknownChannelsGoToTheServerLog)
{
    LogIn({"#a"});
    Mark();
    Feed(":x!u@h JOIN #zz");
    Feed(":x!u@h PART #zz :bye");
    Feed(":x!u@h KICK #zz y :out");
    Feed(":x!u@h TOPIC #zz :t");
    Feed(":x!u@h MODE #zz +m");
    EXPECT_EQ(Printed(nullptr), (Lines{"<#zz> *x join #zz (u@h)", "<#zz> *x part (bye)", "<#zz> *x kick y (out)",
                                       "<#zz> *x topic : t", "<#zz> *x mode +m"}));
    EXPECT_TRUE(Printed(Channel(L"#a")).empty());
}

TEST_F(PrintedLinesTest, KillIsPrintedInEveryChannelOfTheVictimAndOnceInTheAllLog)
{
    LogIn({"#a", "#b"}, "victim");
    Mark();
    Feed(":oper!u@h KILL victim :spam");
    EXPECT_EQ(Printed(Channel(L"#a")), (Lines{"*oper kill victim (spam)"}));
    EXPECT_EQ(Printed(Channel(L"#b")), (Lines{"*oper kill victim (spam)"}));
    EXPECT_EQ(AllLog(), (Lines{"<testnet> *oper kill victim (spam)"}));
}

// Each node shows the session's end and a talk's new start, but the all-channels log gets only
// the server's line: one disconnect is one line there however many channels were joined.
TEST_F(PrintedLinesTest, ADisconnectIsOneLineInTheAllLogAndOneInEveryNode)
{
    LogIn({"#a", "#b"});
    Feed(":friend!u@h PRIVMSG kvnick :hello");
    TIRCChannel* talk = unit->FindChannel(L"friend");
    ASSERT_TRUE(talk && talk->IsJoined());
    Mark();
    unit->OnClose(&unit->GetConnection());
    const Lines ended = {"切断されました"};
    EXPECT_EQ(Printed(nullptr), ended);
    EXPECT_EQ(Printed(Channel(L"#a")), ended);
    EXPECT_EQ(Printed(talk), ended);
    EXPECT_EQ(AllLog(), (Lines{"<testnet> 切断されました"}));

    Mark();
    StartOffline();
    Feed(":irc.example 001 kvnick :Welcome back");
    EXPECT_EQ(Printed(talk), (Lines{"トークを開始します"}));
    EXPECT_EQ(AllLog(), (Lines{"<testnet> 接続しました", "<testnet> ログインしました", "<testnet> Welcome back"}));
}

TEST_F(PrintedLinesTest, MessagesWithoutAPlaceGoToTheServerLog)
{
    LogIn();
    Mark();
    Feed("NOTICE AUTH :*** looking up");
    Feed(":a!u@h PRIVMSG * :star");
    Feed(":srv.example NOTICE kvnick :server says");
    EXPECT_EQ(Printed(nullptr), (Lines{"AUTH *** looking up", "(a) star", "(srv.example) server says"}));
}

// A talk the user opened with the own nick gets what a service sends to that nick, with the
// talk's own all-log switch deciding the balloon.
TEST_F(PrintedLinesTest, AServiceLineToTheOwnNickGoesToATalkOfThatName)
{
    preference.EnableBaloon = true;
    preference.ShowBalloonOnInactive = false;
    preference.IgnoreNoticeForBalloon = false;
    preference.BalloonFollowsAllLog = true;
    preference.TalkAllLog = true;
    settings.Console = false;
    LogIn();
    unit->ExecuteCommand(L"msg kvnick note to self", false);
    TIRCChannel* talk = unit->FindChannel(L"kvnick");
    ASSERT_NE(talk, nullptr);
    Mark();
    windows.balloons.clear();
    Feed(":srv.example NOTICE kvnick :service says");
    EXPECT_EQ(Printed(talk), Lines{"(srv.example) service says"});
    EXPECT_TRUE(Printed(nullptr).empty());
    EXPECT_EQ(windows.balloons, (std::vector<CString>{L"srv.example|service says"}));
}

// The server names a masked channel and a safe channel in full; what is said there belongs to the
// channel the user joined, with everything that goes with it.
TEST_F(PrintedLinesTest, MessagesInMaskedAndSafeChannelsReachTheirChannel)
{
    preference.EnableBaloon = true;
    preference.BalloonFollowsAllLog = true;
    preference.IgnoreNoticeForBalloon = false;
    settings.Console = false;
    LogIn({"#mask:*.jp", "!ABCDEsafe"}, "bob");
    const struct {
        const wchar_t* node;
        std::string name;
    } cases[] = {{L"%mask", "#mask:*.jp"}, {L"!safe", "!ABCDEsafe"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TIRCChannel* channel = unit->FindChannel(c.node);
        ASSERT_NE(channel, nullptr);
        Mark();
        recorder.marks.clear();
        windows.balloons.clear();
        scriptEvents.events.clear();
        Feed(":bob!u@h PRIVMSG " + c.name + " :hi");
        Feed(":bob!u@h NOTICE " + c.name + " :note");
        Feed(":bob!u@h PRIVMSG " + c.name + " :\1ACTION waves\1");
        EXPECT_EQ(Printed(channel), (Lines{"(bob) hi", "(bob) note", "(bob) waves"}));
        EXPECT_TRUE(Printed(nullptr).empty());
        const std::string update = "update " + Narrow(c.node);
        EXPECT_EQ(recorder.marks, (Lines{update, update}));
        EXPECT_GT(channel->FindMember(L"bob")->secondActivity, 0);
        EXPECT_EQ(windows.balloons.size(), 3u) << "the channel's own all-log switch lets the balloons through";
        EXPECT_EQ(scriptEvents.events, (Lines{"ChannelText " + c.name + " hi", "ChannelNotice " + c.name + " note",
                                              "ChannelAction " + c.name + " waves"}));
    }
}

TEST_F(PrintedLinesTest, WhoisAndTimeRepliesWithoutAWindow)
{
    LogIn({"#a"});
    Mark();
    Feed(":srv 311 kvnick bob bu bh * :Bob B");
    Feed(":srv 301 kvnick bob :lunch");
    Feed(":srv 317 kvnick bob 3725 x :idle");
    Feed(":srv 319 kvnick bob :#a @#b");
    Feed(":srv 318 kvnick bob :End");
    Feed(":srv 333 kvnick #a setter 99999999999999");
    Feed(":srv 333 kvnick #a setter -99999999999999999999999");
    Feed(":srv 329 kvnick #nowhere 18446744073709551615");
    EXPECT_EQ(Printed(nullptr), (Lines{"bob is Bob B (bu@bh)", "bob is away : lunch", "bob is 1:02:05 idle",
                                       "bob is on #a, @#b", "*created at 18446744073709551615"}));
    EXPECT_EQ(Printed(Channel(L"#a")),
              (Lines{"*setter set the topic at 99999999999999", "*setter set the topic at -99999999999999999999999"}));
}

} // namespace
