#pragma once
// A child process of the test program that waits until the test lets it go, while this
// program's clock races: an hour passes at every reading of GetTickCount. A caller that gives up
// on the child after any time limit has ended it before it is let go; a caller without one gets
// all that it printed. The test's own thread is blocked in the call that runs the child, so
// another thread lets it go.

#include <windows.h>

#include <thread>

class TWaitingChild {
public:
    TWaitingChild();
    ~TWaitingChild();
    TWaitingChild(const TWaitingChild&) = delete;
    TWaitingChild& operator=(const TWaitingChild&) = delete;

    // False when the program does not read the clock through its import.
    bool IsClockHooked() const { return originalClock != 0; }

    // In the child: says that it waits, then waits; false when it was never let go.
    static bool WaitInChild();

private:
    HANDLE release;
    HANDLE waiting;
    ULONG_PTR originalClock;
    std::thread releaser;
};
