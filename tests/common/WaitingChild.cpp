#include "tests/common/WaitingChild.h"

#include "tests/common/ImportPatch.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const char kVariable[] = "KV_WAITING_CHILD";
const DWORD kBoundMs = 20000;
// Long enough for a caller with a limit to reach it many times over, once time races.
const DWORD kRaceMs = 1000;
const LONGLONG kHourMs = 3600000;
const DWORD kSliceMs = 10;

// Time races only while the child waits: the caller's own time before and after stays.
std::atomic<bool> racing{false};
std::atomic<LONGLONG> raced{0}; // milliseconds that passed meanwhile
std::atomic<int> kills{0};
LONGLONG counterFrequency = 1;

// The real functions, taken before the imports lead to the ones below.
DWORD(WINAPI* realTickCount)() = nullptr;
ULONGLONG(WINAPI* realTickCount64)() = nullptr;
BOOL(WINAPI* realCounter)(LARGE_INTEGER*) = nullptr;
void(WINAPI* realSystemTime)(LPFILETIME) = nullptr;
void(WINAPI* realSleep)(DWORD) = nullptr;
DWORD(WINAPI* realSleepEx)(DWORD, BOOL) = nullptr;
DWORD(WINAPI* realWaitOne)(HANDLE, DWORD) = nullptr;
DWORD(WINAPI* realWaitOneEx)(HANDLE, DWORD, BOOL) = nullptr;
DWORD(WINAPI* realWaitMany)(DWORD, const HANDLE*, BOOL, DWORD) = nullptr;
DWORD(WINAPI* realWaitManyEx)(DWORD, const HANDLE*, BOOL, DWORD, BOOL) = nullptr;
DWORD(WINAPI* realMessageWait)(DWORD, const HANDLE*, BOOL, DWORD, DWORD) = nullptr;
DWORD(WINAPI* realMessageWaitEx)(DWORD, const HANDLE*, DWORD, DWORD, DWORD) = nullptr;
BOOL(WINAPI* realKill)(HANDLE, UINT) = nullptr;

// A clock read while time races: an hour has passed since the last reading.
LONGLONG Jump() { return racing ? raced += kHourMs : 0; }

DWORD WINAPI TickCount() { return realTickCount() + (DWORD)Jump(); }
ULONGLONG WINAPI TickCount64() { return realTickCount64() + (ULONGLONG)Jump(); }
BOOL WINAPI Counter(LARGE_INTEGER* count)
{
    BOOL read = realCounter(count);
    if (read)
        count->QuadPart += Jump() * counterFrequency / 1000;
    return read;
}
void WINAPI SystemTime(LPFILETIME time)
{
    realSystemTime(time);
    ULARGE_INTEGER at = {{time->dwLowDateTime, time->dwHighDateTime}};
    at.QuadPart += (ULONGLONG)Jump() * 10000;
    time->dwLowDateTime = at.LowPart;
    time->dwHighDateTime = at.HighPart;
}

// A wait with a time-out waits in slices, so that one begun before time raced sees it start.
// While time races it looks for a millisecond and, when nothing came, its whole time has passed.
template <typename TWait> DWORD Raced(DWORD ms, TWait wait)
{
    if (ms == 0 || ms == INFINITE)
        return wait(ms);
    const DWORD start = realTickCount();
    for (;;) {
        DWORD spent = realTickCount() - start;
        if (spent >= ms)
            return WAIT_TIMEOUT;
        bool race = racing;
        DWORD result = wait(race ? 1 : std::min(ms - spent, kSliceMs));
        if (result != WAIT_TIMEOUT)
            return result;
        if (race) {
            raced += ms - spent;
            return WAIT_TIMEOUT;
        }
    }
}
void WINAPI Nap(DWORD ms)
{
    Raced(ms, [&](DWORD t) {
        realSleep(t);
        return (DWORD)WAIT_TIMEOUT;
    });
}
DWORD WINAPI NapEx(DWORD ms, BOOL alertable)
{
    DWORD result = Raced(ms, [&](DWORD t) { return realSleepEx(t, alertable) ? WAIT_IO_COMPLETION : WAIT_TIMEOUT; });
    return result == WAIT_TIMEOUT ? 0 : result;
}
DWORD WINAPI WaitOne(HANDLE h, DWORD ms)
{
    return Raced(ms, [&](DWORD t) { return realWaitOne(h, t); });
}
DWORD WINAPI WaitOneEx(HANDLE h, DWORD ms, BOOL alertable)
{
    return Raced(ms, [&](DWORD t) { return realWaitOneEx(h, t, alertable); });
}
DWORD WINAPI WaitMany(DWORD count, const HANDLE* handles, BOOL all, DWORD ms)
{
    return Raced(ms, [&](DWORD t) { return realWaitMany(count, handles, all, t); });
}
DWORD WINAPI WaitManyEx(DWORD count, const HANDLE* handles, BOOL all, DWORD ms, BOOL alertable)
{
    return Raced(ms, [&](DWORD t) { return realWaitManyEx(count, handles, all, t, alertable); });
}
DWORD WINAPI MessageWait(DWORD count, const HANDLE* handles, BOOL all, DWORD ms, DWORD mask)
{
    return Raced(ms, [&](DWORD t) { return realMessageWait(count, handles, all, t, mask); });
}
DWORD WINAPI MessageWaitEx(DWORD count, const HANDLE* handles, DWORD ms, DWORD mask, DWORD flags)
{
    return Raced(ms, [&](DWORD t) { return realMessageWaitEx(count, handles, t, mask, flags); });
}

BOOL WINAPI Kill(HANDLE process, UINT code)
{
    if (::GetProcessId(process) != ::GetCurrentProcessId())
        kills++;
    return realKill(process, code);
}

struct THook {
    const char* dll;
    const char* name;
    ULONG_PTR replacement;
    ULONG_PTR real;
};
std::vector<THook> hooks; // of the one waiting child at a time

template <typename F> THook Hook(const char* dll, const char* name, F replacement, F& real, F import)
{
    real = import;
    return {dll, name, reinterpret_cast<ULONG_PTR>(replacement), reinterpret_cast<ULONG_PTR>(import)};
}

// Taken while the imports still lead to the system; naming each function here also keeps it
// among the program's imports, so a caller's use of it always comes through the hook.
std::vector<THook> Hooks()
{
    return {
        Hook("kernel32.dll", "GetTickCount", &TickCount, realTickCount, &::GetTickCount),
        Hook("kernel32.dll", "GetTickCount64", &TickCount64, realTickCount64, &::GetTickCount64),
        Hook("kernel32.dll", "QueryPerformanceCounter", &Counter, realCounter, &::QueryPerformanceCounter),
        Hook("kernel32.dll", "GetSystemTimeAsFileTime", &SystemTime, realSystemTime, &::GetSystemTimeAsFileTime),
        Hook("kernel32.dll", "Sleep", &Nap, realSleep, &::Sleep),
        Hook("kernel32.dll", "SleepEx", &NapEx, realSleepEx, &::SleepEx),
        Hook("kernel32.dll", "WaitForSingleObject", &WaitOne, realWaitOne, &::WaitForSingleObject),
        Hook("kernel32.dll", "WaitForSingleObjectEx", &WaitOneEx, realWaitOneEx, &::WaitForSingleObjectEx),
        Hook("kernel32.dll", "WaitForMultipleObjects", &WaitMany, realWaitMany, &::WaitForMultipleObjects),
        Hook("kernel32.dll", "WaitForMultipleObjectsEx", &WaitManyEx, realWaitManyEx, &::WaitForMultipleObjectsEx),
        Hook("user32.dll", "MsgWaitForMultipleObjects", &MessageWait, realMessageWait, &::MsgWaitForMultipleObjects),
        Hook("user32.dll", "MsgWaitForMultipleObjectsEx", &MessageWaitEx, realMessageWaitEx,
             &::MsgWaitForMultipleObjectsEx),
        Hook("kernel32.dll", "TerminateProcess", &Kill, realKill, &::TerminateProcess)};
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
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    counterFrequency = frequency.QuadPart;
    done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    kills = 0;
    hooks = Hooks();
    for (const THook& hook : hooks)
        hooked = ReplaceImport(hook.dll, hook.name, hook.replacement) != 0 && hooked;
    releaser = std::thread([this] {
        if (realWaitOne(waiting, kBoundMs) == WAIT_OBJECT_0 && realWaitOne(done, 0) == WAIT_TIMEOUT) {
            raced = 0;
            racing = true;
            // A caller with a time limit reaches it within milliseconds now; one without waits on.
            realWaitOne(done, kRaceMs);
            racing = false;
            raced = 0;
        }
        SetEvent(release);
    });
}

TWaitingChild::~TWaitingChild()
{
    SetEvent(done);
    SetEvent(waiting); // a child that never came must not keep the releaser waiting
    releaser.join();
    for (const THook& hook : hooks)
        ReplaceImport(hook.dll, hook.name, hook.real);
    SetEnvironmentVariableA(kVariable, nullptr);
    CloseHandle(release);
    CloseHandle(waiting);
    CloseHandle(done);
}

int TWaitingChild::Kills() const { return kills; }

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
