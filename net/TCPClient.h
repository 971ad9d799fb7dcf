#pragma once
// One non-blocking TCP connection driven by socket messages on its own hidden window: resolve,
// connect (optionally TLS), read in bursts into a bounded buffer, send what the socket takes.
// A full buffer pauses reading until the owner takes from it; only a buffer that can never give
// a line (no line end in it) ends the connection. The peer's close, or a failed read, reaches the
// owner only after it has taken every line received before it.

#include "foundation/MemoryStream.h"
#include "net/NameResolver.h"
#include "net/TCPSocket.h"

typedef struct ssl_st SSL;

class TTCPClient;

class ITCPClientListener {
public:
    virtual void OnConnect(TTCPClient* client) = 0;
    // The peer closed, and every line it sent before was taken; the client is already closed.
    virtual void OnClose(TTCPClient* client) = 0;
    // The socket is created and connected right after this returns.
    virtual void OnResolve(TTCPClient* client) = 0;
    // Once per read burst; the owner takes what it can here, the rest may wait.
    virtual void OnReceive(TTCPClient* client) = 0;
    virtual void OnSend(TTCPClient* client) = 0;
    // The client is already closed.
    virtual void OnError(TTCPClient* client, int kind, CString message) = 0;

protected:
    ~ITCPClientListener() = default;
};

class TTCPClient : public TTCPSocket, public IMessageWindowListener, public INameResolverListener {
public:
    static const int ReadChunkSize = 65536;
    static const int MaxReceiveBuffer = 1048576;

    TTCPClient();
    // An accepted connection: open at once, no lookup and no connect.
    TTCPClient(SOCKET accepted, const sockaddr_in& peer);
    ~TTCPClient() override;

    void SetHostName(CString name);
    void SetPort(int newPort);
    TInetAddress GetAddress() const { return address; }

    void Connect();
    // Runs at the connect event; a proxy in front calls it once it has connected the target, so
    // the TLS session runs with the server, not with the proxy. Ends in OnConnect or OnError.
    void StartTls();
    // Safe at any time; makes no listener call.
    void Close();
    bool IsConnected() const { return connected; }
    bool HasSocket() const { return socket != INVALID_SOCKET; }

    // What was received and not yet taken. Taking resumes reading that a full buffer paused.
    CStringA ReadLine();
    int GetReceivedSize() const { return receiveBuffer.GetSize(); }
    // The peer closed (or reading failed); what it sent before is still to be taken.
    bool IsPeerClosing() const { return peerClosing; }
    int PeekReceived(void* destination, int count) const { return receiveBuffer.Peek(destination, count); }
    void DiscardReceived(int count);
    // Puts bytes back in front of the received ones (a proxy reply read one chunk too far).
    bool UnreadReceived(const void* bytes, int count) { return receiveBuffer.Unread(bytes, count); }

    // Returns how many bytes the socket took; 0 means retry after the next OnSend.
    int Send(const void* bytes, int count);

    void OnMessage(TWindowMessage& msg) override;
    void OnResolve(TNameResolver* resolver) override;
    void OnResolveError(TNameResolver* resolver, CString message) override;

    ITCPClientListener* listener = nullptr;
    TInetAddress address;
    int port = 0;
    CString hostName;
    bool useTls = false;

private:
    friend class TTCPClientProbe; // tests reach the resolver and the window

    void ConnectSocket();
    bool SelectEvents();
    void OnSocketEvent(WPARAM wParam, LPARAM lParam);
    // closing: the peer's close is known already, so the burst ends in OnClose.
    void ReceiveAll(bool closing);
    // Ends a burst that kept the connection: a pause, or a waiting TLS write.
    void FinishBurst();
    // The peer's close (kind EndByClose) or a failure: the owner is told to take what it can, and
    // the end waits while lines received before it are left. received: OnReceive is due anyway.
    void Ending(int kind, int code, bool received);
    void OfferLastLines();
    void EndNow(int kind, int code);
    void ResumeReading();
    // > 0 bytes read; 0 the peer closed; -1 nothing now, or failed with code.
    int Receive(char* chunk, int size, bool& peerClosed, bool& failed, int& code);
    void ReportError(int kind, int code);
    // TLS, in TCPClientTls.cpp.
    int TlsReceive(char* chunk, int size, bool& peerClosed, bool& failed, int& code);
    int TlsSend(const void* bytes, int count);
    void EndTls();

    SOCKET socket = INVALID_SOCKET;
    TMemoryStream receiveBuffer;
    bool connected = false;
    SSL* ssl = nullptr;
    THiddenWindow window{this};
    TNameResolver resolver;
    // Reading waits for the owner to take from a full buffer; the peer's close waits with it.
    bool readPaused = false;
    bool peerClosing = false;
    // Counts closes, so a callback that closed or reconnected the client is noticed afterwards.
    unsigned closeCount = 0;
    // A TLS write waited for handshake bytes from the peer; the next read burst tells the owner.
    bool sendWaitsForRead = false;
    // The end that waits for the owner to take the lines before it: NoEnd, EndByClose or an
    // error kind with its code.
    static const int NoEnd = -1;
    static const int EndByClose = -2;
    int endKind = NoEnd;
    int endCode = 0;
};
