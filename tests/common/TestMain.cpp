#include "tests/common/HeapCheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
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

// Allows twice the slowest test on a loaded machine, and stays well inside the entry's time.
const DWORD kTestHangMs = 150000;

BOOL CALLBACK PrintShownWindow(HWND window, LPARAM)
{
    if (!::IsWindowVisible(window))
        return TRUE;
    wchar_t title[128] = L"";
    char cls[64] = "", text[512] = "";
    ::GetWindowTextW(window, title, 128);
    ::GetClassNameA(window, cls, 64);
    ::WideCharToMultiByte(CP_UTF8, 0, title, -1, text, sizeof text, nullptr, nullptr);
    fprintf(stderr, "  shown: %s \"%s\"\n", cls, text);
    return TRUE;
}

// A test stuck in a modal loop or a wait without end would be killed with the entry, and its
// output with it: past the time the name of the test and the windows it left shown are printed
// and the program ends failed.
class THangWatch : public ::testing::EmptyTestEventListener {
public:
    THangWatch()
        : started(CreateEventW(nullptr, FALSE, FALSE, nullptr)), ended(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        CloseHandle(CreateThread(nullptr, 0, &Watch, this, 0, nullptr));
    }

    void OnTestStart(const ::testing::TestInfo& info) override
    {
        name = std::string(info.test_suite_name()) + "." + info.name();
        ResetEvent(ended);
        SetEvent(started);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { SetEvent(ended); }

private:
    static DWORD WINAPI Watch(LPVOID param)
    {
        THangWatch* self = static_cast<THangWatch*>(param);
        for (;;) {
            WaitForSingleObject(self->started, INFINITE);
            if (WaitForSingleObject(self->ended, kTestHangMs) == WAIT_OBJECT_0)
                continue;
            fprintf(stderr, "\nFAILED: %s still running after %lu s\n", self->name.c_str(),
                    (unsigned long)(kTestHangMs / 1000));
            ::EnumWindows(&PrintShownWindow, 0);
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }

    HANDLE started;
    HANDLE ended;
    std::string name;
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
