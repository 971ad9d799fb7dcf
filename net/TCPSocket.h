#pragma once
// Common base of the socket classes, the error kinds they report and the texts of socket errors.

#include "classlib/String.h"

#include <winsock2.h>

// The kind of failure passed to OnError; the text of a kind is the fallback for codes without one.
enum TSocketErrorKind {
    SOCKET_ERROR_CREATE = 0,
    SOCKET_ERROR_RESOLVE = 1,
    SOCKET_ERROR_SELECT = 2,
    SOCKET_ERROR_CONNECT = 3,
    SOCKET_ERROR_CLOSE = 4,
    SOCKET_ERROR_RECEIVE = 5,
    SOCKET_ERROR_SEND = 6,
    SOCKET_ERROR_ACCEPT = 7,
    SOCKET_ERROR_BIND = 8,
    SOCKET_ERROR_LISTEN = 9,
    SOCKET_ERROR_REUSEADDR = 10,
    SOCKET_ERROR_PROXY = 11,
};

// Socket events arrive on a client's hidden window as this message, listening events as the next.
const UINT WM_SOCKET_EVENT = WM_APP + 1;
const UINT WM_SERVER_SOCKET_EVENT = WM_APP + 2;

class TTCPSocket {
public:
    TTCPSocket() = default;
    TTCPSocket(const TTCPSocket&) = delete;
    TTCPSocket& operator=(const TTCPSocket&) = delete;
    virtual ~TTCPSocket() = default;
};

// The text of a Winsock code, or of the kind when the code has none of its own.
CString GetSocketErrorText(int code, int kind);
// Codes that mean "try again at the next event", not failure.
bool IsSocketInProgress(int code);
