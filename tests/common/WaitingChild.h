#pragma once
// A child process of the test program that waits until the test lets it go, while time races in
// this program: every reading of a clock (the tick counts, the performance counter, the system
// time) jumps an hour, and every wait or sleep with a time-out has its whole time pass at once.
// A caller that gives up on the child after any time limit, on whatever clock or a wait's own
// time-out, ends it before it is let go, and its kill is counted; a caller without one gets all
// that it printed. The test's own thread is blocked in the call that runs the child, so another
// thread lets it go.

#include <windows.h>

#include <thread>

class TWaitingChild {
public:
    TWaitingChild();
    ~TWaitingChild();
    TWaitingChild(const TWaitingChild&) = delete;
    TWaitingChild& operator=(const TWaitingChild&) = delete;

    // False when the program does not reach the clocks, the waits or the kill through its imports.
    bool IsHooked() const { return hooked; }
    // Processes this program tried to end while the child lived.
    int Kills() const;

    // In the child: says that it waits, then waits; false when it was never let go.
    static bool WaitInChild();

private:
    HANDLE release;
    HANDLE waiting;
    HANDLE done; // the test is over: the releaser lets the child go at once
    bool hooked = true;
    std::thread releaser;
};
