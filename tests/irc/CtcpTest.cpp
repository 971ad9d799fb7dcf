#include "irc/Ctcp.h"
#include "settings/Preference.h"

#include <gtest/gtest.h>

namespace {

struct TFrameCase {
    const wchar_t* text;
    bool isCtcp;
    const wchar_t* body; // between the marks; left empty when not CTCP
    const wchar_t* command;
    const wchar_t* argument;
};

TPreference CtcpPreference(bool ignore, bool limit)
{
    TPreference preference = {};
    preference.IgnoreCtcp = ignore;
    preference.EnableCtcpSequenceLimit = limit;
    return preference;
}

} // namespace

TEST(Ctcp, FramingGivesTheTextBetweenTheMarksAsOneUpperCasedCommandAndItsArgument)
{
    const TFrameCase cases[] = {
        {L"\1VERSION\1 trailing", true, L"VERSION", L"VERSION", L""},
        {L"\1VERSION", true, L"VERSION", L"VERSION", L""},
        {L"\1PING 12345", true, L"PING 12345", L"PING", L"12345"},
        {L"\1ping  a  b \1", true, L"ping  a  b ", L"PING", L"a  b "},
        {L"\1  TIME\1", true, L"  TIME", L"TIME", L""},
        {L"\1\1", true, L"\1", L"\1", L""},
        {L"\1\1PING 1\1", true, L"\1PING 1", L"\1PING", L"1"},
        {L"\1", true, L"", L"", L""},
        {L"\1ACTION waves\1", true, L"ACTION waves", L"ACTION", L"waves"},
        {L"\1ACTION waves\1\1VERSION\1", true, L"ACTION waves", L"ACTION", L"waves"},
        {L"hello \1VERSION\1", false, L"", L"", L""},
        {L"plain \1text\1", false, L"", L"", L""},
        {L"", false, L"", L"", L""},
    };
    for (const TFrameCase& c : cases) {
        CString body, command, argument;
        bool isCtcp = GetCtcpBody(c.text, body);
        EXPECT_EQ(isCtcp, c.isCtcp) << c.text;
        EXPECT_EQ(body, c.body) << c.text;
        if (!isCtcp)
            continue;
        SplitCtcpBody(body, command, argument);
        EXPECT_EQ(command, c.command) << c.text;
        EXPECT_EQ(argument, c.argument) << c.text;
    }
    EXPECT_EQ(MakeCtcpParam(L"PING 1"), L":\1PING 1\1");
}

TEST(Ctcp, QueriesAreAnsweredAtMostOnceInFiveSeconds)
{
    TPreference limited = CtcpPreference(false, true);
    unsigned last = 0;
    EXPECT_TRUE(AcceptCtcpQuery(limited, 100000, last));
    EXPECT_FALSE(AcceptCtcpQuery(limited, 103000, last)); // 3 s later
    EXPECT_TRUE(AcceptCtcpQuery(limited, 106000, last));  // the ignored one did not move the time
    EXPECT_EQ(last, 106000u);

    // Across the wrap of the tick count the interval still counts.
    last = 0xFFFFF000u;
    EXPECT_FALSE(AcceptCtcpQuery(limited, 0x00000100u, last));
    EXPECT_TRUE(AcceptCtcpQuery(limited, 0x00001000u, last));

    TPreference unlimited = CtcpPreference(false, false);
    EXPECT_TRUE(AcceptCtcpQuery(unlimited, 106001, last));
    TPreference ignoring = CtcpPreference(true, false);
    last = 0;
    EXPECT_FALSE(AcceptCtcpQuery(ignoring, 500000, last));
    EXPECT_EQ(last, 0u);
}

TEST(Ctcp, AnswerTextsKeepTheirLayout)
{
    // Year, month, day of the week (Monday), day, hour, minute, second, millisecond.
    const SYSTEMTIME time = {2026, 12, 1, 7, 8, 5, 36, 0};
    EXPECT_EQ(FormatCtcpTime(time), L"Mon Dec 07 08:05:36 2026");
    EXPECT_EQ(FormatCtcpTime(time).GetLength(), 24);

    EXPECT_EQ(FormatPingElapsed(12050, L"10000"), L"2.05 sec");
    EXPECT_EQ(FormatPingElapsed(1234, L":0"), L"1.23 sec");
    EXPECT_EQ(FormatPingElapsed(5, L"x"), L"0.00 sec");
}
