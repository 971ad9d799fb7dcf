#include "net/SocksClient.h"

#include "foundation/CodePage.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"

#include <cstring>

namespace {

// Proxy replies are read a page at a time; no reply is longer than 262 bytes.
const int HandshakeChunk = 4096;

void AppendByte(CStringA& message, int value)
{
    char byte = (char)(value & 0xFF);
    message.Append(&byte, 1);
}

void AppendPort(CStringA& message, int port)
{
    AppendByte(message, port >> 8);
    AppendByte(message, port);
}

void AppendAddress(CStringA& message, ULONG networkOrder)
{
    message.Append(reinterpret_cast<const char*>(&networkOrder), 4);
}

// One length byte, then at most 255 bytes of the text in UTF-8 (a cut may split a character).
void AppendCounted(CStringA& message, const CString& text)
{
    CStringA bytes = ConvertToUtf8(text).Left(255);
    AppendByte(message, bytes.GetLength());
    message.Append(bytes.GetString(), bytes.GetLength());
}

} // namespace

TSocksClient::TSocksClient()
{
    client.listener = this;
    resolver.listener = this;
    targetAddress.address = INADDR_NONE;
}

TSocksClient::~TSocksClient()
{
    // Nothing may reach a half-destroyed object.
    resolver.listener = nullptr;
    client.listener = nullptr;
}

void TSocksClient::Connect()
{
    if (client.IsConnected())
        client.Close();
    // An answer for an earlier attempt must not drive this one.
    resolver.Cancel();
    state = SOCKS_STATE_NONE;
    targetAddress.address = 0;
    handshake.Reserve(0);
    tlsStarting = false;
    if (useProxy) {
        // The proxy speaks plain; TLS, when wanted, starts after its handshake.
        client.useTls = false;
        client.SetHostName(proxyHost);
        client.SetPort(proxyPort);
    } else {
        client.SetHostName(targetHost);
        client.SetPort(targetPort);
    }
    active = true;
    client.Connect();
}

void TSocksClient::Close()
{
    active = false;
    tlsStarting = false;
    state = SOCKS_STATE_NONE;
    targetAddress.address = 0;
    handshake.Reserve(0);
    resolver.Cancel();
    client.Close();
}

CStringA TSocksClient::ReadLine()
{
    if (InHandshake())
        return CStringA();
    return client.ReadLine();
}

void TSocksClient::OnConnect(TTCPClient*)
{
    if (!useProxy || tlsStarting) {
        tlsStarting = false;
        if (listener)
            listener->OnConnect(this);
        return;
    }
    state = SOCKS_STATE_RESOLVING;
    resolver.SetHostName(targetHost);
    resolver.Resolve();
}

void TSocksClient::OnClose(TTCPClient*)
{
    active = false;
    if (listener)
        listener->OnClose(this);
}

void TSocksClient::OnResolve(TTCPClient*)
{
    // With a proxy this is only the proxy's own address.
    if (useProxy)
        return;
    targetAddress = client.GetAddress();
    if (listener)
        listener->OnResolve(this);
}

void TSocksClient::OnReceive(TTCPClient*)
{
    if (!InHandshake()) {
        if (listener)
            listener->OnReceive(this);
        return;
    }
    // No reply is due while the target is looked up; taking the bytes anyway would let a
    // chattering proxy grow the handshake buffer without bound. The client's own cap holds them.
    if (state == SOCKS_STATE_RESOLVING)
        return;
    char bytes[HandshakeChunk];
    int count = client.PeekReceived(bytes, HandshakeChunk);
    handshake.Write(bytes, count);
    client.DiscardReceived(count);
    ProcessHandshake();
}

void TSocksClient::OnSend(TTCPClient*)
{
    if (!InHandshake() && listener)
        listener->OnSend(this);
}

void TSocksClient::OnError(TTCPClient*, int kind, CString message)
{
    Close();
    if (listener)
        listener->OnError(this, kind, message);
}

void TSocksClient::OnResolve(TNameResolver*)
{
    if (!active)
        return;
    targetAddress = resolver.GetAddress();
    if (listener)
        listener->OnResolve(this);
    if (!active)
        return;
    if (socksVersion == 4) {
        state = SOCKS_STATE_REQUEST_SENT;
        SendSocks4Request();
    } else {
        state = SOCKS_STATE_GREETING_SENT;
        SendGreeting();
    }
}

void TSocksClient::OnResolveError(TNameResolver*, CString)
{
    if (!active)
        return;
    targetAddress.address = 0;
    if (socksVersion == 4) {
        // SOCKS4 has no way to name the target.
        Close();
        if (listener)
            listener->OnError(this, SOCKET_ERROR_RESOLVE, CString());
        return;
    }
    state = SOCKS_STATE_GREETING_SENT;
    SendGreeting();
}

void TSocksClient::SendSocks4Request()
{
    user = user.Left(64);
    CStringA message;
    AppendByte(message, 4);
    AppendByte(message, 1);
    AppendPort(message, targetPort);
    AppendAddress(message, targetAddress.address);
    CStringA id = ConvertToUtf8(user);
    message.Append(id.GetString(), id.GetLength());
    AppendByte(message, 0);
    SendToProxy(message);
}

void TSocksClient::SendGreeting()
{
    CStringA message;
    AppendByte(message, 5);
    if (OffersAuth()) {
        AppendByte(message, 2);
        AppendByte(message, 0);
        AppendByte(message, 2);
    } else {
        AppendByte(message, 1);
        AppendByte(message, 0);
    }
    SendToProxy(message);
}

void TSocksClient::SendAuth()
{
    CStringA message;
    AppendByte(message, 1);
    AppendCounted(message, user);
    AppendCounted(message, password);
    SendToProxy(message);
}

void TSocksClient::SendConnectRequest()
{
    CStringA message;
    AppendByte(message, 5);
    AppendByte(message, 1);
    AppendByte(message, 0);
    if (targetAddress.address != 0) {
        AppendByte(message, 1);
        AppendAddress(message, targetAddress.address);
    } else {
        AppendByte(message, 3);
        AppendCounted(message, targetHost);
    }
    AppendPort(message, targetPort);
    SendToProxy(message);
}

void TSocksClient::SendToProxy(const CStringA& message) { client.Send(message.GetString(), message.GetLength()); }

void TSocksClient::ProcessHandshake()
{
    while (active && InHandshake()) {
        bool taken = false;
        if (socksVersion == 4)
            taken = state == SOCKS_STATE_REQUEST_SENT && TakeSocks4Reply();
        else if (state == SOCKS_STATE_GREETING_SENT)
            taken = TakeMethodReply();
        else if (state == SOCKS_STATE_AUTH_SENT)
            taken = TakeAuthReply();
        else if (state == SOCKS_STATE_REQUEST_SENT)
            taken = TakeConnectReply();
        if (!taken)
            return;
    }
}

bool TSocksClient::TakeSocks4Reply()
{
    if (handshake.GetSize() < 8)
        return false;
    int code = (unsigned char)handshake.GetData()[1];
    handshake.Discard(8);
    switch (code) {
    case 90:
        Succeed();
        break;
    case 92:
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_IDENTD_UNREACHABLE);
        break;
    case 93:
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_IDENTD_MISMATCH);
        break;
    default:
        Fail(SOCKET_ERROR_CONNECT, 0);
        break;
    }
    return true;
}

bool TSocksClient::TakeMethodReply()
{
    if (handshake.GetSize() < 2)
        return false;
    int method = (unsigned char)handshake.GetData()[1];
    handshake.Discard(2);
    if (method == 0x00) {
        state = SOCKS_STATE_REQUEST_SENT;
        SendConnectRequest();
    } else if (method == 0x02) {
        state = SOCKS_STATE_AUTH_SENT;
        SendAuth();
    } else {
        // 0xFF, or a method we never offered: either way there is nothing we can speak.
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_NO_METHOD);
    }
    return true;
}

bool TSocksClient::TakeAuthReply()
{
    if (handshake.GetSize() < 2)
        return false;
    int status = (unsigned char)handshake.GetData()[1];
    handshake.Discard(2);
    if (status == 0) {
        state = SOCKS_STATE_REQUEST_SENT;
        SendConnectRequest();
    } else {
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_AUTH_FAILED);
    }
    return true;
}

bool TSocksClient::TakeConnectReply()
{
    if (handshake.GetSize() < 4)
        return false;
    int length = 4;
    switch ((unsigned char)handshake.GetData()[3]) {
    case 1:
        length += 4 + 2;
        break;
    case 4:
        length += 16 + 2;
        break;
    case 3:
        if (handshake.GetSize() < 5)
            return false;
        length += 1 + (unsigned char)handshake.GetData()[4] + 2;
        break;
    }
    if (handshake.GetSize() < length)
        return false;
    int code = (unsigned char)handshake.GetData()[1];
    handshake.Discard(length);
    switch (code) {
    case 0:
        Succeed();
        break;
    case 2:
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_RULESET_REFUSED);
        break;
    case 7:
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_COMMAND_UNSUPPORTED);
        break;
    case 8:
        Fail(SOCKET_ERROR_PROXY, IDS_SOCKS_ADDRESS_UNSUPPORTED);
        break;
    default:
        Fail(SOCKET_ERROR_CONNECT, 0);
        break;
    }
    return true;
}

void TSocksClient::Succeed()
{
    state = SOCKS_STATE_NONE;
    if (tlsAfterProxy) {
        // The server waits for our hello, so nothing of its own can be in the handshake buffer.
        handshake.Reserve(0);
        tlsStarting = true;
        client.useTls = true;
        client.StartTls();
        return;
    }
    // Bytes behind the final reply are the connection's own and go ahead of anything later.
    client.UnreadReceived(handshake.GetData(), handshake.GetSize());
    handshake.Reserve(0);
    if (listener)
        listener->OnConnect(this);
    if (active && state == SOCKS_STATE_NONE && client.GetReceivedSize() > 0 && listener)
        listener->OnReceive(this);
}

void TSocksClient::Fail(int kind, UINT textId)
{
    Close();
    if (listener)
        listener->OnError(this, kind, textId ? LoadResourceString(textId) : CString());
}
