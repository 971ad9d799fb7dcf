#pragma once
// Host name to IPv4 address without blocking: dotted addresses at once, other names by the
// system's asynchronous lookup, answered on the resolver's own hidden window.

#include "foundation/MessageWindow.h"
#include "net/InetAddress.h"

class TNameResolver;

class INameResolverListener {
public:
    // The address is none when every address of the answer was skipped.
    virtual void OnResolve(TNameResolver* resolver) = 0;
    // The message is always empty; callers word the failure themselves.
    virtual void OnResolveError(TNameResolver* resolver, CString message) = 0;

protected:
    ~INameResolverListener() = default;
};

class TNameResolver : public IMessageWindowListener {
public:
    // Room for the host entry the system writes; MAXGETHOSTSTRUCT.
    static const int HostBufferSize = 1024;

    TNameResolver() = default;
    TNameResolver(const TNameResolver&) = delete;
    TNameResolver& operator=(const TNameResolver&) = delete;
    virtual ~TNameResolver();

    void SetHostName(CString name) { hostName = name; }
    CString GetHostName() const { return hostName; }
    TInetAddress GetAddress() const { return resolved; }

    // The outcome always comes through the listener, possibly before this returns.
    void Resolve();
    void ResolveLocalHost();
    // Drops a pending lookup; no listener call follows.
    void Cancel();
    void OnMessage(TWindowMessage& msg) override;

    HANDLE request = nullptr;
    char hostBuffer[HostBufferSize] = {};
    INameResolverListener* listener = nullptr;
    bool skipPrivate = false; // pass over private addresses and 127.0.0.1 in an answer
    CString hostName;
    TInetAddress resolved;
    THiddenWindow window{this};

private:
    void OnAnswer(WPARAM handle, LPARAM result);
    void ReportResolved();
    void ReportError();
};
