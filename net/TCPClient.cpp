#include "net/TCPClient.h"

#include <memory>

TTCPClient::TTCPClient() { resolver.listener = this; }

TTCPClient::TTCPClient(SOCKET accepted, const sockaddr_in& peer) : TTCPClient()
{
    socket = accepted;
    address.address = peer.sin_addr.s_addr;
    port = ntohs(peer.sin_port);
    connected = true;
    // No listener yet, so a failure here has no one to hear it.
    SelectEvents();
}

TTCPClient::~TTCPClient() { Close(); }

void TTCPClient::SetHostName(CString name)
{
    if (!connected)
        hostName = name;
}

void TTCPClient::SetPort(int newPort)
{
    if (!connected)
        port = newPort;
}

void TTCPClient::Connect()
{
    if (connected)
        return;
    Close();
    connected = true;
    resolver.SetHostName(hostName);
    resolver.Resolve();
}

void TTCPClient::Close()
{
    connected = false;
    closeCount++;
    sendWaitsForRead = false;
    readPaused = peerClosing = false;
    endKind = NoEnd;
    receiveBuffer.Reserve(0);
    resolver.Cancel();
    if (socket != INVALID_SOCKET) {
        if (window.GetHandle())
            WSAAsyncSelect(socket, window.GetHandle(), 0, 0);
        shutdown(socket, SD_BOTH);
        closesocket(socket);
        socket = INVALID_SOCKET;
    }
    window.Destroy();
    if (ssl)
        EndTls();
}

CStringA TTCPClient::ReadLine()
{
    CStringA line = receiveBuffer.ReadLine();
    ResumeReading();
    return line;
}

void TTCPClient::DiscardReceived(int count)
{
    receiveBuffer.Discard(count);
    ResumeReading();
}

// Posted rather than read here: the owner may be taking lines inside OnReceive.
void TTCPClient::ResumeReading()
{
    if (!readPaused || receiveBuffer.GetSize() >= MaxReceiveBuffer)
        return;
    readPaused = false;
    if (connected && window.GetHandle())
        PostMessageW(window.GetHandle(), WM_SOCKET_EVENT, (WPARAM)socket,
                     WSAMAKESELECTREPLY(peerClosing ? FD_CLOSE : FD_READ, 0));
}

int TTCPClient::Send(const void* bytes, int count)
{
    // A peer that closed or failed takes nothing more while its last lines are read.
    if (!connected || count <= 0 || endKind != NoEnd)
        return 0;
    if (useTls && ssl)
        return TlsSend(bytes, count);
    int sent = send(socket, static_cast<const char*>(bytes), count, 0);
    if (sent > 0)
        return sent;
    int code = WSAGetLastError();
    if (IsSocketInProgress(code))
        return 0;
    Close();
    ReportError(SOCKET_ERROR_SEND, code);
    return 0;
}

void TTCPClient::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_SOCKET_EVENT) {
        OnSocketEvent(msg.wParam, msg.lParam);
        return;
    }
    msg.result = window.Default(msg);
}

void TTCPClient::OnResolve(TNameResolver*)
{
    address = resolver.GetAddress();
    unsigned closes = closeCount;
    if (listener)
        listener->OnResolve(this);
    if (closeCount == closes)
        ConnectSocket();
}

void TTCPClient::OnResolveError(TNameResolver*, CString)
{
    Close();
    ReportError(SOCKET_ERROR_RESOLVE, -1);
}

void TTCPClient::ConnectSocket()
{
    // The socket takes 16 bits: a number outside them would connect to some other port.
    if (port < 1 || port > 65535) {
        Close();
        ReportError(SOCKET_ERROR_CONNECT, -1);
        return;
    }
    socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET) {
        int code = WSAGetLastError();
        Close();
        ReportError(SOCKET_ERROR_CREATE, code);
        return;
    }
    if (!SelectEvents()) {
        int code = WSAGetLastError();
        Close();
        ReportError(SOCKET_ERROR_SELECT, code);
        return;
    }
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons((u_short)port);
    target.sin_addr.s_addr = address.address;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0)
        return;
    int code = WSAGetLastError();
    if (IsSocketInProgress(code))
        return;
    Close();
    ReportError(SOCKET_ERROR_CONNECT, code);
}

bool TTCPClient::SelectEvents()
{
    HWND hwnd = window.Create();
    if (!hwnd)
        return false;
    return WSAAsyncSelect(socket, hwnd, WM_SOCKET_EVENT, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) == 0;
}

void TTCPClient::OnSocketEvent(WPARAM wParam, LPARAM lParam)
{
    if (!connected)
        return;
    int event = WSAGETSELECTEVENT(lParam);
    int error = WSAGETSELECTERROR(lParam);
    if (error != 0) {
        if (event == FD_READ || event == FD_CLOSE) {
            Ending(event == FD_READ ? SOCKET_ERROR_RECEIVE : SOCKET_ERROR_CLOSE, error, false);
            return;
        }
        Close();
        switch (event) {
        case FD_WRITE:
            ReportError(SOCKET_ERROR_SEND, error);
            break;
        case FD_CONNECT:
            ReportError(SOCKET_ERROR_CONNECT, error);
            break;
        }
        return;
    }
    if ((SOCKET)wParam != socket)
        return;
    switch (event) {
    case FD_READ:
        ReceiveAll(false);
        break;
    case FD_WRITE:
        if (listener)
            listener->OnSend(this);
        break;
    case FD_CONNECT:
        StartTls();
        break;
    case FD_CLOSE:
        // Whatever the peer sent before closing is still delivered ahead of OnClose.
        ReceiveAll(true);
        break;
    }
}

void TTCPClient::ReceiveAll(bool closing)
{
    if (endKind != NoEnd) {
        OfferLastLines();
        return;
    }
    peerClosing = peerClosing || closing;
    // Paused, the bytes wait in the socket (and the close behind them) until the owner takes some.
    if (readPaused)
        return;
    std::unique_ptr<char[]> chunk(new char[ReadChunkSize]);
    int total = 0;
    bool peerClosed = false;
    bool failed = false;
    bool drained = false;
    int code = 0;
    while (receiveBuffer.GetSize() < MaxReceiveBuffer) {
        int count = Receive(chunk.get(), ReadChunkSize, peerClosed, failed, code);
        if (count <= 0) {
            drained = true;
            break;
        }
        int stored = receiveBuffer.Write(chunk.get(), count);
        total += stored;
        if (stored < count) {
            failed = true;
            code = WSAENOBUFS;
            break;
        }
    }
    readPaused = !drained && !failed;
    // After the close event a failed read (a handshake cut short, say) is still just the close.
    if (drained && (peerClosed || peerClosing)) {
        Ending(EndByClose, 0, total > 0);
        return;
    }
    if (failed) {
        Ending(SOCKET_ERROR_RECEIVE, code, total > 0);
        return;
    }
    unsigned closes = closeCount;
    if (total > 0 && listener)
        listener->OnReceive(this);
    if (closeCount != closes)
        return; // the owner closed or reconnected from its callback
    FinishBurst();
}

void TTCPClient::Ending(int kind, int code, bool received)
{
    // Told that the end is near, an owner takes every line now instead of sharing its turn.
    peerClosing = true;
    readPaused = false;
    unsigned closes = closeCount;
    if (received && listener)
        listener->OnReceive(this);
    if (closeCount != closes)
        return;
    endKind = kind;
    endCode = code;
    OfferLastLines();
}

// One more turn of the owner at the lines left before the end, and again after other messages
// while each turn takes some: an owner that leaves them will never take them.
void TTCPClient::OfferLastLines()
{
    if (receiveBuffer.HasLineEnd()) {
        int before = receiveBuffer.GetSize();
        unsigned closes = closeCount;
        if (listener)
            listener->OnReceive(this);
        if (closeCount != closes)
            return;
        if (receiveBuffer.HasLineEnd() && receiveBuffer.GetSize() < before && window.GetHandle()) {
            PostMessageW(window.GetHandle(), WM_SOCKET_EVENT, (WPARAM)socket, WSAMAKESELECTREPLY(FD_CLOSE, 0));
            return;
        }
    }
    EndNow(endKind, endCode);
}

void TTCPClient::EndNow(int kind, int code)
{
    Close();
    if (kind != EndByClose)
        ReportError(kind, code);
    else if (listener)
        listener->OnClose(this);
}

void TTCPClient::FinishBurst()
{
    if (readPaused && !receiveBuffer.HasLineEnd()) {
        // A full buffer without a line end can never give the owner a line.
        Close();
        ReportError(SOCKET_ERROR_RECEIVE, WSAENOBUFS);
    } else if (sendWaitsForRead && !readPaused) {
        sendWaitsForRead = false;
        if (listener)
            listener->OnSend(this);
    }
}

int TTCPClient::Receive(char* chunk, int size, bool& peerClosed, bool& failed, int& code)
{
    if (useTls && ssl)
        return TlsReceive(chunk, size, peerClosed, failed, code);
    int count = recv(socket, chunk, size, 0);
    if (count > 0)
        return count;
    if (count == 0) {
        peerClosed = true;
        return 0;
    }
    code = WSAGetLastError();
    failed = !IsSocketInProgress(code);
    return -1;
}

void TTCPClient::ReportError(int kind, int code)
{
    if (listener)
        listener->OnError(this, kind, GetSocketErrorText(code, kind));
}
