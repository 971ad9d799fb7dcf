#include "tests/common/HeapCheck.h"

#include <windows.h>

#include <cstdio>

namespace {
const ULONG kFreeCheck = 0x20; // FLG_HEAP_ENABLE_FREE_CHECK

// The global flags as the loader took them from the registry (the process block's copy).
ULONG GlobalFlags()
{
    using TRead = ULONG(WINAPI*)();
    auto read = reinterpret_cast<TRead>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetNtGlobalFlags")));
    return read ? read() : 0;
}

// What the flag is for: a block freed on a heap of its own comes back filled. Its first words
// hold the free list's links either way.
bool FreedBlocksFilled()
{
    HANDLE heap = ::HeapCreate(0, 0, 0);
    if (!heap)
        return false;
    auto* block = static_cast<volatile DWORD*>(::HeapAlloc(heap, 0, 64));
    bool filled = false;
    if (block) {
        for (int i = 0; i < 16; i++)
            block[i] = 0x41414141;
        ::HeapFree(heap, 0, const_cast<DWORD*>(block));
        filled = block[8] == 0xFEEEFEEE;
    }
    ::HeapDestroy(heap);
    return filled;
}
} // namespace

std::string HeapMismatch()
{
    char asked[8] = "";
    bool plainAsked = ::GetEnvironmentVariableA("KV_PLAIN_HEAP", asked, sizeof asked) > 0 && asked[0];
    ULONG flags = GlobalFlags();
    bool flagOn = (flags & kFreeCheck) != 0;
    bool filled = FreedBlocksFilled();
    if (flagOn != plainAsked && filled != plainAsked)
        return std::string();
    char state[128];
    snprintf(state, sizeof state, "free checking is %s (global flags 0x%lx, freed blocks %s)", flagOn ? "on" : "off",
             flags, filled ? "filled" : "not filled");
    if (plainAsked)
        return std::string("the entry asks for the plain heap (KV_PLAIN_HEAP), but ") + state +
               "; only the plain-heap prefix and scripts/wine-test's desktops of their own drop the checking";
    return std::string("the entry runs on the checking heap, but ") + state +
           "; the Wine prefix lacks the GlobalFlag 0x20 that scripts/setup sets";
}
