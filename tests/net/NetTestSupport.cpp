#include "tests/net/NetTestSupport.h"

#include "tests/common/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

std::map<std::string, std::string>& Peers()
{
    static std::map<std::string, std::string> values;
    static bool loaded = false;
    if (loaded)
        return values;
    loaded = true;
    const char* path = getenv("KV_NET_PEERS");
    if (!path || !*path)
        return values;
    // The fixture writes a Linux path; Wine shows the Linux root as drive Z:.
    std::string windowsPath = path;
    if (windowsPath[0] == '/') {
        windowsPath = "Z:" + windowsPath;
        for (char& c : windowsPath)
            if (c == '/')
                c = '\\';
    }
    FILE* file = fopen(windowsPath.c_str(), "r");
    if (!file)
        return values;
    values["present"] = "1";
    char line[512];
    while (fgets(line, sizeof(line), file)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
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
    auto& values = Peers();
    auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

int PeerPort(const char* key) { return atoi(PeerValue(key).c_str()); }

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

TPeer::TPeer()
{
    listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listener, 8);
    int length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
}

TPeer::~TPeer()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    closesocket(listener);
}

bool TPeer::WaitReadable(SOCKET s)
{
    while (!stopping) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval step = {0, 20000};
        int ready = select(0, &readable, nullptr, nullptr, &step);
        if (ready != 0)
            return ready > 0;
    }
    return false;
}

int TPeer::Receive(SOCKET s, char* buffer, int size)
{
    if (!WaitReadable(s))
        return -1;
    return recv(s, buffer, size, 0);
}

int TPeer::UnusedPort()
{
    TPeer probe;
    return probe.port;
}

void TPeer::Start(std::function<void(SOCKET)> serve, int connections)
{
    thread = std::thread([this, serve, connections] {
        for (int i = 0; i < connections; i++) {
            if (!WaitReadable(listener))
                return;
            SOCKET s = accept(listener, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                return;
            serve(s);
            closesocket(s);
        }
    });
}

bool TPeer::ReadExactly(SOCKET s, std::string& into, int count)
{
    char buffer[4096];
    while (count > 0) {
        int n = Receive(s, buffer, count < (int)sizeof(buffer) ? count : (int)sizeof(buffer));
        if (n <= 0)
            return false;
        into.append(buffer, n);
        count -= n;
    }
    return true;
}

TEchoPeer::TEchoPeer(int connections)
{
    Start(
        [this](SOCKET s) {
            char buffer[65536];
            int n;
            while ((n = Receive(s, buffer, sizeof(buffer))) > 0)
                for (int sent = 0; sent < n;) {
                    int m = send(s, buffer + sent, n - sent, 0);
                    if (m <= 0)
                        return;
                    sent += m;
                }
        },
        connections);
}

TScriptedPeer& TScriptedPeer::Expect(int count)
{
    steps.push_back({'e', std::string(), count});
    return *this;
}

TScriptedPeer& TScriptedPeer::Send(const std::string& bytes)
{
    steps.push_back({'s', bytes, 0});
    return *this;
}

TScriptedPeer& TScriptedPeer::Pause(int ms)
{
    steps.push_back({'p', std::string(), ms});
    return *this;
}

TScriptedPeer& TScriptedPeer::Echo()
{
    steps.push_back({'o', std::string(), 0});
    return *this;
}

TScriptedPeer& TScriptedPeer::Drain(int ms)
{
    steps.push_back({'d', std::string(), ms});
    return *this;
}

TScriptedPeer& TScriptedPeer::Close()
{
    steps.push_back({'c', std::string(), 0});
    return *this;
}

void TScriptedPeer::Run()
{
    Start(
        [this](SOCKET s) {
            for (const TStep& step : steps) {
                if (step.what == 'e') {
                    std::string part;
                    bool whole = ReadExactly(s, part, step.count);
                    std::lock_guard<std::mutex> guard(lock);
                    expected.push_back(part);
                    received += part;
                    if (!whole)
                        return;
                } else if (step.what == 's') {
                    send(s, step.bytes.data(), (int)step.bytes.size(), 0);
                } else if (step.what == 'p') {
                    Sleep(step.count);
                } else if (step.what == 'o') {
                    char buffer[4096];
                    int n;
                    while ((n = Receive(s, buffer, sizeof(buffer))) > 0) {
                        {
                            std::lock_guard<std::mutex> guard(lock);
                            received.append(buffer, n);
                        }
                        send(s, buffer, n, 0);
                    }
                } else if (step.what == 'd') {
                    DWORD end = GetTickCount() + step.count;
                    char buffer[4096];
                    while (GetTickCount() < end) {
                        u_long available = 0;
                        ioctlsocket(s, FIONREAD, &available);
                        if (available > 0)
                            recv(s, buffer, sizeof(buffer), 0);
                        else
                            Sleep(10);
                    }
                } else if (step.what == 'c') {
                    return;
                }
            }
        },
        1);
}

std::string TScriptedPeer::Received()
{
    std::lock_guard<std::mutex> guard(lock);
    return received;
}

std::string TScriptedPeer::Expected(int step)
{
    std::lock_guard<std::mutex> guard(lock);
    return step < (int)expected.size() ? expected[step] : std::string();
}

namespace {

void AddEvent(std::string& events, const char* event)
{
    // A burst may come in several reads; one word per run keeps the order readable.
    std::string last = events.substr(events.rfind(' ') == std::string::npos ? 0 : events.rfind(' ') + 1);
    if (last == event && (last == "receive" || last == "send"))
        return;
    if (!events.empty())
        events += ' ';
    events += event;
}

bool HasEvent(const std::string& events, const char* event)
{
    return (" " + events + " ").find(std::string(" ") + event + " ") != std::string::npos;
}

} // namespace

void TClientRecorder::Add(const char* event) { AddEvent(events, event); }

bool TClientRecorder::Saw(const char* event) const { return HasEvent(events, event); }

void TClientRecorder::OnConnect(TTCPClient* c)
{
    Add("connect");
    if (onConnect)
        onConnect(c);
}

void TClientRecorder::OnReceive(TTCPClient* c)
{
    Add("receive");
    if (onReceive) {
        onReceive(c);
        return;
    }
    data.append(c->receiveBuffer.buffer, c->receiveBuffer.size);
    c->receiveBuffer.Discard(c->receiveBuffer.size);
}

void TClientRecorder::OnError(TTCPClient*, int kind, CString message)
{
    Add("error");
    errorKind = kind;
    errorMessage = message;
}

void TSocksRecorder::Add(const char* event) { AddEvent(events, event); }

bool TSocksRecorder::Saw(const char* event) const { return HasEvent(events, event); }

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

void TSocksRecorder::OnError(TSocksClient*, int kind, CString message)
{
    Add("error");
    errorKind = kind;
    errorMessage = message;
}

bool SendAll(TTCPClient& client, const std::string& text)
{
    size_t done = 0;
    return PumpMessagesUntil(
        [&] {
            if (client.connected && done < text.size())
                done += client.Send(text.data() + done, (int)(text.size() - done));
            return done == text.size() || !client.connected;
        },
        5000) &&
           done == text.size();
}
