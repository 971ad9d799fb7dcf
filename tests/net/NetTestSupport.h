#pragma once
// Shared pieces of the network tests: Winsock start-up, the real peers' ports, an in-process
// peer on 127.0.0.1 that plays a script, and listeners that record what the sockets report.

#include "net/SocksClient.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Values the peers fixture wrote; HavePeers is false outside ctest.
bool HavePeers();
std::string PeerValue(const char* key);

// Fails when the entry's peers were not started (a program run outside ctest, or an entry
// without their fixture) or gave no such port: ctest would count a skip as passed.
#define REQUIRE_PEERS()                                                                                                \
    ASSERT_TRUE(HavePeers()) << "the peers were not started: run through ctest, in an entry with their fixture"
#define REQUIRE_PEER_PORT(variable, key)                                                                               \
    REQUIRE_PEERS();                                                                                                   \
    int variable = atoi(PeerValue(key).c_str());                                                                       \
    ASSERT_GT(variable, 0) << key << " missing from the peers file"

// Waits in short steps, since a close from another thread does not wake select everywhere;
// false once stopping is set or the socket failed.
bool WaitReadable(SOCKET s, const std::atomic<bool>& stopping);
// For a wait on this thread, which nobody else can stop: false also once the bound has passed.
bool WaitReadableWithin(SOCKET s, DWORD boundMs);

std::string Bytes(const CStringA& text);
std::string Hex(const std::string& bytes);

// A socket listening on 127.0.0.1 at a free port, which it sets; INVALID_SOCKET when it failed.
// Connections wait in its backlog until the caller accepts them.
SOCKET ListenOnLoopback(int backlog, int& port);

// What the system answers a plain socket's connect to the address (host order) and port: 0 when
// it connects, else the socket error code.
int SystemConnectError(unsigned long address, int port);

// A listening socket on 127.0.0.1; a thread plays the script against one connection.
class TPeer {
public:
    TPeer();
    virtual ~TPeer();
    int Port() const { return port; }
    // A port where nothing listens.
    static int UnusedPort();

    TPeer& Expect(int count); // reads exactly count bytes, kept for Expected()
    TPeer& Send(const std::string& bytes);
    TPeer& Pause(int ms);
    TPeer& Echo();        // until the client closes
    TPeer& Drain(int ms); // reads whatever comes for a while, so the close that follows is orderly
    void Run();
    std::string Expected(int step);

protected:
    void Start(std::function<void(SOCKET)> serve);
    // Blocking calls are not woken by a close from another thread everywhere, so the peer waits
    // in short steps and gives up once the test ends.
    bool WaitReadable(SOCKET s);
    int Receive(SOCKET s, char* buffer, int size);
    void Stop();

    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::vector<std::function<bool(SOCKET)>> steps;
    std::vector<std::string> expected;
    std::mutex lock;
};

// An echo peer.
struct TEchoPeer : TPeer {
    TEchoPeer() { Echo().Run(); }
};

// Events of one socket as words in order ("resolve connect send receive close"); runs of
// receive or send count once.
class TEventLog {
public:
    void Add(const std::string& event);
    bool Saw(const char* event) const;
    void Error(int kind, CString message);

    std::string events;
    int errorKind = -1;
    CString errorMessage;
};

class TClientRecorder : public ITCPClientListener, public TEventLog {
public:
    void OnConnect(TTCPClient* c) override;
    void OnClose(TTCPClient*) override { Add("close"); }
    void OnResolve(TTCPClient*) override { Add("resolve"); }
    void OnReceive(TTCPClient* c) override;
    void OnSend(TTCPClient* c) override;
    void OnError(TTCPClient*, int kind, CString message) override { Error(kind, message); }

    std::string data;    // every byte received, in order
    std::string pending; // sent from OnConnect and OnSend until the socket took it all
    bool tlsDoneAtConnect = false;
    std::function<void(TTCPClient*)> onReceive; // instead of draining the buffer into data

private:
    void Flush(TTCPClient* c);
};

class TSocksRecorder : public ISocksClientListener, public TEventLog {
public:
    void OnConnect(TSocksClient* s) override;
    void OnClose(TSocksClient*) override { Add("close"); }
    void OnResolve(TSocksClient*) override { Add("resolve"); }
    void OnReceive(TSocksClient* s) override;
    void OnSend(TSocksClient*) override { Add("send"); }
    void OnError(TSocksClient*, int kind, CString message) override { Error(kind, message); }

    std::vector<std::string> lines;
    std::string sendOnConnect;
};

// The client's private parts that tests look at.
class TTCPClientProbe {
public:
    static HWND Window(TTCPClient& c) { return c.window.GetHandle(); }
    static SSL* Session(TTCPClient& c) { return c.ssl; }
    static SOCKET Socket(TTCPClient& c) { return c.socket; }
};

// Everything received and not yet taken, taken.
std::string TakeReceived(TTCPClient* c);

// Sends the whole text, pumping messages while the socket takes it.
bool SendAll(TTCPClient& client, const std::string& text);
