#pragma once
// The transport of a server connection: a TCP connection straight to the target or through a
// SOCKS4 or SOCKS5 proxy, presented to the owner with the events of a plain TCP client.

#include "net/TCPClient.h"

class TSocksClient;

class ISocksClientListener {
public:
    virtual void OnConnect(TSocksClient* socks) = 0;
    virtual void OnClose(TSocksClient* socks) = 0;
    virtual void OnResolve(TSocksClient* socks) = 0;
    virtual void OnReceive(TSocksClient* socks) = 0;
    virtual void OnSend(TSocksClient* socks) = 0;
    virtual void OnError(TSocksClient* socks, int kind, CString message) = 0;

protected:
    ~ISocksClientListener() = default;
};

// Handshake states.
enum TSocksState {
    SOCKS_STATE_NONE = 0,          // direct connection, or the handshake is over
    SOCKS_STATE_RESOLVING = 1,     // connected to the proxy, resolving the target here
    SOCKS_STATE_REQUEST_SENT = 2,  // SOCKS4 request or SOCKS5 CONNECT sent
    SOCKS_STATE_GREETING_SENT = 3, // SOCKS5 method offer sent
    SOCKS_STATE_AUTH_SENT = 4,     // SOCKS5 user name and password sent
};

class TSocksClient : public TTCPSocket, public ITCPClientListener, public INameResolverListener {
public:
    TSocksClient();
    ~TSocksClient() override;

    void Connect();
    // Makes no listener call.
    void Close();
    // Nothing while the proxy is still answering: those bytes are not the connection's.
    CStringA ReadLine();

    void OnConnect(TTCPClient* tcp) override;
    void OnClose(TTCPClient* tcp) override;
    void OnResolve(TTCPClient* tcp) override;
    void OnReceive(TTCPClient* tcp) override;
    void OnSend(TTCPClient* tcp) override;
    void OnError(TTCPClient* tcp, int kind, CString message) override;
    void OnResolve(TNameResolver* resolver) override;
    void OnResolveError(TNameResolver* resolver, CString message) override;

    TTCPClient client; // the owner sends through it
    TNameResolver resolver;
    TMemoryStream handshake;
    ISocksClientListener* listener = nullptr;
    int state = SOCKS_STATE_NONE;
    bool active = false;
    TInetAddress targetAddress;
    int targetPort = 0;
    CString targetHost;
    bool useProxy = false;
    int socksVersion = 4; // 4 for SOCKS4, anything else SOCKS5
    int proxyPort = 1080;
    CString proxyHost;
    bool useAuth = false;
    CString user;
    CString password;
    // TLS with the target through the proxy: started once the proxy has connected it.
    bool tlsAfterProxy = false;

private:
    bool InHandshake() const { return useProxy && state != SOCKS_STATE_NONE; }
    bool OffersAuth() const { return useAuth && !user.IsEmpty() && !password.IsEmpty(); }
    void SendSocks4Request();
    void SendGreeting();
    void SendAuth();
    void SendConnectRequest();
    void SendToProxy(const CStringA& message);
    void ProcessHandshake();
    // Each returns false when the reply is not complete yet.
    bool TakeSocks4Reply();
    bool TakeMethodReply();
    bool TakeAuthReply();
    bool TakeConnectReply();
    void Succeed();
    bool tlsStarting = false;
    void Fail(int kind, UINT textId);
};
