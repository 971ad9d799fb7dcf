// MODE, TOPIC, INVITE and KICK: channel modes, member flags, mask lists, topics, invitations
// and kicks; and the messages that reach channels and talks.

#include "tests/common/StringPrinter.h"
#include "tests/irc/ReceiveTestSupport.h"

namespace {

class ChannelEventsTest : public TReceiveTest {};

TEST_F(ChannelEventsTest, MemberModesFollowMode)
{
    LogIn({"#c"}, "a b");
    Feed(":srv MODE #c +ov-v a b b");
    Feed(":srv MODE #c +v nobody");
    EXPECT_TRUE(Member(L"#c", L"a")->o);
    EXPECT_FALSE(Member(L"#c", L"b")->v);
    EXPECT_EQ(Nicks(L"#c").size(), 3u);
}

TEST_F(ChannelEventsTest, OwnOperatorStatusStartsAndStopsAutoOp)
{
    settings.AutoOpMasks = {L"friend!*@*"};
    preference.EnableAutoOpOnBeingOperator = true;
    preference.EnableAutoOpDelay = false;
    LogIn({"#c"}, "friend stranger");
    Feed(":srv 352 kvnick #c fu fh srv friend H :0 Friend");
    Feed(":srv 315 kvnick #c :End");
    TakeQueued();
    Feed(":srv MODE #c +o kvnick");
    EXPECT_TRUE(Channel(L"#c")->op);
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #c +o friend"}));
    Feed(":srv MODE #c -o kvnick");
    EXPECT_FALSE(Channel(L"#c")->op);
    Feed(":friend2!x@y JOIN #c");
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(ChannelEventsTest, AnonymousModeListsOnlyTheUserAndItsEndAsksWho)
{
    LogIn({"#c"}, "a b");
    Feed(":srv MODE #c +a");
    EXPECT_EQ(Nicks(L"#c"), (NickList{L"kvnick"}));
    Channel(L"#c")->whoComplete = true;
    Feed(":srv MODE #c -a");
    EXPECT_FALSE(Channel(L"#c")->whoComplete);
    EXPECT_EQ(TakeQueued(), (Lines{"WHO #c"}));
}

TEST_F(ChannelEventsTest, BanModesReachAnOpenBanList)
{
    LogIn({"#c"});
    Channel(L"#c")->ShowMaskList(TIRCChannel::BanList);
    Feed(":op!u@h MODE #c +bb x!*@* y!*@*");
    Feed(":op!u@h MODE #c -b x!*@*");
    Feed(":op!u@h MODE #c +e z!*@*");
    Feed(":op!u@h MODE #c +b"); // names no mask: no empty row
    ASSERT_EQ(windows.lists.size(), 1u);
    EXPECT_EQ(windows.lists[0]->masks, (std::vector<CString>{L"y!*@*"}));
}

TEST_F(ChannelEventsTest, UserModeAndTopic)
{
    LogIn({"#c"});
    Feed(":kvnick MODE kvnick +iw");
    EXPECT_TRUE(unit->GetSession().userMode.invisible && unit->GetSession().userMode.wallops);
    Feed(":a!u@h TOPIC #c :new topic");
    EXPECT_EQ(Channel(L"#c")->topic, L"new topic");
    Feed(":a!u@h TOPIC #elsewhere :x");
    EXPECT_EQ(Channel(L"#elsewhere"), nullptr);
}

TEST_F(ChannelEventsTest, KicksOfOthersAndOfTheUser)
{
    preference.RejoinOnKick = true;
    preference.EnableKickSound = true;
    preference.KickSoundFile = L"kick.wav";
    LogIn({"#c"}, "a b");
    Feed(":srv MODE #c +k sesame");
    Feed(":a!u@h KICK #c b :out");
    EXPECT_EQ(Nicks(L"#c"), (NickList{L"a", L"kvnick"}));
    TakeQueued();
    Feed(":a!u@h KICK #c kvnick :you too");
    EXPECT_FALSE(Channel(L"#c")->IsJoined());
    EXPECT_EQ(TakeQueued(), (Lines{"JOIN #c sesame"}));
    EXPECT_EQ(recorder.sounds, (std::vector<CString>{L"kick.wav"}));
}

TEST_F(ChannelEventsTest, InvitationsByPreference)
{
    const struct {
        int action;
        Lines joins;
        size_t windows;
    } cases[] = {{2, {"JOIN #there"}, 0}, {1, {}, 1}, {0, {}, 0}};
    for (const auto& c : cases) {
        preference.InviteAction = c.action;
        LogIn();
        windows.invitations.clear();
        Feed(":a!u@h INVITE kvnick :#there");
        // "JOIN 0" would leave every channel.
        Feed(":a!u@h INVITE kvnick :0");
        EXPECT_EQ(TakeQueued(), c.joins) << c.action;
        EXPECT_EQ(windows.invitations.size(), c.windows) << c.action;
    }
}

TEST_F(ChannelEventsTest, LeavingMembersLetTheLastOneRejoinForOperatorStatus)
{
    preference.RejoinToRecoverOp = true;
    // The part message is the user's markup; the topic is the server's text and goes back as it was.
    settings.PartMessage = L"<bold>bye";
    LogIn({"#c", "+plus"}, "a");
    Feed(":srv 324 kvnick #c +nt");
    Feed(":srv 324 kvnick +plus +nt");
    Feed(":a!u@h TOPIC #c :kept <bold>");
    TakeQueued();
    Feed(":a!u@h QUIT :bye");
    EXPECT_EQ(TakeQueued(), (Lines{"PART #c :\002bye", "JOIN #c", "TOPIC #c :kept <bold>"}));
}

TEST_F(ChannelEventsTest, PrivateMessagesOpenTalksUnlessIgnoredOrNoticesAreKeptOut)
{
    preference.RegisterOnTalk = true;
    preference.FocusOnTalk = true;
    preference.IgnoreNoticeOnTalk = true;
    worldSetting.IgnoreMasks = {L"troll!*@*"};
    LogIn();
    Feed(":troll!u@h PRIVMSG kvnick :hi");
    Feed(":quiet!u@h NOTICE kvnick :psst");
    EXPECT_TRUE(unit->GetChannels().empty());
    Feed(":friend!fu@fh PRIVMSG kvnick :hello");
    ASSERT_EQ(unit->GetChannels().size(), 1u);
    TIRCChannel* talk = unit->GetChannels()[0];
    EXPECT_EQ(talk->GetKind(), TIRCChannel::KindTalk);
    EXPECT_EQ(talk->GetMembers().GetNicks(), (NickList{L"friend", L"kvnick"}));
    EXPECT_EQ(windows.selected, (std::vector<TIRCChannel*>{talk}));
}

TEST_F(ChannelEventsTest, MessageSoundsByPlace)
{
    preference.EnableChannelMessageSound = preference.EnableTalkMessageSound = true;
    preference.EnableTalkSound = false;
    preference.RegisterOnTalk = false;
    preference.EnableKeywordSound = false;
    preference.ChannelMessageSoundFile = L"chan.wav";
    preference.TalkMessageSoundFile = L"talk.wav";
    LogIn({"#c"}, "a");
    Feed(":a!u@h PRIVMSG #c :hi all");
    Feed(":a!u@h PRIVMSG kvnick :hi you");
    Feed("NOTICE AUTH :*** looking up");
    EXPECT_EQ(recorder.sounds, (std::vector<CString>{L"chan.wav", L"talk.wav"}));
    EXPECT_GT(Member(L"#c", L"a")->secondActivity, 0);
}

TEST_F(ChannelEventsTest, KillRemovesTheVictimEverywhere)
{
    LogIn({"#a", "#b"}, "victim");
    Feed(":oper!u@h KILL victim :spam");
    EXPECT_EQ(Nicks(L"#a"), (NickList{L"kvnick"}));
    EXPECT_EQ(Nicks(L"#b"), (NickList{L"kvnick"}));
}

TEST_F(ChannelEventsTest, BalloonsFollowTheirSwitches)
{
    preference.EnableBaloon = true;
    preference.ShowBalloonOnInactive = true;
    preference.IgnoreNoticeForBalloon = true;
    preference.BalloonFollowsAllLog = false;
    LogIn({"#c"}, "a");
    const struct {
        bool active;
        const char* line;
        std::vector<CString> balloons;
    } cases[] = {{false, ":a!u@h PRIVMSG #c :hi", {L"<#c> a|hi"}},
                 {true, ":a!u@h PRIVMSG #c :hi", {}},
                 {false, ":a!u@h NOTICE #c :note", {}},
                 {false, ":a!u@h PRIVMSG kvnick :psst", {L"a|psst"}}};
    for (const auto& c : cases) {
        windows.balloons.clear();
        recorder.active = c.active;
        Feed(c.line);
        EXPECT_EQ(windows.balloons, c.balloons) << c.line;
    }
}

TEST_F(ChannelEventsTest, ScriptsHearEachEventAndEachModeChange)
{
    preference.RegisterOnTalk = true;
    worldSetting.IgnoreMasks = {L"troll!*@*"};
    LogIn({"#c"}, "a b");
    const struct {
        const char* line;
        Lines events;
    } cases[] = {
        {":op!u@h MODE #c +o-v+b a b m!*@*",
         {"Mode #c +o-v+b a b m!*@*", "ModeChange #c +o a", "ModeChange #c -v b", "ModeChange #c +b m!*@*"}},
        {":kvnick MODE kvnick +i", {"Mode kvnick +i"}},
        {":op!u@h MODE #elsewhere +m", {"Mode #elsewhere +m"}},
        {":a!u@h TOPIC #c :t", {"Topic #c t"}},
        {":a!u@h KICK #c b :bye", {"Kick #c b bye"}},
        {":a!u@h PART #c :later", {"Part #c later"}},
        {":z!u@h JOIN #c", {"Join #c"}},
        {":z!u@h NICK :y", {"Nick y"}},
        {":y!u@h QUIT :gone", {"Quit gone"}},
        {":a!u@h INVITE kvnick #x", {"Invite #x"}},
        {":a!u@h PRIVMSG #c :hi", {"ChannelText #c hi"}},
        {":friend!u@h PRIVMSG kvnick :psst", {"TalkText kvnick psst", "NewTalk PRIVMSG psst"}},
        {":troll!u@h PRIVMSG #c :spam", {}},
        {"ERROR :Closing link", {"Error Closing link"}},
        {":srv 433 kvnick x :in use", {"NumericReply 433 x in use"}},
        {":srv 999 kvnick odd :thing", {"NumericReply 999 odd thing"}},
    };
    for (const auto& c : cases) {
        scriptEvents.events.clear();
        Feed(c.line);
        EXPECT_EQ(scriptEvents.events, c.events) << c.line;
    }
}

} // namespace
