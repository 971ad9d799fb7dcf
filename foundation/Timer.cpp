#include "foundation/Timer.h"

namespace {

void DeleteWindow(TMessageWindow*& window)
{
    if (!window)
        return;
    window->listener = nullptr;
    delete window;
    window = nullptr;
}

void MakeWindow(TMessageWindow*& window, IMessageWindowListener* listener)
{
    if (window)
        return;
    window = new TMessageWindow;
    window->Create(listener);
}

} // namespace

TTimer::~TTimer() { DeleteWindow(window); }

void TTimer::CreateMessageWindow() { MakeWindow(window, this); }

void TTimer::Start(UINT interval)
{
    CreateMessageWindow();
    if (!window)
        return;
    running = true;
    ::SetTimer(window->m_hWnd, 1, interval, nullptr);
}

void TTimer::Stop()
{
    if (!window)
        return;
    running = false;
    ::KillTimer(window->m_hWnd, 1);
    DeleteWindow(window);
}

void TTimer::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_TIMER) {
        if (listener)
            listener->OnTimer(this);
        return;
    }
    msg.result = window->DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

TMultiTimer::~TMultiTimer()
{
    StopAllTimers();
    DeleteWindow(window);
}

void TMultiTimer::CreateMessageWindow() { MakeWindow(window, this); }

UINT_PTR TMultiTimer::StartTimer(UINT interval)
{
    CreateMessageWindow();
    lastId++;
    UINT_PTR id = ::SetTimer(window->m_hWnd, lastId, interval, nullptr);
    ids.insert(lastId);
    return id;
}

void TMultiTimer::StopTimer(UINT_PTR id)
{
    if (!window)
        return;
    ::KillTimer(window->m_hWnd, id);
    ids.erase(id);
}

void TMultiTimer::StopAllTimers()
{
    if (!window)
        return;
    for (UINT_PTR id : ids)
        ::KillTimer(window->m_hWnd, id);
    ids.clear();
}

void TMultiTimer::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_TIMER) {
        if (listener)
            listener->OnTimer(this, msg.wParam);
        return;
    }
    msg.result = window->DefWindowProc(msg.message, msg.wParam, msg.lParam);
}
