#pragma once
// The heap a test program runs on: Wine's free-checking heap, where a use of freed memory faults
// where it happens, unless its ctest entry asks for the plain heap (KV_PLAIN_HEAP, which only a
// desktop of its own from scripts/wine-test can give).

#include <string>

// Empty when the program runs on the heap its entry asks for; else what is wrong, to fail on.
std::string HeapMismatch();
