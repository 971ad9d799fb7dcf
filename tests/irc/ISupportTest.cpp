#include "irc/ISupport.h"

#include <gtest/gtest.h>

namespace {

CString Letters(const std::map<wchar_t, wchar_t>& table)
{
    CString letters;
    for (const auto& item : table)
        letters += item.first;
    return letters;
}

CString Describe(const std::vector<TModeChange>& changes)
{
    CString text;
    for (const TModeChange& c : changes)
        text.AppendFormat(L"%c%c[%s]%s%s ", c.adding ? L'+' : L'-', c.letter, c.param.GetString(),
                          c.memberMode ? L"M" : L"", c.flagMode ? L"F" : L"");
    return text;
}

} // namespace

TEST(ISupport, DefaultsAndReset)
{
    TISupportInfo info;
    EXPECT_EQ(info.GetNickLength(), 9);
    EXPECT_EQ(info.GetChannelTypes(), L"#&+!");
    EXPECT_EQ(info.GetModesPerCommand(), 3);
    EXPECT_EQ(Letters(info.modes.memberModes), L"ov");
    EXPECT_EQ(info.modes.memberModes.at(L'o'), L'@');
    EXPECT_TRUE(info.modes.TakesParameter(L'b', false));
    EXPECT_TRUE(info.modes.TakesParameter(L'k', false));
    EXPECT_TRUE(info.modes.TakesParameter(L'l', true));
    EXPECT_FALSE(info.modes.TakesParameter(L'l', false));
    EXPECT_FALSE(info.modes.TakesParameter(L't', true));
    EXPECT_FALSE(info.modes.TakesParameter(L'Z', true));
    EXPECT_TRUE(info.modes.IsFlagMode(L'r'));

    info.Parse(L"PREFIX=(qo)~@ NICKLEN=30 MODES=6 CHANMODES=b,,,m");
    info.Reset();
    EXPECT_EQ(info.GetNickLength(), 9);
    EXPECT_EQ(info.GetModesPerCommand(), 3);
    EXPECT_EQ(Letters(info.modes.memberModes), L"ov");
    EXPECT_TRUE(info.modes.IsFlagMode(L't'));
}

TEST(ISupport, ParsesAReplyWithItsClosingText)
{
    TISupportInfo info;
    info.Parse(L"CHANTYPES=# PREFIX=(qaohv)~&@%+ NICKLEN=15 are supported by this server");
    EXPECT_EQ(Letters(info.modes.memberModes), L"ahoqv");
    EXPECT_EQ(info.modes.memberModes.at(L'h'), L'%');
    EXPECT_EQ(info.GetNickLength(), 15);
    EXPECT_EQ(info.GetChannelTypes(), L"#&+!");

    // the phrase counts only at the very end
    info.Parse(L"NICKLEN=20 are supported by this server x=1");
    EXPECT_EQ(info.GetNickLength(), 20);
}

TEST(ISupport, KeysIgnoreCaseAndLaterTokensWin)
{
    TISupportInfo info;
    info.Parse(L"prefix=(ov)@+ Modes=4 EXCEPTS nicklen=12 NICKLEN=16");
    EXPECT_EQ(Letters(info.modes.memberModes), L"ov");
    EXPECT_EQ(info.GetModesPerCommand(), 4);
    EXPECT_EQ(info.GetNickLength(), 16);
}

TEST(ISupport, BrokenValuesFallBack)
{
    TISupportInfo info;
    info.Parse(L"PREFIX=(ohv)@+");
    EXPECT_TRUE(info.modes.memberModes.empty());
    EXPECT_FALSE(info.modes.TakesParameter(L'o', true)); // o is in neither table now

    for (const wchar_t* broken : {L"PREFIX=", L"PREFIX=ov)@+", L"PREFIX=(ov@+", L"PREFIX=)(", L"PREFIX=(o)v)"}) {
        info.Reset();
        info.SetValue(broken);
        EXPECT_TRUE(info.modes.memberModes.empty()) << broken;
    }

    for (const wchar_t* modes : {L"MODES=", L"MODES=0", L"MODES=-4", L"MODES=x"}) {
        info.Parse(L"MODES=5");
        info.SetValue(modes);
        EXPECT_EQ(info.GetModesPerCommand(), 3) << modes;
    }
}

TEST(ISupport, NickLengthBelowOneIsIgnored)
{
    TISupportInfo info;
    info.Parse(L"NICKLEN=15");
    for (const wchar_t* token : {L"NICKLEN=0", L"NICKLEN=-5", L"NICKLEN=", L"NICKLEN=abc"}) {
        info.SetValue(token);
        EXPECT_EQ(info.GetNickLength(), 15) << token;
    }
    info.SetValue(L"NICKLEN=99999999999999");
    EXPECT_GT(info.GetNickLength(), 0);
}

TEST(ISupport, ChanModesTakesFourGroupsOnly)
{
    TISupportInfo info;
    info.Parse(L"CHANMODES=b,k,l,imnpst,XYZ");
    for (wchar_t letter : {L'X', L'Y', L'Z'})
        EXPECT_EQ(info.modes.channelModeKinds.count(letter), 0u);
    EXPECT_EQ(info.modes.channelModeKinds.at(L't'), 3);
    EXPECT_EQ(info.modes.channelModeKinds.count(L'e'), 0u);

    info.SetValue(L"CHANMODES=ab,a,,");
    EXPECT_EQ(info.modes.channelModeKinds.at(L'a'), 1); // the later group wins
    info.SetValue(L"CHANMODES=,,,,,,,,,,,,");
    EXPECT_TRUE(info.modes.channelModeKinds.empty());
}

TEST(ModeChanges, ParametersFollowTheLetters)
{
    TISupportMode modes;
    std::vector<TModeChange> changes;
    modes.ParseModeChanges(L"+o-v+l a b 10", changes);
    EXPECT_EQ(Describe(changes), L"+o[a]M -v[b]M +l[10] ");
    modes.ParseModeChanges(L"-l+k key", changes);
    EXPECT_EQ(Describe(changes), L"-l[] +k[key] ");
    modes.ParseModeChanges(L"+nt", changes);
    EXPECT_EQ(Describe(changes), L"+n[]F +t[]F ");
    modes.ParseModeChanges(L"+b", changes);
    EXPECT_EQ(Describe(changes), L"+b[] ");
    modes.ParseModeChanges(L"+i junk -m", changes);
    EXPECT_EQ(Describe(changes), L"+i[]F -m[]F ");
    modes.ParseModeChanges(L"  ", changes);
    EXPECT_TRUE(changes.empty());
    modes.ParseModeChanges(L"+Z", changes);
    EXPECT_EQ(Describe(changes), L"+Z[] ");
}
