#include "tests/common/HeapCheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// Before any test: a program on the wrong heap fails as a whole, naming the heap, instead of
// passing without the checking or timing on a heap its entry did not ask for.
class THeapCheck : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string wrong = HeapMismatch();
        if (!wrong.empty())
            FAIL() << "heap: " << wrong;
    }
};

// The system's own clock, sleep and kill: a test may point this program's imports of them
// elsewhere (TWaitingChild races time through them), which must never reach the watch.
template <typename F> F Real(const char* dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA(dll), name)));
}

// Milliseconds since 1970 on the real system clock, as scripts/wine-test gives the deadline.
LONGLONG NowMs(void(WINAPI* systemTime)(LPFILETIME))
{
    FILETIME now = {};
    systemTime(&now);
    ULARGE_INTEGER at = {{now.dwLowDateTime, now.dwHighDateTime}};
    return (LONGLONG)(at.QuadPart / 10000) - 11644473600000LL;
}

// The title is read from the window itself, not asked of its thread, which may be the stuck one.
BOOL CALLBACK PrintShownWindow(HWND window, LPARAM)
{
    if (!::IsWindowVisible(window))
        return TRUE;
    wchar_t title[128] = L"";
    char cls[64] = "", text[512] = "";
    ::InternalGetWindowText(window, title, 128);
    ::GetClassNameA(window, cls, 64);
    ::WideCharToMultiByte(CP_UTF8, 0, title, -1, text, sizeof text, nullptr, nullptr);
    fprintf(stderr, "  shown: %s \"%s\"\n", cls, text);
    return TRUE;
}

// A test stuck in a modal loop or a wait without end would be killed with the entry, and its
// output with it. scripts/wine-test gives the program the deadline it has within the entry's
// time-out (KV_ENTRY_DEADLINE, its tear-down left out): reached, the watch prints what was running,
// a test or the set-up or tear-down around the tests, and the windows left shown, then ends the
// program failed. Run without a deadline, the program is watched by whoever runs it.
class THangWatch : public ::testing::EmptyTestEventListener {
public:
    THangWatch()
    {
        ::InitializeCriticalSection(&watched->lock);
        char deadline[32] = "";
        if (::GetEnvironmentVariableA("KV_ENTRY_DEADLINE", deadline, sizeof deadline) == 0)
            return;
        watched->deadlineMs = _atoi64(deadline);
        ::CloseHandle(::CreateThread(nullptr, 0, &Watch, watched, 0, nullptr));
    }

    void OnTestProgramStart(const ::testing::UnitTest&) override { Running("the set-up before the first test"); }
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        Running(std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        Running(std::string("the tear-down after ") + info.test_suite_name() + "." + info.name());
    }

private:
    // Never freed: the test runner deletes its listeners at the exit, which may hang after that.
    struct TWatched {
        CRITICAL_SECTION lock;
        std::string running = "the program's start";
        LONGLONG deadlineMs = 0;
    };

    void Running(const std::string& what)
    {
        ::EnterCriticalSection(&watched->lock);
        watched->running = what;
        ::LeaveCriticalSection(&watched->lock);
    }

    static DWORD WINAPI Watch(LPVOID param)
    {
        TWatched* watched = static_cast<TWatched*>(param);
        auto systemTime = Real<void(WINAPI*)(LPFILETIME)>("kernel32.dll", "GetSystemTimeAsFileTime");
        auto sleep = Real<void(WINAPI*)(DWORD)>("kernel32.dll", "Sleep");
        auto kill = Real<BOOL(WINAPI*)(HANDLE, UINT)>("kernel32.dll", "TerminateProcess");
        LONGLONG left = watched->deadlineMs - NowMs(systemTime);
        if (left > 0)
            sleep((DWORD)std::min<LONGLONG>(left, INFINITE - 1));
        ::EnterCriticalSection(&watched->lock);
        fprintf(stderr, "\nFAILED: %s still running at the entry's deadline\n", watched->running.c_str());
        ::LeaveCriticalSection(&watched->lock);
        ::EnumWindows(&PrintShownWindow, 0);
        fflush(stderr);
        kill(::GetCurrentProcess(), 3);
        return 0;
    }

    TWatched* watched = new TWatched;
};
} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new THeapCheck);
    ::testing::UnitTest::GetInstance()->listeners().Append(new THangWatch);
    return RUN_ALL_TESTS();
}
