#pragma once
// The byte queue between sockets and protocol code: append at the back, take lines off the front.
// Taking from the front only moves a read position, and the lines are searched for once, so
// draining a large backlog costs what its bytes cost.

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
    // Puts bytes back in front of what is buffered; false, with nothing changed, without memory.
    bool Unread(const void* source, int count);
    int Peek(void* destination, int count) const;
    void Discard(int count);
    // One line without CR LF, or "" when no complete line is buffered (check size to tell).
    CStringA ReadLine();
    bool HasLineEnd();

    int GetSize() const { return size; }
    int GetCapacity() const { return capacity; }
    // The oldest unread byte; valid until the next call that changes the stream.
    const char* GetData() const { return buffer + start; }

private:
    void MoveToFront();

    char* buffer = nullptr;
    int capacity = 0;
    int start = 0; // bytes already taken off the front
    int size = 0;  // bytes held from start
    // Bytes put back in front and not yet looked at; after them, bytes known to hold no NUL.
    int uncleanedFront = 0;
    int cleaned = 0;
    // Bytes from start known to hold no LF.
    int searched = 0;
};
