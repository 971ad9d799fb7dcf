#pragma once
// The byte queue between sockets and protocol code: append at the back, take lines off the front.

#include "classlib/String.h"

class TMemoryStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;
    virtual ~TMemoryStream();

    // Grows by whole 4096-byte pages and never shrinks; 0 or less releases the block.
    bool Reserve(int wanted);
    // Returns how many bytes were appended: fewer than count when memory runs out.
    int Write(const void* source, int count);
    int Peek(void* destination, int count) const;
    void Discard(int count);
    // One line without CR LF, or "" when no complete line is buffered (check size to tell).
    CStringA ReadLine();

    char* buffer = nullptr;
    int size = 0;
    int capacity = 0;
};
