#include "dcc/DCCChatClient.h"
#include "dcc/DCCChatServer.h"
#include "foundation/CodePage.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Both sides' events in one log: "c:" for the client, "s:" for the server.
class DCCChatTest : public ::testing::Test, public IDCCChatClientListener, public IDCCChatServerListener {
protected:
    void SetUp() override
    {
        client->listener = this;
        server.listener = this;
    }
    void OnChatConnected(TDCCChatClient*) override { events.push_back("c:connected"); }
    void OnChatClosed(TDCCChatClient*) override { events.push_back("c:closed"); }
    void OnChatReceive(TDCCChatClient*, const CStringA& line) override { clientLines.push_back(Bytes(line)); }
    void OnChatError(TDCCChatClient*, const CString& text) override
    {
        events.push_back("c:error");
        errorText = text;
    }
    int GetChatPort(TDCCChatServer*) override
    {
        if (ports.empty())
            return -1;
        int port = ports[portIndex % ports.size()];
        portIndex++;
        return port;
    }
    void OnChatListening(TDCCChatServer* s) override { events.push_back("s:listening" + std::to_string(s->GetPort())); }
    void OnChatAccepted(TDCCChatServer*) override { events.push_back("s:accepted"); }
    void OnChatClosed(TDCCChatServer*) override { events.push_back("s:closed"); }
    void OnChatReceive(TDCCChatServer*, const CStringA& line) override { serverLines.push_back(Bytes(line)); }
    void OnChatError(TDCCChatServer*, const CString& text) override
    {
        events.push_back("s:error");
        errorText = text;
    }

    bool Saw(const std::string& event)
    {
        for (const std::string& e : events)
            if (e == event)
                return true;
        return false;
    }
    bool WaitFor(const std::string& event)
    {
        return PumpMessagesUntil([&] { return Saw(event); }, kWaitBoundMs);
    }
    // Connects a client to 127.0.0.1:port, reporting to the listener (this fixture unless told).
    void ConnectClient(int port) { Connect(*client, port, this); }
    static void Connect(TDCCChatClient& c, int port, IDCCChatClientListener* listener)
    {
        c.listener = listener;
        c.SetPeer(L"127.0.0.1", port);
        c.Connect();
    }
    // Listens on a free port and connects the client to it.
    void StartChat()
    {
        ports = {TPeer::UnusedPort()};
        server.Listen();
        ASSERT_TRUE(server.IsListening());
        ConnectClient(server.GetPort());
        ASSERT_TRUE(WaitFor("c:connected"));
        ASSERT_TRUE(WaitFor("s:accepted"));
    }

    std::unique_ptr<TDCCChatClient> client = std::make_unique<TDCCChatClient>();
    TDCCChatServer server;
    std::vector<std::string> events, clientLines, serverLines;
    std::vector<int> ports;
    size_t portIndex = 0;
    CString errorText;
};

using Lines = std::vector<std::string>;

// A second client's listener: its events, and the lines it received joined with their feeds.
struct TOtherClient : IDCCChatClientListener {
    void OnChatConnected(TDCCChatClient*) override { events.push_back("connected"); }
    void OnChatClosed(TDCCChatClient*) override { events.push_back("closed"); }
    void OnChatReceive(TDCCChatClient*, const CStringA& line) override
    {
        text.append(line.GetString(), line.GetLength());
        text += '\n';
    }
    void OnChatError(TDCCChatClient*, const CString&) override { events.push_back("error"); }
    Lines events;
    std::string text;
};

} // namespace

TEST_F(DCCChatTest, ClientAndServerChatBothWaysAndTheCloseReachesTheOtherSide)
{
    StartChat();
    EXPECT_FALSE(server.IsListening());
    client->SendLine("hello");
    server.SendLine("hi there");
    server.SendLine("second");
    ASSERT_TRUE(PumpMessagesUntil([&] { return serverLines.size() == 1 && clientLines.size() == 2; }, kWaitBoundMs));
    EXPECT_EQ(serverLines, Lines({"hello"}));
    EXPECT_EQ(clientLines, Lines({"hi there", "second"}));

    client.reset();
    ASSERT_TRUE(WaitFor("s:closed"));
    EXPECT_FALSE(server.IsConnected());
    server.SendLine("nobody listens"); // no peer: dropped
}

TEST_F(DCCChatTest, ReceivedBytesSplitAtLineFeedsWithoutLineEnds)
{
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF and LF in one packet", std::string("a\r\nb\n"), {"a", "b"}},
        {"NUL becomes a blank", std::string("x\0y\n", 4), {"x y"}},
        {"empty lines give nothing", std::string("\n\r\nc\n"), {"c"}},
        {"a line without its feed waits", std::string("done\nhalf"), {"done"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPeer peer;
        peer.Send(c.bytes).Pause(300).Run();
        TDCCChatClient one;
        clientLines.clear();
        Connect(one, peer.Port(), this);
        EXPECT_TRUE(PumpMessagesUntil([&] { return clientLines.size() == c.lines.size(); }, kWaitBoundMs));
        PumpMessagesFor(100);
        EXPECT_EQ(clientLines, c.lines);
    }
}

TEST_F(DCCChatTest, OwnLinesStayOneLineAndWaitUntilTheConnectionIsWritable)
{
    TPeer peer;
    peer.Expect(19).Run();
    ConnectClient(peer.Port());
    EXPECT_TRUE(client->IsStarted());
    // Given before the connection is made: they wait in the buffer.
    client->SendLine("early");
    client->SendLine(CStringA("one\r\ntwo"));
    client->SendLine(CStringA("n\0l", 3));
    client->SendLine("tail\n");
    EXPECT_GT(client->GetPendingSize(), 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return peer.Expected(0).size() == 19; }, kWaitBoundMs))
        << Hex(peer.Expected(0)) << " " << Bytes(ConvertToUtf8(errorText));
    EXPECT_EQ(peer.Expected(0), "early\none\nn l\ntail\n");
    EXPECT_EQ(client->GetPendingSize(), 0);
}

TEST_F(DCCChatTest, NothingIsSentBeforeConnectIsCalled)
{
    client->SendLine("lost");
    EXPECT_EQ(client->GetPendingSize(), 0);
    EXPECT_FALSE(client->IsStarted());
}

TEST_F(DCCChatTest, ASecondPeerFindsNoListeningSocket)
{
    StartChat();
    TDCCChatClient second;
    TOtherClient listener;
    Connect(second, server.GetPort(), &listener);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !listener.events.empty(); }, kWaitBoundMs));
    EXPECT_EQ(listener.events, Lines({"error"}));
    EXPECT_FALSE(second.IsStarted());
    // The first chat goes on.
    client->SendLine("still here");
    ASSERT_TRUE(PumpMessagesUntil([&] { return serverLines.size() == 1; }, kWaitBoundMs));
    EXPECT_EQ(serverLines, Lines({"still here"}));
}

TEST_F(DCCChatTest, ABusyPortMovesTheServerToTheNextOne)
{
    TPeer holder;
    int free = TPeer::UnusedPort();
    ports = {holder.Port(), free};
    server.Listen();
    EXPECT_TRUE(server.IsListening());
    EXPECT_EQ(server.GetPort(), free);
    EXPECT_EQ(events, Lines({"s:listening" + std::to_string(free)}));
}

TEST_F(DCCChatTest, NoFreePortIsReported)
{
    TPeer holder1, holder2;
    struct Case {
        const char* name;
        std::vector<int> ports;
    };
    const Case cases[] = {
        {"every port of the round busy", {holder1.Port(), holder2.Port()}},
        {"the owner has no port", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        errorText.Empty();
        ports = c.ports;
        portIndex = 0;
        server.Listen();
        EXPECT_FALSE(server.IsListening());
        EXPECT_EQ(events, Lines({"s:error"}));
        EXPECT_EQ(errorText, CString(L"空きポートがありません"));
        EXPECT_EQ(portIndex, c.ports.empty() ? 0u : c.ports.size() + 1);
    }
}

TEST_F(DCCChatTest, APeerSendingAMegabyteWithoutALineFeedIsCutOff)
{
    TPeer peer;
    peer.Send("before\n").Send(std::string(TTCPClient::MaxReceiveBuffer + 4096, 'x')).Pause(2000).Run();
    ConnectClient(peer.Port());
    ASSERT_TRUE(WaitFor("c:error"));
    EXPECT_EQ(clientLines, Lines({"before"}));
    EXPECT_EQ(errorText, GetSocketErrorText(WSAENOBUFS, SOCKET_ERROR_RECEIVE));
    EXPECT_FALSE(client->IsStarted());
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(DCCChatTest, AMultiMegabytePasteReachesAPeerThatReadsLateWhole)
{
    // A peer that starts reading only once the whole paste has been given, with a small window
    // so that the sockets between us hold far less than the paste.
    struct TLateReader : TPeer {
        TLateReader()
        {
            int size = 16 * 1024;
            setsockopt(listener, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
        }
        // A reader still waiting when the test ends is let go, so the peer's thread can end.
        ~TLateReader()
        {
            ::SetEvent(go);
            ::CloseHandle(go);
        }
        // Waits for go, then keeps what comes until `total` bytes or the close.
        void ReadLate(size_t total)
        {
            steps.push_back([this, total](SOCKET s) {
                ::WaitForSingleObject(go, INFINITE);
                std::vector<char> chunk(65536);
                while (bytes.size() < total) {
                    int n = Receive(s, chunk.data(), (int)chunk.size());
                    if (n <= 0)
                        break;
                    bytes.append(chunk.data(), n);
                    count = bytes.size();
                }
                return true;
            });
            Run();
        }
        HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<size_t> count{0};
        std::string bytes; // complete once count reaches the total
    };
    // Lines that differ, so a lost or repeated stretch shows; kept as one text with their ends.
    std::string wire;
    std::vector<std::pair<size_t, int>> lines; // where each starts, its length
    for (int i = 0; wire.size() < 8u * 1024 * 1024; i++) {
        char number[16];
        snprintf(number, sizeof number, "%06d ", i);
        lines.emplace_back(wire.size(), 7 + 80 + i % 37);
        wire += number + std::string(80 + i % 37, (char)('a' + i % 26)) + "\n";
    }
    auto paste = [&](auto&& sendLine) {
        for (const auto& [start, length] : lines)
            sendLine(CStringA(wire.data() + start, length));
    };

    // Our client side to a peer that does not read yet: more than the sockets hold waits with us.
    TLateReader late;
    late.ReadLate(wire.size());
    TDCCChatClient pasting;
    Connect(pasting, late.Port(), this);
    ASSERT_TRUE(WaitFor("c:connected"));
    paste([&](const CStringA& line) { pasting.SendLine(line); });
    EXPECT_GT(pasting.GetPendingSize(), (int)TTCPClient::MaxReceiveBuffer)
        << "more than the sockets hold waits with us";
    ::SetEvent(late.go);
    ASSERT_TRUE(PumpMessagesUntil([&] { return late.count == wire.size(); }, 30000))
        << late.count << " of " << wire.size();
    EXPECT_TRUE(late.bytes == wire);
    EXPECT_EQ(pasting.GetPendingSize(), 0);

    // Our server side to a client of ours that reads as messages come: every line, in order.
    TOtherClient joiner;
    StartChat();
    client->listener = &joiner;
    paste([&](const CStringA& line) { server.SendLine(line); });
    ASSERT_TRUE(PumpMessagesUntil([&] { return joiner.text.size() >= wire.size(); }, 30000))
        << joiner.text.size() << " of " << wire.size();
    EXPECT_TRUE(joiner.text == wire);
}

TEST_F(DCCChatTest, ThePeersCloseEndsTheClient)
{
    TPeer peer;
    peer.Send("bye\n").Run();
    ConnectClient(peer.Port());
    ASSERT_TRUE(WaitFor("c:closed"));
    EXPECT_EQ(clientLines, Lines({"bye"}));
    EXPECT_FALSE(client->IsStarted());
}
