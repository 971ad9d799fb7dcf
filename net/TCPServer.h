#pragma once
// A listening socket that wraps each accepted connection in an owned TTCPClient and passes the
// clients' events on with their index in the list.

#include "net/TCPClient.h"

#include <vector>

class TTCPServer;

class ITCPServerListener {
public:
    virtual void OnOpen(TTCPServer* server) = 0;
    // The listening socket was closed; accepted clients are untouched.
    virtual void OnClose(TTCPServer* server) = 0;
    virtual void OnError(TTCPServer* server, int kind, CString message) = 0;
    virtual void OnAccept(TTCPServer* server, int index) = 0;
    virtual void OnClientClose(TTCPServer* server, int index) = 0;
    virtual void OnClientReceive(TTCPServer* server, int index) = 0;
    virtual void OnClientSend(TTCPServer* server, int index) = 0;
    virtual void OnClientError(TTCPServer* server, int index, CString message) = 0;

protected:
    ~ITCPServerListener() = default;
};

class TTCPServer : public TTCPSocket, public ITCPClientListener, public IMessageWindowListener {
public:
    TTCPServer() = default;
    ~TTCPServer() override;

    void Open();
    // Stops listening only; accepted clients stay connected.
    void Close();
    // Later clients move down by one.
    void DeleteClient(int index);
    int FindClient(TTCPClient* client) const;

    void OnConnect(TTCPClient*) override {}
    void OnClose(TTCPClient* client) override;
    void OnResolve(TTCPClient*) override {}
    void OnReceive(TTCPClient* client) override;
    void OnSend(TTCPClient* client) override;
    void OnError(TTCPClient* client, int kind, CString message) override;
    void OnMessage(TWindowMessage& msg) override;

    SOCKET socket = INVALID_SOCKET;
    ULONG bindAddress = 0; // network byte order; 0 is every local address
    sockaddr_in bindRecord = {};
    ITCPServerListener* listener = nullptr;
    bool listening = false;
    int port = 0; // once open, the port bound
    bool reuseAddress = false;
    std::vector<TTCPClient*> clients; // owned
    THiddenWindow window{this};

private:
    void OnSocketEvent(WPARAM wParam, LPARAM lParam);
    void Accept();
    void Fail(int kind, int code);
    void ReportError(int kind, int code);
};
