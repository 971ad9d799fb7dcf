// Every C++ allocation of a fuzz program: blocks are kept on free lists by size class and
// reused. Wine's heap searches its free lists on every allocation, which was most of the time
// of a settings load; the code under test is the same, only its memory comes from here.

#include <windows.h>

#include <new>

namespace {

struct THeader {
    union {
        THeader* next;      // while free
        unsigned sizeClass; // while in use
    };
    unsigned spare; // keeps blocks 8-byte aligned
};

// 16-byte steps up to 1 KB, then powers of two up to 32 MB; larger blocks go to the heap.
const unsigned kSmallClasses = 65;
const unsigned kClassCount = 80;
const unsigned kBig = ~0u;

THeader* freeLists[kClassCount];
// Allocations come from the fuzzing thread alone; the lock is for safety, and Wine's own locks
// cost more than the rest of an allocation.
volatile LONG busy = 0;

void Lock()
{
    while (InterlockedExchange(&busy, 1))
        YieldProcessor();
}

void Unlock() { InterlockedExchange(&busy, 0); }

unsigned ClassOf(size_t size, size_t& blockSize)
{
    if (size <= 1024) {
        unsigned sizeClass = (unsigned)((size + 15) / 16);
        blockSize = sizeClass * 16;
        return sizeClass;
    }
    unsigned sizeClass = kSmallClasses;
    for (blockSize = 2048; blockSize < size && sizeClass < kClassCount; blockSize *= 2)
        sizeClass++;
    if (sizeClass >= kClassCount) {
        blockSize = size;
        return kBig;
    }
    return sizeClass;
}

void* Allocate(size_t size, bool throwing)
{
    size_t blockSize = 0;
    unsigned sizeClass = ClassOf(size, blockSize);
    THeader* block = nullptr;
    if (sizeClass != kBig) {
        Lock();
        block = freeLists[sizeClass];
        if (block)
            freeLists[sizeClass] = block->next;
        Unlock();
    }
    if (!block)
        block = static_cast<THeader*>(HeapAlloc(GetProcessHeap(), 0, sizeof(THeader) + blockSize));
    if (!block) {
        if (throwing)
            throw std::bad_alloc();
        return nullptr;
    }
    block->sizeClass = sizeClass;
    return block + 1;
}

void Release(void* memory)
{
    if (!memory)
        return;
    THeader* block = static_cast<THeader*>(memory) - 1;
    unsigned sizeClass = block->sizeClass;
    if (sizeClass == kBig) {
        HeapFree(GetProcessHeap(), 0, block);
        return;
    }
    Lock();
    block->next = freeLists[sizeClass];
    freeLists[sizeClass] = block;
    Unlock();
}

} // namespace

void* operator new(size_t size) { return Allocate(size, true); }
void* operator new[](size_t size) { return Allocate(size, true); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size, false); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size, false); }
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete[](void* memory) noexcept { Release(memory); }
void operator delete(void* memory, size_t) noexcept { Release(memory); }
void operator delete[](void* memory, size_t) noexcept { Release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { Release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { Release(memory); }
