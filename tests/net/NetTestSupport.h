#pragma once
// Shared pieces of the network tests: Winsock start-up, the real peers' ports, in-process peers
// on 127.0.0.1 and listeners that record what the sockets report.

#include "net/SocksClient.h"
#include "net/TCPServer.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A value the peers fixture wrote ("" when absent), and whether the fixture ran at all.
bool HavePeers();
std::string PeerValue(const char* key);
int PeerPort(const char* key);

// Skips outside ctest (no fixture), fails when the fixture ran but gave no such port.
#define REQUIRE_PEER_PORT(variable, key)                                                                       \
    if (!HavePeers())                                                                                          \
        GTEST_SKIP() << "run through ctest, which starts the peers";                                           \
    int variable = PeerPort(key);                                                                              \
    ASSERT_GT(variable, 0) << key << " missing from the peers file"

std::string Bytes(const CStringA& text);
std::string Hex(const std::string& bytes);

// A listening socket on 127.0.0.1 whose connections a thread serves in order.
class TPeer {
public:
    TPeer();
    virtual ~TPeer();
    int Port() const { return port; }
    // The listening socket's own port, with nothing listening there any more.
    static int UnusedPort();

protected:
    void Start(std::function<void(SOCKET)> serve, int connections);
    bool ReadExactly(SOCKET s, std::string& into, int count);
    // Blocking calls are not woken by closing from another thread under every Winsock, so the
    // peer waits in short steps and gives up once the test ends.
    bool WaitReadable(SOCKET s);
    int Receive(SOCKET s, char* buffer, int size);

    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::thread thread;
    std::mutex lock;
    std::atomic<bool> stopping{false};
};

// Echoes every byte back until the client closes.
class TEchoPeer : public TPeer {
public:
    explicit TEchoPeer(int connections = 1);
};

// Plays a fixed script against one connection: expect bytes, send bytes, pause, close.
class TScriptedPeer : public TPeer {
public:
    TScriptedPeer& Expect(int count);
    TScriptedPeer& Send(const std::string& bytes);
    TScriptedPeer& Pause(int ms);
    TScriptedPeer& Echo();
    // Reads whatever comes for the time given, so the close that follows is orderly.
    TScriptedPeer& Drain(int ms);
    // Ends without reading what is left, so the close is a reset when bytes are unread.
    TScriptedPeer& Close();
    void Run();
    std::string Received();
    // Bytes the client sent for the step-th Expect.
    std::string Expected(int step);

private:
    struct TStep {
        char what;
        std::string bytes;
        int count;
    };
    std::vector<TStep> steps;
    std::vector<std::string> expected;
    std::string received;
};

// Records the events of a TCP client as one string ("resolve connect send receive close").
class TClientRecorder : public ITCPClientListener {
public:
    void OnConnect(TTCPClient* c) override;
    void OnClose(TTCPClient*) override { Add("close"); }
    void OnResolve(TTCPClient*) override { Add("resolve"); }
    void OnReceive(TTCPClient* c) override;
    void OnSend(TTCPClient*) override { Add("send"); }
    void OnError(TTCPClient*, int kind, CString message) override;
    void Add(const char* event);
    bool Saw(const char* event) const;

    std::string events;
    std::string data; // every byte received, in order
    int errorKind = -1;
    CString errorMessage;
    std::function<void(TTCPClient*)> onConnect;
    std::function<void(TTCPClient*)> onReceive; // instead of draining the buffer
};

class TSocksRecorder : public ISocksClientListener {
public:
    void OnConnect(TSocksClient* s) override;
    void OnClose(TSocksClient*) override { Add("close"); }
    void OnResolve(TSocksClient*) override { Add("resolve"); }
    void OnReceive(TSocksClient* s) override;
    void OnSend(TSocksClient*) override { Add("send"); }
    void OnError(TSocksClient*, int kind, CString message) override;
    void Add(const char* event);
    bool Saw(const char* event) const;

    std::string events;
    std::vector<std::string> lines;
    int errorKind = -1;
    CString errorMessage;
    std::string sendOnConnect;
};

// Sends the whole text, pumping messages while the socket takes it.
bool SendAll(TTCPClient& client, const std::string& text);
