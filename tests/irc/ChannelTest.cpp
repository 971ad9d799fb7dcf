#include "ChannelFakes.h"
#include "tests/common/StringPrinter.h"

#include "irc/IRCNames.h"

#include <gtest/gtest.h>

namespace {

TChannelConfig Config(const wchar_t* name)
{
    TChannelConfig config;
    config.Name = name;
    return config;
}

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() : channel(&unit, Config(L"#chan"), TIRCChannel::KindChannel)
    {
        unit.pref.EnableAutoOpDelay = false;
    }
    // Joined with the user as operator and the given members.
    void JoinAsOp(std::initializer_list<const wchar_t*> nicks)
    {
        channel.OnJoined();
        channel.op = true;
        for (const wchar_t* nick : nicks)
            channel.GetMembers().AddMember(TIRCMember(nick, L"u", L"h"), true);
    }
    TFakeChannelUnit unit;
    TIRCChannel channel;
};

} // namespace

TEST(Channel, IRCNameFromTheStoredName)
{
    TFakeChannelUnit unit;
    const struct {
        const wchar_t* name;
        CString ircName;
    } cases[] = {{L"!safe", L""}, {L"%local", CString(L"#local") + kServerMaskSuffix}, {L"#plain", L"#plain"},
                 {L"", L""}};
    for (const auto& c : cases)
        EXPECT_EQ(TIRCChannel(&unit, Config(c.name), 0).GetIRCName(), c.ircName) << c.name;

    TIRCChannel safe(&unit, Config(L"!safe"), 0);
    safe.SetIRCName(L"!ABCDEsafe");
    safe.OnJoined();
    safe.OnLeft();
    EXPECT_EQ(safe.GetIRCName(), L"");
}

TEST_F(ChannelTest, JoinAndLeaveResetTheLiveState)
{
    channel.topic = L"t";
    std::vector<TModeChange> changes;
    channel.mode.ApplyModeChange(L"+ntk key", changes);
    channel.namesComplete = channel.whoComplete = channel.modesKnown = true;
    unit.selected = &channel;
    JoinAsOp({L"a", L"b"});
    EXPECT_TRUE(channel.joined);
    EXPECT_EQ(channel.topic, L"");
    EXPECT_EQ(channel.mode.ToString(), L"");
    EXPECT_FALSE(channel.namesComplete || channel.whoComplete || channel.modesKnown);
    EXPECT_EQ(unit.viewsCreated, 1);
    EXPECT_EQ(unit.view.items.size(), 2u);

    channel.QueueAutoOp(L"a");
    channel.OnLeft();
    EXPECT_FALSE(channel.joined);
    EXPECT_EQ(channel.GetMembers().GetCount(), 0);
    EXPECT_TRUE(channel.GetAutoOpQueue().empty());
    EXPECT_EQ(unit.viewsDestroyed, 1);
    EXPECT_EQ(channel.memberView, nullptr);
}

TEST_F(ChannelTest, AutoOpWithoutDelaySendsEachNickAtOnce)
{
    JoinAsOp({L"a", L"b", L"opped"});
    channel.ChangeMemberMode(L"opped", L'o', true);
    for (const wchar_t* nick : {L"a", L"b", L"opped", L"stranger"})
        channel.QueueAutoOp(nick);
    EXPECT_EQ(unit.sent, (std::vector<CString>{L"o: +a", L"o: +b"}));
}

TEST_F(ChannelTest, AutoOpWithDelaySendsBatchesOfThreeAfterTheWait)
{
    unit.pref.EnableAutoOpDelay = true;
    unit.pref.AutoOpDelayMin = unit.pref.AutoOpDelayMax = 2;
    JoinAsOp({L"a", L"b", L"c", L"d", L"e", L"gone"});
    for (const wchar_t* nick : {L"a", L"gone", L"a", L"b", L"c", L"d", L"e"})
        channel.QueueAutoOp(nick);
    channel.RemoveMember(L"gone");
    channel.ChangeMemberMode(L"d", L'o', true);
    channel.ProcessAutoOpQueue(true);
    channel.ProcessAutoOpQueue(true);
    EXPECT_TRUE(unit.sent.empty());
    channel.ProcessAutoOpQueue(true);
    channel.ProcessAutoOpQueue(true);
    channel.ProcessAutoOpQueue(true);
    EXPECT_EQ(unit.sent, (std::vector<CString>{L"o: +a +b +c", L"o: +e"}));

    channel.op = false;
    channel.QueueAutoOp(L"a");
    EXPECT_TRUE(channel.GetAutoOpQueue().empty());
}

TEST_F(ChannelTest, MaskListOKSendsOnlyRealChanges)
{
    channel.ShowMaskList(TIRCChannel::BanList);
    ASSERT_EQ(unit.lists.size(), 1u);
    EXPECT_EQ(unit.titles[0], L"#chan のバンリスト - srv");
    TFakeMaskList* list = unit.lists[0];
    list->filled = {L"a!*@*", L"Nick!*@*", L"old!*@*"};
    list->masks = {L"a!*@*", L"NICK!*@*", L"new!*@*"};
    channel.OnMaskDialogOK(list);
    EXPECT_EQ(unit.sent, (std::vector<CString>{L"b: -old!*@* +new!*@*"}));

    unit.sent.clear();
    list->masks = list->filled;
    channel.OnMaskDialogOK(list);
    channel.OnMaskDialogOK(nullptr);
    EXPECT_TRUE(unit.sent.empty());

    channel.OnMaskDialogUpdate(list);
    EXPECT_EQ(unit.sent, (std::vector<CString>{L"MODE +b"}));
    channel.ShowMaskList(TIRCChannel::BanList);
    EXPECT_EQ(unit.lists.size(), 1u);
    EXPECT_EQ(list->shows, 2);
    channel.OnMaskDialogClose(list);
    EXPECT_EQ(channel.GetMaskList(TIRCChannel::BanList), nullptr);
    EXPECT_EQ(unit.deleted.size(), 1u);
}

TEST_F(ChannelTest, ListedMasksStopAtTheBound)
{
    EXPECT_FALSE(channel.AddListedMask(TIRCChannel::InviteList, L"x"));
    channel.ShowMaskList(TIRCChannel::InviteList);
    for (int i = 0; i < TIRCChannel::kMaxListMasks; i++)
        ASSERT_TRUE(channel.AddListedMask(TIRCChannel::InviteList, L"m"));
    EXPECT_FALSE(channel.AddListedMask(TIRCChannel::InviteList, L"m"));
    EXPECT_EQ(unit.lists[0]->GetMaskCount(), TIRCChannel::kMaxListMasks);
    EXPECT_EQ(TIRCChannel::MaskListIndex(L'R'), TIRCChannel::ReopList);
    EXPECT_EQ(TIRCChannel::MaskListIndex(L'k'), -1);
}

TEST_F(ChannelTest, ChatPortsCycleThroughTheRange)
{
    unit.pref.DCCChatPortStart = 1024;
    unit.pref.DCCChatPortEnd = 1025;
    std::vector<int> ports;
    for (int i = 0; i < 3; i++)
        ports.push_back(channel.GetChatPort());
    EXPECT_EQ(ports, (std::vector<int>{1024, 1025, 1024}));
    unit.pref.DCCChatPortStart = 2000;
    unit.pref.DCCChatPortEnd = 1999;
    EXPECT_EQ(channel.GetChatPort(), -1);
}

TEST(Channel, TalksTakeTheirFlagsFromThePreferences)
{
    TFakeChannelUnit unit;
    unit.pref.TalkUpdate = false, unit.pref.TalkAllLog = true, unit.pref.TalkKeyword = false;
    TChannelConfig config = Config(L"peer");
    config.Update = true, config.Console = false, config.Keyword = true;
    TIRCChannel talk(&unit, config, TIRCChannel::KindTalk), chan(&unit, config, TIRCChannel::KindChannel);
    talk.ApplyPreferences();
    chan.ApplyPreferences();
    EXPECT_FALSE(talk.GetConfig().Update);
    EXPECT_TRUE(talk.GetConfig().Console);
    EXPECT_TRUE(chan.GetConfig().Update);
    EXPECT_FALSE(chan.GetConfig().Console);
}
