#include "script/ScriptTimerManager.h"

#include "foundation/ScriptValueText.h"

#include <oleauto.h>

TScriptTimerManager::~TScriptTimerManager() { ClearAll(); }

void TScriptTimerManager::ClearAll()
{
    std::map<UINT, TEntry> old;
    old.swap(timers);
    for (auto& entry : old)
        entry.second.callback->Release();
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
    // The callback may clear this timer or others while it runs.
    IDispatch* callback = found->second.callback;
    bool once = found->second.once;
    callback->AddRef();
    if (once)
        timer.StopTimer(id);
    VARIANT result;
    VariantInit(&result);
    InvokeFunctionObject(callback, &result, 0, nullptr);
    VariantClear(&result);
    callback->Release();
    if (once)
        ClearTimer((UINT)id);
}
