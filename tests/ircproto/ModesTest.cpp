#include "ircproto/Modes.h"
#include "ircproto/NumberMessage.h"

#include <gtest/gtest.h>

namespace {

TChannelMode Applied(const wchar_t* text, std::vector<TModeChange>* changes = nullptr,
                     const TISupportMode* server = nullptr)
{
    TChannelMode mode;
    mode.serverModes = server;
    std::vector<TModeChange> scratch;
    mode.ApplyModeChange(text, changes ? *changes : scratch);
    return mode;
}

} // namespace

TEST(ChannelMode, ApplyKeyLimitFlagsAndLists)
{
    EXPECT_EQ(Applied(L"+k secret").key, L"secret");
    EXPECT_EQ(Applied(L"+k secret -k other").key, L"");
    EXPECT_EQ(Applied(L"+l 25").limit, 25);
    EXPECT_EQ(Applied(L"+l 25 -l").limit, 0);
    EXPECT_EQ(Applied(L"+l abc").limit, 0);
    EXPECT_EQ(Applied(L"+l 99999999999").limit, 2147483647);
    EXPECT_EQ(Applied(L"+l -5").ToString(), L""); // limits nothing, so no +l
    EXPECT_EQ(Applied(L"+l -5").limit, -5);
    EXPECT_EQ(Applied(L"+beIk m1 m2 m3 key").key, L"key");
    EXPECT_EQ(Applied(L"+aimnpqrst-i").ToString(), L"+psmntaqr");

    std::vector<TModeChange> changes;
    EXPECT_EQ(Applied(L"+ov a b", &changes).ToString(), L"");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].memberMode && changes[1].memberMode);
    EXPECT_EQ(changes[1].param, L"b");

    TISupportMode server;
    server.SetChanModes(L"beIr,k,l,imnpst");
    server.SetPrefix(L"(qov)~@+");
    TChannelMode mode = Applied(L"+rqm m nick", &changes, &server);
    EXPECT_EQ(mode.ToString(), L"+m"); // r is a list mode and q a member mode here
    EXPECT_EQ(changes[0].param, L"m");
    mode.key = L"k";
    mode.Clear();
    EXPECT_EQ(mode.ToString(), L"");
    EXPECT_EQ(mode.serverModes, &server);
}

TEST(ChannelMode, RenderAndChangeString)
{
    TChannelMode mode;
    mode.key = L"abc";
    EXPECT_EQ(mode.ToString(), L"+k abc");
    mode.noOutsideMessages = mode.topicByOperators = true;
    mode.limit = 10;
    EXPECT_EQ(mode.ToString(), L"+nt+l+k 10 abc");

    TChannelMode current, wanted;
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

    // the change text applied to the current record gives the wanted one
    std::vector<TModeChange> changes;
    current.ApplyModeChange(wanted.BuildChangeString(current), changes);
    EXPECT_EQ(wanted.BuildChangeString(current), L"");
}

TEST(ModePenalty, OnePlusThreePerLetterCapped)
{
    EXPECT_EQ(CountModePenalty(L"+o nick"), 4);
    EXPECT_EQ(CountModePenalty(L"+o-v a b"), 7);
    EXPECT_EQ(CountModePenalty(L"+ooo a b c"), 10);
    EXPECT_EQ(CountModePenalty(L"+oooo a b c d"), 10);
    EXPECT_EQ(CountModePenalty(L""), 1);
    EXPECT_EQ(CountModePenalty(L"+-+ " + CString(L'o', 1000)), 1);
    EXPECT_EQ(CountModePenalty(L"  +o   -v  a"), 7);
}

// A megabyte of the worst text, as a script might hand over, still gives the right weight.
TEST(ModePenalty, LongTextsOfManyWords)
{
    CString words, signs;
    for (int i = 0; i < 512 * 1024; i++) {
        words += L"a ";
        signs += L"+ ";
    }
    EXPECT_EQ(CountModePenalty(words), 1);
    EXPECT_EQ(CountModePenalty(signs + L"-o"), 4);
}

TEST(UserMode, ApplyAndRender)
{
    TUserMode mode;
    EXPECT_EQ(mode.ToString(), L"");
    mode.wallops = true;
    mode.ApplyModeChange(L"+i-w+O");
    EXPECT_EQ(mode.ToString(), L"+iO");
    mode.ApplyModeChange(L"ar x s-i wo");
    EXPECT_EQ(mode.ToString(), L"+asrO"); // no sign means plus; the sign lasts across blanks
}

TEST(NumberMessage, PutsTheNumberIntoTheText)
{
    EXPECT_EQ(FormatNumberMessage(10340, 3), L"グループ3");
    EXPECT_EQ(FormatNumberMessage(64999, 3), L"");
}
