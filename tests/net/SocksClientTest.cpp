#include "foundation/CodePage.h"
#include "net/SocksClient.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string B(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes)
        out += (char)b;
    return out;
}

const std::string Socks4Granted = B({0, 90, 0, 0, 0, 0, 0, 0});
const std::string Socks5Granted = B({5, 0, 0, 1, 127, 0, 0, 1, 0x1A, 0x0B});

class SocksClientTest : public ::testing::Test {
protected:
    void SetUp() override { socks.listener = &recorder; }
    void UseProxy(int port, int version)
    {
        socks.useProxy = true;
        socks.proxyHost = L"127.0.0.1";
        socks.proxyPort = port;
        socks.socksVersion = version;
    }
    bool WaitFor(const char* event, DWORD ms = 5000)
    {
        return PumpMessagesUntil([&] { return recorder.Saw(event); }, ms);
    }
    bool WaitForEnd(DWORD ms = 5000)
    {
        return PumpMessagesUntil([&] { return recorder.Saw("error") || recorder.Saw("close"); }, ms);
    }
    TSocksRecorder recorder;
    TSocksClient socks;
};

} // namespace

TEST_F(SocksClientTest, WithoutProxyPassesEveryEventOn)
{
    TEchoPeer peer;
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = peer.Port();
    recorder.sendOnConnect = "hello\r\n";
    socks.Connect();
    EXPECT_EQ(recorder.events, "resolve");
    EXPECT_EQ(socks.targetAddress.ToString(), CString(L"127.0.0.1"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty() && recorder.Saw("send"); }, 5000));
    EXPECT_EQ(recorder.lines[0], "hello");
    EXPECT_EQ(recorder.events.substr(0, 16), "resolve connect ");
    socks.Close();
    EXPECT_FALSE(socks.client.connected);
}

TEST_F(SocksClientTest, Socks4RequestCarriesPortAddressAndUserId)
{
    TScriptedPeer proxy;
    proxy.Expect(12).Send(Socks4Granted).Echo().Run();
    UseProxy(proxy.Port(), 4);
    socks.targetHost = L"192.0.2.7";
    socks.targetPort = 6667;
    socks.user = L"abc";
    socks.Connect();
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(proxy.Expected(0)), "04 01 1A 0B C0 00 02 07 61 62 63 00");
    // The proxy's own lookup and connection are not the owner's business.
    EXPECT_EQ(recorder.events, "resolve connect");
    EXPECT_EQ(socks.state, SOCKS_STATE_NONE);
}

TEST_F(SocksClientTest, Socks4UserIdIsCutTo64CharactersInUtf8)
{
    TScriptedPeer proxy;
    proxy.Expect(8 + 2 * 64 + 1).Send(Socks4Granted).Run();
    UseProxy(proxy.Port(), 4);
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 7000;
    socks.user = CString(L'é', 70);
    socks.Connect();
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    std::string request = proxy.Expected(0);
    EXPECT_EQ(request.substr(8, 2), "\xC3\xA9");
    EXPECT_EQ(request.back(), '\0');
    EXPECT_EQ(socks.user.GetLength(), 64);
}

TEST_F(SocksClientTest, Socks4ReplySplitAcrossReadsIsTakenOnceAndLaterBytesAreData)
{
    TScriptedPeer proxy;
    // The first piece holds a line feed: it still must not reach the owner as a line.
    proxy.Expect(9).Send(B({0, 90, 0x0A})).Pause(300).Send(B({0, 0, 0, 0, 0}) + "welcome\r\n").Echo().Run();
    UseProxy(proxy.Port(), 4);
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 7000;
    socks.Connect();
    ASSERT_TRUE(PumpMessagesUntil([&] { return socks.handshake.size == 3; }, 5000));
    EXPECT_EQ(Bytes(socks.ReadLine()), "");
    EXPECT_FALSE(recorder.Saw("connect"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty(); }, 5000)) << recorder.events;
    EXPECT_EQ(recorder.events, "resolve connect receive");
    EXPECT_EQ(recorder.lines[0], "welcome");
}

TEST_F(SocksClientTest, Socks4RefusalsGiveTheirKindsAndTexts)
{
    struct {
        int code;
        int kind;
        const wchar_t* text;
    } cases[] = {
        {91, SOCKET_ERROR_CONNECT, L""},
        {92, SOCKET_ERROR_PROXY, L"SOCKSサーバがidentdに接続できませんでした"},
        {93, SOCKET_ERROR_PROXY, L"SOCKSサーバに送信したユーザ名がidentdのユーザ名と異なります"},
        {0, SOCKET_ERROR_CONNECT, L""},
    };
    for (const auto& c : cases) {
        TSocksRecorder result;
        TSocksClient client;
        client.listener = &result;
        TScriptedPeer proxy;
        proxy.Expect(9).Send(B({0, c.code, 0, 0, 0, 0, 0, 0})).Pause(50).Run();
        client.useProxy = true;
        client.proxyHost = L"127.0.0.1";
        client.proxyPort = proxy.Port();
        client.targetHost = L"127.0.0.1";
        client.targetPort = 7000;
        client.Connect();
        ASSERT_TRUE(PumpMessagesUntil([&] { return result.Saw("error"); }, 5000)) << c.code << result.events;
        EXPECT_EQ(result.events, "resolve error") << c.code;
        EXPECT_EQ(result.errorKind, c.kind) << c.code;
        EXPECT_EQ(result.errorMessage, CString(c.text)) << c.code;
        EXPECT_FALSE(client.client.connected);
        EXPECT_FALSE(client.active);
    }
}

TEST_F(SocksClientTest, Socks4CannotNameAnUnresolvableTarget)
{
    TScriptedPeer proxy;
    proxy.Pause(500).Run();
    UseProxy(proxy.Port(), 4);
    socks.targetHost = L"0.0.0.0";
    socks.targetPort = 7000;
    socks.Connect();
    ASSERT_TRUE(WaitFor("error"));
    EXPECT_EQ(recorder.events, "error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RESOLVE);
    EXPECT_EQ(recorder.errorMessage, CString());
}

TEST_F(SocksClientTest, Socks5WithoutAuthenticationConnectsByAddress)
{
    TScriptedPeer proxy;
    proxy.Expect(3).Send(B({5, 0})).Expect(10).Send(Socks5Granted + "hi\r\n").Echo().Run();
    UseProxy(proxy.Port(), 5);
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 6667;
    socks.Connect();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty(); }, 5000)) << recorder.events;
    EXPECT_EQ(Hex(proxy.Expected(0)), "05 01 00");
    EXPECT_EQ(Hex(proxy.Expected(1)), "05 01 00 01 7F 00 00 01 1A 0B");
    EXPECT_EQ(recorder.events, "resolve connect receive");
    EXPECT_EQ(recorder.lines[0], "hi");
}

TEST_F(SocksClientTest, Socks5WithAuthenticationSendsUserAndPassword)
{
    TScriptedPeer proxy;
    proxy.Expect(4).Send(B({5, 2})).Expect(1 + 1 + 4 + 1 + 6).Send(B({1, 0})).Expect(10).Send(Socks5Granted).Run();
    UseProxy(proxy.Port(), 5);
    socks.useAuth = true;
    socks.user = L"user";
    socks.password = L"secret";
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 6667;
    socks.Connect();
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(proxy.Expected(0)), "05 02 00 02");
    EXPECT_EQ(proxy.Expected(1), B({1, 4}) + "user" + B({6}) + "secret");
    EXPECT_FALSE(recorder.Saw("send")); // nothing passed on during the handshake
}

TEST_F(SocksClientTest, Socks5OffersAuthenticationOnlyWithUserAndPassword)
{
    TScriptedPeer proxy;
    proxy.Expect(3).Send(B({5, 0})).Expect(10).Send(Socks5Granted).Run();
    UseProxy(proxy.Port(), 5);
    socks.useAuth = true;
    socks.user = L"user";
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 6667;
    socks.Connect();
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(proxy.Expected(0)), "05 01 00");
}

TEST_F(SocksClientTest, Socks5ConnectsByNameWhenTheLocalLookupFails)
{
    TScriptedPeer proxy;
    proxy.Expect(3).Send(B({5, 0})).Expect(7 + 255).Send(B({5, 0, 0, 3, 3}) + "abc" + B({0, 80}) + "x\r\n").Echo().Run();
    UseProxy(proxy.Port(), 5);
    socks.targetHost = CString(L'a', 300);
    socks.targetPort = 6667;
    socks.Connect();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty() || recorder.Saw("error"); }, 10000))
        << recorder.events;
    EXPECT_EQ(recorder.events, "connect receive");
    std::string request = proxy.Expected(1);
    ASSERT_EQ(request.size(), 7u + 255);
    EXPECT_EQ(Hex(request.substr(0, 5)), "05 01 00 03 FF");
    EXPECT_EQ(request.substr(5, 255), std::string(255, 'a'));
    EXPECT_EQ(Hex(request.substr(260)), "1A 0B");
    // The bound name in the reply is skipped by its own length.
    EXPECT_EQ(recorder.lines[0], "x");
}

TEST_F(SocksClientTest, Socks5RefusalsGiveTheirKindsAndTexts)
{
    struct {
        std::string method;
        std::string auth;
        std::string reply;
        int kind;
        const wchar_t* text;
    } cases[] = {
        {B({5, 0xFF}), "", "", SOCKET_ERROR_PROXY, L"SOCKSサーバへの接続方法がありません"},
        // A method nobody offered would otherwise leave the handshake waiting for ever.
        {B({5, 0x01}), "", "", SOCKET_ERROR_PROXY, L"SOCKSサーバへの接続方法がありません"},
        {B({5, 2}), B({1, 1}), "", SOCKET_ERROR_PROXY, L"SOCKSサーバのユーザ認証に失敗しました"},
        {B({5, 0}), "", B({5, 1, 0, 1, 0, 0, 0, 0, 0, 0}), SOCKET_ERROR_CONNECT, L""},
        {B({5, 0}), "", B({5, 2, 0, 1, 0, 0, 0, 0, 0, 0}), SOCKET_ERROR_PROXY,
         L"SOCKSサーバのルールセットにより接続が拒否されました"},
        {B({5, 0}), "", B({5, 5, 0, 1, 0, 0, 0, 0, 0, 0}), SOCKET_ERROR_CONNECT, L""},
        {B({5, 0}), "", B({5, 7, 0, 1, 0, 0, 0, 0, 0, 0}), SOCKET_ERROR_PROXY, L"SOCKSサーバがサポートしないコマンドです"},
        {B({5, 0}), "", B({5, 8, 0, 4}) + std::string(18, '\0'), SOCKET_ERROR_PROXY,
         L"SOCKSサーバがサポートしないアドレスタイプです"},
        // An unknown address type is taken as the header alone.
        {B({5, 0}), "", B({5, 3, 0, 9}), SOCKET_ERROR_CONNECT, L""},
    };
    for (const auto& c : cases) {
        TSocksRecorder result;
        TSocksClient client;
        client.listener = &result;
        TScriptedPeer proxy;
        proxy.Expect(4).Send(c.method);
        if (!c.auth.empty())
            proxy.Expect(1 + 1 + 1 + 1 + 1).Send(c.auth);
        if (!c.reply.empty())
            proxy.Expect(10).Send(c.reply);
        proxy.Pause(50).Run();
        client.useProxy = true;
        client.proxyHost = L"127.0.0.1";
        client.proxyPort = proxy.Port();
        client.socksVersion = 5;
        client.useAuth = true;
        client.user = L"u";
        client.password = L"p";
        client.targetHost = L"127.0.0.1";
        client.targetPort = 7000;
        client.Connect();
        ASSERT_TRUE(PumpMessagesUntil([&] { return result.Saw("error") || result.Saw("close"); }, 5000))
            << Hex(c.method + c.reply) << " " << result.events;
        EXPECT_EQ(result.events, "resolve error") << Hex(c.method + c.reply);
        EXPECT_EQ(result.errorKind, c.kind) << Hex(c.method + c.reply);
        EXPECT_EQ(result.errorMessage, CString(c.text)) << Hex(c.method + c.reply);
        EXPECT_FALSE(client.client.connected);
    }
}

TEST_F(SocksClientTest, BytesFromTheProxyBeforeAnyRequestAreNotTaken)
{
    // While the target is looked up nothing is due; the bytes stay under the client's own limit.
    socks.useProxy = true;
    socks.active = true;
    socks.state = SOCKS_STATE_RESOLVING;
    std::string chatter(8192, 'z');
    socks.client.receiveBuffer.Write(chatter.data(), (int)chatter.size());
    socks.OnReceive(&socks.client);
    socks.OnReceive(&socks.client);
    EXPECT_EQ(socks.handshake.size, 0);
    EXPECT_EQ(socks.client.receiveBuffer.size, 8192);
    EXPECT_EQ(recorder.events, "");
}

TEST_F(SocksClientTest, ProxyClosingMidHandshakeIsAClose)
{
    TScriptedPeer proxy;
    proxy.Expect(3).Send(B({5})).Close().Run();
    UseProxy(proxy.Port(), 5);
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 7000;
    socks.Connect();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(recorder.events, "resolve close");
    EXPECT_FALSE(socks.active);
}

TEST_F(SocksClientTest, RefusedProxyConnectionReportsKind3)
{
    UseProxy(TPeer::UnusedPort(), 5);
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = 7000;
    socks.Connect();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(recorder.events, "error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_CONNECT);
    EXPECT_EQ(recorder.errorMessage, CString(L"接続は拒否されました"));
}

namespace {

// A line to the in-process echo peer and back through a real proxy.
void RoundTripThroughProxy(TSocksClient& socks, TSocksRecorder& recorder)
{
    TEchoPeer target;
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = target.Port();
    recorder.sendOnConnect = "PRIVMSG #test :through the proxy\r\n";
    socks.Connect();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty() || recorder.Saw("error"); }, 10000))
        << recorder.events;
    EXPECT_EQ(recorder.errorMessage, CString());
    ASSERT_EQ(recorder.lines.size(), 1u);
    EXPECT_EQ(recorder.lines[0], "PRIVMSG #test :through the proxy");
    EXPECT_EQ(recorder.events.substr(0, 16), "resolve connect ");
    socks.Close();
}

} // namespace

TEST_F(SocksClientTest, Socks4ThroughDante)
{
    REQUIRE_PEER_PORT(port, "SOCKS_PORT");
    UseProxy(port, 4);
    socks.user = L"kvtest";
    RoundTripThroughProxy(socks, recorder);
}

TEST_F(SocksClientTest, Socks5ThroughDante)
{
    REQUIRE_PEER_PORT(port, "SOCKS_PORT");
    UseProxy(port, 5);
    RoundTripThroughProxy(socks, recorder);
}

TEST_F(SocksClientTest, Socks5WithPasswordThroughMicrosocks)
{
    REQUIRE_PEER_PORT(port, "SOCKS_AUTH_PORT");
    UseProxy(port, 5);
    socks.useAuth = true;
    socks.user = ConvertFromUtf8(PeerValue("SOCKS_USER").c_str());
    socks.password = ConvertFromUtf8(PeerValue("SOCKS_PASSWORD").c_str());
    RoundTripThroughProxy(socks, recorder);
}

TEST_F(SocksClientTest, WrongPasswordIsRefusedByMicrosocks)
{
    REQUIRE_PEER_PORT(port, "SOCKS_AUTH_PORT");
    UseProxy(port, 5);
    socks.useAuth = true;
    socks.user = ConvertFromUtf8(PeerValue("SOCKS_USER").c_str());
    socks.password = L"wrong";
    socks.targetHost = L"127.0.0.1";
    socks.targetPort = TPeer::UnusedPort();
    socks.Connect();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(recorder.events, "resolve error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_PROXY);
    EXPECT_EQ(recorder.errorMessage, CString(L"SOCKSサーバのユーザ認証に失敗しました"));
}
