// The cell texts of the transfer window's rows.

#include "dccwindows/DCCDialogRows.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct TCountCase {
    long long position, size;
    const wchar_t* count;
    const wchar_t* progress;
};

TEST(DCCRowTextTest, CountAndProgressColumns)
{
    const TCountCase cases[] = {
        {0, 0, L"0 / 0", L"0%"},
        {1234567, 2000000, L"1,234,567 / 2,000,000", L"61%"},
        {999, 1000, L"999 / 1,000", L"99%"},
        {1000, 1000, L"1,000 / 1,000", L"100%"},
        {4999999999LL, 5000000000LL, L"4,999,999,999 / 5,000,000,000", L"99%"},
        // Whole percents that division in floating point can land just below.
        {530000, 1000000, L"530,000 / 1,000,000", L"53%"},
        {59, 100, L"59 / 100", L"59%"},
        {57, 100, L"57 / 100", L"57%"},
        {9223372036854775806LL, 9223372036854775807LL, L"9,223,372,036,854,775,806 / 9,223,372,036,854,775,807",
         L"99%"},
        {4611686018427387904LL, 9223372036854775807LL, L"4,611,686,018,427,387,904 / 9,223,372,036,854,775,807",
         L"50%"},
        {9223372036854775807LL, 9223372036854775807LL, L"9,223,372,036,854,775,807 / 9,223,372,036,854,775,807",
         L"100%"},
        // More than offered (a peer that sends on), and nothing sent.
        {3000, 1000, L"3,000 / 1,000", L"300%"},
        {9223372036854775807LL, 1, L"9,223,372,036,854,775,807 / 1", L"2147483647%"},
        {0, 1000, L"0 / 1,000", L"0%"},
    };
    for (const TCountCase& c : cases) {
        EXPECT_EQ(CString(c.count), FormatDCCCount(c.position, c.size)) << c.position << "/" << c.size;
        EXPECT_EQ(CString(c.progress), FormatDCCProgress(c.position, c.size)) << c.position << "/" << c.size;
    }
}

TEST(DCCRowTextTest, TimeLeftAndSpeedColumns)
{
    const std::pair<int, const wchar_t*> times[] = {
        {0, L"0:00"},       {59, L"0:59"},        {61, L"1:01"}, {3599, L"59:59"},
        {3600, L"1:00:00"}, {90061, L"25:01:01"}, {-1, L""},
    };
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(CString(text), FormatDCCTimeLeft(seconds)) << seconds;
    EXPECT_EQ(CString(L"1.0"), FormatDCCSpeed(1024.0f));
    EXPECT_EQ(CString(L"0.5"), FormatDCCSpeed(512.0f));
    EXPECT_EQ(CString(L"1000.0"), FormatDCCSpeed(1024000.0f));
    EXPECT_EQ(CString(L"192.0.2.1:1096"), FormatDCCAddress(L"192.0.2.1", 1096));
}

TEST(DCCRowTextTest, ReceiveTaskShowsTheErrorOrTheResumeCountDown)
{
    TDCCReceiveTask task;
    task.stateText = L"レジューム中";
    task.errorText = L"接続できません";
    task.remainingTemplate = L"(残り%d秒)";
    task.state = 5;
    task.timerRunning = true;
    task.resumeTimeout = 20;
    task.resumeWait = 5;
    EXPECT_EQ(CString(L"レジューム中(残り15秒)"), FormatDCCReceiveTask(task));
    task.resumeWait = 20;
    EXPECT_EQ(CString(L"レジューム中(残り0秒)"), FormatDCCReceiveTask(task));
    task.resumeWait = 21;
    EXPECT_EQ(CString(L"レジューム中"), FormatDCCReceiveTask(task)) << "past the time-out";
    task.resumeWait = 5;
    task.resumeTimeout = -1;
    EXPECT_EQ(CString(L"レジューム中"), FormatDCCReceiveTask(task)) << "time-out switched off";
    task.resumeTimeout = 20;
    task.timerRunning = false;
    EXPECT_EQ(CString(L"レジューム中"), FormatDCCReceiveTask(task));
    task.state = 1;
    EXPECT_EQ(CString(L"接続できません"), FormatDCCReceiveTask(task));
    task.state = 6;
    task.stateText = L"受信中";
    task.timerRunning = true;
    EXPECT_EQ(CString(L"受信中"), FormatDCCReceiveTask(task)) << "no count-down outside state 5";
}

} // namespace
