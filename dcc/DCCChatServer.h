#pragma once
// The side of a DCC chat that this user offered: listens on a port of the chat range, takes the
// first peer that connects and then stops listening.

#include "dcc/DCCChatEnd.h"
#include "dcc/DCCChatSendQueue.h"
#include "net/TCPServer.h"

class TDCCChatServer;

class IDCCChatServerListener {
public:
    // The next port to try; negative when there is none.
    virtual int GetChatPort(TDCCChatServer* server) = 0;
    virtual void OnChatListening(TDCCChatServer* server) = 0;
    virtual void OnChatAccepted(TDCCChatServer* server) = 0;
    virtual void OnChatClosed(TDCCChatServer* server) = 0;
    virtual void OnChatReceive(TDCCChatServer* server, const CStringA& line) = 0;
    virtual void OnChatError(TDCCChatServer* server, const CString& text) = 0;

protected:
    ~IDCCChatServerListener() = default;
};

class TDCCChatServer : public TDCCChatEnd, public ITCPServerListener, public ITCPClientListener {
public:
    TDCCChatServer() { server.listener = this; }
    ~TDCCChatServer() override;

    void Listen();
    void SendLine(const CStringA& line);
    int GetPort() const { return server.port; }
    bool IsListening() const { return server.listening; }
    bool IsConnected() const { return peer && peer->IsConnected(); }

    void OnOpen(TTCPServer* server) override;
    void OnClose(TTCPServer*) override {}
    void OnError(TTCPServer* server, int kind, CString message) override;
    void OnAccept(TTCPServer* server, int index) override;
    void OnClientClose(TTCPServer*, int) override {}
    void OnClientReceive(TTCPServer*, int) override {}
    void OnClientSend(TTCPServer*, int) override {}
    void OnClientError(TTCPServer*, int, CString) override {}

    void OnConnect(TTCPClient*) override {}
    void OnClose(TTCPClient* client) override;
    void OnResolve(TTCPClient*) override {}
    void OnReceive(TTCPClient* client) override;
    void OnSend(TTCPClient* client) override;
    void OnError(TTCPClient* client, int kind, CString message) override;

    IDCCChatServerListener* listener = nullptr;

private:
    void Stop() override;
    void OpenOn(int port);
    void ReportNoPort();

    TDCCChatSendQueue sendQueue;
    bool accepted = false;
    int firstPort = -1;
    TTCPServer server;
    TTCPClient* peer = nullptr; // owned by the server's list
    // A failed bind reports inside Open; the next port is opened by the loop, not by recursion.
    bool opening = false;
    int nextPort = -1;
};
