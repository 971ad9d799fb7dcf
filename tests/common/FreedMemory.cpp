#include "tests/common/FreedMemory.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

enum TTrapState { kOff, kArmed, kKept };

std::atomic<int> trapState{kOff};
void* trapBlock = nullptr;
size_t trapSize = 0;

} // namespace

TFreedMemoryTrap::TFreedMemoryTrap(const void* object)
{
    trapBlock = const_cast<void*>(object);
    trapSize = _msize(trapBlock);
    trapState = kArmed;
}

TFreedMemoryTrap::~TFreedMemoryTrap()
{
    if (trapState.exchange(kOff) == kKept)
        std::free(trapBlock);
}

// The program's own new and delete: only the test programs that set a trap are built with this file.
void* operator new(size_t size)
{
    int kept = kKept;
    if (size == trapSize && trapState.compare_exchange_strong(kept, kOff))
        return trapBlock;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    int armed = kArmed;
    if (block && block == trapBlock && trapState.compare_exchange_strong(armed, kKept))
        return;
    std::free(block);
}

void operator delete(void* block, size_t) noexcept { operator delete(block); }
