#include "tests/common/StringPrinter.h"
#include "tests/irc/ChannelFakes.h"

#include <gtest/gtest.h>

namespace {

// "@+nick" style: leading q a o h v letters before a '/' give the modes ("ov/nick").
TIRCMember Make(const wchar_t* modesAndNick, int groupKind = 0, int groupIndex = -1)
{
    CString text = modesAndNick;
    TIRCMember member;
    int slash = text.Find(L'/');
    for (int i = 0; i < slash; i++)
        member.SetMode(text[i], true);
    member.nick = text.Mid(slash + 1);
    member.groupKind = groupKind;
    member.groupIndex = groupIndex;
    return member;
}

std::vector<CString> Sorted(std::vector<TIRCMember> members, int method)
{
    std::vector<const TIRCMember*> order;
    for (const TIRCMember& m : members)
        order.push_back(&m);
    std::stable_sort(order.begin(), order.end(),
                     [&](const TIRCMember* a, const TIRCMember* b) { return CompareMembers(a, b, method) < 0; });
    std::vector<CString> nicks;
    for (const TIRCMember* m : order)
        nicks.push_back(m->nick);
    return nicks;
}

class MemberManagerTest : public ::testing::Test {
protected:
    MemberManagerTest() : members(&unit) {}
    TFakeClassifier unit;
    TIRCMemberManager members;
};

} // namespace

TEST(Member, PrefixShowsTheHighestMode)
{
    const struct {
        const wchar_t* member;
        const wchar_t* prefix;
        bool op;
    } cases[] = {{L"ov/x", L"@", true}, {L"h/x", L"%", false}, {L"/x", L"", false},
                 {L"qv/x", L"~", true}, {L"av/x", L"&", true}, {L"v/x", L"+", false}};
    for (const auto& c : cases) {
        TIRCMember m = Make(c.member);
        EXPECT_EQ(m.GetPrefixChar(), c.prefix) << c.member;
        EXPECT_EQ(m.IsOp(), c.op) << c.member;
    }
}

TEST(Member, ActivityRisesAndHalvesPerWholeMinute)
{
    TIRCMember m;
    m.lastDecayTime = 1000;
    m.AddActivity();
    EXPECT_EQ(m.activity, 100);
    m.AddActivity();
    EXPECT_EQ(m.activity, 120);
    m.DecayActivity(1059);
    EXPECT_EQ(m.activity, 120);
    EXPECT_EQ(m.lastDecayTime, 1000);
    m.DecayActivity(1120);
    EXPECT_EQ(m.activity, 30);
    EXPECT_EQ(m.lastDecayTime, 1120);
    // A clock far ahead decays to nothing instead of overflowing the shift.
    m.DecayActivity(1120 + 60LL * 100000);
    EXPECT_EQ(m.activity, 0);
}

TEST(Member, SecondActivityCountsLinesThatNameTheUser)
{
    const struct {
        const wchar_t* ownNick;
        const wchar_t* text;
        float first, second;
    } cases[] = {{L"[Taro]", L"hello taro!", 20, 25}, {L"taro", L"hello all", 4, 5}, {L"[__]", L"x", 0, 0}};
    for (const auto& c : cases) {
        TIRCMember m;
        m.AddSecondActivity(c.ownNick, c.text);
        EXPECT_EQ(m.secondActivity, c.first) << c.text;
        m.AddSecondActivity(c.ownNick, c.text);
        EXPECT_EQ(m.secondActivity, c.second) << c.text;
    }
}

TEST(Member, SortMethods)
{
    std::vector<TIRCMember> list = {Make(L"/zed"),      Make(L"v/Vic"),     Make(L"o/bob"), Make(L"o/Alice"),
                                    Make(L"/g4", 1, 3), Make(L"/g1", 1, 0), Make(L"/me", 2)};
    using V = std::vector<CString>;
    EXPECT_EQ(Sorted(list, 1), (V{L"Alice", L"bob", L"Vic", L"g1", L"g4", L"me", L"zed"}));
    EXPECT_EQ(Sorted(list, 2), (V{L"me", L"g1", L"g4", L"Alice", L"bob", L"Vic", L"zed"}));
    EXPECT_EQ(Sorted(list, 4), (V{L"me", L"g1", L"g4", L"Alice", L"bob", L"Vic", L"zed"}));
    EXPECT_EQ(Sorted(list, 0), (V{L"Alice", L"bob", L"g1", L"g4", L"me", L"Vic", L"zed"}));
    std::vector<TIRCMember> mixed = {Make(L"/me", 2), Make(L"o/op", 0), Make(L"o/grp", 1, 0)};
    EXPECT_EQ(Sorted(mixed, 3), (V{L"grp", L"op", L"me"}));
    EXPECT_EQ(Sorted(mixed, 4), (V{L"me", L"grp", L"op"}));
}

// Nicks fold ASCII letters only, and nicks that fold alike still keep one order.
TEST(Member, NickOrderFoldsAsciiLettersOnly)
{
    const struct {
        const wchar_t* first;
        const wchar_t* second;
    } cases[] = {{L"alice", L"Bob"}, {L"[x]", L"Zed"},   {L"_u", L"anna"},         {L"ab", L"ABC"},
                 {L"Bob", L"bob"},   {L"zz", L"\u00C4"}, {L"\u00C4b", L"\u00E4a"}, {L"a1", L"A2"}};
    for (const auto& c : cases) {
        TIRCMember a = Make((CString(L"/") + c.first).GetString()), b = Make((CString(L"/") + c.second).GetString());
        EXPECT_LT(CompareMembers(&a, &b, 0), 0) << c.first << " before " << c.second;
        EXPECT_GT(CompareMembers(&b, &a, 0), 0) << c.second << " after " << c.first;
    }
    TIRCMember same = Make(L"/Same"), again = Make(L"/Same");
    EXPECT_EQ(CompareMembers(&same, &again, 0), 0);
}

TEST(Member, WhoRowsSortByColumnThenNick)
{
    TIRCMember a = Make(L"o/b"), b = Make(L"/a");
    a.user = L"Zed", b.user = L"yak";
    a.host = b.host = L"same";
    EXPECT_LT(CompareWhoRows(&a, &b, 0), 0);
    EXPECT_GT(CompareWhoRows(&a, &b, 2), 0);
    EXPECT_GT(CompareWhoRows(&a, &b, 3), 0);
    EXPECT_GT(CompareWhoRows(&a, &b, 1), 0);
}

TEST_F(MemberManagerTest, FoldedNicksFindTheSameMember)
{
    members.AddMember(TIRCMember(L"Nick[a]", L"u", L"h"), true);
    for (const wchar_t* nick : {L"nick[a]", L"NICK{A}", L"nick{a}"})
        EXPECT_NE(members.Find(nick), nullptr) << nick;
    EXPECT_EQ(members.Find(L"nick~a~"), nullptr);
    EXPECT_EQ(members.Find(L"nick[a"), nullptr);
}

TEST_F(MemberManagerTest, AddKeepsKnownAddressUnlessReplacingAll)
{
    members.AddMember(TIRCMember(L"a", L"user", L"host"), true);
    members.AddMember(TIRCMember(L"A", L"", L"new"), false);
    TIRCMember* m = members.Find(L"a");
    EXPECT_EQ(m->nick, L"A");
    EXPECT_EQ(m->user, L"user");
    EXPECT_EQ(m->host, L"new");
    members.AddMember(TIRCMember(L"a", L"", L""), true);
    EXPECT_EQ(m->user, L"");
    EXPECT_EQ(members.GetCount(), 1);
}

TEST_F(MemberManagerTest, RenameOntoAnotherMemberRemovesThatOne)
{
    members.SetMemberView(&unit.view);
    members.AddMember(TIRCMember(L"old", L"u", L"h"), true);
    members.AddMember(TIRCMember(L"new", L"x", L"y"), true);
    members.RenameMember(L"old", L"new");
    EXPECT_EQ(members.GetCount(), 1);
    EXPECT_EQ(members.Find(L"new")->user, L"u");
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"new"}));
    members.RenameMember(L"new", L"NEW");
    EXPECT_EQ(members.GetNicks(), (std::vector<CString>{L"NEW"}));
    members.RenameMember(L"absent", L"other");
    EXPECT_EQ(members.GetCount(), 1);
}

TEST_F(MemberManagerTest, ViewsFollowEveryChange)
{
    TFakeMemberView who;
    members.SetMemberView(&unit.view);
    members.SetWhoList(&who);
    members.AddMember(TIRCMember(L"zed", L"u", L"h"), true);
    members.AddMember(TIRCMember(L"amy", L"u2", L"h2"), true);
    members.ChangeMemberMode(L"zed", L'o', true);
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"zed", L"amy"}));
    members.ChangeMemberMode(L"zed", L'o', false);
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"amy", L"zed"})) << "a mode change moves the row";
    members.ChangeMemberMode(L"zed", L'o', true);
    members.AddOrUpdateMember(L"amy", L"", L"", L"irc.example", L"Amy A", false, false, false, false, true);
    EXPECT_EQ(members.Find(L"amy")->user, L"u2");
    EXPECT_TRUE(members.Find(L"amy")->v);
    EXPECT_EQ(who.items[(size_t)who.FindItem(members.Find(L"amy"))].columns[5], L"irc.example");
    EXPECT_TRUE(members.UpdateUserHost(L"zed", L"", L"h9"));
    EXPECT_FALSE(members.UpdateUserHost(L"zed", L"u", L"h9"));
    EXPECT_FALSE(members.UpdateUserHost(L"nobody", L"u", L"h"));
    members.RemoveMember(L"zed");
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"amy"}));
    EXPECT_EQ(who.Column(1), (std::vector<CString>{L"amy"}));
    members.Clear();
    EXPECT_TRUE(unit.view.items.empty() && who.items.empty());
    EXPECT_EQ(members.GetCount(), 0);
}

// A list that waits takes a burst's rows in one go when it asks; a member removed meanwhile
// stays readable until then, since the list's old rows still show it.
TEST_F(MemberManagerTest, AWaitingListTakesABurstInOneGo)
{
    unit.view.waits = true;
    members.SetMemberView(&unit.view);
    for (const wchar_t* nick : {L"zed", L"amy", L"bob", L"cy"})
        members.AddMember(TIRCMember(nick, L"u", L"h"), true);
    unit.view.TakeRows();
    ASSERT_EQ(unit.view.Column(0), (std::vector<CString>{L"amy", L"bob", L"cy", L"zed"}));
    int placed = unit.view.placements;
    members.RemoveMember(L"bob");
    members.ChangeMemberMode(L"zed", L'o', true);
    members.RenameMember(L"cy", L"al");
    members.AddMember(TIRCMember(L"dee", L"u", L"h"), true);
    EXPECT_EQ(unit.view.placements, placed) << "nothing placed before the list asks";
    EXPECT_EQ(unit.view.items[1].member->nick, L"bob");
    unit.view.TakeRows();
    EXPECT_EQ(unit.view.placements, placed + 1);
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"zed", L"al", L"amy", L"dee"}));
    // A list that goes takes what waits for it first.
    members.RemoveMember(L"amy");
    members.SetMemberView(nullptr);
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"zed", L"al", L"dee"}));
}

// The WHO after NAMES tells what the sort keys already hold: rows stay where they are, and
// only a change of a key moves one.
TEST_F(MemberManagerTest, AChangeThatKeepsTheSortKeysLeavesTheRowsInPlace)
{
    TFakeMemberView who;
    members.SetWhoSortColumn(1);
    members.SetMemberView(&unit.view);
    members.SetWhoList(&who);
    for (const wchar_t* nick : {L"amy", L"bob", L"cy"})
        members.AddMember(TIRCMember(nick, L"", L""), true);
    int placed = unit.view.placements;
    members.AddOrUpdateMember(L"bob", L"u", L"h", L"irc.example", L"Bob", false, false, false, false, false);
    members.UpdateUserHost(L"cy", L"u2", L"h2");
    EXPECT_EQ(unit.view.placements, placed);
    EXPECT_EQ(who.Column(4), (std::vector<CString>{L"", L"Bob", L""})) << "the row shows what changed";
    members.AddOrUpdateMember(L"cy", L"u2", L"h2", L"irc.example", L"Cy", false, false, true, false, false);
    EXPECT_EQ(unit.view.placements, placed + 1) << "operator status moves the row";
    EXPECT_EQ(unit.view.Column(0), (std::vector<CString>{L"cy", L"amy", L"bob"}));
}

TEST_F(MemberManagerTest, ServerCannotGrowOneChannelWithoutLimit)
{
    CString nick;
    for (int i = 0; i < TIRCMemberManager::kMaxMembers; i++) {
        nick.Format(L"n%d", i);
        ASSERT_TRUE(members.AddMember(TIRCMember(nick, L"", L""), false));
    }
    EXPECT_FALSE(members.AddMember(TIRCMember(L"onemore", L"", L""), false));
    members.AddOrUpdateMember(L"another", L"u", L"h", L"", L"", false, false, false, false, false);
    EXPECT_EQ(members.GetCount(), TIRCMemberManager::kMaxMembers);
    EXPECT_EQ(unit.fullTold, 1) << "told once while the list stays full";
    EXPECT_TRUE(members.AddMember(TIRCMember(L"n5", L"u", L"h"), false));
    EXPECT_EQ(unit.fullTold, 1);
    // Room made and filled again: the next refusal is told again.
    members.RemoveMember(L"n99999");
    EXPECT_TRUE(members.AddMember(TIRCMember(L"onemore", L"", L""), false));
    EXPECT_FALSE(members.AddMember(TIRCMember(L"twomore", L"", L""), false));
    EXPECT_EQ(unit.fullTold, 2);
}
