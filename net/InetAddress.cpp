#include "net/InetAddress.h"

CString TInetAddress::ToString() const
{
    ULONG host = ntohl(address);
    CString text;
    text.Format(L"%d.%d.%d.%d", (int)(host >> 24) & 0xFF, (int)(host >> 16) & 0xFF, (int)(host >> 8) & 0xFF,
                (int)host & 0xFF);
    return text;
}

bool TInetAddress::IsPrivate() const
{
    ULONG host = ntohl(address);
    return (host & 0xFF000000) == 0x0A000000 || (host & 0xFFF00000) == 0xAC100000 || (host & 0xFFFF0000) == 0xC0A80000;
}
