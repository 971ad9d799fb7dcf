#include "tests/common/InputHandled.h"

#include "tests/common/MessagePump.h"

#include <gtest/gtest.h>

namespace {

// An unassigned virtual key, and an extra button that does not exist: nothing in the program or
// the system acts on them. The button's release carries the tag and its number as its extra
// information too, since over a frame it comes without the button.
const WORD kMarkerKey = 0xE8;
const WORD kMarkerButton = 0xE800;
const ULONG_PTR kMarkerTag = 0x4B56E800;

thread_local HHOOK t_hook = nullptr;
// Each marker carries its own number, so a marker that a closed window left behind and that some
// later loop reads never ends the wait for another one.
thread_local BYTE t_lastSent = 0;
thread_local BYTE t_lastRead = 0;

LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && IsInputMarker(*msg)) {
        if (msg->message == WM_XBUTTONUP || msg->message == WM_NCXBUTTONUP)
            t_lastRead = LOBYTE(::GetMessageExtraInfo());
        else
            t_lastRead = (BYTE)(msg->lParam >> 16);
        msg->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OnThisThread(HWND window)
{
    return window && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

// A window the input closed or hid takes no more input.
bool Gone(HWND window) { return window && (!::IsWindow(window) || !::IsWindowVisible(window)); }

// Another thread's window: the input is its thread's to read. That thread answering a message
// tells that it is not stuck; what the input does there the caller waits for.
void WaitForOtherThread(HWND window, DWORD boundMs)
{
    DWORD_PTR answer = 0;
    if (window && !::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, boundMs, &answer) && ::IsWindow(window))
        ADD_FAILURE() << "the window's program did not answer within " << boundMs << " ms";
    PumpPendingMessages();
}

// A key release follows keys to the foreground window; a button release follows pointer input
// to the window under the pointer.
INPUT MakeMarker(bool pointer, BYTE number)
{
    INPUT marker = {};
    if (pointer) {
        marker.type = INPUT_MOUSE;
        marker.mi.dwFlags = MOUSEEVENTF_XUP;
        marker.mi.mouseData = kMarkerButton | number;
        marker.mi.dwExtraInfo = kMarkerTag | number;
    } else {
        marker.type = INPUT_KEYBOARD;
        marker.ki.wVk = kMarkerKey;
        marker.ki.wScan = number;
        marker.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return marker;
}

} // namespace

bool IsInputMarker(const MSG& msg)
{
    // Over a window's frame or scroll bars the release comes as the non-client message, which
    // carries the hit-test code instead of the button: the tag tells the marker from a release
    // of a real button there.
    if (msg.message == WM_XBUTTONUP || msg.message == WM_NCXBUTTONUP)
        return (::GetMessageExtraInfo() & ~(LPARAM)0xFF) == (LPARAM)kMarkerTag;
    return (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.wParam == kMarkerKey;
}

void WaitForInputHandled(HWND target, DWORD boundMs)
{
    // Keys go to the foreground thread, pointer input to the window under the pointer.
    HWND foreground = ::GetForegroundWindow();
    HWND receiver = target ? target : foreground;
    if (!OnThisThread(receiver)) {
        WaitForOtherThread(receiver, boundMs);
        return;
    }
    if (!t_hook)
        t_hook = ::SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, ::GetCurrentThreadId());
    t_lastSent = t_lastSent == 0xFF ? 1 : t_lastSent + 1;
    const BYTE number = t_lastSent;
    // Keys while this thread has the foreground; else only the pointer reaches the target.
    bool keys = OnThisThread(foreground);
    INPUT marker = MakeMarker(!keys, number);
    ::SendInput(1, &marker, sizeof marker);
    auto gone = [&] { return Gone(receiver) || (keys && Gone(foreground)); };
    // Markers are read in the order sent: a later one read, by a wait nested in a loop that this
    // input opened, means this one was read too.
    auto read = [&] { return t_lastRead != 0 && (t_lastRead + 0xFF - number) % 0xFF < 0x80; };
    if (!PumpMessagesUntil([&] { return read() || gone(); }, boundMs))
        ADD_FAILURE() << "the input was not read within " << boundMs << " ms";
    // A marker with nowhere to go is never read: left behind, its number would make the numbers
    // of the next 128 markers look read already.
    if (!read())
        t_lastRead = number;
}

bool WaitUntil(const std::function<bool()>& done, const char* what, DWORD boundMs)
{
    if (PumpMessagesUntil(done, boundMs))
        return true;
    ADD_FAILURE() << "still waiting after " << boundMs << " ms: " << what;
    return false;
}
