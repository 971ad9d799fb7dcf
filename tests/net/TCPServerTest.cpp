#include "net/TCPServer.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Records server events as "open", "accept0", "receive1", "clientclose0" and so on.
class TServerRecorder : public ITCPServerListener {
public:
    void OnOpen(TTCPServer*) override { Add("open"); }
    void OnClose(TTCPServer*) override { Add("close"); }
    void OnError(TTCPServer*, int kind, CString message) override
    {
        Add("error");
        errorKind = kind;
        errorMessage = message;
    }
    void OnAccept(TTCPServer*, int index) override { Add("accept", index); }
    void OnClientClose(TTCPServer*, int index) override { Add("clientclose", index); }
    void OnClientReceive(TTCPServer* server, int index) override
    {
        Add("receive", index);
        TMemoryStream& in = server->clients[index]->receiveBuffer;
        received[index].append(in.buffer, in.size);
        in.Discard(in.size);
    }
    void OnClientSend(TTCPServer*, int) override {}
    void OnClientError(TTCPServer*, int index, CString) override { Add("clienterror", index); }
    void Add(const char* event, int index = -1)
    {
        std::string word = event;
        if (index >= 0)
            word += std::to_string(index);
        if (!events.empty() && events.substr(events.rfind(' ') + 1) == word)
            return;
        events += (events.empty() ? "" : " ") + word;
    }
    bool Saw(const char* word) const { return (" " + events + " ").find(std::string(" ") + word + " ") != std::string::npos; }

    std::string events;
    std::string received[4];
    int errorKind = -1;
    CString errorMessage;
};

class TCPServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.listener = &recorder;
        server.bindAddress = htonl(INADDR_LOOPBACK);
        server.port = TPeer::UnusedPort();
        for (int i = 0; i < 2; i++)
            peers[i].listener = &peerEvents[i];
    }
    void ConnectPeer(int i)
    {
        peers[i].SetHostName(L"127.0.0.1");
        peers[i].SetPort(server.port);
        peers[i].Connect();
    }
    bool WaitFor(const char* word) { return PumpMessagesUntil([&] { return recorder.Saw(word); }, 5000); }

    TServerRecorder recorder;
    TTCPServer server;
    TClientRecorder peerEvents[2];
    TTCPClient peers[2];
};

} // namespace

TEST_F(TCPServerTest, OpensOnceAndAcceptsConnections)
{
    server.Open();
    server.Open();
    EXPECT_EQ(recorder.events, "open");
    EXPECT_TRUE(server.listening);
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    ASSERT_EQ(server.clients.size(), 1u);
    EXPECT_EQ(server.clients[0]->GetAddress().ToString(), CString(L"127.0.0.1"));
    EXPECT_TRUE(server.clients[0]->connected);
    EXPECT_EQ(server.FindClient(server.clients[0]), 0);
    EXPECT_EQ(server.FindClient(&peers[0]), -1);
}

TEST_F(TCPServerTest, PortInUseReportsKind8AndStaysClosed)
{
    TEchoPeer holder;
    server.port = holder.Port();
    server.Open();
    EXPECT_EQ(recorder.events, "error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_BIND);
    EXPECT_EQ(recorder.errorMessage, CString(L"すでにアドレスが使われています"));
    EXPECT_FALSE(server.listening);
    EXPECT_EQ(server.socket, INVALID_SOCKET);
}

TEST_F(TCPServerTest, IndexesShiftAfterAClientIsDeleted)
{
    server.Open();
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    ConnectPeer(1);
    ASSERT_TRUE(WaitFor("accept1"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return peerEvents[1].Saw("send"); }, 5000));

    server.DeleteClient(0);
    server.DeleteClient(5); // out of range: nothing
    ASSERT_EQ(server.clients.size(), 1u);
    // The first peer sees its connection end; the second now speaks as index 0.
    ASSERT_TRUE(PumpMessagesUntil([&] { return peerEvents[0].Saw("close") || peerEvents[0].Saw("error"); }, 5000));
    ASSERT_TRUE(SendAll(peers[1], "from the second\r\n"));
    ASSERT_TRUE(WaitFor("receive0"));
    EXPECT_EQ(recorder.received[0], "from the second\r\n");
    EXPECT_FALSE(recorder.Saw("receive1"));
}

TEST_F(TCPServerTest, ClosingTheServerKeepsAcceptedClients)
{
    server.Open();
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    server.Close();
    EXPECT_FALSE(server.listening);
    EXPECT_EQ(server.window, nullptr);
    ASSERT_TRUE(SendAll(peers[0], "still here\r\n"));
    ASSERT_TRUE(WaitFor("receive0"));
    EXPECT_EQ(recorder.received[0], "still here\r\n");
    ASSERT_TRUE(SendAll(*server.clients[0], "answer\r\n"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return peerEvents[0].data == "answer\r\n"; }, 5000));

    // A client that goes away keeps its place until the owner deletes it.
    peers[0].Close();
    ASSERT_TRUE(WaitFor("clientclose0"));
    EXPECT_EQ(server.clients.size(), 1u);
    EXPECT_FALSE(server.clients[0]->connected);
    server.DeleteClient(0);
    EXPECT_TRUE(server.clients.empty());
}

TEST_F(TCPServerTest, ReuseAddressAllowsReopeningAtOnce)
{
    server.reuseAddress = true;
    server.Open();
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    server.DeleteClient(0);
    server.Close();
    server.Open();
    EXPECT_TRUE(server.listening);
    EXPECT_EQ(recorder.events, "open accept0 open");
}
