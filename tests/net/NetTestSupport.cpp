#include "tests/net/NetTestSupport.h"

#include "tests/common/MessagePump.h"

#include <openssl/ssl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

// The program starts Winsock at start-up; the tests do it here.
class TWinsockEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

::testing::Environment* const winsock = ::testing::AddGlobalTestEnvironment(new TWinsockEnvironment);

std::map<std::string, std::string> LoadPeers()
{
    std::map<std::string, std::string> values;
    const char* path = getenv("KV_NET_PEERS");
    if (!path || !*path)
        return values;
    // The fixture writes a Linux path; Wine shows the Linux root as drive Z:.
    std::string windowsPath = path[0] == '/' ? std::string("Z:") + path : path;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    FILE* file = fopen(windowsPath.c_str(), "r");
    if (!file)
        return values;
    char line[512];
    while (fgets(line, sizeof(line), file)) {
        std::string text = line;
        text.erase(text.find_last_not_of("\r\n") + 1);
        size_t equals = text.find('=');
        if (equals != std::string::npos)
            values[text.substr(0, equals)] = text.substr(equals + 1);
    }
    fclose(file);
    return values;
}

} // namespace

bool HavePeers() { return getenv("KV_NET_PEERS") != nullptr; }

std::string PeerValue(const char* key)
{
    static const std::map<std::string, std::string> values = LoadPeers();
    auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

std::string Bytes(const CStringA& text) { return std::string(text.GetString(), text.GetLength()); }

std::string Hex(const std::string& bytes)
{
    std::string out;
    char part[4];
    for (unsigned char c : bytes) {
        snprintf(part, sizeof(part), out.empty() ? "%02X" : " %02X", c);
        out += part;
    }
    return out;
}

SOCKET ListenOnLoopback(int backlog, int& port)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener, backlog) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}

int SystemConnectError(unsigned long address, int port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons((u_short)port);
    target.sin_addr.s_addr = htonl(address);
    int code = connect(s, reinterpret_cast<sockaddr*>(&target), sizeof(target)) == 0 ? 0 : WSAGetLastError();
    if (code == WSAEWOULDBLOCK) {
        fd_set written, failed;
        FD_ZERO(&written);
        FD_ZERO(&failed);
        FD_SET(s, &written);
        FD_SET(s, &failed);
        timeval bound = {10, 0};
        int length = sizeof(code);
        if (select(0, nullptr, &written, &failed, &bound) != 1)
            code = WSAETIMEDOUT;
        else if (FD_ISSET(s, &failed))
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code), &length);
        else
            code = 0;
    }
    closesocket(s);
    return code;
}

TPeer::TPeer() { listener = ListenOnLoopback(8, port); }

TPeer::~TPeer() { Stop(); }

void TPeer::Stop()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    listener = INVALID_SOCKET;
}

int TPeer::UnusedPort() { return TPeer().port; }

void TPeer::Start(std::function<void(SOCKET)> serve)
{
    thread = std::thread([this, serve] {
        if (!WaitReadable(listener))
            return;
        SOCKET s = accept(listener, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        serve(s);
        closesocket(s);
    });
}

// select's answer for the one socket: 1 readable, 0 not within the bound, -1 failed.
static int SelectReadable(SOCKET s, DWORD boundMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval bound = {(long)(boundMs / 1000), (long)(boundMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &bound);
}

bool WaitReadable(SOCKET s, const std::atomic<bool>& stopping)
{
    for (int ready = 0; !stopping;)
        if ((ready = SelectReadable(s, 20)) != 0)
            return ready > 0;
    return false;
}

bool WaitReadableWithin(SOCKET s, DWORD boundMs) { return SelectReadable(s, boundMs) > 0; }

bool TPeer::WaitReadable(SOCKET s) { return ::WaitReadable(s, stopping); }

int TPeer::Receive(SOCKET s, char* buffer, int size) { return WaitReadable(s) ? recv(s, buffer, size, 0) : -1; }

TPeer& TPeer::Expect(int count)
{
    int index = (int)expected.size();
    expected.emplace_back();
    steps.push_back([this, count, index](SOCKET s) {
        char buffer[4096];
        for (int left = count; left > 0;) {
            int n = Receive(s, buffer, left < (int)sizeof(buffer) ? left : (int)sizeof(buffer));
            if (n <= 0)
                return false;
            std::lock_guard<std::mutex> guard(lock);
            expected[index].append(buffer, n);
            left -= n;
        }
        return true;
    });
    return *this;
}

TPeer& TPeer::Send(const std::string& bytes)
{
    steps.push_back([bytes](SOCKET s) {
        for (size_t sent = 0; sent < bytes.size();) {
            int n = send(s, bytes.data() + sent, (int)(bytes.size() - sent), 0);
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    });
    return *this;
}

TPeer& TPeer::Pause(int ms)
{
    steps.push_back([ms](SOCKET) { return Sleep(ms), true; });
    return *this;
}

TPeer& TPeer::Echo()
{
    steps.push_back([this](SOCKET s) {
        char buffer[65536];
        int n;
        while ((n = Receive(s, buffer, sizeof(buffer))) > 0)
            for (int sent = 0, m; sent < n; sent += m)
                if ((m = send(s, buffer + sent, n - sent, 0)) <= 0)
                    return false;
        return true;
    });
    return *this;
}

TPeer& TPeer::Drain(int ms)
{
    steps.push_back([ms](SOCKET s) {
        char buffer[4096];
        for (DWORD end = GetTickCount() + ms; GetTickCount() < end;) {
            u_long available = 0;
            ioctlsocket(s, FIONREAD, &available);
            if (available > 0)
                recv(s, buffer, sizeof(buffer), 0);
            else
                Sleep(10);
        }
        return true;
    });
    return *this;
}

void TPeer::Run()
{
    Start([this](SOCKET s) {
        for (auto& step : steps)
            if (!step(s))
                return;
    });
}

std::string TPeer::Expected(int step)
{
    std::lock_guard<std::mutex> guard(lock);
    return step < (int)expected.size() ? expected[step] : std::string();
}

void TEventLog::Add(const std::string& event)
{
    size_t space = events.rfind(' ');
    std::string last = events.substr(space == std::string::npos ? 0 : space + 1);
    if (last == event && (event == "receive" || event == "send"))
        return;
    events += (events.empty() ? "" : " ") + event;
}

bool TEventLog::Saw(const char* event) const
{
    return (" " + events + " ").find(std::string(" ") + event + " ") != std::string::npos;
}

void TEventLog::Error(int kind, CString message)
{
    Add("error");
    errorKind = kind;
    errorMessage = message;
}

void TClientRecorder::OnConnect(TTCPClient* c)
{
    Add("connect");
    SSL* session = TTCPClientProbe::Session(*c);
    tlsDoneAtConnect = session && SSL_is_init_finished(session);
    Flush(c);
}

void TClientRecorder::OnSend(TTCPClient* c)
{
    Add("send");
    Flush(c);
}

void TClientRecorder::Flush(TTCPClient* c)
{
    if (!pending.empty())
        pending.erase(0, c->Send(pending.data(), (int)pending.size()));
}

void TClientRecorder::OnReceive(TTCPClient* c)
{
    Add("receive");
    if (onReceive)
        return onReceive(c);
    data += TakeReceived(c);
}

std::string TakeReceived(TTCPClient* c)
{
    std::string bytes(c->GetReceivedSize(), '\0');
    c->PeekReceived(bytes.data(), (int)bytes.size());
    c->DiscardReceived((int)bytes.size());
    return bytes;
}

void TSocksRecorder::OnConnect(TSocksClient* s)
{
    Add("connect");
    if (!sendOnConnect.empty())
        s->client.Send(sendOnConnect.data(), (int)sendOnConnect.size());
}

void TSocksRecorder::OnReceive(TSocksClient* s)
{
    Add("receive");
    for (CStringA line = s->ReadLine(); !line.IsEmpty(); line = s->ReadLine())
        lines.push_back(Bytes(line));
}

bool SendAll(TTCPClient& client, const std::string& text)
{
    size_t done = 0;
    PumpMessagesUntil(
        [&] {
            if (client.IsConnected() && done < text.size())
                done += client.Send(text.data() + done, (int)(text.size() - done));
            return done == text.size() || !client.IsConnected();
        },
        5000);
    return done == text.size();
}
