#pragma once
// The side of a DCC chat that connects to a peer's offered port. Lines go out and come in as
// bytes in the chat's code page; the owner converts them.

#include "dcc/DCCChatEnd.h"
#include "dcc/DCCChatSendQueue.h"
#include "net/TCPClient.h"

class TDCCChatClient;

class IDCCChatClientListener {
public:
    virtual void OnChatConnected(TDCCChatClient* client) = 0;
    virtual void OnChatClosed(TDCCChatClient* client) = 0;
    // One line without its line end.
    virtual void OnChatReceive(TDCCChatClient* client, const CStringA& line) = 0;
    virtual void OnChatError(TDCCChatClient* client, const CString& text) = 0;

protected:
    ~IDCCChatClientListener() = default;
};

class TDCCChatClient : public TDCCChatEnd, public ITCPClientListener {
public:
    TDCCChatClient() { connection.listener = this; }
    ~TDCCChatClient() override;

    bool IsStarted() const { return started; }
    bool IsConnected() const { return connected; }
    // The offered address as dotted text and port; kept for the next Connect.
    void SetPeer(const CString& host, int port);
    void Connect();
    // Taken only while the connection is under way; waits in the buffer until it is writable.
    void SendLine(const CStringA& line);
    int GetPendingSize() const { return sendQueue.GetSize(); }

    void OnConnect(TTCPClient* client) override;
    void OnClose(TTCPClient* client) override;
    void OnResolve(TTCPClient*) override {}
    void OnReceive(TTCPClient* client) override;
    void OnSend(TTCPClient* client) override;
    void OnError(TTCPClient* client, int kind, CString message) override;

    IDCCChatClientListener* listener = nullptr;

private:
    void Flush();
    void Stop() override;

    TDCCChatSendQueue sendQueue;
    TTCPClient connection;
    bool started = false;
    // The connection's own flag means under way; bytes go out only once the connect event came.
    bool connected = false;
};

// Shared by both sides of a chat.
namespace DCCChatLines {
// Hands every complete non-empty line of the connection to deliver; stops early when deliver
// returns false (the owner closed the connection).
template <class F> void Read(TTCPClient& connection, F deliver)
{
    while (true) {
        int before = connection.GetReceivedSize();
        CStringA line = connection.ReadLine();
        if (line.IsEmpty()) {
            // An empty line also reads as empty; only a buffer that did not shrink has no line left.
            if (connection.GetReceivedSize() == before)
                return;
            continue;
        }
        if (!deliver(line))
            return;
    }
}
} // namespace DCCChatLines
