#pragma once
// Periodic timers delivered through a hidden window on the UI thread.

#include "foundation/MessageWindow.h"

#include <set>

class TTimer;
class TMultiTimer;

class ITimerListener {
public:
    virtual void OnTimer(TTimer* timer) = 0;

protected:
    ~ITimerListener() = default;
};

class IMultiTimerListener {
public:
    virtual void OnTimer(TMultiTimer* timer, UINT_PTR id) = 0;

protected:
    ~IMultiTimerListener() = default;
};

// One timer, id 1. Stop destroys the window, so WM_TIMER already queued is never delivered.
class TTimer : public IMessageWindowListener {
public:
    TTimer() = default;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    virtual ~TTimer() = default;

    void SetListener(ITimerListener* newListener) { listener = newListener; }
    void Start(UINT interval);
    void Stop();
    bool IsRunning() const { return running; }
    // Null while stopped.
    HWND GetWindow() const { return window.GetHandle(); }
    void OnMessage(TWindowMessage& msg) override;

private:
    ITimerListener* listener = nullptr;
    bool running = false;
    THiddenWindow window{this};
};

// Many timers on one window; ids run 1, 2, 3 ... and are never reused.
class TMultiTimer : public IMessageWindowListener {
public:
    TMultiTimer() = default;
    TMultiTimer(const TMultiTimer&) = delete;
    TMultiTimer& operator=(const TMultiTimer&) = delete;
    virtual ~TMultiTimer();

    void SetListener(IMultiTimerListener* newListener) { listener = newListener; }
    // 0 when the system gives no timer.
    UINT_PTR StartTimer(UINT interval);
    void StopTimer(UINT_PTR id);
    void StopAllTimers();
    bool IsRunning(UINT_PTR id) const { return ids.count(id) != 0; }
    size_t GetRunningCount() const { return ids.size(); }
    void OnMessage(TWindowMessage& msg) override;

private:
    IMultiTimerListener* listener = nullptr;
    UINT lastId = 0;
    std::set<UINT_PTR> ids;
    THiddenWindow window{this};
};
