#pragma once
// Wall-clock timing for the benchmark programs.

#include <windows.h>

#include <cstdio>

class TBenchClock {
public:
    TBenchClock()
    {
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
    }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    }

private:
    LARGE_INTEGER frequency, start;
};

inline void ReportRate(const char* what, double count, const char* unit, double seconds)
{
    printf("%-48s %12.0f %s/s  (%.3f s)\n", what, seconds > 0 ? count / seconds : 0.0, unit, seconds);
    fflush(stdout);
}

// What the window has waiting, its drawing included, as a user would wait for it.
inline void DrawNow(HWND window)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
