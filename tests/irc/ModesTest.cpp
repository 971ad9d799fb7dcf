#include "irc/Modes.h"
#include "irc/NumberMessage.h"

#include <gtest/gtest.h>

class ChannelModeTest : public ::testing::Test {
  protected:
    void Apply(const wchar_t* text) { mode.ApplyModeChange(text, changes); }

    TChannelMode mode;
    std::vector<TModeChange> changes;
};

TEST_F(ChannelModeTest, KeyAndLimit)
{
    Apply(L"+k secret");
    EXPECT_EQ(mode.key, L"secret");
    Apply(L"-k other");
    EXPECT_EQ(mode.key, L"");
    Apply(L"+l 25");
    EXPECT_EQ(mode.limit, 25);
    Apply(L"-l");
    EXPECT_EQ(mode.limit, 0);
    Apply(L"+l abc");
    EXPECT_EQ(mode.limit, 0);
    Apply(L"+l 99999999999");
    EXPECT_EQ(mode.limit, 2147483647);
}

TEST_F(ChannelModeTest, FlagsAndMemberModes)
{
    Apply(L"+imnpqrst-i");
    EXPECT_FALSE(mode.inviteOnly);
    EXPECT_TRUE(mode.moderated && mode.noOutsideMessages && mode.privateChannel && mode.quiet && mode.reop &&
                mode.secret && mode.topicByOperators);
    EXPECT_FALSE(mode.anonymous);

    TChannelMode before = mode;
    Apply(L"+ov a b");
    EXPECT_EQ(mode.ToString(), before.ToString());
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].memberMode && changes[1].memberMode);
    EXPECT_EQ(changes[1].param, L"b");
}

TEST_F(ChannelModeTest, ListModesConsumeTheirMasks)
{
    Apply(L"+beIk m1 m2 m3 key");
    EXPECT_EQ(mode.key, L"key");
    EXPECT_EQ(changes.size(), 4u);
}

TEST_F(ChannelModeTest, ServerTablesDecideWhatIsAFlag)
{
    TISupportMode server;
    server.SetChanModes(L"beIr,k,l,imnpst");
    server.SetPrefix(L"(qov)~@+");
    mode.serverModes = &server;
    Apply(L"+rq m nick");
    EXPECT_FALSE(mode.reop);
    EXPECT_FALSE(mode.quiet);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].param, L"m");
    EXPECT_TRUE(changes[1].memberMode);

    mode.moderated = true;
    mode.key = L"k";
    mode.Clear();
    EXPECT_EQ(mode.ToString(), L"");
    EXPECT_EQ(mode.serverModes, &server);
}

TEST_F(ChannelModeTest, ToString)
{
    EXPECT_EQ(mode.ToString(), L"");
    mode.key = L"abc";
    EXPECT_EQ(mode.ToString(), L"+k abc");
    mode.noOutsideMessages = mode.topicByOperators = true;
    mode.limit = 10;
    EXPECT_EQ(mode.ToString(), L"+nt+l+k 10 abc");
    mode.reop = mode.privateChannel = mode.anonymous = true;
    mode.key.Empty();
    EXPECT_EQ(mode.ToString(), L"+pntar+l 10");
}

TEST(ChannelModeChange, BuildChangeString)
{
    TChannelMode current, wanted;
    EXPECT_EQ(wanted.BuildChangeString(current), L"");
    wanted.quiet = true;
    EXPECT_EQ(wanted.BuildChangeString(current), L"");

    current.moderated = true;
    current.key = L"old";
    wanted.inviteOnly = true;
    wanted.limit = 5;
    wanted.key = L"secret";
    EXPECT_EQ(wanted.BuildChangeString(current), L"+i-m+l+k 5 secret");

    wanted.key.Empty();
    wanted.limit = 0;
    current.limit = 7;
    wanted.topicByOperators = true;
    EXPECT_EQ(wanted.BuildChangeString(current), L"+i-m+t-l-k old");

    // the text applied to the current record gives the wanted one
    TChannelMode applied = current;
    std::vector<TModeChange> changes;
    applied.ApplyModeChange(wanted.BuildChangeString(current), changes);
    EXPECT_EQ(wanted.BuildChangeString(applied), L"");
}

TEST(ModePenalty, OnePlusThreePerLetterCapped)
{
    EXPECT_EQ(CountModePenalty(L"+o nick"), 4);
    EXPECT_EQ(CountModePenalty(L"+ooo a b c"), 10);
    EXPECT_EQ(CountModePenalty(L"+oooo a b c d"), 10);
    EXPECT_EQ(CountModePenalty(L""), 1);
    EXPECT_EQ(CountModePenalty(L"+-+"), 1);
    EXPECT_EQ(CountModePenalty(L"+o-v a b"), 7);
    EXPECT_EQ(CountModePenalty(CString(L'o', 100000)), 1); // a parameter word counts nothing
}

TEST(UserMode, ApplyAndRender)
{
    TUserMode mode;
    EXPECT_EQ(mode.ToString(), L"");
    mode.wallops = true;
    mode.ApplyModeChange(L"+i-w+O");
    EXPECT_TRUE(mode.invisible);
    EXPECT_FALSE(mode.wallops);
    EXPECT_TRUE(mode.localOp);
    EXPECT_EQ(mode.ToString(), L"+iO");
    mode.ApplyModeChange(L"ar x s-i wo");
    EXPECT_EQ(mode.ToString(), L"+asrO"); // no sign means plus; the sign lasts across blanks
    mode.ApplyModeChange(L"-aswrO+o");
    EXPECT_EQ(mode.ToString(), L"+o");
}

TEST(NumberMessage, PutsTheNumberIntoTheText)
{
    EXPECT_EQ(FormatNumberMessage(10340, 3), L"グループ3");
    EXPECT_EQ(FormatNumberMessage(10340, -1), L"グループ-1");
    EXPECT_EQ(FormatNumberMessage(64999, 3), L"");
}
