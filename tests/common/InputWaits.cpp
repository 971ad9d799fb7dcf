#include "tests/common/InputWaits.h"

#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"

#include <thread>

namespace {

TInputWaitMeter* g_meter = nullptr;

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

} // namespace

TInputWaitMeter::TInputWaitMeter()
{
    outer = g_meter;
    g_meter = this;
    // The outermost meter's hook serves the newer ones too.
    if (!outer)
        hook = ::SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, ::GetCurrentThreadId());
}

TInputWaitMeter::~TInputWaitMeter()
{
    if (hook)
        ::UnhookWindowsHookEx(hook);
    g_meter = outer;
}

LRESULT CALLBACK TInputWaitMeter::OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = (const MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && g_meter && IsInput(msg->message) && !IsInputMarker(*msg)) {
        DWORD waited = ::GetTickCount() - msg->time;
        // A time stamp from the future (another clock) says nothing about waiting.
        if (waited < 60000 && waited > g_meter->longest)
            g_meter->longest = waited;
        g_meter->count++;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void RepeatKeysFromThread(const WORD* keys, int count, DWORD interval)
{
    volatile LONG done = 0;
    std::thread presser([&] {
        for (int i = 0; i < count; i++) {
            INPUT input[2] = {};
            input[0].type = input[1].type = INPUT_KEYBOARD;
            input[0].ki.wVk = input[1].ki.wVk = keys[i];
            input[1].ki.dwFlags = KEYEVENTF_KEYUP;
            ::SendInput(2, input, sizeof(INPUT));
            ::Sleep(interval);
        }
        ::InterlockedExchange(&done, 1);
    });
    WaitUntil([&] { return ::InterlockedCompareExchange(&done, 0, 0) != 0; }, "every key pressed",
              count * interval + 10000);
    presser.join();
    WaitForInputHandled();
}
