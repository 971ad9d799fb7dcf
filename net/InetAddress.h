#pragma once
// An IPv4 address value; INADDR_NONE (the default) means no address.

#include "classlib/String.h"

#include <winsock2.h>

class TInetAddress {
public:
    TInetAddress() = default;
    explicit TInetAddress(ULONG networkOrder) : address(networkOrder) {}
    virtual ~TInetAddress() = default;

    bool IsNone() const { return address == INADDR_NONE; }
    CString ToString() const;
    // 10/8, 172.16/12 and 192.168/16 only; loopback is not private by this test.
    bool IsPrivate() const;

    ULONG address = INADDR_NONE; // network byte order
};
