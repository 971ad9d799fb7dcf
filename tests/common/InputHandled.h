#pragma once
// Waiting for input to be handled rather than for time: a marker key release follows the input
// through this thread's queue, and once the marker has been read, everything the input posted in
// turn has run too (posted messages are read before input).

#include "tests/common/MessagePump.h"

#include <windows.h>

#include <functional>

// The input sent so far has been read off this thread's queue and what it posted has run. When
// the input closed or hid the window it went to (the target, or the foreground window for keys),
// the marker has nowhere to go: the window gone ends the wait instead. Input to a window of
// another thread or program cannot be followed: then the wait ends once that window's thread
// answers a message, and the caller waits for what the input does there. The marker not read, or
// the other thread not answering, within the bound fails the test.
void WaitForInputHandled(HWND target = nullptr, DWORD boundMs = kWaitBoundMs);
// The marker's messages, which the hook turns into WM_NULL before anyone dispatches them. For a
// message just taken off the queue, whose extra information is still the thread's last.
bool IsInputMarker(const MSG& msg);
// Pumps until done() holds; when it does not within the bound, the test fails naming what it
// waited for. Returns done().
bool WaitUntil(const std::function<bool()>& done, const char* what, DWORD boundMs = kWaitBoundMs);
