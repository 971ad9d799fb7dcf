#include "net/TCPClient.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Lets one test make the library's allocations fail on the UI thread; must be in place before
// the library allocates anything, hence a static initialiser.
std::atomic<DWORD> failingThread{0};

void* TestMalloc(size_t size, const char*, int)
{
    return failingThread == GetCurrentThreadId() ? nullptr : malloc(size);
}

void* TestRealloc(void* block, size_t size, const char*, int)
{
    return failingThread == GetCurrentThreadId() ? nullptr : realloc(block, size);
}

void TestFree(void* block, const char*, int) { free(block); }

const bool allocatorHooked = CRYPTO_set_mem_functions(TestMalloc, TestRealloc, TestFree) == 1;

// A TLS server in the test itself, for what openssl s_server cannot do: it starts the handshake
// late, answers one line and then drops the connection without a close alert. Its certificate
// is self-signed and expired.
class TTlsPeer : public TPeer {
public:
    TTlsPeer(const std::string& reply, int handshakeDelay)
    {
        key = EVP_EC_gen("P-256");
        certificate = X509_new();
        ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
        X509_gmtime_adj(X509_getm_notBefore(certificate), -30L * 86400);
        X509_gmtime_adj(X509_getm_notAfter(certificate), -86400);
        X509_set_pubkey(certificate, key);
        X509_NAME* name = X509_get_subject_name(certificate);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1,
                                   -1, 0);
        X509_set_issuer_name(certificate, name);
        X509_sign(certificate, key, EVP_sha256());
        context = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate(context, certificate);
        SSL_CTX_use_PrivateKey(context, key);
        Start([this, reply, handshakeDelay](SOCKET s) {
            Sleep(handshakeDelay);
            SSL* ssl = SSL_new(context);
            SSL_set_fd(ssl, (int)s);
            char buffer[1024];
            if (SSL_accept(ssl) == 1 && SSL_read(ssl, buffer, sizeof(buffer)) > 0)
                SSL_write(ssl, reply.data(), (int)reply.size());
            shutdown(s, SD_SEND); // no SSL_shutdown: the connection just ends
            while (Receive(s, buffer, sizeof(buffer)) > 0) {
            }
            SSL_free(ssl);
        });
    }
    ~TTlsPeer() override
    {
        Stop();
        SSL_CTX_free(context);
        X509_free(certificate);
        EVP_PKEY_free(key);
    }

private:
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    SSL_CTX* context = nullptr;
};

class TlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        client.listener = &owner;
        client.useTls = true;
    }
    void ConnectTo(int port)
    {
        client.SetHostName(L"127.0.0.1");
        client.SetPort(port);
        client.Connect();
    }
    bool WaitForEnd()
    {
        return PumpMessagesUntil([&] { return owner.Saw("close") || owner.Saw("error"); }, 10000);
    }
    TClientRecorder owner;
    TTCPClient client;
};

} // namespace

TEST_F(TlsTest, LinesGoThroughOpensslServersAtTheNewestVersionBothKnow)
{
    REQUIRE_PEER_PORT(port, "TLS_PORT");
    REQUIRE_PEER_PORT(oldPort, "TLS10_PORT");
    const struct {
        int port;
        std::string text;
        int version;
    } cases[] = {
        {port, "hello tls", TLS1_3_VERSION},
        {port, "second connection", TLS1_3_VERSION}, // each connection gets its own session
        {oldPort, "only tls 1.0", TLS1_VERSION},
    };
    for (const auto& c : cases) {
        owner = TClientRecorder();
        owner.pending = c.text + "\r\n";
        ConnectTo(c.port);
        PumpMessagesUntil([&] { return owner.data.find('\n') != std::string::npos || owner.Saw("error"); }, 10000);
        std::string reversed(c.text.rbegin(), c.text.rend()); // the server answers each line reversed
        EXPECT_EQ(owner.data, reversed + "\n") << owner.events;
        SSL* session = TTCPClientProbe::Session(client);
        EXPECT_EQ(session ? SSL_version(session) : 0, c.version) << c.text;
        client.Close();
        EXPECT_EQ(TTCPClientProbe::Session(client), nullptr);
    }
}

TEST_F(TlsTest, DataSentBeforeTheHandshakeEndsGoesOutAfterIt)
{
    TTlsPeer peer("PONG :late\r\n", 300);
    owner.pending = "PING :late\r\n";
    ConnectTo(peer.Port());
    ASSERT_TRUE(PumpMessagesUntil([&] { return !owner.data.empty() || owner.Saw("error"); }, 5000)) << owner.events;
    EXPECT_FALSE(owner.tlsDoneAtConnect); // told of the connection while the server was silent
    EXPECT_EQ(owner.data, "PONG :late\r\n");
}

TEST_F(TlsTest, ServerDroppingTheConnectionIsACloseAndExpiredCertificatesAreAccepted)
{
    TTlsPeer peer("PONG :done\r\n", 0);
    owner.pending = "PING :done\r\n";
    ConnectTo(peer.Port());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(owner.data, "PONG :done\r\n");
    EXPECT_EQ(owner.events.substr(owner.events.size() - 13), "receive close");
    EXPECT_EQ(TTCPClientProbe::Session(client), nullptr);
}

TEST_F(TlsTest, ServerClosingDuringTheHandshakeIsAClose)
{
    TPeer peer;
    peer.Drain(200).Run();
    ConnectTo(peer.Port());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(owner.events, "resolve connect send close");
    EXPECT_EQ(TTCPClientProbe::Session(client), nullptr);
}

TEST_F(TlsTest, ServerGoneBeforeTheConnectEventIsStillAConnectThenItsEnd)
{
    // The peer's close is in before the connect event is handled, so the handshake's first step
    // already meets the end of the stream; the end comes from the read or the write after it.
    const struct {
        std::string sentAtConnect;
        std::string events;
        int kind;
    } cases[] = {
        {"", "resolve connect send close", -1},
        {"NICK a\r\n", "resolve connect error", SOCKET_ERROR_SEND},
    };
    for (const auto& c : cases) {
        TPeer peer;
        peer.Run(); // accepts and closes at once
        owner = TClientRecorder();
        owner.pending = c.sentAtConnect;
        ConnectTo(peer.Port());
        ASSERT_TRUE(WaitReadableWithin(TTCPClientProbe::Socket(client), kWaitBoundMs));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(owner.events, c.events) << c.sentAtConnect;
        EXPECT_EQ(owner.errorKind, c.kind) << c.sentAtConnect;
        EXPECT_EQ(TTCPClientProbe::Session(client), nullptr);
    }
}

TEST_F(TlsTest, SessionThatCannotBeCreatedReportsKind3)
{
    ASSERT_TRUE(allocatorHooked);
    OPENSSL_init_ssl(0, nullptr);
    TEchoPeer peer;
    ConnectTo(peer.Port());
    failingThread = GetCurrentThreadId();
    bool ended = PumpMessagesUntil([&] { return owner.Saw("error") || owner.Saw("connect"); }, 5000);
    failingThread = 0;
    ASSERT_TRUE(ended);
    EXPECT_EQ(owner.events, "resolve error");
    EXPECT_EQ(owner.errorKind, SOCKET_ERROR_CONNECT);
    EXPECT_EQ(owner.errorMessage, CString(L"接続に失敗しました"));
    EXPECT_EQ(TTCPClientProbe::Session(client), nullptr);
}
