#include "dcc/DCCChatClient.h"

TDCCChatClient::~TDCCChatClient()
{
    connection.listener = nullptr;
    connection.Close();
}

void TDCCChatClient::SetPeer(const CString& host, int port)
{
    if (started)
        return;
    connection.SetHostName(host);
    connection.SetPort(port);
}

void TDCCChatClient::Connect()
{
    if (started)
        return;
    connection.Close();
    sendQueue.Clear();
    started = true;
    connected = false;
    connection.Connect();
}

void TDCCChatClient::SendLine(const CStringA& line)
{
    if (!started)
        return;
    sendQueue.AppendLine(line);
    Flush();
}

void TDCCChatClient::Flush()
{
    if (connected)
        sendQueue.Flush(connection);
}

void TDCCChatClient::OnConnect(TTCPClient*)
{
    connected = true;
    if (listener)
        listener->OnChatConnected(this);
    if (connected)
        sendQueue.OnWritable(connection);
}

void TDCCChatClient::OnClose(TTCPClient*)
{
    started = connected = false;
    if (listener)
        listener->OnChatClosed(this);
}

void TDCCChatClient::Stop()
{
    listener = nullptr;
    started = connected = false;
    connection.Close();
}

void TDCCChatClient::OnReceive(TTCPClient*)
{
    reading++;
    DCCChatLines::Read(connection, [&](const CStringA& line) {
        if (listener)
            listener->OnChatReceive(this, line);
        return connected;
    });
    reading--;
}

void TDCCChatClient::OnSend(TTCPClient*)
{
    if (connected)
        sendQueue.OnWritable(connection);
}

void TDCCChatClient::OnError(TTCPClient*, int, CString message)
{
    started = connected = false;
    if (listener)
        listener->OnChatError(this, message);
}
