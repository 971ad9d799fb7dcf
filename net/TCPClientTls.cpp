// TLS on client connections: the session is made at FD_CONNECT and the handshake is carried on by
// the reads and writes that follow. No certificate is verified.

#include "net/TCPClient.h"

#include <openssl/err.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>

namespace {

bool tlsInitialised = false;

// Our own contribution to the random pool; the library gathers its own entropy as well.
const char TlsSeed[] = "k7Rv2qLm9XcT4wZp8NbY3sHd6GfJ1aUe5iOo0KtQxWnMrVs";
static_assert(sizeof(TlsSeed) - 1 == 47, "seed length");

void InitialiseTls()
{
    if (tlsInitialised)
        return;
    tlsInitialised = true;
    RAND_seed(TlsSeed, sizeof(TlsSeed) - 1);
    SSL_library_init();
    SSL_load_error_strings();
}

} // namespace

void TTCPClient::StartTls()
{
    if (!useTls) {
        if (listener)
            listener->OnConnect(this);
        return;
    }
    InitialiseTls();
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    SSL* session = nullptr;
    if (context) {
        // The owner retries a refused write from a buffer that may have moved meanwhile.
        SSL_CTX_ctrl(context, SSL_CTRL_MODE, SSL_MODE_AUTO_RETRY | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER, nullptr);
        // Servers that just drop the connection are closing, not failing.
        SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
        // The library's default level refuses servers that still speak only TLS 1.0 or 1.1; no
        // certificate is checked anyway, and the newest version both sides know is still chosen.
        SSL_CTX_set_security_level(context, 0);
        session = SSL_new(context);
    }
    if (!session) {
        SSL_CTX_free(context);
        ERR_clear_error();
        Close();
        ReportError(SOCKET_ERROR_CONNECT, 0);
        return;
    }
    ssl = session;
    SSL_set_fd(ssl, (int)socket);
    // Only the first step; the reads and writes that follow carry the handshake on and tell how
    // it ended, so the owner hears of the connection first in every case.
    SSL_connect(ssl);
    ERR_clear_error();
    if (listener)
        listener->OnConnect(this);
}

int TTCPClient::TlsReceive(char* chunk, int size, bool& peerClosed, bool& failed, int& code)
{
    // A stale error in the thread's queue would make SSL_get_error report a failure.
    ERR_clear_error();
    int count = SSL_read(ssl, chunk, size);
    if (count > 0)
        return count;
    switch (SSL_get_error(ssl, count)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        return -1;
    case SSL_ERROR_ZERO_RETURN:
        peerClosed = true;
        return 0;
    case SSL_ERROR_SYSCALL:
        code = WSAGetLastError();
        failed = !IsSocketInProgress(code);
        break;
    default:
        code = 0;
        failed = true;
        break;
    }
    ERR_clear_error();
    return -1;
}

int TTCPClient::TlsSend(const void* bytes, int count)
{
    ERR_clear_error();
    int sent = SSL_write(ssl, bytes, count);
    if (sent > 0)
        return sent;
    int code = 0;
    switch (SSL_get_error(ssl, sent)) {
    case SSL_ERROR_WANT_READ:
        // The handshake waits for the server; FD_WRITE alone would not come again.
        sendWaitsForRead = true;
        return 0;
    case SSL_ERROR_WANT_WRITE:
        return 0;
    case SSL_ERROR_SYSCALL:
        code = WSAGetLastError();
        if (IsSocketInProgress(code))
            return 0;
        break;
    }
    ERR_clear_error();
    Close();
    ReportError(SOCKET_ERROR_SEND, code);
    return 0;
}

void TTCPClient::EndTls()
{
    OutputDebugStringW(L"$$$$$$$$$$$$$$$ SSL Close\n");
    // The socket is closed already; its handle may belong to another socket by now.
    SSL_set_quiet_shutdown(ssl, 1);
    SSL_shutdown(ssl);
    SSL_CTX_free(SSL_get_SSL_CTX(ssl));
    SSL_free(ssl);
    ssl = nullptr;
    ERR_clear_error();
}
