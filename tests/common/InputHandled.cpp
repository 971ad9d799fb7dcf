#include "tests/common/InputHandled.h"

#include "tests/common/MessagePump.h"

#include <gtest/gtest.h>

namespace {

// An unassigned virtual key: nothing in the program or the system acts on it.
const WORD kMarkerKey = 0xE8;
const DWORD kMarkerBoundMs = 10000;
// What other threads' windows get instead: they run no hook of ours.
const DWORD kUnfollowedInputMs = 80;

thread_local HHOOK t_hook = nullptr;
thread_local DWORD t_markersRead = 0;

LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && IsInputMarker(*msg)) {
        t_markersRead++;
        msg->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OnThisThread(HWND window)
{
    return window && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

} // namespace

bool IsInputMarker(const MSG& msg)
{
    return (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.wParam == kMarkerKey;
}

void WaitForInputHandled(HWND target)
{
    // Keys go to the foreground thread, pointer input to the window under the pointer.
    if (!OnThisThread(::GetForegroundWindow()) || (target && !OnThisThread(target))) {
        PumpMessagesFor(kUnfollowedInputMs);
        return;
    }
    if (!t_hook)
        t_hook = ::SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, ::GetCurrentThreadId());
    INPUT marker = {};
    marker.type = INPUT_KEYBOARD;
    marker.ki.wVk = kMarkerKey;
    marker.ki.dwFlags = KEYEVENTF_KEYUP;
    DWORD before = t_markersRead;
    ::SendInput(1, &marker, sizeof marker);
    // The pump reads until the queue is empty, so once the marker is read nothing is left. A
    // window the input closed takes the marker with it: then no input is left to read either.
    if (!PumpMessagesUntil([&] { return t_markersRead != before || !(HIWORD(::GetQueueStatus(QS_INPUT)) & QS_INPUT); },
                           kMarkerBoundMs))
        ADD_FAILURE() << "the input was not read within " << kMarkerBoundMs << " ms";
}

bool WaitUntil(const std::function<bool()>& done, const char* what, DWORD boundMs)
{
    if (PumpMessagesUntil(done, boundMs))
        return true;
    ADD_FAILURE() << "still waiting after " << boundMs << " ms: " << what;
    return false;
}
