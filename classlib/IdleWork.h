#pragma once
// Work that waits for the thread's queue to run dry, so that input, paints and timers go first:
// the application's message loop runs it while idle. Loops of the system's own (menus, message
// boxes) do not, so the owner keeps a timer of its own as well.

class IIdleWork {
public:
    virtual void OnIdleWork() = 0;

protected:
    ~IIdleWork() = default;
};

// Queued once however often it is asked for, until it runs or is cancelled.
void QueueIdleWork(IIdleWork* work);
void CancelIdleWork(IIdleWork* work);
// Runs what was queued before the call; true when more is queued now.
bool RunIdleWork();
