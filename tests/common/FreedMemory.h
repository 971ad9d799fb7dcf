#pragma once
// A new object in the memory of one freed before, as the heap may hand a freed block out again:
// what a reference kept by address cannot tell from the old object. The heap does so only now and
// then; a trap makes it happen.

#include <cstddef>

// Armed with a live object made by new: when its block is freed the block is kept back, and the
// next block of its size asked for is that same memory. Disarmed when it goes; a block still kept
// is freed then.
class TFreedMemoryTrap {
public:
    explicit TFreedMemoryTrap(const void* object);
    ~TFreedMemoryTrap();
    TFreedMemoryTrap(const TFreedMemoryTrap&) = delete;
    TFreedMemoryTrap& operator=(const TFreedMemoryTrap&) = delete;
};
