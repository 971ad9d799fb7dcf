#include "net/NameResolver.h"

#include "foundation/CodePage.h"
#include "net/TCPSocket.h"

TNameResolver::~TNameResolver() { Cancel(); }

void TNameResolver::Resolve()
{
    Cancel();
    CStringA name = ConvertToUtf8(hostName);
    resolved.address = inet_addr(name);
    if (resolved.address == INADDR_NONE) {
        THostLookup* lookup = new THostLookup(this);
        if (!lookup->Start(name)) {
            delete lookup;
            resolved = TInetAddress();
            ReportError();
            return;
        }
        request = lookup;
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
    // The cancel may come too late, or do nothing at all: the lookup keeps its buffer and window
    // until its answer says the system is done with them.
    WSACancelAsyncRequest(request->GetHandle());
    request->Abandon();
    request = nullptr;
}

void TNameResolver::OnAnswer(THostLookup* lookup, LPARAM result)
{
    request = nullptr;
    resolved = TInetAddress();
    bool found = WSAGETASYNCERROR(result) == 0 && TakeAddress(lookup->GetEntry());
    // The window goes first: the listener may start the next lookup from its callback.
    delete lookup;
    if (found)
        ReportResolved();
    else
        ReportError();
}

bool TNameResolver::TakeAddress(const hostent* entry)
{
    char** list = entry->h_addr_list;
    if (entry->h_length != 4 || !list || !list[0] || *reinterpret_cast<const ULONG*>(list[0]) == 0)
        return false;
    for (; *list; list++) {
        TInetAddress candidate(*reinterpret_cast<const ULONG*>(*list));
        if (skipPrivate && (candidate.IsPrivate() || candidate.address == htonl(INADDR_LOOPBACK)))
            continue;
        resolved = candidate;
        break;
    }
    return true;
}

void TNameResolver::ReportResolved()
{
    if (listener)
        listener->OnResolve(this);
}

void TNameResolver::ReportError()
{
    if (listener)
        listener->OnResolveError(this, CString());
}

bool THostLookup::Start(const char* name)
{
    HWND hwnd = window.Create();
    if (hwnd)
        handle = WSAAsyncGetHostByName(hwnd, WM_SOCKET_EVENT, name, buffer, sizeof(buffer));
    return handle != nullptr;
}

void THostLookup::Abandon() { owner = nullptr; }

void THostLookup::OnMessage(TWindowMessage& msg)
{
    if (msg.message != WM_SOCKET_EVENT) {
        msg.result = window.Default(msg);
        return;
    }
    // Only this lookup's own answer ends it.
    if ((HANDLE)msg.wParam != handle)
        return;
    // Either deletes this lookup; nothing of it may be touched after.
    if (owner)
        owner->OnAnswer(this, msg.lParam);
    else
        delete this;
}
