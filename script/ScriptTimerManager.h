#pragma once
// setTimeout and setInterval of one script: each timer calls a script function object from the
// UI thread's message loop. The timers end with the script.

#include "foundation/Timer.h"

#include <oaidl.h>

#include <map>

class CActiveScriptHost;

class TScriptTimerManager : public IMultiTimerListener {
public:
    // The host makes the calls into its engine.
    explicit TScriptTimerManager(CActiveScriptHost* host) : host(host) { timer.SetListener(this); }
    TScriptTimerManager(const TScriptTimerManager&) = delete;
    TScriptTimerManager& operator=(const TScriptTimerManager&) = delete;
    virtual ~TScriptTimerManager();

    // 0 when the system gives no timer; ids of one script run 1, 2, 3 ... and are never reused.
    UINT SetTimer(IDispatch* callback, UINT interval, bool once);
    void ClearTimer(UINT id);
    void ClearAll();
    // Stops every timer without releasing its callback: the callbacks' engine is gone.
    void ForgetAll();
    size_t GetCount() const { return timers.size(); }
    void OnTimer(TMultiTimer* timer, UINT_PTR id) override;

private:
    struct TEntry {
        IDispatch* callback; // one reference held
        bool once;
    };

    CActiveScriptHost* host;
    TMultiTimer timer;
    std::map<UINT, TEntry> timers;
};
