#include "log/Formatter.h"
#include "log/TimeText.h"

#include "tests/common/RepeatText.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatterTest, ExpandsTemplates)
{
    TFormatter f;
    f.SetVariable('n', L"abc");
    f.SetVariable('l', L"abcdef");
    f.SetVariable('e', L"");
    f.SetVariable('@', L"@");
    f.SetNumber('k', -5);
    struct {
        const wchar_t* pattern;
        const wchar_t* result;
    } cases[] = {
        {L"%%", L"%"},
        {L"%5%", L"%"},
        {L"[%-8n]", L"[abc     ]"},
        {L"[%+8n]", L"[abc     ]"},
        {L"[%08n]", L"[abc     ]"},
        {L"[%2l]", L"[abcdef]"},
        {L"[%3e]", L"[   ]"},
        {L"%z", L"z"},
        {L"x%", L"x"},
        {L"[%1-2n]", L"[abc         ]"},
        {L"%@%n", L"@abc"},
        {L"%k", L"-5"},
        {L"%\u3042", L"\u3042"},
        {L"*%n part (%m)", L"*abc part (m)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.Format(c.pattern), CString(c.result)) << ::testing::PrintToString(CString(c.pattern));
}

TEST(FormatterTest, HugeWidthsArePaddedWithinBounds)
{
    TFormatter f;
    f.SetVariable('n', L"x");
    CString out = f.Format(L"%99999999999999999999n");
    EXPECT_EQ(out.GetLength(), kMaxFormattedLength);
    EXPECT_EQ(out.Left(2), CString(L"x "));
    // A width below the line bound pads to itself, however wide.
    EXPECT_EQ(f.Format(L"[%12000n]").GetLength(), 12002);
}

// Templates a shared theme could make to multiply their letters are cut at one bound.
TEST(FormatterTest, ExpansionsStopAtTheLineBound)
{
    TFormatter f;
    f.SetVariable('n', L"nick");
    f.SetVariable('m', CString(L'm', 500));
    f.SetVariable('p', L"\xD83D\xDE00"); // one character in two units
    struct {
        const char* what;
        CString pattern;
        CString start;
    } cases[] = {
        {"padding repeated", Repeat(L"%9999n", 2000), L"nick     "},
        {"a long value repeated", Repeat(L"%m", 100), CString(L'm', 600)},
        {"plain text past the bound", CString(L'x', kMaxFormattedLength + 5), L"xxx"},
    };
    for (const auto& c : cases) {
        CString out = f.Format(c.pattern);
        EXPECT_EQ(out.GetLength(), kMaxFormattedLength) << c.what;
        EXPECT_EQ(out.Left(c.start.GetLength()), c.start) << c.what;
    }
    // A pair of units is never split at the end.
    CString pairs = f.Format(CString(L'x', 1) + Repeat(L"%p", kMaxFormattedLength));
    EXPECT_EQ(pairs.GetLength(), kMaxFormattedLength - 1);
    EXPECT_FALSE(IS_HIGH_SURROGATE(pairs[pairs.GetLength() - 1]));
    // Below the bound nothing changes: one letter may still take its widest padding.
    EXPECT_EQ(f.Format(L"[%9999n]").GetLength(), 10001);
}

TEST(TimeTextTest, ExpandsPatternsAndKeepsOtherTextSafe)
{
    tm when = {};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    when.tm_wday = 1;
    struct {
        const wchar_t* pattern;
        const wchar_t* result;
    } cases[] = {
        {L"%H:%M ", L"09:05 "},
        {L"%Y/%m/%d %H:%M:%S", L"2026/12/07 09:05:03"},
        {L"%H\u6642%M\u5206", L"09\u664205\u5206"},
        // Conversions the run-time does not know, and a lone %, print as text.
        {L"%Q%H", L"%Q09"},
        {L"%H%", L"09%"},
        {L"%%H", L"%H"},
        {L"%E%O%#", L"%E%O%#"},
        {L"%#H", L"9"},
        {L"%\u3042", L"%\u3042"},
        {L"", L""},
        // A stretch that expands past 127 characters is lost, and only that stretch.
        {L"%c%c%c%c%c%c%c%c\u6642%H:%M", L"\u664209:05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTimePattern(c.pattern, when), CString(c.result))
            << ::testing::PrintToString(CString(c.pattern));
    // One stretch that expands past 127 characters gives nothing at all.
    CString longPattern;
    for (int i = 0; i < 30; i++)
        longPattern += L"%Y/%m";
    EXPECT_EQ(FormatTimePattern(longPattern, when), CString());
    EXPECT_EQ(FormatTimePattern(L"%H\u6642" + longPattern + L"\u5206%M", when), CString(L"09\u6642\u520605"));
    // Short stretches between other characters each fit, but not all of them together.
    CString stamp = FormatTimePattern(Repeat(L"%Y/%m/%d \u3042", 20000), when);
    EXPECT_EQ(stamp.GetLength(), kMaxFormattedLength);
    EXPECT_EQ(stamp.Left(12), CString(L"2026/12/07 \u3042"));
}

} // namespace
