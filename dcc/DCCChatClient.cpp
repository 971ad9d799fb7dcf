#include "dcc/DCCChatClient.h"

namespace {

// Our own lines are all that can pile up here; a peer that stops reading does not get more.
const int kMaxSendBuffer = TTCPClient::MaxReceiveBuffer;

} // namespace

void DCCChatLines::Append(CStringA& buffer, const CStringA& line)
{
    int length = line.GetLength();
    CStringA one;
    for (int i = 0; i < length; i++) {
        char c = line[i];
        if (c == '\r' || c == '\n')
            break;
        one += c == 0 ? ' ' : c;
    }
    if (buffer.GetLength() + one.GetLength() + 1 > kMaxSendBuffer)
        return;
    buffer += one;
    buffer += '\n';
}

void DCCChatLines::Flush(TTCPClient& connection, CStringA& buffer)
{
    if (buffer.IsEmpty())
        return;
    int sent = connection.Send(buffer.GetString(), buffer.GetLength());
    if (sent > 0)
        buffer.Delete(0, sent);
}

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
    sendBuffer.Empty();
    started = true;
    connected = false;
    connection.Connect();
}

void TDCCChatClient::SendLine(const CStringA& line)
{
    if (!started)
        return;
    DCCChatLines::Append(sendBuffer, line);
    Flush();
}

void TDCCChatClient::Flush()
{
    if (connected)
        DCCChatLines::Flush(connection, sendBuffer);
}

void TDCCChatClient::OnConnect(TTCPClient*)
{
    connected = true;
    if (listener)
        listener->OnChatConnected(this);
    Flush();
}

void TDCCChatClient::OnClose(TTCPClient*)
{
    started = connected = false;
    if (listener)
        listener->OnChatClosed(this);
}

void TDCCChatClient::OnReceive(TTCPClient*)
{
    DCCChatLines::Read(connection, [&](const CStringA& line) {
        if (listener)
            listener->OnChatReceive(this, line);
        return connected;
    });
}

void TDCCChatClient::OnSend(TTCPClient*) { Flush(); }

void TDCCChatClient::OnError(TTCPClient*, int, CString message)
{
    started = connected = false;
    if (listener)
        listener->OnChatError(this, message);
}
