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
TStepWhenReady* g_stepWhenReady = nullptr;

void CALLBACK RunLaterStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> step = g_laterStep;
    if (step)
        step();
}

} // namespace

void RunLater(DWORD ms, std::function<void()> step)
{
    g_laterStep = step;
    SetTimer(nullptr, 0, ms, RunLaterStep);
}

void CancelLater() { g_laterStep = nullptr; }

TStepWhenReady::TStepWhenReady(std::function<bool()> ready, std::function<void()> step, DWORD boundMs)
    : ready(std::move(ready)), step(std::move(step)), start(GetTickCount()), boundMs(boundMs)
{
    g_stepWhenReady = this;
    timer = SetTimer(nullptr, 0, 20, Tick);
}

TStepWhenReady::~TStepWhenReady() { Stop(); }

void TStepWhenReady::Stop()
{
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
    if (g_stepWhenReady == this)
        g_stepWhenReady = nullptr;
}

void CALLBACK TStepWhenReady::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    TStepWhenReady* self = g_stepWhenReady;
    if (!self)
        return;
    // Stopped before the step: a step that runs a loop of its own must not be entered again.
    if (self->ready()) {
        self->Stop();
        self->ran = true;
        self->step();
    } else if (GetTickCount() - self->start >= self->boundMs) {
        self->Stop();
    }
}
