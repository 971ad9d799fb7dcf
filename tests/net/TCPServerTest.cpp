#include "net/TCPServer.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Server events as words with the client index: "open accept0 receive1 clientclose0".
class TCPServerTest : public ::testing::Test, public ITCPServerListener, public TEventLog {
protected:
    void SetUp() override
    {
        server.listener = this;
        server.bindAddress = htonl(INADDR_LOOPBACK);
        server.port = TPeer::UnusedPort();
        for (int i = 0; i < 2; i++)
            peers[i].listener = &peerEvents[i];
    }
    void OnOpen(TTCPServer*) override { Add("open"); }
    void OnClose(TTCPServer*) override { Add("close"); }
    void OnError(TTCPServer*, int kind, CString message) override { Error(kind, message); }
    void OnAccept(TTCPServer*, int index) override { Add("accept" + std::to_string(index)); }
    void OnClientClose(TTCPServer*, int index) override { Add("clientclose" + std::to_string(index)); }
    void OnClientReceive(TTCPServer*, int index) override
    {
        Add("receive" + std::to_string(index));
        received[index] += TakeReceived(server.clients[index]);
    }
    void OnClientSend(TTCPServer*, int) override {}
    void OnClientError(TTCPServer*, int index, CString) override { Add("clienterror" + std::to_string(index)); }

    void ConnectPeer(int i)
    {
        peers[i].SetHostName(L"127.0.0.1");
        peers[i].SetPort(server.port);
        peers[i].Connect();
    }
    bool WaitFor(const char* word)
    {
        return PumpMessagesUntil([&] { return Saw(word); }, kWaitBoundMs);
    }

    TTCPServer server;
    std::string received[2];
    TClientRecorder peerEvents[2];
    TTCPClient peers[2];
};

} // namespace

TEST_F(TCPServerTest, OpensOnceAndAcceptsConnections)
{
    server.Open();
    server.Open();
    EXPECT_EQ(events, "open");
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    ASSERT_EQ(server.clients.size(), 1u);
    EXPECT_EQ(server.clients[0]->GetAddress().ToString(), CString(L"127.0.0.1"));
    EXPECT_EQ(server.FindClient(server.clients[0]), 0);
    EXPECT_EQ(server.FindClient(&peers[0]), -1);

    // Port 0 has the system choose one: the port kept is where peers connect.
    server.Close();
    server.port = 0;
    server.Open();
    EXPECT_GT(server.port, 0);
    ConnectPeer(1);
    EXPECT_TRUE(WaitFor("accept1"));
}

TEST_F(TCPServerTest, PortInUseReportsKind8AndStaysClosed)
{
    TPeer holder;
    server.port = holder.Port();
    server.Open();
    EXPECT_EQ(events, "error");
    EXPECT_EQ(errorKind, SOCKET_ERROR_BIND);
    EXPECT_EQ(errorMessage, CString(L"すでにアドレスが使われています"));
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
    server.DeleteClient(0);
    server.DeleteClient(5); // out of range: nothing
    ASSERT_EQ(server.clients.size(), 1u);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !peers[0].IsConnected(); }, 5000));
    // The second peer now speaks as index 0.
    ASSERT_TRUE(SendAll(peers[1], "from the second\r\n"));
    ASSERT_TRUE(WaitFor("receive0"));
    EXPECT_EQ(received[0], "from the second\r\n");
    EXPECT_FALSE(Saw("receive1"));
}

TEST_F(TCPServerTest, ClosingTheServerKeepsAcceptedClients)
{
    server.Open();
    ConnectPeer(0);
    ASSERT_TRUE(WaitFor("accept0"));
    server.Close();
    EXPECT_FALSE(server.listening);
    ASSERT_TRUE(SendAll(peers[0], "still here\r\n"));
    ASSERT_TRUE(WaitFor("receive0"));
    EXPECT_EQ(received[0], "still here\r\n");
    ASSERT_TRUE(SendAll(*server.clients[0], "answer\r\n"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return peerEvents[0].data == "answer\r\n"; }, 5000));

    // A client that goes away keeps its place until the owner deletes it.
    peers[0].Close();
    ASSERT_TRUE(WaitFor("clientclose0"));
    EXPECT_EQ(server.clients.size(), 1u);
    EXPECT_FALSE(server.clients[0]->IsConnected());
}
