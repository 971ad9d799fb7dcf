#include "foundation/Timer.h"

void TTimer::Start(UINT interval)
{
    HWND hwnd = window.Create();
    if (!hwnd)
        return;
    running = true;
    ::SetTimer(hwnd, 1, interval, nullptr);
}

void TTimer::Stop()
{
    running = false;
    window.Destroy();
}

void TTimer::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_TIMER) {
        if (listener)
            listener->OnTimer(this);
        return;
    }
    msg.result = window.Default(msg);
}

TMultiTimer::~TMultiTimer() { StopAllTimers(); }

UINT_PTR TMultiTimer::StartTimer(UINT interval)
{
    HWND hwnd = window.Create();
    lastId++;
    if (!hwnd || !::SetTimer(hwnd, lastId, interval, nullptr))
        return 0;
    ids.insert(lastId);
    return lastId;
}

void TMultiTimer::StopTimer(UINT_PTR id)
{
    if (ids.erase(id))
        ::KillTimer(window.GetHandle(), id);
}

void TMultiTimer::StopAllTimers()
{
    for (UINT_PTR id : ids)
        ::KillTimer(window.GetHandle(), id);
    ids.clear();
}

void TMultiTimer::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_TIMER) {
        if (listener)
            listener->OnTimer(this, msg.wParam);
        return;
    }
    msg.result = window.Default(msg);
}
