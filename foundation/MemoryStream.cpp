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
        size = 0;
        capacity = 0;
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
    size = 0;
    return true;
}

int TMemoryStream::Write(const void* source, int count)
{
    if (count < 1)
        return 0;
    if (count > capacity - size) {
        long long wanted = (long long)size + count;
        if (wanted > INT_MAX || !Reserve((int)wanted))
            count = capacity - size;
    }
    if (count < 1)
        return 0;
    memcpy(buffer + size, source, count);
    size += count;
    return count;
}

int TMemoryStream::Peek(void* destination, int count) const
{
    int n = count < size ? count : size;
    if (n < 1)
        return 0;
    memcpy(destination, buffer, n);
    return n;
}

void TMemoryStream::Discard(int count)
{
    int n = count < size ? count : size;
    if (n < 1)
        return;
    memmove(buffer, buffer + n, size - n);
    size -= n;
}

CStringA TMemoryStream::ReadLine()
{
    if (size == 0)
        return CStringA();
    // NULs become blanks in place, so a line never ends early at one.
    for (int i = 0; i < size; i++)
        if (buffer[i] == 0)
            buffer[i] = ' ';
    char* lf = static_cast<char*>(memchr(buffer, '\n', size));
    if (!lf)
        return CStringA();
    int lineLength = (int)(lf - buffer) + 1;
    int textLength = lineLength - 1;
    if (lineLength >= 2 && lf[-1] == '\r')
        textLength--;
    CStringA line(buffer, textLength);
    Discard(lineLength);
    return line;
}
