// The hang watch of every test program: this program run again with a deadline of its own, its
// child tests hanging with a window shown or racing time from their start.

#include "foundation/RunCommand.h"
#include "tests/common/MessagePump.h"
#include "tests/common/WaitingChild.h"

#include <gtest/gtest.h>
#include <io.h>

#include <memory>
#include <string>

namespace {
// The system's own sleep: the child's imports may be racing time.
void RealSleep(DWORD ms)
{
    auto sleep = reinterpret_cast<void(WINAPI*)(DWORD)>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "Sleep")));
    sleep(ms);
}

const char kRaceFromTheStart[] = "KV_RACE_FROM_THE_START";

// Built before the program's main, so before its hang watch: the watch reads its clock and
// sleeps while the imports already lead to the racing functions.
std::unique_ptr<TWaitingChild> racing = ::GetEnvironmentVariableA(kRaceFromTheStart, nullptr, 0) > 0
                                            ? std::make_unique<TWaitingChild>()
                                            : nullptr;
} // namespace

// The watch reports on standard error, which the parent reads with the output.
TEST(DISABLED_HangChild, HangsWithItsWindowShown)
{
    _dup2(1, 2);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"kv hung window", WS_POPUP, -3000, -3000, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    // The first show takes the hidden start the parent asked for.
    ::ShowWindow(window, SW_SHOWNA);
    ::ShowWindow(window, SW_SHOWNA);
    printf("<hanging>");
    fflush(stdout);
    // Never pumps: the window's thread answers nothing.
    RealSleep(INFINITE);
}

// Time races through the imports every thread calls, the hang watch's among them.
TEST(DISABLED_HangChild, RacesTime)
{
    _dup2(1, 2);
    // Said as a waiting child says it: time races for a second in this program meanwhile.
    ULONGLONG before = ::GetTickCount64();
    TWaitingChild::WaitInChild();
    bool raced = ::GetTickCount64() - before >= 3600000;
    RealSleep(1500);
    racing.reset();
    printf(raced ? "<survived the race>" : "<no race>");
}

namespace {
const char kDeadline[] = "KV_ENTRY_DEADLINE";

// This program run again with the child tests and a deadline that many milliseconds away.
std::string RunChild(const char* tests, DWORD deadlineMs)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CStringA command;
    command.Format("\"%s\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_HangChild.%s", exe, tests);
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER at = {{now.dwLowDateTime, now.dwHighDateTime}};
    char deadline[32], was[32] = "";
    snprintf(deadline, sizeof deadline, "%lld", (long long)(at.QuadPart / 10000 - 11644473600000ULL + deadlineMs));
    bool had = ::GetEnvironmentVariableA(kDeadline, was, sizeof was) > 0;
    ::SetEnvironmentVariableA(kDeadline, deadline);
    CStringA output = RunCommandCapturingOutput(command, "");
    ::SetEnvironmentVariableA(kDeadline, had ? was : nullptr);
    return std::string(output.GetString(), output.GetLength());
}
} // namespace

TEST(HangWatchTest, AHangIsNamedWithTheWindowsShownAtTheEntrysDeadline)
{
    // The child's own start under Wine counts against its deadline.
    const DWORD deadlineMs = kWaitBoundMs;
    DWORD start = ::GetTickCount();
    std::string output = RunChild("HangsWithItsWindowShown", deadlineMs);
    EXPECT_GE(::GetTickCount() - start, deadlineMs - 100) << output;
    EXPECT_NE(std::string::npos, output.find("<hanging>")) << output;
    EXPECT_NE(std::string::npos,
              output.find("FAILED: DISABLED_HangChild.HangsWithItsWindowShown still running at the entry's deadline"))
        << output;
    EXPECT_NE(std::string::npos, output.find("shown: Static \"kv hung window\"")) << output;
}

TEST(HangWatchTest, TimeRacingInTheTestsNeverEndsTheProgram)
{
    ::SetEnvironmentVariableA(kRaceFromTheStart, "1");
    std::string output = RunChild("RacesTime", 120000);
    ::SetEnvironmentVariableA(kRaceFromTheStart, nullptr);
    EXPECT_NE(std::string::npos, output.find("<survived the race>")) << output;
    EXPECT_EQ(std::string::npos, output.find("still running")) << output;
}
