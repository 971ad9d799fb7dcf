#include "dcc/DCCChatServer.h"

#include "dcc/DCCChatClient.h"
#include "foundation/ResourceString.h"
#include "res/strings/dcc.h"

TDCCChatServer::~TDCCChatServer()
{
    server.listener = nullptr;
    for (TTCPClient* client : server.clients)
        client->listener = nullptr;
}

void TDCCChatServer::Listen()
{
    server.Close();
    accepted = false;
    firstPort = -1;
    if (IsConnected())
        return;
    int port = listener ? listener->GetChatPort(this) : -1;
    if (port < 0) {
        ReportNoPort();
        return;
    }
    firstPort = port;
    OpenOn(port);
}

void TDCCChatServer::OpenOn(int port)
{
    nextPort = port;
    if (opening)
        return;
    opening = true;
    while (nextPort >= 0) {
        server.port = nextPort;
        nextPort = -1;
        server.Open();
    }
    opening = false;
}

void TDCCChatServer::ReportNoPort()
{
    if (listener)
        listener->OnChatError(this, LoadResourceString(IDS_DCC_NO_FREE_PORT));
}

void TDCCChatServer::SendLine(const CStringA& line)
{
    if (!IsConnected())
        return;
    sendQueue.AppendLine(line);
    sendQueue.Flush(*peer);
}

void TDCCChatServer::OnOpen(TTCPServer*)
{
    if (listener)
        listener->OnChatListening(this);
}

void TDCCChatServer::OnError(TTCPServer*, int kind, CString message)
{
    if (kind != SOCKET_ERROR_BIND) {
        if (listener)
            listener->OnChatError(this, message);
        return;
    }
    if (IsConnected())
        return;
    int port = listener ? listener->GetChatPort(this) : -1;
    if (port < 0 || port == firstPort)
        ReportNoPort();
    else
        OpenOn(port);
}

void TDCCChatServer::OnAccept(TTCPServer*, int index)
{
    TTCPClient* client = server.clients[index];
    if (accepted) {
        // One burst may hold more than one connection; only the first is the peer.
        server.DeleteClient(index);
        return;
    }
    accepted = true;
    peer = client;
    peer->listener = this;
    sendQueue.Clear();
    server.Close();
    if (listener)
        listener->OnChatAccepted(this);
}

void TDCCChatServer::OnClose(TTCPClient* client)
{
    if (client != peer)
        return;
    if (listener)
        listener->OnChatClosed(this);
    peer = nullptr;
}

void TDCCChatServer::OnReceive(TTCPClient* client)
{
    if (client != peer)
        return;
    reading++;
    DCCChatLines::Read(*peer, [&](const CStringA& line) {
        if (listener)
            listener->OnChatReceive(this, line);
        return peer && peer->IsConnected();
    });
    reading--;
}

void TDCCChatServer::Stop()
{
    listener = nullptr;
    server.Close();
    // The peer stays in the server's list: its callback is below us.
    if (peer)
        peer->Close();
}

void TDCCChatServer::OnSend(TTCPClient* client)
{
    if (client == peer)
        sendQueue.OnWritable(*peer);
}

void TDCCChatServer::OnError(TTCPClient* client, int, CString message)
{
    if (client == peer && listener)
        listener->OnChatError(this, message);
}
