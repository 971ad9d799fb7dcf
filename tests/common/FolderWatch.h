#pragma once
// Waiting for a folder watcher's worker to be watching: it starts on a thread of its own and
// says nothing when it is ready, so a change made too early would go unseen.

#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

// Rewrites a probe file in the folder until the watcher reports a change; fails the test when
// none comes within the bound.
inline bool WaitUntilWatching(const CString& folder, const std::function<bool()>& reported)
{
    const DWORD boundMs = 10000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < boundMs;) {
        WriteFileBytes(folder + L"watch-probe.tmp", "probe");
        if (PumpMessagesUntil(reported, 100))
            return true;
    }
    ADD_FAILURE() << "still waiting after " << boundMs << " ms: the folder watcher reporting a probe file";
    return false;
}
