#pragma once
// How long input waits before the program reads it: a hook on the test thread's queue notes, for
// every key and mouse message taken off it, the time since the event was made. Keys can be held
// down from a thread of their own, as a user's repeating key arrives whatever the program is busy
// with.

#include <windows.h>

class TInputWaitMeter {
public:
    // Watches the calling thread's queue until destroyed. Meters nest: while a newer one lives,
    // the older one is paused.
    TInputWaitMeter();
    TInputWaitMeter(const TInputWaitMeter&) = delete;
    TInputWaitMeter& operator=(const TInputWaitMeter&) = delete;
    ~TInputWaitMeter();

    // Milliseconds of the longest wait so far, and how many input messages were read.
    DWORD Longest() const { return longest; }
    int Count() const { return count; }

private:
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);

    TInputWaitMeter* outer = nullptr;
    HHOOK hook = nullptr;
    DWORD longest = 0;
    int count = 0;
};

// Presses each key of the sequence in turn, one every interval ms, from another thread, while
// this thread pumps; returns once every press has been read.
void RepeatKeysFromThread(const WORD* keys, int count, DWORD interval);
