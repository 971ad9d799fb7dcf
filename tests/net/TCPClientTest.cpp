#include "net/TCPClient.h"
#include "tests/common/HostLookupStub.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TCPClientTest : public ::testing::Test {
protected:
    void SetUp() override { client.listener = &recorder; }
    void ConnectTo(const wchar_t* host, int port)
    {
        client.SetHostName(host);
        client.SetPort(port);
        client.Connect();
    }
    bool WaitFor(const char* event, DWORD ms = 5000)
    {
        return PumpMessagesUntil([&] { return recorder.Saw(event); }, ms);
    }
    TClientRecorder recorder;
    TTCPClient client;
};

} // namespace

TEST(SocketErrorText, CodeTextElseKindTextElseGeneral)
{
    EXPECT_EQ(GetSocketErrorText(11001, SOCKET_ERROR_SEND), CString(L"ホストが見つかりませんでした"));
    EXPECT_EQ(GetSocketErrorText(10005, SOCKET_ERROR_RECEIVE), CString(L"受信に失敗しました"));
    EXPECT_EQ(GetSocketErrorText(-1, SOCKET_ERROR_RESOLVE), CString(L"接続先が見つかりませんでした"));
    EXPECT_EQ(GetSocketErrorText(0, SOCKET_ERROR_PROXY), CString(L"認証に失敗しました"));
    EXPECT_EQ(GetSocketErrorText(0, 12), CString(L"ソケットに関する一般エラー"));
}

TEST_F(TCPClientTest, EventsComeInOrderAndDataMakesTheRoundTrip)
{
    TEchoPeer peer;
    recorder.pending = "PING one\r\n";
    ConnectTo(L"127.0.0.1", peer.Port());
    EXPECT_EQ(recorder.events, "resolve"); // a dotted address resolves inside Connect
    client.Connect();                      // already connecting: nothing
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.data.size() >= 10; }, 5000));
    EXPECT_EQ(recorder.data, "PING one\r\n");
    EXPECT_EQ(recorder.events, "resolve connect send receive");
    EXPECT_EQ(client.GetAddress().ToString(), CString(L"127.0.0.1"));
}

TEST_F(TCPClientTest, ConnectsToANameAndReadsLines)
{
    TEchoPeer peer;
    ConnectTo(L"localhost", peer.Port());
    EXPECT_EQ(recorder.events, "");
    ASSERT_TRUE(WaitFor("connect"));
    recorder.onReceive = [&](TTCPClient* c) {
        for (CStringA line = c->ReadLine(); !line.IsEmpty(); line = c->ReadLine())
            recorder.data += Bytes(line) + "|";
    };
    ASSERT_TRUE(SendAll(client, "first\r\nsecond\nthird"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.data == "first|second|"; }, 5000)) << recorder.data;
    EXPECT_EQ(client.GetReceivedSize(), 5); // "third" waits for its line end
}

TEST_F(TCPClientTest, RefusedConnectReportsKind3)
{
    ConnectTo(L"127.0.0.1", TPeer::UnusedPort());
    ASSERT_TRUE(WaitFor("error"));
    EXPECT_EQ(recorder.events, "resolve error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_CONNECT);
    EXPECT_EQ(recorder.errorMessage, CString(L"接続は拒否されました"));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(TTCPClientProbe::Window(client), nullptr);
}

TEST_F(TCPClientTest, LookupFailureReportsKind1)
{
    ConnectTo(L"0.0.0.0", 6667);
    // The text is the kind's own, whatever the system said.
    THostLookupStub lookups;
    ASSERT_TRUE(lookups.IsHooked());
    ConnectTo(L"localhost", 6667);
    lookups.Answer(0, {}, WSAHOST_NOT_FOUND);
    ASSERT_TRUE(WaitFor("error error"));
    EXPECT_EQ(recorder.events, "error error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RESOLVE);
    EXPECT_EQ(recorder.errorMessage, CString(L"接続先が見つかりませんでした"));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.Send("x", 1), 0);
}

TEST_F(TCPClientTest, DataSentWithTheCloseArrivesBeforeOnClose)
{
    TPeer peer;
    peer.Send("line one\r\nline two\r\n").Run();
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("close"));
    EXPECT_EQ(recorder.data, "line one\r\nline two\r\n");
    EXPECT_EQ(recorder.events.substr(recorder.events.size() - 13), "receive close");
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(TCPClientTest, OwnerClosingInOnReceiveGetsNoFurtherEvents)
{
    TPeer peer;
    peer.Send("bye\r\n").Run();
    recorder.onReceive = [](TTCPClient* c) { c->Close(); };
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("receive"));
    PumpMessagesFor(200);
    EXPECT_EQ(recorder.events.substr(recorder.events.size() - 7), "receive");
}

TEST_F(TCPClientTest, LargeTransfersArriveWhole)
{
    TEchoPeer peer;
    ConnectTo(L"127.0.0.1", peer.Port());
    for (int i = 0; recorder.pending.size() < 3 * 1024 * 1024; i++)
        recorder.pending += "PRIVMSG #channel :line number " + std::to_string(i) + "\r\n";
    std::string text = recorder.pending;
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.data.size() >= text.size() || !client.IsConnected(); }, 20000));
    EXPECT_TRUE(recorder.data == text);
    EXPECT_EQ(recorder.errorKind, -1);
}

TEST_F(TCPClientTest, FullSocketMakesSendReturnZeroAndOnSendFollows)
{
    TPeer peer;
    peer.Pause(500).Echo().Run();
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("send"));
    std::string chunk(65536, 'x');
    long long total = 0;
    int result = 1;
    for (int i = 0; i < 2000 && result > 0; i++)
        total += result = client.Send(chunk.data(), (int)chunk.size());
    ASSERT_EQ(result, 0) << "the socket never filled";
    EXPECT_TRUE(client.IsConnected());
    recorder.events.clear();
    ASSERT_TRUE(WaitFor("send", 10000));
    ASSERT_TRUE(PumpMessagesUntil([&] { return (long long)recorder.data.size() >= total; }, 10000));
    EXPECT_EQ((long long)recorder.data.size(), total);
}

// A peer sends 3 MB of numbered lines in one go (and then echoes, or closes); the owner takes 300
// lines per OnReceive and a few more between events, as a timer-driven consumer would.
struct TSlowOwnerRun {
    int lineCount = 0;
    int taken = 0;
    bool inOrder = true;
};

TSlowOwnerRun TakeFloodSlowly(TTCPClient& client, TClientRecorder& recorder, bool peerCloses)
{
    TSlowOwnerRun run;
    std::string flood;
    while (flood.size() < 3 * 1024 * 1024)
        flood += ":n!u@h PRIVMSG #c :" + std::to_string(run.lineCount++) + "\r\n";
    TPeer peer;
    peer.Send(flood);
    if (!peerCloses)
        peer.Echo();
    peer.Run();
    auto take = [&](TTCPClient* c, int most) {
        for (; most > 0 && c->GetReceivedSize() > 0; most--) {
            CStringA line = c->ReadLine();
            if (line.IsEmpty())
                break;
            run.inOrder = run.inOrder && Bytes(line) == ":n!u@h PRIVMSG #c :" + std::to_string(run.taken);
            run.taken++;
        }
    };
    recorder.onReceive = [&](TTCPClient* c) { take(c, 300); };
    client.SetHostName(L"127.0.0.1");
    client.SetPort(peer.Port());
    client.Connect();
    EXPECT_TRUE(PumpMessagesUntil(
        [&] {
            take(&client, 1000);
            return run.taken == run.lineCount || !client.IsConnected();
        },
        60000))
        << run.taken << " of " << run.lineCount;
    recorder.onReceive = nullptr;
    return run;
}

TEST_F(TCPClientTest, SlowOwnerBehindAFloodLosesNoLineAndStaysConnected)
{
    TSlowOwnerRun run = TakeFloodSlowly(client, recorder, false);
    EXPECT_EQ(run.taken, run.lineCount);
    EXPECT_TRUE(run.inOrder);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(recorder.errorKind, -1);
    EXPECT_EQ(client.GetReceivedSize(), 0);
}

// The close waits behind every line the owner has not taken yet, and still comes.
TEST_F(TCPClientTest, PeerClosingBehindAFloodClosesOnceTheDataIsRead)
{
    TSlowOwnerRun run = TakeFloodSlowly(client, recorder, true);
    EXPECT_TRUE(run.inOrder);
    EXPECT_EQ(run.taken, run.lineCount);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(recorder.events.substr(recorder.events.size() - 5), "close");
    EXPECT_EQ(recorder.errorKind, -1);
}

TEST_F(TCPClientTest, LineLongerThanTheBufferClosesWithKind5)
{
    TPeer peer;
    peer.Send(std::string(2 * 1024 * 1024, 'a')).Echo().Run();
    // A line-taking owner: this line never ends within the buffer.
    recorder.onReceive = [](TTCPClient* c) { EXPECT_TRUE(c->ReadLine().IsEmpty()); };
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("error", 10000)) << recorder.events;
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RECEIVE);
    EXPECT_EQ(recorder.errorMessage, CString(L"これ以上のバッファを割り当てることができません"));
    EXPECT_FALSE(client.IsConnected());
}
