// Every benchmark program, before anything else: scripts/bench asks for the plain heap the user's
// program runs on, and figures taken on the checking heap would not be the user's. Run directly,
// a benchmark runs on whatever heap its prefix gives.

#include "tests/common/HeapCheck.h"

#include <windows.h>

#include <cstdio>

namespace {
struct THeapGuard {
    THeapGuard()
    {
        if (!::GetEnvironmentVariableA("KV_PLAIN_HEAP", nullptr, 0))
            return;
        std::string wrong = HeapMismatch();
        if (wrong.empty())
            return;
        printf("bench heap: %s\n", wrong.c_str());
        fflush(stdout);
        ::ExitProcess(1);
    }
} guard;
} // namespace
