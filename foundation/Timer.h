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
    virtual ~TTimer();

    void CreateMessageWindow();
    void Start(UINT interval);
    void Stop();
    void OnMessage(TWindowMessage& msg) override;

    ITimerListener* listener = nullptr;
    bool running = false;
    TMessageWindow* window = nullptr;
};

// Many timers on one window; ids run 1, 2, 3 ... and are never reused.
class TMultiTimer : public IMessageWindowListener {
public:
    TMultiTimer() = default;
    TMultiTimer(const TMultiTimer&) = delete;
    TMultiTimer& operator=(const TMultiTimer&) = delete;
    virtual ~TMultiTimer();

    void CreateMessageWindow();
    UINT_PTR StartTimer(UINT interval);
    void StopTimer(UINT_PTR id);
    void StopAllTimers();
    void OnMessage(TWindowMessage& msg) override;

    IMultiTimerListener* listener = nullptr;
    UINT lastId = 0;
    std::set<UINT_PTR> ids;
    TMessageWindow* window = nullptr;
};
