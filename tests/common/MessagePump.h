#pragma once
// Runs the thread's message loop the way the program's would, for tests of message-driven code.

#include <windows.h>

#include <functional>

// The bound of a wait for what is sure to come soon (a timer's tick, a reply, a window shown):
// ample on a loaded machine, and reached only when it never comes.
const DWORD kWaitBoundMs = 10000;

// Pumps messages until done() is true or the deadline passes; returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Runs what is in the queue now, without waiting for more.
void PumpPendingMessages();
// Pumps messages for the whole time given: for a wait that nothing happens, never for one that
// something does.
void PumpMessagesFor(DWORD ms);
// Runs the step from a thread timer after the delay, inside whatever message loop is running
// then (a modal loop, a drag); one step is pending at a time.
void RunLater(DWORD ms, std::function<void()> step);
// Drops the step RunLater holds, so a chain that re-arms itself stops before what it refers to goes.
void CancelLater();

// Runs the step once, from a thread timer inside whatever message loop is running then, as soon
// as ready() holds; gives up after the bound. It stops with the object, so what the two refer to
// need only outlive it. One at a time.
class TStepWhenReady {
public:
    TStepWhenReady(std::function<bool()> ready, std::function<void()> step, DWORD boundMs = kWaitBoundMs);
    ~TStepWhenReady();
    TStepWhenReady(const TStepWhenReady&) = delete;
    TStepWhenReady& operator=(const TStepWhenReady&) = delete;
    bool Ran() const { return ran; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Stop();

    std::function<bool()> ready;
    std::function<void()> step;
    DWORD start;
    DWORD boundMs;
    UINT_PTR timer;
    bool ran = false;
};
