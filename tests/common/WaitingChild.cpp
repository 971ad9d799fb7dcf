#include "tests/common/WaitingChild.h"

#include "tests/common/ImportPatch.h"

#include <cstdio>
#include <string>

namespace {
const char kVariable[] = "KV_WAITING_CHILD";
const DWORD kBoundMs = 20000;

// The clock races only while the child waits: the caller's own time before and after stays.
volatile LONG racing = 0;
HANDLE clockRead = nullptr; // set by a reading while the clock races
volatile LONG raced = 0;
DWORD(WINAPI* realClock)() = nullptr; // the import itself now leads back here

DWORD WINAPI ReadClock()
{
    if (!racing)
        return realClock();
    SetEvent(clockRead);
    return (DWORD)InterlockedExchangeAdd(&raced, 3600000) + 3600000;
}

std::string EventName(const char* suffix)
{
    char name[64] = "";
    GetEnvironmentVariableA(kVariable, name, sizeof name);
    return std::string(name) + suffix;
}
} // namespace

TWaitingChild::TWaitingChild()
{
    char name[64];
    snprintf(name, sizeof name, "kv-waiting-child-%lu", GetCurrentProcessId());
    SetEnvironmentVariableA(kVariable, name);
    release = CreateEventA(nullptr, TRUE, FALSE, EventName("-release").c_str());
    waiting = CreateEventA(nullptr, TRUE, FALSE, EventName("-waiting").c_str());
    clockRead = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    realClock = &::GetTickCount;
    originalClock = ReplaceImport("kernel32.dll", "GetTickCount", reinterpret_cast<ULONG_PTR>(&ReadClock));
    releaser = std::thread([this] {
        if (WaitForSingleObject(waiting, kBoundMs) == WAIT_OBJECT_0) {
            ResetEvent(clockRead);
            racing = 1;
            // A caller with a time limit looks at the clock within milliseconds; one without never
            // does, so this bounded wait runs out before the child is let go.
            WaitForSingleObject(clockRead, 1000);
            racing = 0;
        }
        SetEvent(release);
    });
}

TWaitingChild::~TWaitingChild()
{
    SetEvent(waiting); // a child that never came must not keep the releaser waiting
    releaser.join();
    if (originalClock)
        ReplaceImport("kernel32.dll", "GetTickCount", originalClock);
    SetEnvironmentVariableA(kVariable, nullptr);
    CloseHandle(release);
    CloseHandle(waiting);
    CloseHandle(clockRead);
    clockRead = nullptr;
}

bool TWaitingChild::WaitInChild()
{
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, EventName("-release").c_str());
    HANDLE told = OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName("-waiting").c_str());
    bool let = go && told && SetEvent(told) && WaitForSingleObject(go, kBoundMs) == WAIT_OBJECT_0;
    if (told)
        CloseHandle(told);
    if (go)
        CloseHandle(go);
    return let;
}
