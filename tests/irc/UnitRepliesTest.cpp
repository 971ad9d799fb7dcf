// Numeric replies fill channels and the session; error replies retry a refused nick, and the
// retry ends.

#include "tests/common/StringPrinter.h"
#include "tests/irc/ReceiveTestSupport.h"

#include "irc/UnitEvents.h"

namespace {

class RepliesTest : public TReceiveTest {
protected:
    void Refuse437(const char* channel)
    {
        Feed(std::string(":srv 437 kvnick ") + channel + " :Channel temporarily unavailable");
    }
    // The JOIN lines two ticks bring.
    Lines JoinsAfterTwoTicks()
    {
        unit->Tick();
        unit->Tick();
        Lines joins;
        for (const std::string& line : TakeQueued())
            if (line.rfind("JOIN", 0) == 0)
                joins.push_back(line);
        return joins;
    }
};

TEST_F(RepliesTest, NamesGiveMembersTheirModesFromOnePrefixCharacter)
{
    LogIn();
    Feed(":kvnick!u@h JOIN #c");
    Feed(":srv 353 kvnick = #c :@kvnick ~owner &admin %half +voice @+both plain");
    const struct {
        const wchar_t* nick;
        bool q, a, o, h, v;
    } cases[] = {{L"owner", true, false, true, false, false},  {L"admin", false, true, false, false, false},
                 {L"half", false, false, false, true, false},  {L"voice", false, false, false, false, true},
                 {L"+both", false, false, true, false, false}, {L"plain", false, false, false, false, false}};
    for (const auto& c : cases) {
        TIRCMember* m = Member(L"#c", c.nick);
        ASSERT_NE(m, nullptr) << c.nick;
        EXPECT_EQ((std::vector<bool>{m->q, m->a, m->o, m->h, m->v}), (std::vector<bool>{c.q, c.a, c.o, c.h, c.v}))
            << c.nick;
    }
    EXPECT_TRUE(Channel(L"#c")->op);
    Feed(":srv 366 kvnick #c :End");
    Feed(":srv 353 kvnick = #c :late");
    EXPECT_EQ(Member(L"#c", L"late"), nullptr) << "NAMES after the join's end only print";
}

TEST_F(RepliesTest, EndOfNamesSetsUpANewChannelOrAsksForModesAndMembers)
{
    preference.WhoTiming = 0;
    LogIn();
    const struct {
        const wchar_t* stored; // the name in the tree
        const char* joined;    // the name at the server
        const char* names;
        Lines sent;
    } cases[] = {
        {L"#mine", "#mine", "@kvnick", {"MODE #mine +sn", "TOPIC #mine :\002welcome"}},
        {L"%alias", "#alias:*.jp", "@kvnick", {"MODE #alias:*.jp +sn", "TOPIC #alias:*.jp :\002welcome"}},
        {L"+plain", "+plain", "@kvnick", {}},
        {L"#busy", "#busy", "kvnick a b", {"MODE #busy", "WHO #busy"}},
    };
    for (const auto& c : cases) {
        TChannelConfig config;
        config.Name = c.stored;
        config.Topic = L"<bold>welcome";
        TIRCChannel* channel = unit->AddChannel(config, TIRCChannel::KindChannel);
        ASSERT_NE(channel, nullptr) << c.joined;
        Feed(std::string(":kvnick!u@h JOIN ") + c.joined);
        Feed(std::string(":srv 353 kvnick = ") + c.joined + " :" + c.names);
        Feed(std::string(":srv 366 kvnick ") + c.joined + " :End");
        EXPECT_EQ(TakeQueued(), c.sent) << c.joined;
        bool alone = channel->GetMembers().GetCount() == 1;
        EXPECT_EQ(channel->modesKnown, alone) << c.joined;
        EXPECT_EQ(channel->whoComplete, alone) << c.joined;
    }
}

TEST_F(RepliesTest, WhoRepliesFillMembersUntilTheirEnd)
{
    LogIn({"#c"}, "a b");
    Feed(":srv 352 kvnick #c ua ha irc.example a H~ :0 Real A");
    Feed(":srv 352 kvnick #c ub hb irc.example b H& :3 B");
    Feed(":srv 352 kvnick #c un hn irc.example newcomer G@+ :1 N");
    Feed(":srv 352 kvnick #c");
    Feed(":srv 315 kvnick #c :End");
    Feed(":srv 352 kvnick #c x y z a H :0 Later");
    TIRCMember* a = Member(L"#c", L"a");
    EXPECT_TRUE(a->q && a->o);
    EXPECT_EQ(a->fullName, L"Real A");
    EXPECT_EQ(a->server, L"irc.example");
    EXPECT_TRUE(Member(L"#c", L"b")->a && !Member(L"#c", L"b")->o);
    EXPECT_TRUE(Member(L"#c", L"newcomer")->o && Member(L"#c", L"newcomer")->v);
    EXPECT_TRUE(Channel(L"#c")->whoComplete);
    EXPECT_EQ(a->user, L"ua") << "replies after the end are only printed";
}

TEST_F(RepliesTest, ChannelModesTopicsAndAwayState)
{
    LogIn({"#c"});
    Feed(":srv 324 kvnick #c +ntk key");
    EXPECT_TRUE(Channel(L"#c")->modesKnown);
    EXPECT_EQ(Channel(L"#c")->mode.key, L"key");
    Feed(":srv 332 kvnick #c :the topic");
    EXPECT_EQ(Channel(L"#c")->topic, L"the topic");
    Feed(":srv 331 kvnick #c :No topic");
    EXPECT_EQ(Channel(L"#c")->topic, L"");
    Feed(":srv 306 kvnick :away");
    EXPECT_TRUE(unit->GetSession().userMode.away);
    Feed(":srv 305 kvnick :back");
    EXPECT_FALSE(unit->GetSession().userMode.away);
    Feed(":srv 221 kvnick +iw");
    EXPECT_TRUE(unit->GetSession().userMode.invisible);
    Feed(":srv 221 kvnick +");
    EXPECT_FALSE(unit->GetSession().userMode.invisible);
    Feed(":srv 005 kvnick NICKLEN=30 :are supported");
    EXPECT_EQ(unit->GetSession().capabilities.GetNickLength(), 30);
}

TEST_F(RepliesTest, ListRepliesFillAnOpenMaskListWithinItsBound)
{
    LogIn({"#c"});
    Channel(L"#c")->ShowMaskList(TIRCChannel::InviteList);
    for (int i = 0; i < TIRCChannel::kMaxListMasks + 50; i++)
        Feed(":srv 346 kvnick #c m" + std::to_string(i) + "!*@*");
    Feed(":srv 367 kvnick #c ban!*@*");
    ASSERT_EQ(windows.lists.size(), 1u);
    EXPECT_EQ((int)windows.lists[0]->masks.size(), TIRCChannel::kMaxListMasks);
    // Those past the bound are not lost: they are shown as reply lines, as without a window.
    std::string shown;
    for (const std::string& line : recorder.ViewTexts(nullptr))
        shown += line + "\n";
    for (int i = TIRCChannel::kMaxListMasks; i < TIRCChannel::kMaxListMasks + 50; i++)
        EXPECT_NE(shown.find("#c m" + std::to_string(i) + "!*@*\n"), std::string::npos) << i;
    EXPECT_EQ(shown.find("#c m0!*@*"), std::string::npos);
}

TEST_F(RepliesTest, ListFlagsFollowTheirReplies)
{
    LogIn();
    const struct {
        const char* start;
        const char* end;
        int flag;
    } cases[] = {{"311 kvnick n u h * :r", "318 kvnick n :End", 2},
                 {"314 kvnick n u h * :r", "369 kvnick n :End", 3},
                 {"322 kvnick #c 5 :topic", "323 kvnick :End", 4},
                 {"352 kvnick #c u h s n H :0 r", "315 kvnick #c :End", 1},
                 {"353 kvnick = #c :a b", "366 kvnick #c :End", 0}};
    for (const auto& c : cases) {
        Feed(std::string(":srv ") + c.start);
        EXPECT_TRUE(unit->GetSession().replyFlags[c.flag]) << c.start;
        Feed(std::string(":srv ") + c.end);
        EXPECT_FALSE(unit->GetSession().replyFlags[c.flag]) << c.end;
    }
}

TEST(ServerTime, UnconvertibleTimesShowTheNumber)
{
    EXPECT_EQ(FormatServerTime(-1, L"-1"), L"-1");
    EXPECT_EQ(FormatServerTime(L"99999999999999999999"), L"99999999999999999999");
    EXPECT_EQ(FormatServerTime(L"100000000000"), L"100000000000");
    CString normal = FormatServerTime(L"1700000000");
    EXPECT_EQ(normal.GetLength(), 16) << "yyyy/mm/dd hh:mm";
    EXPECT_EQ(normal.Left(4), L"2023");
    EXPECT_EQ(ReadUnsignedReply(L"99999999999999999999999"), ~0ULL);
    EXPECT_EQ(ReadUnsignedReply(L"3725x"), 3725u);
    EXPECT_EQ(ReadUnsignedReply(L"abc"), 0u);
}

// Every numeric the received side handles, with no, short, empty, huge and hostile fields.
TEST_F(RepliesTest, HostileRepliesNeitherCrashNorGrowWithoutBound)
{
    LogIn({"#c"}, "a");
    const int numbers[] = {1,   5,   221, 301, 305, 306, 311, 312, 313, 314, 315, 317, 318, 319, 322,
                           323, 324, 329, 331, 332, 333, 341, 344, 345, 346, 347, 348, 349, 352, 353,
                           366, 367, 368, 369, 376, 403, 405, 432, 433, 436, 437, 471, 474, 999};
    const std::string fields[] = {"",
                                  " kvnick",
                                  " kvnick #c",
                                  " kvnick #c :",
                                  " kvnick #c 99999999999999999999 -99999999999999999999 :x",
                                  " kvnick #c -1 -1 -1",
                                  " kvnick #c a b c d e f g h i j k l m n o",
                                  " kvnick #c @ + ~ :@ + ~ & %",
                                  " kvnick #c \x07o \x01 :\x01\x01"};
    Channel(L"#c")->ShowMaskList(TIRCChannel::BanList);
    for (int number : numbers)
        for (const std::string& rest : fields)
            Feed(":srv " + std::to_string(number) + rest);
    EXPECT_LE(Channel(L"#c")->GetMembers().GetCount(), 40);
    std::string many = ":srv 353 kvnick = #new :";
    for (int i = 0; i < 20000; i++)
        many += "n" + std::to_string(i) + " ";
    Feed(":kvnick!u@h JOIN #new");
    for (int i = 0; i < 10; i++)
        Feed(many);
    EXPECT_EQ(Channel(L"#new")->GetMembers().GetCount(), 20001);
}

class NickRetryTest : public TReceiveTest {
protected:
    // Registering as kvnick; returns the NICK lines the refusals made.
    Lines Refuse(int times, const char* number = "433")
    {
        Lines nicks;
        for (int i = 0; i < times; i++) {
            Feed(std::string(":srv ") + number + " * " + Narrow(unit->GetSession().currentNick) + " :in use");
            for (const std::string& line : TakeQueued())
                nicks.push_back(line);
        }
        return nicks;
    }
    void Register()
    {
        MakeUnit();
        StartOffline();
        TakeQueued();
    }
};

TEST_F(NickRetryTest, AlternativesComeFirstThenUnderscores)
{
    settings.AltNicks = L"alt1 alt2";
    settings.SetAltNicks(settings.AltNicks);
    preference.NickPolicy = 0;
    Register();
    EXPECT_EQ(Refuse(4), (Lines{"NICK alt1", "NICK alt2", "NICK alt2_", "NICK alt2__"}));
}

TEST_F(NickRetryTest, UnderscoresShaveTheNickAtItsMaximumAndGiveUpWhenOnlyUnderscoresAreLeft)
{
    settings.Nick = L"abcdefghi";
    preference.NickPolicy = 0;
    Register();
    EXPECT_EQ(Refuse(2), (Lines{"NICK abcdefgh_", "NICK abcdefg__"}));

    settings.Nick = L"_________";
    Register();
    EXPECT_TRUE(Refuse(1).empty());
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
}

// The maximum is the server's (9 here), or the server setting's own length while it is switched on.
TEST_F(NickRetryTest, NumbersFitTheMaximumLength)
{
    const struct {
        bool ownLength;
        Lines nicks;
    } cases[] = {{false, {"NICK abcdefg10"}}, {true, {"NICK abcdefghi10"}}};
    for (const auto& c : cases) {
        settings.Nick = L"abcdefghi";
        settings.EnableNickLen = c.ownLength;
        settings.NickLen = 11;
        preference.NickPolicy = 1;
        Register();
        unit->GetSession().nickRetryCount = 10;
        EXPECT_EQ(Refuse(1), c.nicks) << c.ownLength;
    }
}

// A server's absurd NICKLEN is not believed for the nicks the retry builds, but the user's own
// length holds up to what its page allows; the nick the user types in the question may be as long
// as the change-nick dialog takes.
TEST_F(NickRetryTest, TheOwnNickLengthHoldsWhereAServersAnnouncementIsCut)
{
    const struct {
        const char* announced;
        bool own;
        int ownLength;
        int longest; // of a built nick
        int asked;   // the question's limit
    } cases[] = {
        {"NICKLEN=1000", false, 9, 64, 1000}, {"NICKLEN=1000", true, 100, 100, 1000},
        {"NICKLEN=100", false, 9, 64, 100},   {"NICKLEN=30", true, 100, 100, 100},
        {"NICKLEN=30", true, 20, 30, 30},     {"NICKLEN=30", false, 100, 30, 30},
        {"NICKLEN=9", true, 500, 500, 500},   {"NICKLEN=9", true, 100000, 500, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.announced) + " " + std::to_string(c.ownLength));
        settings.Nick = CString(L'a', 600);
        settings.EnableNickLen = c.own;
        settings.NickLen = c.ownLength;
        preference.NickPolicy = 0;
        Register();
        Feed(std::string(":srv 005 * ") + c.announced + " :are supported");
        EXPECT_EQ(Refuse(1), Lines{"NICK " + std::string((size_t)c.longest - 1, 'a') + "_"});

        preference.NickPolicy = 2;
        Register();
        Feed(std::string(":srv 005 * ") + c.announced + " :are supported");
        EXPECT_TRUE(Refuse(1).empty());
        TNickRequest request;
        ASSERT_TRUE(unit->TakeNickQuestion(request));
        EXPECT_EQ(request.nickLength, c.asked);
    }
}

// A question still waiting when the connection ends is about a nick of that session only.
TEST_F(NickRetryTest, AQuestionWaitingAtADisconnectIsNotAskedInTheNextSession)
{
    // That it is asked while the session goes on is the nick-length test's.
    preference.NickPolicy = 2;
    Register();
    EXPECT_TRUE(Refuse(1).empty());
    unit->Disconnect(false, false);
    StartOffline();
    TNickRequest request;
    EXPECT_FALSE(unit->TakeNickQuestion(request));
}

// Underscores run out at the maximum length; numbers answer every refusal, each one the server's.
TEST_F(NickRetryTest, UnderscoresRunOutWhileNumbersAnswerEveryRefusal)
{
    preference.NickPolicy = 0;
    settings.Nick = L"kvnick";
    Register();
    unit->GetSession().capabilities.SetValue(L"NICKLEN=2000000000");
    size_t tries = Refuse(1000).size() + Refuse(1000, "432").size();
    EXPECT_LT(tries, 200u);
    EXPECT_GT(tries, 5u);

    preference.NickPolicy = 1;
    Register();
    Lines nicks = Refuse(150);
    ASSERT_EQ(nicks.size(), 150u);
    EXPECT_EQ(nicks.back(), "NICK kvnick149");
}

// The refused nick is made valid where it is kept, so the nicks built after it are valid too.
TEST_F(NickRetryTest, AnErroneousNickIsMadeValidAndTheNextNicksBuildOnIt)
{
    const struct {
        const wchar_t* nick;
        int policy;
        const char* second; // the refusal after the first 432
        Lines nicks;
    } cases[] = {
        {L"taro.k", 1, "433", {"NICK taro_k", "NICK taro_k0", "NICK taro_k1"}},
        {L"taro.k", 0, "433", {"NICK taro_k", "NICK taro_k_", "NICK taro_k__"}},
        {L"bad nick", 0, "432", {"NICK bad_nick", "NICK bad_nick_", "NICK bad_nic__"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.nick) + " " + c.second);
        settings.Nick = c.nick;
        preference.NickPolicy = c.policy;
        Register();
        Lines nicks = Refuse(1, "432");
        for (const std::string& nick : Refuse(2, c.second))
            nicks.push_back(nick);
        EXPECT_EQ(nicks, c.nicks);
    }
}

// The own JOIN or a refusal ends the retries of the JOIN sent, and the creation of a safe channel
// with them; other answers leave both waiting.
TEST_F(RepliesTest, OwnJoinsAndRefusalsEndRetriesAndSafeChannelCreation)
{
    struct Case {
        const wchar_t* sent;
        const char* answer;
        bool loggedIn;
        size_t records;
        bool safeLeft;
    };
    const Case cases[] = {
        {L"#a", ":srv 405 kvnick #a :Cannot join", true, 0, false},
        {L"#a", ":srv 471 kvnick #a :Cannot join", true, 0, false},
        {L"#a", ":srv 473 kvnick #a :Cannot join", true, 0, false},
        {L"#a", ":srv 474 kvnick #a :Cannot join", true, 0, false},
        {L"#a", ":srv 475 kvnick #a :Cannot join", true, 0, false},
        {L"#a", ":srv 476 kvnick #a :Cannot join", true, 0, false},
        {L"!safe", ":srv 471 kvnick !safe :Cannot join", true, 0, false},
        {L"!safe", ":srv 474 kvnick !ABCDEsafe :Cannot join", true, 0, false},
        {L"!safe", ":srv 477 kvnick !safe :Cannot join", true, 1, true},
        {L"!safe", ":srv 471 kvnick !safe :Cannot join", false, 1, true},
        {L"#a", ":kvnick!u@h JOIN :#a", true, 0, false},
        {L"!safe", ":kvnick!u@h JOIN :!ABCDEsafe", true, 0, false},
        {L"!ABCDEsafe", ":kvnick!u@h JOIN :!ABCDEsafe", true, 0, false},
        {L"!safe", ":other!u@h JOIN :!ABCDEsafe", true, 1, true},
        {L"#a", ":kvnick!u@h JOIN :#b", true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.sent) + " / " + c.answer + (c.loggedIn ? "" : " registering"));
        LogIn();
        if (!c.loggedIn)
            unit->GetSession().state = TIRCUnit::StateRegistering;
        preference.RejoinOnError437 = true;
        unit->SendJoin(c.sent, L"key");
        Feed(c.answer);
        EXPECT_EQ(unit->GetRejoinManager().GetRecordCount(), c.records);
        EXPECT_EQ(unit->GetSafeJoinManager().Contains(c.sent), c.safeLeft);
    }
}

TEST_F(RepliesTest, UnavailableChannelIsRejoinedOnlyWhenLoggedInAndByItsShortName)
{
    struct Case {
        const char* channel;
        bool loggedIn;
        bool rejoin;
        Lines sent;
    };
    // A name of the server's that would join more than one channel (",0" leaves them all) is
    // refused with a line.
    const Case cases[] = {
        {"#busy", true, true, {"JOIN #busy"}},
        {"!ABCDEbusy", true, true, {"JOIN !busy"}},
        {"#busy", false, true, {}},
        {"#busy", true, false, {}},
        {"#a,0", true, true, {}},
        {"!ABCDEa,0", true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.channel) + (c.loggedIn ? " logged in" : " registering"));
        LogIn();
        preference.RejoinOnError437 = c.rejoin;
        preference.Error437RejoinInterval = 1;
        if (!c.loggedIn)
            unit->GetSession().state = TIRCUnit::StateRegistering;
        Refuse437(c.channel);
        unit->GetSession().state = TIRCUnit::StateLoggedIn;
        TakeQueued();
        EXPECT_EQ(JoinsAfterTwoTicks(), c.sent);
        bool told = recorder.ViewTexts(nullptr).back().find("一つのチャンネル名ではない") != std::string::npos;
        EXPECT_EQ(told, std::string(c.channel).find(',') != std::string::npos);
    }
}

// A server's own 437 names fill a bound; the user's joins, keyed or not, are retried past it, and
// retrying the server's names does not make room for more of them.
TEST_F(RepliesTest, TheUsersOwnJoinsAreRetriedPastTheBoundOfTheServersNames)
{
    LogIn();
    preference.RejoinOnError437 = true;
    preference.Error437RejoinInterval = 1;
    preference.Error437RejoinCount = 0;
    for (size_t i = 0; i < TRejoinManager::kMaxRecords; i++)
        Refuse437(("#flood" + std::to_string(i)).c_str());
    ASSERT_FALSE(JoinsAfterTwoTicks().empty()) << "the flood is retried";
    const struct {
        const wchar_t* typed; // null: nobody joined it
        const char* refused;
        Lines sent;
    } cases[] = {
        {L"join #busy", "#busy", {"JOIN #busy"}},
        {L"join #locked sesame", "#locked", {"JOIN #locked sesame"}},
        {nullptr, "#invented", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        if (c.typed)
            unit->ExecuteCommand(c.typed, false);
        TakeQueued();
        Refuse437(c.refused);
        EXPECT_EQ(JoinsAfterTwoTicks(), c.sent);
    }
}

// Switched off, the rejoin neither counts down nor takes refusals in, and the retry that was
// waiting is dropped, so switching it on again sends nothing stale; the channel keeps the count
// it has used.
TEST_F(RepliesTest, TurningTheRejoinOffDropsTheWaitingRetryAndKeepsTheCount)
{
    LogIn();
    preference.RejoinOnError437 = true;
    preference.Error437RejoinInterval = 1;
    preference.Error437RejoinCount = 2;
    Refuse437("#busy");
    preference.RejoinOnError437 = false;
    unit->ApplyPreferences();
    Refuse437("#other");
    EXPECT_TRUE(JoinsAfterTwoTicks().empty());
    EXPECT_EQ(unit->GetRejoinManager().GetPendingCount(), 0u);
    preference.RejoinOnError437 = true;
    unit->ApplyPreferences();
    EXPECT_TRUE(JoinsAfterTwoTicks().empty()) << "the dropped retry stays dropped";
    Refuse437("#busy");
    EXPECT_EQ(JoinsAfterTwoTicks(), Lines{"JOIN #busy"});
    // The third refusal passes the limit of two, however the switch went in between.
    Refuse437("#busy");
    EXPECT_TRUE(JoinsAfterTwoTicks().empty());
    EXPECT_EQ(unit->GetRejoinManager().GetRecordCount(), 0u);
}

TEST_F(RepliesTest, NoSuchSafeChannelIsCreatedOnce)
{
    struct Case {
        const wchar_t* joined;
        const char* reply;
        Lines sent;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {L"!abc", "!abc", {"JOIN !!abc"}, {}},
        {L"!abc", "!ABC", {"JOIN !!ABC"}, {}},
        {L"!", "!", {}, {}},
        {L"!abc", "!xyz", {}, {"NumericReply 403 !xyz No such channel"}},
        {L"#abc", "#abc", {}, {"NumericReply 403 #abc No such channel"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.joined) + " / " + c.reply);
        LogIn();
        unit->SendJoin(c.joined, L"");
        TakeQueued();
        Feed(std::string(":srv 403 kvnick ") + c.reply + " :No such channel");
        EXPECT_EQ(TakeQueued(), c.sent);
        EXPECT_EQ(scriptEvents.events, c.events);
    }
    // The creation request itself is refused like any other channel.
    LogIn();
    unit->SendJoin(L"!abc", L"");
    Feed(":srv 403 kvnick !abc :No such channel");
    Feed(":srv 403 kvnick !!abc :No such channel");
    TakeQueued();
    EXPECT_EQ(scriptEvents.events, (std::vector<std::string>{"NumericReply 403 !!abc No such channel"}));
    EXPECT_FALSE(unit->GetSafeJoinManager().Contains(L"!abc"));
}

} // namespace
