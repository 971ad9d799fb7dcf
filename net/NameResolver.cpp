#include "net/NameResolver.h"

#include "foundation/CodePage.h"
#include "net/TCPSocket.h"

TNameResolver::~TNameResolver() { Cancel(); }

void TNameResolver::Resolve()
{
    // The system would otherwise go on writing an abandoned answer into hostBuffer.
    Cancel();
    CStringA name = ConvertToUtf8(hostName);
    resolved.address = inet_addr(name);
    if (resolved.address == INADDR_NONE) {
        HWND hwnd = window.Create();
        HANDLE handle = nullptr;
        if (hwnd)
            handle = WSAAsyncGetHostByName(hwnd, WM_SOCKET_EVENT, name, hostBuffer, HostBufferSize);
        if (!handle) {
            resolved = TInetAddress();
            ReportError();
            return;
        }
        request = handle;
        return;
    }
    if (resolved.address == 0) {
        resolved = TInetAddress();
        ReportError();
        return;
    }
    ReportResolved();
}

void TNameResolver::ResolveLocalHost()
{
    char name[260] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) {
        resolved = TInetAddress();
        ReportError();
        return;
    }
    hostName = ConvertFromUtf8(name);
    Resolve();
}

void TNameResolver::Cancel()
{
    if (!request)
        return;
    WSACancelAsyncRequest(request);
    request = nullptr;
}

void TNameResolver::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_SOCKET_EVENT) {
        OnAnswer(msg.wParam, msg.lParam);
        return;
    }
    msg.result = window.Default(msg);
}

void TNameResolver::OnAnswer(WPARAM handle, LPARAM result)
{
    // Late answers after Cancel, and answers to other lookups, are not ours.
    if (!request || (HANDLE)handle != request)
        return;
    request = nullptr;
    resolved = TInetAddress();
    if (WSAGETASYNCERROR(result) != 0) {
        ReportError();
        return;
    }
    const hostent* entry = reinterpret_cast<const hostent*>(hostBuffer);
    char** list = entry->h_addr_list;
    if (entry->h_length != 4 || !list || !list[0] || *reinterpret_cast<const ULONG*>(list[0]) == 0) {
        ReportError();
        return;
    }
    for (; *list; list++) {
        TInetAddress candidate(*reinterpret_cast<const ULONG*>(*list));
        if (skipPrivate && (candidate.IsPrivate() || candidate.address == htonl(INADDR_LOOPBACK)))
            continue;
        resolved = candidate;
        break;
    }
    ReportResolved();
}

void TNameResolver::ReportResolved()
{
    // The window goes first: the listener may start the next lookup from its callback.
    window.Destroy();
    if (listener)
        listener->OnResolve(this);
}

void TNameResolver::ReportError()
{
    window.Destroy();
    if (listener)
        listener->OnResolveError(this, CString());
}
