#include "ircproto/ISupport.h"

#include <gtest/gtest.h>

namespace {

// Member letters with their prefixes, then every kind-table letter with its group.
CString Tables(const TISupportMode& modes)
{
    CString text;
    for (const auto& item : modes.memberModes)
        text.AppendFormat(L"%c%c", item.first, item.second);
    text += L"|";
    for (const auto& item : modes.channelModeKinds)
        text.AppendFormat(L"%c%d", item.first, item.second);
    return text;
}

CString Changes(const wchar_t* text)
{
    TISupportMode modes;
    std::vector<TModeChange> changes;
    modes.ParseModeChanges(text, changes);
    CString out;
    for (const TModeChange& c : changes)
        out.AppendFormat(L"%c%c[%s]%s%s ", c.adding ? L'+' : L'-', c.letter, c.param.GetString(),
                         c.memberMode ? L"M" : L"", c.flagMode ? L"F" : L"");
    return out;
}

} // namespace

TEST(ISupport, DefaultsComeBackOnReset)
{
    TISupportInfo info;
    const CString defaults = L"o@v+|I0R0a3b0e0i3k1l2m3n3p3q3r3s3t3";
    EXPECT_EQ(Tables(info.modes), defaults);
    info.Parse(L"PREFIX=(qo)~@ NICKLEN=30 MODES=6 CHANMODES=b,,,m");
    EXPECT_EQ(Tables(info.modes), L"o@q~|b0m3");
    info.Reset();
    EXPECT_EQ(Tables(info.modes), defaults);
    EXPECT_EQ(info.GetNickLength(), 9);
    EXPECT_EQ(info.GetModesPerCommand(), 3);
    EXPECT_EQ(info.GetChannelTypes(), L"#&+!");
}

TEST(ISupport, ParsesAReply)
{
    TISupportInfo info;
    info.Parse(L"CHANTYPES=# PREFIX=(qaohv)~&@%+ NICKLEN=15 are supported by this server");
    EXPECT_EQ(Tables(info.modes).Left(10), L"a&h%o@q~v+");
    EXPECT_EQ(info.GetNickLength(), 15);
    EXPECT_EQ(info.GetChannelTypes(), L"#&+!");
    info.Parse(L"NICKLEN=20 are supported by this server x=1"); // phrase not at the end
    EXPECT_EQ(info.GetNickLength(), 20);
    info.Parse(L"prefix=(ov)@+ Modes=4 EXCEPTS nicklen=12 NICKLEN=16");
    EXPECT_EQ(Tables(info.modes).Left(5), L"o@v+|");
    EXPECT_EQ(info.GetModesPerCommand(), 4);
    EXPECT_EQ(info.GetNickLength(), 16);
}

TEST(ISupport, BrokenValuesFallBack)
{
    TISupportInfo info;
    for (const wchar_t* prefix :
         {L"PREFIX=(ohv)@+", L"PREFIX=", L"PREFIX=ov)@+", L"PREFIX=(ov@+", L"PREFIX=)(", L"PREFIX=(o)v)"}) {
        info.Reset();
        info.SetValue(prefix);
        EXPECT_TRUE(info.modes.memberModes.empty()) << prefix;
    }
    EXPECT_FALSE(info.modes.TakesParameter(L'o', true)); // o is in neither table now

    for (const wchar_t* modes : {L"MODES=", L"MODES=0", L"MODES=-4", L"MODES=x"}) {
        info.Parse(L"MODES=5");
        info.SetValue(modes);
        EXPECT_EQ(info.GetModesPerCommand(), 3) << modes;
    }
    for (const wchar_t* nickLength : {L"NICKLEN=0", L"NICKLEN=-5", L"NICKLEN=", L"NICKLEN=abc"}) {
        info.Parse(L"NICKLEN=15");
        info.SetValue(nickLength);
        EXPECT_EQ(info.GetNickLength(), 15) << nickLength;
    }
    info.SetValue(L"NICKLEN=99999999999999");
    EXPECT_GT(info.GetNickLength(), 0);

    info.Parse(L"CHANMODES=b,k,l,imnpst,XYZ");
    EXPECT_EQ(Tables(info.modes), L"|b0i3k1l2m3n3p3s3t3");
    info.SetValue(L"CHANMODES=ab,a,,");
    EXPECT_EQ(Tables(info.modes), L"|a1b0"); // the later group wins
    info.SetValue(L"CHANMODES=,,,,,,,,,,,,");
    EXPECT_EQ(Tables(info.modes), L"|");
}

TEST(ISupport, ModeTextSplitsIntoChanges)
{
    EXPECT_EQ(Changes(L"+o-v+l a b 10"), L"+o[a]M -v[b]M +l[10] ");
    EXPECT_EQ(Changes(L"-l+k key"), L"-l[] +k[key] ");
    EXPECT_EQ(Changes(L"+nt"), L"+n[]F +t[]F ");
    EXPECT_EQ(Changes(L"+b"), L"+b[] ");
    EXPECT_EQ(Changes(L"+i junk -m"), L"+i[]F -m[]F ");
    EXPECT_EQ(Changes(L"+Z"), L"+Z[] ");
    EXPECT_EQ(Changes(L"  "), L"");
}

TEST(ISupport, LinesAsLongAsTheTransportHoldsAreReadWhole)
{
    CString tokens, params;
    for (int i = 0; i < 250000; i++) {
        tokens += L"X=1 ";
        params += L" p1";
    }
    TISupportInfo info;
    info.Parse(tokens + L"NICKLEN=20");
    EXPECT_EQ(info.GetNickLength(), 20);

    std::vector<TModeChange> changes;
    info.modes.ParseModeChanges(L"+b" + params + L" +k key", changes);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].param, L"p1");
    EXPECT_EQ(changes[1].param, L"key");
}
