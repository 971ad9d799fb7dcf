#include "net/TCPServer.h"

TTCPServer::~TTCPServer()
{
    for (TTCPClient* client : clients)
        delete client;
    clients.clear();
    Close();
}

void TTCPServer::Open()
{
    if (listening)
        return;
    socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET) {
        ReportError(SOCKET_ERROR_CREATE, WSAGetLastError());
        return;
    }
    if (reuseAddress) {
        int on = 1;
        if (setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof(on)) != 0) {
            Fail(SOCKET_ERROR_REUSEADDR, WSAGetLastError());
            return;
        }
    }
    bindRecord = sockaddr_in();
    bindRecord.sin_family = AF_INET;
    bindRecord.sin_port = htons((u_short)port);
    bindRecord.sin_addr.s_addr = bindAddress;
    if (bind(socket, reinterpret_cast<const sockaddr*>(&bindRecord), sizeof(bindRecord)) != 0) {
        Fail(SOCKET_ERROR_BIND, WSAGetLastError());
        return;
    }
    // Port 0 has the system choose one; the port kept is the one peers are told to connect to.
    sockaddr_in bound = {};
    int length = sizeof(bound);
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
        port = ntohs(bound.sin_port);
    if (listen(socket, SOMAXCONN) != 0) {
        Fail(SOCKET_ERROR_LISTEN, WSAGetLastError());
        return;
    }
    HWND hwnd = window.Create();
    if (!hwnd || WSAAsyncSelect(socket, hwnd, WM_SERVER_SOCKET_EVENT, FD_ACCEPT | FD_CLOSE) != 0) {
        Fail(SOCKET_ERROR_SELECT, WSAGetLastError());
        return;
    }
    listening = true;
    if (listener)
        listener->OnOpen(this);
}

void TTCPServer::Close()
{
    listening = false;
    if (socket != INVALID_SOCKET) {
        shutdown(socket, SD_BOTH);
        if (window.GetHandle())
            WSAAsyncSelect(socket, window.GetHandle(), 0, 0);
        closesocket(socket);
        socket = INVALID_SOCKET;
    }
    window.Destroy();
}

void TTCPServer::DeleteClient(int index)
{
    if (index < 0 || index >= (int)clients.size())
        return;
    TTCPClient* client = clients[index];
    clients.erase(clients.begin() + index);
    delete client;
}

int TTCPServer::FindClient(TTCPClient* client) const
{
    for (size_t i = 0; i < clients.size(); i++)
        if (clients[i] == client)
            return (int)i;
    return -1;
}

void TTCPServer::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_SERVER_SOCKET_EVENT) {
        OnSocketEvent(msg.wParam, msg.lParam);
        return;
    }
    msg.result = window.Default(msg);
}

void TTCPServer::OnSocketEvent(WPARAM wParam, LPARAM lParam)
{
    if (!listening)
        return;
    int event = WSAGETSELECTEVENT(lParam);
    int error = WSAGETSELECTERROR(lParam);
    if (error != 0) {
        Close();
        if (event == FD_ACCEPT)
            ReportError(SOCKET_ERROR_ACCEPT, error);
        else if (event == FD_CLOSE)
            ReportError(SOCKET_ERROR_CLOSE, error);
        return;
    }
    if ((SOCKET)wParam != socket)
        return;
    if (event == FD_ACCEPT) {
        Accept();
    } else if (event == FD_CLOSE) {
        Close();
        if (listener)
            listener->OnClose(this);
    }
}

void TTCPServer::Accept()
{
    sockaddr_in peer = {};
    int length = sizeof(peer);
    SOCKET accepted = accept(socket, reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted == INVALID_SOCKET) {
        // One failed accept does not end listening.
        ReportError(SOCKET_ERROR_ACCEPT, WSAGetLastError());
        return;
    }
    TTCPClient* client = new TTCPClient(accepted, peer);
    client->listener = this;
    clients.push_back(client);
    if (listener)
        listener->OnAccept(this, (int)clients.size() - 1);
}

void TTCPServer::OnClose(TTCPClient* client)
{
    int index = FindClient(client);
    if (index >= 0 && listener)
        listener->OnClientClose(this, index);
}

void TTCPServer::OnReceive(TTCPClient* client)
{
    int index = FindClient(client);
    if (index >= 0 && listener)
        listener->OnClientReceive(this, index);
}

void TTCPServer::OnSend(TTCPClient* client)
{
    int index = FindClient(client);
    if (index >= 0 && listener)
        listener->OnClientSend(this, index);
}

void TTCPServer::OnError(TTCPClient* client, int, CString message)
{
    int index = FindClient(client);
    if (index >= 0 && listener)
        listener->OnClientError(this, index, message);
}

void TTCPServer::Fail(int kind, int code)
{
    Close();
    ReportError(kind, code);
}

void TTCPServer::ReportError(int kind, int code)
{
    if (listener)
        listener->OnError(this, kind, GetSocketErrorText(code, kind));
}
