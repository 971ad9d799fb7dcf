// What the unit answers its macro engine, and the join and WHO pacing wired into the unit.

#include "tests/irc/SendSideSupport.h"

namespace {

using Lines = std::vector<std::string>;

class UnitMacroServicesTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        TSendSideTest::SetUp();
        settings.MacroFiles = {L"a.mac", L"b.mac", L"a.mac"};
        preference.userGroups.groups[0].masks = {L"*!me@home.example"};
        preference.userGroups.groups[1].masks = {L"friend!*@*"};
        preference.userGroups.groups[5].masks = {L"last!*@*"};
        LogIn();
        channel = AddJoined(L"#a");
        channel->AddOrUpdateMember(L"opper", L"u", L"h", L"", L"", false, false, true, false, false);
        channel->AddOrUpdateMember(L"plain", L"u", L"h", L"", L"", false, false, false, false, false);
    }
    IMacroManagerListener& Macros() { return *unit; }

    TIRCChannel* channel = nullptr;
};

} // namespace

TEST_F(UnitMacroServicesTest, ConditionsOnUsersAndStates)
{
    EXPECT_TRUE(Macros().IsSelf(L"kvnick", L"x", L"y"));
    EXPECT_FALSE(Macros().IsSelf(L"KVNICK", L"x", L"y")); // the nick compares case-sensitively
    EXPECT_TRUE(Macros().IsSelf(L"other", L"me", L"home.example"));
    EXPECT_TRUE(Macros().IsPrefixInUserGroup(0, L"friend", L"u", L"h"));
    EXPECT_TRUE(Macros().IsPrefixInUserGroup(4, L"last", L"u", L"h"));
    EXPECT_FALSE(Macros().IsPrefixInUserGroup(1, L"friend", L"u", L"h") ||
                 Macros().IsPrefixInUserGroup(5, L"last", L"u", L"h") ||
                 Macros().IsPrefixInUserGroup(-1, L"friend", L"u", L"h"));
    EXPECT_TRUE(Macros().IsChannelOperator(L"#A", L"OPPER"));
    EXPECT_FALSE(Macros().IsChannelOperator(L"#a", L"plain") || Macros().IsChannelOperator(L"#a", L"nobody") ||
                 Macros().IsChannelOperator(L"#none", L"opper"));
    unit->GetSession().userMode.away = true;
    EXPECT_TRUE(Macros().IsAway());
}

TEST_F(UnitMacroServicesTest, VariablesAndFileErrors)
{
    EXPECT_EQ(Macros().GetCurrentChannelName(), L"");
    send.selectedText = L"one\r\ntwo";
    EXPECT_EQ(Macros().GetSelectedText(), L"one two");
    EXPECT_EQ(Macros().GetMyAddressText(), L"255.255.255.255");
    // An unreadable file leaves this run's engine, never the stored list that the tree save writes.
    Macros().OnMacroFileLoadError(L"a.mac");
    Macros().OnMacroFileLoadError(L"A.MAC");
    EXPECT_EQ(unit->GetSettings().MacroFiles, (std::vector<CString>{L"a.mac", L"b.mac", L"a.mac"}));
    unit->ResetMacros();
    EXPECT_EQ(unit->GetMacroManager().GetFileNames(), std::vector<CString>{L"b.mac"});
}

TEST_F(UnitMacroServicesTest, ActionsReachTheWindowsAndTheInterpreter)
{
    Macros().Execute(L"\"D:\\Tools\\app.exe\" -x file", false);
    Macros().Execute(L"notepad.exe file.txt", true);
    Macros().OpenUrl(L"http://example.com/", L"unused");
    Macros().SelectChannel(L"#A");
    Macros().SelectChannel(L"#none");
    Macros().WindowAction(L"Quit");
    Macros().WindowAction(L"dance");
    Macros().ExecuteMenu(L"Connect");
    Macros().ShowBalloon(L"t", L"x");
    EXPECT_EQ(send.frame, (Lines{"run [D:\\Tools\\app.exe] [-x file] [D:\\Tools]",
                                 "run [notepad.exe file.txt] [] [] min", "url http://example.com/", "select #a",
                                 "select server", "window quit", "menu Connect", "balloon t x"}));

    Macros().PlaySound(L"ding.wav");
    Macros().PlaySound(L"E:\\ring.wav");
    EXPECT_EQ(recorder.sounds, (std::vector<CString>{L"C:\\Sounds\\ding.wav", L"E:\\ring.wav"}));

    Macros().ExecuteCommand(L"join #b\r\npart #a", false, false);
    EXPECT_EQ(TakeQueued(), Lines{"JOIN #bpart #a"});
    Macros().ExecuteCommand(L"join #b\r\n\r\npart #a", false, true);
    EXPECT_EQ(TakeQueued(), (Lines{"JOIN #b", "PART #a :"}));
    Macros().ExecuteCommand(L"msg #a hi", true, false);
    Macros().ExecuteCommand(L"msg #a quiet", false, false);
    EXPECT_EQ(send.events, Lines{"onChannelText #a hi"});

    channel->op = true;
    Macros().GiveOp(L"#none", L"plain");
    EXPECT_EQ(channel->GetAutoOpQueue().size(), 0u);
    Macros().GiveOp(L"#a", L"plain");
    EXPECT_EQ(channel->GetAutoOpQueue().size(), 1u);
}

TEST_F(UnitMacroServicesTest, ChannelConditionsRedrawOnlyWhatShows)
{
    const struct {
        const wchar_t* word;
        bool redraw;
    } steps[] = {{L"KEYWORD", true}, {L"update", false}, {L"newtalk", false}, {L"normal", true},
                 {L"update", true},  {L"newtalk", true}, {L"other", false}};
    for (const auto& step : steps) {
        send.frame.clear();
        Macros().SetChannelCondition(L"#a", step.word);
        EXPECT_EQ(send.frame.size(), step.redraw ? 1u : 0u) << Narrow(step.word);
    }
    EXPECT_TRUE(channel->updateMark && channel->newTalkMark && !channel->keywordMark);

    // A name that finds no channel marks the server's own node, not the channel.
    send.frame.clear();
    Macros().SetChannelCondition(L"#gone", L"Keyword");
    EXPECT_TRUE(unit->keywordMark);
    EXPECT_FALSE(channel->keywordMark);
    Macros().SetChannelCondition(L"#gone", L"normal");
    EXPECT_FALSE(unit->keywordMark);
    EXPECT_TRUE(channel->updateMark);
    EXPECT_EQ(send.frame.size(), 2u);
}

TEST_F(UnitMacroServicesTest, RefusedJoinsComeBackOnTheTickAndWhoWaitsItsTurn)
{
    preference.RejoinOnError437 = true;
    preference.Error437RejoinInterval = 2;
    preference.Error437RejoinCount = 3;
    unit->SendJoin(L"#busy", L"key");
    TakeQueued();
    Feed(":irc.test 437 kvnick #busy :Channel temporarily unavailable");
    unit->Tick();
    EXPECT_EQ(TakeQueued(), Lines{});
    unit->Tick();
    EXPECT_EQ(TakeQueued(), Lines{"JOIN #busy key"});

    preference.WhoTiming = 1;
    unit->GetWhoManager().Reset(0);
    unit->GetWhoManager().Add(L"#a", 120);
    unit->GetWhoManager().Add(L"#b", 1);
    EXPECT_EQ(TakeQueued(), Lines{"WHO #a"});
    for (int i = 0; i < 4; i++)
        unit->Tick();
    EXPECT_EQ(TakeQueued(), Lines{});
    unit->Tick();
    EXPECT_EQ(TakeQueued(), Lines{"WHO #b"});
}
