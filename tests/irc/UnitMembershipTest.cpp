// JOIN, PART, QUIT and NICK keep channels, talks and members in step.

#include "tests/common/StringPrinter.h"
#include "tests/irc/ReceiveTestSupport.h"

#include "foundation/ResourceString.h"
#include "irc/MemberManager.h"
#include "res/strings/irc.h"

namespace {

class MembershipTest : public TReceiveTest {};

TEST_F(MembershipTest, OwnJoinMakesAJoinedNodeAndListsTheUser)
{
    LogIn();
    Feed(":kvnick!ident@my.host JOIN :#new");
    TIRCChannel* channel = Channel(L"#new");
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->IsJoined());
    EXPECT_EQ(channel->GetName(), L"#new");
    EXPECT_EQ(Nicks(L"#new"), (NickList{L"kvnick"}));
    EXPECT_EQ(Member(L"#new", L"kvnick")->host, L"my.host");
    EXPECT_EQ(unit->GetSession().userName, L"ident");
    EXPECT_EQ(unit->GetSession().host, L"my.host");
    EXPECT_EQ(windows.added, (std::vector<TIRCChannel*>{channel}));
    EXPECT_EQ(windows.treeStores, 1);
}

TEST_F(MembershipTest, SafeAndMaskedChannelsGetTheirShortNodeNames)
{
    LogIn();
    Feed(":kvnick!u@h JOIN :!ABCDEsafe");
    Feed(":kvnick!u@h JOIN :#local:*.jp");
    ASSERT_EQ(unit->GetChannels().size(), 2u);
    EXPECT_EQ(unit->GetChannels()[0]->GetName(), L"!safe");
    EXPECT_EQ(unit->GetChannels()[0]->GetIRCName(), L"!ABCDEsafe");
    EXPECT_EQ(unit->GetChannels()[1]->GetName(), L"%local");
    EXPECT_EQ(unit->GetChannels()[1]->GetIRCName(), L"#local:*.jp");
}

TEST_F(MembershipTest, JoinWithBellSuffixGivesOperatorOnlyForO)
{
    LogIn({"#c"});
    Feed(":a!u@h JOIN :#c\x07o");
    Feed(":b!u@h JOIN :#c\x07v");
    Feed(":c!u@h JOIN :#c\x07");
    EXPECT_EQ(Nicks(L"#c"), (NickList{L"a", L"b", L"c", L"kvnick"}));
    EXPECT_TRUE(Member(L"#c", L"a")->o);
    EXPECT_FALSE(Member(L"#c", L"b")->o || Member(L"#c", L"b")->v);
    EXPECT_FALSE(Member(L"#c", L"c")->o);
}

TEST_F(MembershipTest, OthersComeAndGo)
{
    LogIn({"#a", "#b"}, "x y");
    Feed(":z!u@h JOIN #a");
    Feed(":x!u@h PART #a :bye");
    Feed(":y!u@h QUIT :gone");
    Feed(":w!u@h JOIN #unknown");
    EXPECT_EQ(Nicks(L"#a"), (NickList{L"kvnick", L"z"}));
    EXPECT_EQ(Nicks(L"#b"), (NickList{L"kvnick", L"x"}));
    EXPECT_EQ(Channel(L"#unknown"), nullptr);
}

TEST_F(MembershipTest, AnonymousChannelsListNobodyElse)
{
    LogIn({"#anon"});
    Feed(":irc.example 324 kvnick #anon +a");
    Feed(":x!u@h JOIN #anon");
    EXPECT_EQ(Nicks(L"#anon"), (NickList{L"kvnick"}));
}

TEST_F(MembershipTest, OwnPartLeavesTheNodeInTheTree)
{
    LogIn({"#c"}, "x");
    Feed(":kvnick!u@h PART #c :later");
    ASSERT_NE(Channel(L"#c"), nullptr);
    EXPECT_FALSE(Channel(L"#c")->IsJoined());
    EXPECT_TRUE(Nicks(L"#c").empty());
}

TEST_F(MembershipTest, OwnTestIsExactAboutLetterCase)
{
    LogIn({"#c"});
    Feed(":KVNICK!u@h PART #c");
    EXPECT_TRUE(Channel(L"#c")->IsJoined());
    EXPECT_TRUE(Nicks(L"#c").empty()) << "the member KVNICK folds onto kvnick and leaves";
}

TEST_F(MembershipTest, NickChangesFollowMembersTalksAndTheUser)
{
    LogIn({"#a", "#b"}, "old");
    AddChannel(L"old", TIRCChannel::KindTalk)->OnJoined();
    AddChannel(L"new", TIRCChannel::KindTalk);
    Feed(":old!u2@h2 NICK :new");
    EXPECT_EQ(Nicks(L"#a"), (NickList{L"kvnick", L"new"}));
    EXPECT_EQ(Member(L"#b", L"new")->user, L"u2");
    ASSERT_EQ(unit->GetChannels().size(), 3u) << "the talk already named new was removed";
    EXPECT_EQ(unit->GetChannels()[2]->GetName(), L"new");
    EXPECT_EQ(windows.renamed.size(), 1u);

    Feed(":kvnick!u@h NICK :me2");
    EXPECT_EQ(unit->GetSession().currentNick, L"me2");
    EXPECT_EQ(Nicks(L"#a"), (NickList{L"me2", L"new"}));
}

// Lines missing their channel or nick change nothing, yet each is shown where its event goes and
// reaches the scripts, as any other event for a channel without a node. No other line a broken or
// hostile server may send crashes or invents members or channels either.
TEST_F(MembershipTest, EventsWithoutTheirChannelOrNickAreStillShownAndReported)
{
    LogIn({"#c"}, "x");
    const struct {
        const char* line;
        const char* event;   // the script event, or null for none
        const char* server;  // the line the server log gains (without its time), or null for none
        const char* channel; // the same for #c
        const char* allLog;  // the all-channels log's last line, or null when not checked
    } rows[] = {
        {":x!u@h MODE", "Mode  ", "*x mode ", nullptr, nullptr},
        {":x!u@h TOPIC", "Topic  ", "*x topic : ", nullptr, nullptr},
        {":x!u@h INVITE kvnick", "Invite ", "*x invite you to ", nullptr, nullptr},
        {":x!u@h KICK", "Kick   ", "*x kick  ()", nullptr, nullptr},
        {":x!u@h KICK #c", "Kick #c  ", nullptr, "*x kick  ()", nullptr},
        {":x!u@h KILL", nullptr, nullptr, nullptr, "<testnet> *x kill  ()"},
        {":x!u@h JOIN", "Join ", "*x join  (u@h)", nullptr, nullptr},
        {"JOIN #c", "Join #c", nullptr, "* join #c (@)", nullptr},
        {":kvnick!u@h JOIN", "Join ", nullptr, nullptr, nullptr},
        {":x!u@h PART", "Part  ", "*x part ()", nullptr, nullptr},
        {"PART #c :bye", "Part #c bye", nullptr, "* part (bye)", nullptr},
        {"QUIT :gone", "Quit gone", nullptr, nullptr, "<testnet> * quit (gone)"},
        {":x!u@h NICK", "Nick ", nullptr, "*nick x → ", "<testnet> *nick x → "},
        {"NICK :y", "Nick y", nullptr, nullptr, "<testnet> *nick  → y"},
        {":kvnick!u@h NICK", "Nick ", "*nick kvnick → ", "*nick kvnick → ", "<testnet> *nick kvnick → "},
        {":y!u@h JOIN #c", "Join #c", nullptr, "*y join #c (u@h)", nullptr}, // with both: a member
    };
    auto one = [](const char* text) { return text ? Lines{text} : Lines{}; };
    for (const auto& row : rows) {
        size_t server = recorder.ViewTexts(nullptr).size(), channel = recorder.ViewTexts(Channel(L"#c")).size();
        scriptEvents.events.clear();
        Feed(row.line);
        EXPECT_EQ(scriptEvents.events, one(row.event)) << row.line;
        EXPECT_EQ(WithoutTimes(recorder.ViewTexts(nullptr), server), one(row.server)) << row.line;
        EXPECT_EQ(WithoutTimes(recorder.ViewTexts(Channel(L"#c")), channel), one(row.channel)) << row.line;
        Lines all = recorder.AllLogTexts();
        if (row.allLog) {
            EXPECT_EQ(all.empty() ? Lines{} : WithoutTimes(all, all.size() - 1), one(row.allLog)) << row.line;
        }
    }
    for (const char* line :
         {":x!u@h JOIN :", ":x!u@h JOIN : ", ":x!u@h PART :", "PART #c", ":x!u@h NICK :", ":x!u@h NICK : ", "QUIT :bye",
          ":x!u@h KICK #c :", ":x!u@h MODE #c +o", ":x!u@h MODE #c +v nobody", ":x!u@h JOIN :\x07o", ":x!u@h PRIVMSG",
          ":x!u@h NOTICE", "PRIVMSG #c :x"})
        Feed(line);
    ASSERT_EQ(Nicks(L"#c"), (NickList{L"kvnick", L"x", L"y"}));
    EXPECT_FALSE(Member(L"#c", L"x")->v);
    EXPECT_EQ(unit->GetChannels().size(), 1u);
    EXPECT_EQ(unit->GetSession().currentNick, L"kvnick");
}

// Members joining are classified by the user groups: the user and group 1 as self, the other
// groups by their index; with no groups set only the user is.
TEST_F(MembershipTest, JoiningMembersTakeTheirUserGroups)
{
    const struct {
        bool groups;
        const wchar_t* nick;
        int kind, index;
    } cases[] = {{true, L"kvnick", 2, -1}, {true, L"twin", 2, -1},     {true, L"friend", 1, 1},
                 {true, L"last", 1, 4},    {true, L"stranger", 0, -1}, {false, L"kvnick", 2, -1},
                 {false, L"twin", 0, -1},  {false, L"friend", 0, -1}};
    for (bool groups : {true, false}) {
        preference.userGroups = TUserGroupList();
        if (groups) {
            preference.userGroups.groups[0].masks = {L"*!*@twin.example"};
            preference.userGroups.groups[2].masks = {L"friend!*@*"};
            preference.userGroups.groups[5].masks = {L"last!*@*"};
        }
        LogIn({"#g"});
        for (const char* nick : {"twin", "friend", "last", "stranger"})
            Feed(std::string(":") + nick + "!u@" + (nick == std::string("twin") ? "twin" : "other") +
                 ".example JOIN #g");
        for (const auto& c : cases) {
            if (c.groups != groups)
                continue;
            TIRCMember* member = Member(L"#g", c.nick);
            ASSERT_NE(member, nullptr) << c.nick;
            EXPECT_EQ(member->groupKind, c.kind) << c.nick << (groups ? " with groups" : " without groups");
            EXPECT_EQ(member->groupIndex, c.index) << c.nick;
        }
    }
}

// Names from the server past the list's bound are told once in that channel, and once more after
// a rejoin; the other channel hears nothing.
TEST_F(MembershipTest, AFullMemberListIsToldInItsChannel)
{
    LogIn({"#a"});
    const Lines other = recorder.ViewTexts(Channel(L"#a"));
    const std::string full = Narrow(LoadResourceString(IDS_MEMBER_LIST_FULL));
    auto told = [&] {
        int count = 0;
        for (const std::string& text : recorder.ViewTexts(Channel(L"#b")))
            count += text.find(full) != std::string::npos ? 1 : 0;
        return count;
    };
    // Joined with ten past the bound, in NAMES lines of a server's ordinary length.
    auto joinPastTheBound = [&] {
        Feed(":kvnick!kvuser@my.host JOIN :#b");
        const int perLine = 40;
        for (int first = 0; first < TIRCMemberManager::kMaxMembers + 10; first += perLine) {
            std::string line = ":irc.example 353 kvnick = #b :";
            for (int i = first; i < first + perLine; i++)
                line += "m" + std::to_string(i) + " ";
            Feed(line);
        }
        Feed(":irc.example 366 kvnick #b :End");
    };
    joinPastTheBound();
    ASSERT_EQ(Channel(L"#b")->GetMembers().GetCount(), TIRCMemberManager::kMaxMembers);
    EXPECT_EQ(told(), 1);
    Feed(":late!u@h JOIN #b");
    EXPECT_EQ(told(), 1) << "told once";

    Feed(":kvnick!kvuser@my.host PART #b :later");
    joinPastTheBound();
    EXPECT_EQ(told(), 2) << "told again after the rejoin";
    EXPECT_EQ(recorder.ViewTexts(Channel(L"#a")), other);
}

} // namespace
