#include "tests/common/MessagePump.h"

#include "classlib/Wnd.h"

namespace {

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (AfxPreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

void PumpPendingMessages() { PumpPending(); }

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 20 ? timeoutMs - elapsed : 20, QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD ms)
{
    PumpMessagesUntil([] { return false; }, ms);
}

namespace {

std::function<void()> g_laterStep;

void CALLBACK RunLaterStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> step = g_laterStep;
    step();
}

} // namespace

void RunLater(DWORD ms, std::function<void()> step)
{
    g_laterStep = step;
    SetTimer(nullptr, 0, ms, RunLaterStep);
}
