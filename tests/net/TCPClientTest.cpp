#include "net/TCPClient.h"
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
    EXPECT_EQ(GetSocketErrorText(10061, SOCKET_ERROR_CONNECT), CString(L"接続は拒否されました"));
    EXPECT_EQ(GetSocketErrorText(11001, SOCKET_ERROR_SEND), CString(L"ホストが見つかりませんでした"));
    EXPECT_EQ(GetSocketErrorText(10005, SOCKET_ERROR_RECEIVE), CString(L"受信に失敗しました"));
    EXPECT_EQ(GetSocketErrorText(-1, SOCKET_ERROR_RESOLVE), CString(L"接続先が見つかりませんでした"));
    EXPECT_EQ(GetSocketErrorText(0, SOCKET_ERROR_PROXY), CString(L"認証に失敗しました"));
    EXPECT_EQ(GetSocketErrorText(0, 12), CString(L"ソケットに関する一般エラー"));
    EXPECT_EQ(GetSocketErrorText(10101, 99), CString(L"切断されました"));
}

TEST_F(TCPClientTest, EventsComeInOrderAndDataMakesTheRoundTrip)
{
    TEchoPeer peer;
    recorder.onConnect = [](TTCPClient* c) { c->Send("PING one\r\n", 10); };
    ConnectTo(L"127.0.0.1", peer.Port());
    // A dotted address needs no lookup: OnResolve comes before Connect returns.
    EXPECT_EQ(recorder.events, "resolve");
    EXPECT_EQ(client.GetAddress().ToString(), CString(L"127.0.0.1"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.data.size() >= 10 && recorder.Saw("send"); }, 5000));
    EXPECT_EQ(recorder.data, "PING one\r\n");
    EXPECT_EQ(recorder.events.substr(0, 16), "resolve connect ");
    EXPECT_TRUE(recorder.Saw("receive"));
    EXPECT_EQ(recorder.errorKind, -1);
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
    EXPECT_EQ(client.receiveBuffer.size, 5); // "third" waits for its line end
}

TEST_F(TCPClientTest, ConnectWhileConnectingOrOpenDoesNothing)
{
    TEchoPeer peer;
    ConnectTo(L"127.0.0.1", peer.Port());
    client.Connect();
    client.SetPort(1); // ignored while connected
    EXPECT_EQ(client.port, peer.Port());
    ASSERT_TRUE(WaitFor("connect"));
    client.Connect();
    PumpMessagesFor(100);
    EXPECT_EQ(recorder.events.find("resolve", 1), std::string::npos);
    EXPECT_TRUE(client.connected);
}

TEST_F(TCPClientTest, RefusedConnectReportsKind3WithItsText)
{
    ConnectTo(L"127.0.0.1", TPeer::UnusedPort());
    ASSERT_TRUE(WaitFor("error"));
    EXPECT_EQ(recorder.events, "resolve error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_CONNECT);
    EXPECT_EQ(recorder.errorMessage, CString(L"接続は拒否されました"));
    EXPECT_FALSE(client.connected);
    EXPECT_EQ(client.socket, INVALID_SOCKET);
    EXPECT_EQ(client.window, nullptr);
}

TEST_F(TCPClientTest, LookupFailureReportsKind1)
{
    ConnectTo(L"0.0.0.0", 6667);
    EXPECT_EQ(recorder.events, "error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RESOLVE);
    EXPECT_EQ(recorder.errorMessage, CString(L"接続先が見つかりませんでした"));
    EXPECT_FALSE(client.connected);

    // The same from an asynchronous answer, whatever code the system gave.
    ConnectTo(L"localhost", 6667);
    ASSERT_NE(client.resolver.window, nullptr);
    SendMessageW(client.resolver.window->m_hWnd, WM_APP + 1, (WPARAM)client.resolver.request,
                 WSAMAKEASYNCREPLY(0, WSAHOST_NOT_FOUND));
    EXPECT_EQ(recorder.events, "error error");
    EXPECT_EQ(recorder.errorMessage, CString(L"接続先が見つかりませんでした"));
    PumpMessagesFor(100);
    EXPECT_EQ(recorder.events, "error error");
}

TEST_F(TCPClientTest, SendOnAClosedClientReturnsZeroQuietly)
{
    EXPECT_EQ(client.Send("x", 1), 0);
    client.Close();
    EXPECT_EQ(recorder.events, "");
}

TEST_F(TCPClientTest, DataSentWithTheCloseArrivesBeforeOnClose)
{
    TScriptedPeer peer;
    peer.Send("line one\r\nline two\r\n").Close().Run();
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("close"));
    EXPECT_EQ(recorder.data, "line one\r\nline two\r\n");
    EXPECT_EQ(recorder.events.substr(recorder.events.size() - 13), "receive close");
    EXPECT_FALSE(client.connected);
    EXPECT_EQ(client.receiveBuffer.size, 0);
}

TEST_F(TCPClientTest, OwnerClosingInOnReceiveGetsNoFurtherEvents)
{
    TScriptedPeer peer;
    peer.Send("bye\r\n").Close().Run();
    recorder.onReceive = [](TTCPClient* c) { c->Close(); };
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("receive"));
    PumpMessagesFor(200);
    EXPECT_FALSE(recorder.Saw("close"));
    EXPECT_FALSE(recorder.Saw("error"));
}

TEST_F(TCPClientTest, LargeTransfersArriveWhole)
{
    TEchoPeer peer;
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("connect"));
    std::string text;
    for (int i = 0; text.size() < 3 * 1024 * 1024; i++)
        text += "PRIVMSG #channel :line number " + std::to_string(i) + "\r\n";
    size_t sent = 0;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] {
            if (sent < text.size() && client.connected)
                sent += client.Send(text.data() + sent, (int)std::min<size_t>(65536, text.size() - sent));
            return recorder.data.size() >= text.size() || !client.connected;
        },
        20000));
    EXPECT_TRUE(recorder.data == text);
    EXPECT_EQ(recorder.errorKind, -1);
}

TEST_F(TCPClientTest, FullSocketMakesSendReturnZeroAndOnSendFollows)
{
    TScriptedPeer peer;
    peer.Pause(500).Echo().Run();
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("send"));
    std::string chunk(65536, 'x');
    long long total = 0;
    int result = 1;
    for (int i = 0; i < 2000 && result > 0; i++) {
        result = client.Send(chunk.data(), (int)chunk.size());
        total += result;
    }
    ASSERT_EQ(result, 0) << "the socket never filled";
    EXPECT_TRUE(client.connected);
    recorder.events.clear();
    ASSERT_TRUE(WaitFor("send", 10000));
    ASSERT_TRUE(PumpMessagesUntil([&] { return (long long)recorder.data.size() >= total; }, 10000));
    EXPECT_EQ((long long)recorder.data.size(), total);
}

TEST_F(TCPClientTest, OverlongLineClosesWithKind5InsteadOfStalling)
{
    TScriptedPeer peer;
    peer.Send(std::string(1100 * 1024, 'a')).Send("\r\n").Echo().Run();
    // An IRC-like owner takes whole lines only; this line never ends within the buffer.
    int lines = 0;
    recorder.onReceive = [&](TTCPClient* c) {
        while (!c->ReadLine().IsEmpty())
            lines++;
    };
    ConnectTo(L"127.0.0.1", peer.Port());
    ASSERT_TRUE(WaitFor("error", 10000)) << recorder.events;
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RECEIVE);
    EXPECT_EQ(recorder.errorMessage, CString(L"これ以上のバッファを割り当てることができません"));
    EXPECT_EQ(lines, 0);
    EXPECT_FALSE(client.connected);
    EXPECT_EQ(client.receiveBuffer.size, 0);
}
