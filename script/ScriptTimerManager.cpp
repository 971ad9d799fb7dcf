#include "script/ScriptTimerManager.h"

#include "script/ActiveScriptHost.h"

TScriptTimerManager::~TScriptTimerManager() { ClearAll(); }

void TScriptTimerManager::ClearAll()
{
    std::map<UINT, TEntry> old;
    old.swap(timers);
    for (auto& entry : old)
        entry.second.callback->Release();
    timer.StopAllTimers();
}

void TScriptTimerManager::ForgetAll()
{
    timers.clear();
    timer.StopAllTimers();
}

UINT TScriptTimerManager::SetTimer(IDispatch* callback, UINT interval, bool once)
{
    if (!callback)
        return 0;
    UINT id = (UINT)timer.StartTimer(interval);
    if (id == 0)
        return 0;
    callback->AddRef();
    timers[id] = {callback, once};
    return id;
}

void TScriptTimerManager::ClearTimer(UINT id)
{
    timer.StopTimer(id);
    auto found = timers.find(id);
    if (found == timers.end())
        return;
    IDispatch* callback = found->second.callback;
    timers.erase(found);
    callback->Release();
}

void TScriptTimerManager::OnTimer(TMultiTimer*, UINT_PTR id)
{
    auto found = timers.find((UINT)id);
    if (found == timers.end())
        return;
    // The callback may clear this timer or others while it runs; the host holds it for the call.
    IDispatch* callback = found->second.callback;
    bool once = found->second.once;
    if (once)
        timer.StopTimer(id);
    if (!host->CallScriptFunction(callback))
        return; // the engine was dropped and its timers with it
    if (once)
        ClearTimer((UINT)id);
}
