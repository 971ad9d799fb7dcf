#pragma once
// The system's asynchronous host lookup in the test's hand: every lookup the program starts stays
// pending until the test answers it, and the answer writes the host entry into the program's
// buffer and posts the message as the system does, at the moment the test picks. A cancel is
// recorded and changes nothing, as under Wine.

#include <winsock2.h>

#include <string>
#include <vector>

class THostLookupStub {
public:
    struct TLookup {
        HWND window;
        UINT message;
        std::string name;
        char* buffer;
        int length;
        HANDLE handle;
        bool cancelled;
    };

    THostLookupStub();
    ~THostLookupStub();
    THostLookupStub(const THostLookupStub&) = delete;
    THostLookupStub& operator=(const THostLookupStub&) = delete;

    // False when the program does not look names up through these imports.
    bool IsHooked() const { return startOriginal != 0 && cancelOriginal != 0; }
    // Addresses in network order; an error answers a failure and leaves the buffer alone.
    void Answer(size_t index, const std::vector<ULONG>& addresses, int error = 0);

    std::vector<TLookup> lookups;

private:
    ULONG_PTR startOriginal;
    ULONG_PTR cancelOriginal;
};

// Whether every heap of the program passes its own check; on the checking heap a write into a
// freed block fails it.
bool HeapsAreSound();
