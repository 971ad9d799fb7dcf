#pragma once
// A step on the test's own thread that may never return (a hang) cannot be failed from that
// thread: past the deadline another thread reports it and ends the test program.

#include <windows.h>

#include <cstdio>

class TDeadline {
public:
    TDeadline(DWORD ms, const char* what) : ms(ms), what(what), done(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        thread = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
    }
    ~TDeadline()
    {
        SetEvent(done);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(done);
    }
    TDeadline(const TDeadline&) = delete;
    TDeadline& operator=(const TDeadline&) = delete;

private:
    static DWORD WINAPI Watch(LPVOID param)
    {
        TDeadline* self = static_cast<TDeadline*>(param);
        if (WaitForSingleObject(self->done, self->ms) == WAIT_TIMEOUT) {
            fprintf(stderr, "FAILED: still running after %lu ms: %s\n", (unsigned long)self->ms, self->what);
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 1);
        }
        return 0;
    }

    DWORD ms;
    const char* what;
    HANDLE done;
    HANDLE thread;
};
