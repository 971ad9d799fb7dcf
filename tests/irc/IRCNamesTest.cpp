#include "irc/IRCNames.h"

#include <gtest/gtest.h>

TEST(IRCNames, CommandTableIgnoresCase)
{
    EXPECT_TRUE(IsIRCCommand(L"privmsg"));
    EXPECT_TRUE(IsIRCCommand(L"KILL"));
    EXPECT_TRUE(IsIRCCommand(L"HAZH"));
    EXPECT_TRUE(IsIRCCommand(L"map"));
    EXPECT_FALSE(IsIRCCommand(L"HASH"));
    EXPECT_FALSE(IsIRCCommand(L""));
    EXPECT_FALSE(IsIRCCommand(L"PRIVMSG "));
}

TEST(IRCNames, FoldingLowersBracesButNotTildeOrCaret)
{
    CString nick(L"nick{a}~^|");
    IRCMakeUpper(nick);
    EXPECT_EQ(nick, L"NICK[A]~^\\");
    CStringA bytes("ab{|}~\xe3\x81\x82");
    IRCMakeUpperA(bytes);
    EXPECT_EQ(bytes, "AB[\\]~\xe3\x81\x82");
    EXPECT_EQ(IRCToUpper(L"\u00e9a"), L"\u00e9A"); // only ASCII folds
    EXPECT_EQ(IRCCompareNoCase(L"a|b", L"A\\B"), 0);
    EXPECT_EQ(IRCCompareNoCase(L"abc", L"abd"), -1);
    EXPECT_EQ(IRCCompareNoCase(L"abd", L"ABC"), 1);
    EXPECT_EQ(IRCCompareNoCase(L"ab", L"abc"), -1);
    EXPECT_EQ(IRCCompareNoCase(L"a~", L"A^"), 1); // '~' and '^' stay apart
    EXPECT_EQ(IRCCompareNoCaseA("x{y}", "X[Y]"), 0);
    EXPECT_LT(IRCCompareNoCaseA("a", "\xe3"), 0); // bytes compare unsigned
}

TEST(IRCNames, ChannelKinds)
{
    EXPECT_TRUE(IsModeChannelName(L"!abc"));
    EXPECT_FALSE(IsModeChannelName(L"+abc"));
    EXPECT_TRUE(IsChannelName(L"+abc"));
    EXPECT_FALSE(IsChannelName(L"%abc"));
    EXPECT_TRUE(IsChannelNameOrAlias(L"%abc"));
    EXPECT_FALSE(IsChannelName(L""));
    EXPECT_FALSE(IsChannelNameOrAlias(L"nick"));
}

TEST(IRCNames, SplitNickUserHostFillsOnlyWhatThePrefixHas)
{
    CStringA nick, user, host;
    SplitNickUserHost("n!u@h", nick, user, host);
    EXPECT_EQ(nick, "n");
    EXPECT_EQ(user, "u");
    EXPECT_EQ(host, "h");

    user = "old-u";
    host = "old-h";
    SplitNickUserHost("n2!u2", nick, user, host);
    EXPECT_EQ(nick, "n2");
    EXPECT_EQ(user, "old-u");
    EXPECT_EQ(host, "old-h");

    SplitNickUserHost("irc.example.net", nick, user, host);
    EXPECT_EQ(nick, "irc.example.net");

    SplitNickUserHost("a!b!c@d@e", nick, user, host);
    EXPECT_EQ(nick, "a");
    EXPECT_EQ(user, "b!c");
    EXPECT_EQ(host, "d@e");
}

TEST(IRCNames, NickRules)
{
    EXPECT_FALSE(IsValidNick(L""));
    EXPECT_FALSE(IsValidNick(L"1abc"));
    EXPECT_FALSE(IsValidNick(L"-abc"));
    EXPECT_FALSE(IsValidNick(L"ab[c"));
    EXPECT_FALSE(IsValidNick(L"ab|c"));
    EXPECT_TRUE(IsValidNick(L"_a-1"));
    EXPECT_TRUE(IsValidNick(L"`^x"));

    CString nick(L"1abc");
    MakeValidNick(nick);
    EXPECT_EQ(nick, L"_abc");
    nick = L"a[b]";
    MakeValidNick(nick);
    EXPECT_EQ(nick, L"a_b_");
    nick = L"\u592a\u90ce";
    MakeValidNick(nick);
    EXPECT_EQ(nick, L"__");
    nick = L"";
    MakeValidNick(nick);
    EXPECT_EQ(nick, L"");
}

TEST(IRCNames, UserNameRepair)
{
    CString name(L"\u592a\u90ce");
    MakeValidUserName(name);
    EXPECT_EQ(name, L"user");
    name = L"~.-";
    MakeValidUserName(name);
    EXPECT_EQ(name, L"user");
    name = L"a.b.c.d";
    MakeValidUserName(name);
    EXPECT_EQ(name, L"a.b.cd");
    name = L"";
    MakeValidUserName(name);
    EXPECT_EQ(name, L"user");
    name = L"t a@r\u00f6o!";
    MakeValidUserName(name);
    EXPECT_EQ(name, L"taro");
}

TEST(IRCNames, SafeChannels)
{
    EXPECT_TRUE(IsSafeChannelName(L"!ABCDEchan"));
    EXPECT_FALSE(IsSafeChannelName(L""));
    EXPECT_TRUE(IsSafeChannelCreateName(L"!!chan"));
    EXPECT_FALSE(IsSafeChannelCreateName(L"!"));
    EXPECT_FALSE(IsSafeChannelCreateName(L"!a!"));

    EXPECT_EQ(GetSafeChannelShortName(L"!ABCDEchan"), L"!chan");
    EXPECT_EQ(GetSafeChannelShortName(L"!ABCDEx"), L"!x");
    EXPECT_EQ(GetSafeChannelShortName(L"!ABCDE"), L"!ABCDE");
    EXPECT_EQ(GetSafeChannelShortName(L"!!chanlong"), L"!!chanlong");
    EXPECT_EQ(GetSafeChannelShortName(L"#ABCDEchan"), L"#ABCDEchan");
}

TEST(IRCNames, MaskedChannelsAndAliases)
{
    EXPECT_TRUE(IsMaskedChannelName(L"#chan:*.jp"));
    EXPECT_TRUE(IsMaskedChannelName(L"#:*.jp"));
    EXPECT_FALSE(IsMaskedChannelName(L"#chan:*.JP"));
    EXPECT_FALSE(IsMaskedChannelName(L":*.jp"));
    EXPECT_FALSE(IsMaskedChannelName(L"&chan:*.jp"));

    EXPECT_TRUE(IsChannelAlias(L"%chan"));
    EXPECT_EQ(ExpandChannelAlias(L"%chan"), L"#chan:*.jp");
    EXPECT_EQ(ExpandChannelAlias(L"#chan"), L"#chan");
    EXPECT_EQ(MakeChannelAlias(L"#chan:*.jp"), L"%chan");
    EXPECT_EQ(MakeChannelAlias(L"#:*.jp"), L"%");
    EXPECT_EQ(MakeChannelAlias(L"#chan"), L"#chan");
    EXPECT_EQ(MakeChannelAlias(L""), L"");
    for (const wchar_t* alias : {L"%", L"%a", L"%\u65e5\u672c", L"%x:*.jp"})
        EXPECT_EQ(MakeChannelAlias(ExpandChannelAlias(alias)), alias);
}
