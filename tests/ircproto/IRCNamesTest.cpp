#include "ircproto/IRCNames.h"

#include <gtest/gtest.h>

namespace {

template <typename Fix> CString Fixed(Fix fix, const wchar_t* text)
{
    CString s(text);
    fix(s);
    return s;
}

CStringA Split(const char* prefix)
{
    CStringA nick("-"), user("-"), host("-");
    SplitNickUserHost(prefix, nick, user, host);
    return nick + "|" + user + "|" + host;
}

} // namespace

TEST(IRCNames, CommandTableAndFolding)
{
    EXPECT_TRUE(IsIRCCommand(L"privmsg") && IsIRCCommand(L"KILL") && IsIRCCommand(L"HAZH") && IsIRCCommand(L"map"));
    EXPECT_FALSE(IsIRCCommand(L"HASH") || IsIRCCommand(L"") || IsIRCCommand(L"PRIVMSG "));
    EXPECT_FALSE(IsIRCCommand(CString(L"KILL\0x", 6))); // text from a server may hold NUL

    EXPECT_EQ(IRCToUpper(L"nick{a}~^|\u00e9"), L"NICK[A]~^\\\u00e9");
    CStringA bytes("ab{|}~\xe3\x81\x82");
    IRCMakeUpperA(bytes);
    EXPECT_EQ(bytes, "AB[\\]~\xe3\x81\x82");
    EXPECT_EQ(IRCCompareNoCase(L"a|b", L"A\\B"), 0);
    EXPECT_EQ(IRCCompareNoCase(L"abc", L"abd"), -1);
    EXPECT_EQ(IRCCompareNoCase(L"abd", L"ABC"), 1);
    EXPECT_EQ(IRCCompareNoCase(L"ab", L"abc"), -1);
    EXPECT_EQ(IRCCompareNoCase(L"a~", L"A^"), 1);
    EXPECT_EQ(IRCCompareNoCaseA("x{y}", "X[Y]"), 0);
    EXPECT_LT(IRCCompareNoCaseA("a", "\xe3"), 0); // bytes compare unsigned
}

TEST(IRCNames, ChannelKindsAndPrefixSplit)
{
    EXPECT_TRUE(IsModeChannelName(L"!a") && IsChannelName(L"+a") && IsChannelNameOrAlias(L"%a"));
    EXPECT_FALSE(IsModeChannelName(L"+a") || IsChannelName(L"%a") || IsChannelName(L"") || IsChannelNameOrAlias(L"n"));
    const CString nulFirst(L"\0#", 2);
    EXPECT_FALSE(IsModeChannelName(nulFirst) || IsChannelName(nulFirst) || IsChannelNameOrAlias(nulFirst));

    EXPECT_EQ(Split("n!u@h"), "n|u|h");
    EXPECT_EQ(Split("n!u"), "n|-|-");
    EXPECT_EQ(Split("irc.example.net"), "irc.example.net|-|-");
    EXPECT_EQ(Split("a!b!c@d@e"), "a|b!c|d@e");
}

TEST(IRCNames, NickAndUserNameRepair)
{
    EXPECT_FALSE(IsValidNick(L"") || IsValidNick(L"1abc") || IsValidNick(L"-abc") || IsValidNick(L"ab[c") ||
                 IsValidNick(L"ab|c"));
    EXPECT_TRUE(IsValidNick(L"_a-1") && IsValidNick(L"`^x"));
    EXPECT_EQ(Fixed(MakeValidNick, L"1abc"), L"_abc");
    EXPECT_EQ(Fixed(MakeValidNick, L"a[b]"), L"a_b_");
    EXPECT_EQ(Fixed(MakeValidNick, L""), L"");

    EXPECT_EQ(Fixed(MakeValidUserName, L"\u592a\u90ce"), L"user");
    EXPECT_EQ(Fixed(MakeValidUserName, L"~.-"), L"user");
    EXPECT_EQ(Fixed(MakeValidUserName, L""), L"user");
    EXPECT_EQ(Fixed(MakeValidUserName, L"a.b.c.d"), L"a.b.cd");
    EXPECT_EQ(Fixed(MakeValidUserName, L"t a@r\u00f6o!"), L"taro");
}

TEST(IRCNames, SafeAndMaskedChannels)
{
    EXPECT_TRUE(IsSafeChannelName(L"!ABCDEchan") && IsSafeChannelCreateName(L"!!chan"));
    EXPECT_FALSE(IsSafeChannelName(L"") || IsSafeChannelCreateName(L"!") || IsSafeChannelCreateName(L"!a!"));
    EXPECT_EQ(GetSafeChannelShortName(L"!ABCDEchan"), L"!chan");
    EXPECT_EQ(GetSafeChannelShortName(L"!ABCDE"), L"!ABCDE");
    EXPECT_EQ(GetSafeChannelShortName(L"!!chanlong"), L"!!chanlong");
    EXPECT_EQ(GetSafeChannelShortName(L"#ABCDEchan"), L"#ABCDEchan");

    EXPECT_TRUE(IsMaskedChannelName(L"#chan:*.jp") && IsMaskedChannelName(L"#:*.jp"));
    EXPECT_FALSE(IsMaskedChannelName(L"#chan:*.JP") || IsMaskedChannelName(L":*.jp") ||
                 IsMaskedChannelName(L"&chan:*.jp"));
    EXPECT_EQ(ExpandChannelAlias(L"%chan"), L"#chan:*.jp");
    EXPECT_EQ(ExpandChannelAlias(L"#chan"), L"#chan");
    EXPECT_EQ(MakeChannelAlias(L"#:*.jp"), L"%");
    EXPECT_EQ(MakeChannelAlias(L"#chan"), L"#chan");
    for (const wchar_t* alias : {L"%", L"%a", L"%\u65e5\u672c", L"%x:*.jp"})
        EXPECT_EQ(MakeChannelAlias(ExpandChannelAlias(alias)), alias);
}
