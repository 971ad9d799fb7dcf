#include "net/SocksClient.h"
#include "foundation/CodePage.h"
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
    static void ConnectThrough(TSocksClient& client, int proxyPort, int version, const wchar_t* target, int targetPort)
    {
        client.useProxy = true;
        client.proxyHost = L"127.0.0.1";
        client.proxyPort = proxyPort;
        client.socksVersion = version;
        client.targetHost = target;
        client.targetPort = targetPort;
        client.Connect();
    }
    void ConnectThrough(int proxyPort, int version, const wchar_t* target = L"127.0.0.1", int targetPort = 6667)
    {
        ConnectThrough(socks, proxyPort, version, target, targetPort);
    }
    bool WaitFor(const char* event, DWORD ms = 5000)
    {
        return PumpMessagesUntil([&] { return recorder.Saw(event) || recorder.Saw("error"); }, ms);
    }
    // Runs one refused handshake and returns what the owner saw.
    static TSocksRecorder Refusal(TPeer& proxy, int version)
    {
        TSocksRecorder result;
        TSocksClient client;
        client.listener = &result;
        client.useAuth = true;
        client.user = L"u";
        client.password = L"p";
        proxy.Pause(50).Run();
        ConnectThrough(client, proxy.Port(), version, L"127.0.0.1", 7000);
        PumpMessagesUntil([&] { return result.Saw("error") || result.Saw("close"); }, 5000);
        EXPECT_FALSE(client.client.IsConnected());
        return result;
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
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty(); }, 5000));
    EXPECT_EQ(recorder.lines[0], "hello");
    EXPECT_EQ(recorder.events, "resolve connect send receive");
    EXPECT_EQ(socks.targetAddress.ToString(), CString(L"127.0.0.1"));
}

TEST_F(SocksClientTest, Socks4RequestCarriesPortAddressAndUserId)
{
    TPeer proxy;
    proxy.Expect(12).Send(Socks4Granted).Echo().Run();
    socks.user = L"abc";
    ConnectThrough(proxy.Port(), 4, L"192.0.2.7", 6667);
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(proxy.Expected(0)), "04 01 1A 0B C0 00 02 07 61 62 63 00");
    // The proxy's own lookup and connection are not the owner's business.
    EXPECT_EQ(recorder.events, "resolve connect");
}

TEST_F(SocksClientTest, Socks4ReplySplitAcrossReadsIsTakenOnceAndLaterBytesAreData)
{
    TPeer proxy;
    // The first piece holds a line feed: it still must not reach the owner as a line.
    proxy.Expect(9).Send(B({0, 90, 0x0A})).Pause(300).Send(B({0, 0, 0, 0, 0}) + "welcome\r\n").Echo().Run();
    ConnectThrough(proxy.Port(), 4);
    ASSERT_TRUE(PumpMessagesUntil([&] { return socks.handshake.GetSize() == 3; }, 5000));
    EXPECT_EQ(Bytes(socks.ReadLine()), "");
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
        TPeer proxy;
        proxy.Expect(9).Send(B({0, c.code, 0, 0, 0, 0, 0, 0}));
        TSocksRecorder result = Refusal(proxy, 4);
        EXPECT_EQ(result.events, "resolve error") << c.code;
        EXPECT_EQ(result.errorKind, c.kind) << c.code;
        EXPECT_EQ(result.errorMessage, CString(c.text)) << c.code;
    }
    // SOCKS4 cannot name a target it could not resolve.
    TPeer proxy;
    ConnectThrough(proxy.Port(), 4, L"0.0.0.0");
    EXPECT_EQ(recorder.events, "");
    ASSERT_TRUE(WaitFor("error"));
    EXPECT_EQ(recorder.events, "error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_RESOLVE);
}

TEST_F(SocksClientTest, Socks5ConnectsByAddressWithOrWithoutPassword)
{
    TPeer plain;
    plain.Expect(3).Send(B({5, 0})).Expect(10).Send(Socks5Granted + "hi\r\n").Echo().Run();
    ConnectThrough(plain.Port(), 5);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty(); }, 5000)) << recorder.events;
    EXPECT_EQ(Hex(plain.Expected(0)), "05 01 00");
    EXPECT_EQ(Hex(plain.Expected(1)), "05 01 00 01 7F 00 00 01 1A 0B");
    EXPECT_EQ(recorder.events, "resolve connect receive");
    EXPECT_EQ(recorder.lines[0], "hi");

    TPeer withPassword;
    withPassword.Expect(4).Send(B({5, 2})).Expect(13).Send(B({1, 0})).Expect(10).Send(Socks5Granted).Echo().Run();
    socks.useAuth = true;
    socks.user = L"user";
    socks.password = L"secret";
    recorder.events.clear();
    ConnectThrough(withPassword.Port(), 5);
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(withPassword.Expected(0)), "05 02 00 02");
    EXPECT_EQ(withPassword.Expected(1), B({1, 4}) + "user" + B({6}) + "secret");
    EXPECT_EQ(recorder.events, "resolve connect"); // no OnSend during the handshake

    // A user without a password offers no authentication.
    TPeer noPassword;
    noPassword.Expect(3).Send(B({5, 0})).Expect(10).Send(Socks5Granted).Run();
    socks.password.Empty();
    recorder.events.clear();
    ConnectThrough(noPassword.Port(), 5);
    ASSERT_TRUE(WaitFor("connect")) << recorder.events;
    EXPECT_EQ(Hex(noPassword.Expected(0)), "05 01 00");
}

TEST_F(SocksClientTest, Socks5ConnectsByNameWhenTheLocalLookupFails)
{
    TPeer proxy;
    std::string boundByName = B({5, 0, 0, 3, 3}) + "abc" + B({0, 80});
    proxy.Expect(3).Send(B({5, 0})).Expect(7 + 255).Send(boundByName + "x\r\n").Echo().Run();
    ConnectThrough(proxy.Port(), 5, CString(L'a', 300));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty() || recorder.Saw("error"); }, 10000))
        << recorder.events;
    EXPECT_EQ(recorder.events, "connect receive");
    std::string request = proxy.Expected(1);
    EXPECT_EQ(Hex(request.substr(0, 5)), "05 01 00 03 FF");
    EXPECT_EQ(request.substr(5), std::string(255, 'a') + B({0x1A, 0x0B}));
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
        {B({5, 0}), "", B({5, 7, 0, 1, 0, 0, 0, 0, 0, 0}), SOCKET_ERROR_PROXY,
         L"SOCKSサーバがサポートしないコマンドです"},
        {B({5, 0}), "", B({5, 8, 0, 4}) + std::string(18, '\0'), SOCKET_ERROR_PROXY,
         L"SOCKSサーバがサポートしないアドレスタイプです"},
        // An unknown address type is taken as the header alone.
        {B({5, 0}), "", B({5, 3, 0, 9}), SOCKET_ERROR_CONNECT, L""},
    };
    for (const auto& c : cases) {
        TPeer proxy;
        proxy.Expect(4).Send(c.method);
        if (!c.auth.empty())
            proxy.Expect(5).Send(c.auth);
        if (!c.reply.empty())
            proxy.Expect(10).Send(c.reply);
        TSocksRecorder result = Refusal(proxy, 5);
        std::string name = Hex(c.method + c.reply);
        EXPECT_EQ(result.events, "resolve error") << name;
        EXPECT_EQ(result.errorKind, c.kind) << name;
        EXPECT_EQ(result.errorMessage, CString(c.text)) << name;
    }
}

TEST_F(SocksClientTest, ProxyClosingMidHandshakeIsAClose)
{
    TPeer proxy;
    proxy.Expect(3).Send(B({5})).Run();
    ConnectThrough(proxy.Port(), 5);
    ASSERT_TRUE(WaitFor("close"));
    EXPECT_EQ(recorder.events, "resolve close");
    EXPECT_FALSE(socks.active);
}

TEST_F(SocksClientTest, BytesFromTheProxyBeforeAnyRequestAreNotTaken)
{
    // While the target is looked up nothing is due; the bytes stay under the client's own limit.
    socks.useProxy = true;
    socks.active = true;
    socks.state = SOCKS_STATE_RESOLVING;
    std::string chatter(8192, 'z');
    socks.client.UnreadReceived(chatter.data(), (int)chatter.size());
    socks.OnReceive(&socks.client);
    socks.OnReceive(&socks.client);
    EXPECT_EQ(socks.handshake.GetSize(), 0);
    EXPECT_EQ(socks.client.GetReceivedSize(), 8192);
    EXPECT_EQ(recorder.events, "");
}

TEST_F(SocksClientTest, LinesGoThroughDanteAndMicrosocks)
{
    REQUIRE_PEER_PORT(dante, "SOCKS_PORT");
    REQUIRE_PEER_PORT(microsocks, "SOCKS_AUTH_PORT");
    struct {
        int port;
        int version;
        bool auth;
    } proxies[] = {{dante, 4, false}, {dante, 5, false}, {microsocks, 5, true}};
    for (const auto& p : proxies) {
        TEchoPeer target;
        TSocksRecorder result;
        TSocksClient client;
        client.listener = &result;
        client.useAuth = p.auth;
        client.user = ConvertFromUtf8(PeerValue("SOCKS_USER").c_str());
        client.password = ConvertFromUtf8(PeerValue("SOCKS_PASSWORD").c_str());
        result.sendOnConnect = "PRIVMSG #test :through the proxy\r\n";
        ConnectThrough(client, p.port, p.version, L"127.0.0.1", target.Port());
        PumpMessagesUntil([&] { return !result.lines.empty() || result.Saw("error"); }, 10000);
        EXPECT_EQ(result.events, "resolve connect receive") << p.port << " SOCKS" << p.version;
        EXPECT_EQ(result.lines, std::vector<std::string>{"PRIVMSG #test :through the proxy"});
    }

    // microsocks refuses a wrong password.
    socks.useAuth = true;
    socks.user = ConvertFromUtf8(PeerValue("SOCKS_USER").c_str());
    socks.password = L"wrong";
    ConnectThrough(microsocks, 5, L"127.0.0.1", TPeer::UnusedPort());
    ASSERT_TRUE(WaitFor("close"));
    EXPECT_EQ(recorder.events, "resolve error");
    EXPECT_EQ(recorder.errorKind, SOCKET_ERROR_PROXY);
    EXPECT_EQ(recorder.errorMessage, CString(L"SOCKSサーバのユーザ認証に失敗しました"));
}
