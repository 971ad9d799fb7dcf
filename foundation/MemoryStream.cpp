#include "foundation/MemoryStream.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const int PageSize = 4096;

} // namespace

TMemoryStream::~TMemoryStream() { free(buffer); }

bool TMemoryStream::Reserve(int wanted)
{
    if (wanted <= 0) {
        free(buffer);
        buffer = nullptr;
        capacity = start = size = uncleanedFront = cleaned = searched = 0;
        return true;
    }
    // Rounding up past INT_MAX would wrap to a tiny block.
    if (wanted > INT_MAX - PageSize)
        return false;
    int newCapacity = ((wanted - 1) / PageSize + 1) * PageSize;
    if (newCapacity <= capacity)
        return true;
    if (buffer) {
        char* grown = static_cast<char*>(realloc(buffer, newCapacity));
        if (!grown)
            return false;
        buffer = grown;
        capacity = newCapacity;
        return true;
    }
    buffer = static_cast<char*>(malloc(newCapacity));
    if (!buffer)
        return false;
    capacity = newCapacity;
    start = size = uncleanedFront = cleaned = searched = 0;
    return true;
}

void TMemoryStream::MoveToFront()
{
    if (start == 0)
        return;
    memmove(buffer, buffer + start, size);
    start = 0;
}

int TMemoryStream::Write(const void* source, int count)
{
    if (count < 1)
        return 0;
    if (count > capacity - start - size) {
        // Moving down pays off once the taken part is a fair share of what stays, so every byte is
        // moved a bounded number of times; otherwise the block grows instead.
        if (count <= capacity - size && start >= size / 8)
            MoveToFront();
        long long wanted = (long long)start + size + count;
        if (wanted > capacity && (wanted > INT_MAX || !Reserve((int)wanted))) {
            MoveToFront();
            if (count > capacity - size)
                count = capacity - size;
        }
    }
    if (count < 1)
        return 0;
    memcpy(buffer + start + size, source, count);
    size += count;
    return count;
}

bool TMemoryStream::Unread(const void* source, int count)
{
    if (count < 1)
        return true;
    if (count > start) {
        // Room for more than this piece, so that putting back piece after piece moves the data
        // only now and then.
        long long room = (long long)count + size / 2;
        if (size + room > INT_MAX || !Reserve((int)(size + room)))
            return false;
        memmove(buffer + room, buffer + start, size);
        start = (int)room;
    }
    start -= count;
    memcpy(buffer + start, source, count);
    size += count;
    // What is known of the bytes behind still holds; the new ones are looked at once, later.
    if (uncleanedFront == 0 && !memchr(source, 0, count))
        cleaned += count;
    else
        uncleanedFront += count;
    searched = memchr(source, '\n', count) ? 0 : searched + count;
    return true;
}

int TMemoryStream::Peek(void* destination, int count) const
{
    int n = count < size ? count : size;
    if (n < 1)
        return 0;
    memcpy(destination, buffer + start, n);
    return n;
}

void TMemoryStream::Discard(int count)
{
    int n = count < size ? count : size;
    if (n < 1)
        return;
    start += n;
    size -= n;
    int pastUncleaned = n - uncleanedFront;
    uncleanedFront = pastUncleaned < 0 ? -pastUncleaned : 0;
    if (pastUncleaned > 0)
        cleaned = cleaned > pastUncleaned ? cleaned - pastUncleaned : 0;
    searched = searched > n ? searched - n : 0;
    if (size == 0)
        start = 0;
}

bool TMemoryStream::HasLineEnd()
{
    if (searched < size && memchr(buffer + start + searched, '\n', size - searched))
        return true;
    searched = size;
    return false;
}

CStringA TMemoryStream::ReadLine()
{
    if (size == 0)
        return CStringA();
    // NULs become blanks in place, so a line never ends early at one; each byte is looked at once.
    char* front = buffer + start;
    for (int i = 0; i < uncleanedFront; i++)
        if (front[i] == 0)
            front[i] = ' ';
    for (int i = uncleanedFront + cleaned; i < size; i++)
        if (front[i] == 0)
            front[i] = ' ';
    uncleanedFront = 0;
    cleaned = size;
    char* lf = static_cast<char*>(memchr(front + searched, '\n', size - searched));
    if (!lf) {
        searched = size;
        return CStringA();
    }
    int lineLength = (int)(lf - front) + 1;
    int textLength = lineLength - 1;
    if (lineLength >= 2 && lf[-1] == '\r')
        textLength--;
    CStringA line(front, textLength);
    Discard(lineLength);
    return line;
}
