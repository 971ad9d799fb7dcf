#include "tests/common/HostLookupStub.h"

#include "tests/common/ImportPatch.h"

#include <cstring>

namespace {

THostLookupStub* stub = nullptr;

HANDLE WINAPI StartLookup(HWND window, u_int message, const char* name, char* buffer, int length)
{
    HANDLE handle = reinterpret_cast<HANDLE>(0x4200 + stub->lookups.size());
    stub->lookups.push_back({window, message, name, buffer, length, handle, false});
    return handle;
}

int WINAPI CancelLookup(HANDLE handle)
{
    for (THostLookupStub::TLookup& lookup : stub->lookups)
        if (lookup.handle == handle)
            lookup.cancelled = true;
    return 0;
}

// The entry as the system lays it out: the hostent, the address pointers, then the addresses.
void WriteHostEntry(char* base, const std::vector<ULONG>& addresses)
{
    hostent* entry = reinterpret_cast<hostent*>(base);
    char** list = reinterpret_cast<char**>(base + sizeof(hostent));
    char* data = reinterpret_cast<char*>(list + addresses.size() + 1);
    for (size_t i = 0; i < addresses.size(); i++, data += 4)
        list[i] = static_cast<char*>(memcpy(data, &addresses[i], 4));
    list[addresses.size()] = nullptr;
    *entry = hostent{data, list + addresses.size(), AF_INET, 4, list};
}

} // namespace

THostLookupStub::THostLookupStub()
{
    stub = this;
    startOriginal = ReplaceImport("ws2_32.dll", "WSAAsyncGetHostByName", reinterpret_cast<ULONG_PTR>(&StartLookup));
    cancelOriginal = ReplaceImport("ws2_32.dll", "WSACancelAsyncRequest", reinterpret_cast<ULONG_PTR>(&CancelLookup));
}

THostLookupStub::~THostLookupStub()
{
    if (startOriginal)
        ReplaceImport("ws2_32.dll", "WSAAsyncGetHostByName", startOriginal);
    if (cancelOriginal)
        ReplaceImport("ws2_32.dll", "WSACancelAsyncRequest", cancelOriginal);
    stub = nullptr;
}

void THostLookupStub::Answer(size_t index, const std::vector<ULONG>& addresses, int error)
{
    const TLookup& lookup = lookups.at(index);
    if (!error)
        WriteHostEntry(lookup.buffer, addresses);
    ::PostMessageW(lookup.window, lookup.message, (WPARAM)lookup.handle, WSAMAKEASYNCREPLY(0, error));
}

bool HeapsAreSound()
{
    HANDLE heaps[256];
    DWORD count = ::GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; i++)
        if (!::HeapValidate(heaps[i], 0, nullptr))
            return false;
    return true;
}
