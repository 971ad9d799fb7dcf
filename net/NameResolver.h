#pragma once
// Host name to IPv4 address without blocking: dotted addresses at once, other names by the
// system's asynchronous lookup, answered on a hidden window of the lookup's own.

#include "foundation/MessageWindow.h"
#include "net/InetAddress.h"

class TNameResolver;
class THostLookup;

class INameResolverListener {
public:
    // The address is none when every address of the answer was skipped.
    virtual void OnResolve(TNameResolver* resolver) = 0;
    // The message is always empty; callers word the failure themselves.
    virtual void OnResolveError(TNameResolver* resolver, CString message) = 0;

protected:
    ~INameResolverListener() = default;
};

class TNameResolver {
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
    // The answer of the pending lookup, which goes with it.
    void OnAnswer(THostLookup* lookup, LPARAM result);

    THostLookup* request = nullptr; // the pending lookup; null when none
    INameResolverListener* listener = nullptr;
    bool skipPrivate = false; // pass over private addresses and 127.0.0.1 in an answer
    CString hostName;
    TInetAddress resolved;

private:
    // False when the entry holds no usable address.
    bool TakeAddress(const hostent* entry);
    void ReportResolved();
    void ReportError();
};

// One lookup the system runs: the buffer it writes the host entry into and the window its answer
// comes to. The system may still write and answer after a cancel, so a lookup its resolver let go
// lives on until that answer and then deletes itself; one never answered stays.
class THostLookup final : public IMessageWindowListener {
public:
    explicit THostLookup(TNameResolver* owner) : owner(owner) {}
    THostLookup(const THostLookup&) = delete;
    THostLookup& operator=(const THostLookup&) = delete;

    // False when the system did not take the lookup; it is then deleted by the caller.
    bool Start(const char* name);
    void Abandon();
    void OnMessage(TWindowMessage& msg) override;

    HANDLE GetHandle() const { return handle; }
    HWND GetWindow() const { return window.GetHandle(); }
    const hostent* GetEntry() const { return reinterpret_cast<const hostent*>(buffer); }

private:
    ~THostLookup() = default;
    friend class TNameResolver;

    TNameResolver* owner; // null once abandoned
    HANDLE handle = nullptr;
    char buffer[TNameResolver::HostBufferSize] = {};
    THiddenWindow window{this};
};
