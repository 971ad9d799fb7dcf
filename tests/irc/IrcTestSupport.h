#pragma once
// Shared pieces of the engine tests: a unit built from settings in memory with recording fakes
// for everything around it, a scripted IRC server on 127.0.0.1 and a line-based second client.

#include "irc/IRCUnit.h"
#include "log/AddressFinder.h"
#include "log/LogLineStore.h"
#include "settings/Preference.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TLineSocket;
class TScriptedServer;

class TUnitRecorder : public IIRCUnitListener, public IUnitScriptEvents, public IUnitMacroEngine {
public:
    TUnitRecorder();
    void RefreshTreeItem(TIRCUnit*, TIRCChannel*) override { refreshes++; }
    void ExpandUnitItem(TIRCUnit*) override {}
    void UpdateTitleIfUnitSelected(TIRCUnit*) override {}
    bool IsSelected(TIRCUnit*, TIRCChannel* channel) override { return selected && channel == selectedChannel; }
    bool IsMainWindowActive() override { return active; }
    bool AreMacrosStopped() override { return macrosStopped; }
    void PlaySoundFile(const CString& path) override { sounds.push_back(path); }
    void OnConnectionEnded(TIRCUnit*) override { connectionsEnded++; }
    ILogLineSink* GetLogSink(TIRCUnit* unit, TIRCChannel* channel) override;
    void AddLineToAllLog(const TLogLineData& line, bool checkKeywords) override;
    bool IsScrolledBack(TIRCUnit*, TIRCChannel*) override { return scrolledBack; }
    void MarkNode(TIRCUnit*, TIRCChannel* channel, TNodeMark mark) override;
    void StartHighlightAlert() override { alerts.push_back("highlight"); }
    void StartMessageAlert() override { alerts.push_back("message"); }
    void AddToKeywordHistory(const TLogLineData& line) override { keywordHistory.push_back(line); }
    void AddToUrlHistory(const TLogLineData& line) override { urlHistory.push_back(line); }
    void QueueClipboardText(const CString& text) override { clipboard.push_back(text); }
    void AddProtocolLine(TIRCUnit*, const CString& text, int direction) override;
    void FireOnConnect() override { scriptConnects++; }
    void FireOnDisconnect() override { scriptDisconnects++; }
    bool ProcessEvent(const TIRCReceiveMessage& message, const CString&) override;
    CString ExpandVariables(const CString& text, const CString&) override { return text; }

    // The composed texts of a node's view (channel null: the server's), oldest first.
    std::vector<std::string> ViewTexts(TIRCChannel* channel);
    std::vector<std::string> AllLogTexts();

    TLogKeyword keywords;
    TLogAddressFinder addressFinder;
    TLogDrawContext context;
    std::map<TIRCChannel*, std::unique_ptr<TLogLineStore>> views;
    TLogLineStore allLog{&context};
    std::vector<TLogLineData> allLogLines;
    std::vector<TLogLineData> keywordHistory;
    std::vector<TLogLineData> urlHistory;
    std::vector<CString> clipboard;
    std::vector<std::string> marks;
    std::vector<std::string> alerts;
    std::vector<std::string> protocol; // "< received" and "> sent"
    bool selected = false;
    TIRCChannel* selectedChannel = nullptr;
    bool scrolledBack = false;
    bool active = false;
    int refreshes = 0;
    int connectionsEnded = 0;
    int scriptConnects = 0;
    int scriptDisconnects = 0;
    bool macrosStopped = false;
    std::vector<CString> sounds;
    // "COMMAND param param" per macro event.
    std::vector<std::string> macroEvents;
};

// One received line, parsed as the connection would.
void FeedLine(TIRCUnit& unit, const std::string& line);
// The lines waiting to be written, in the order they would leave.
std::vector<std::string> QueuedLines(TIRCConnection& connection);
// The same, and the queues emptied.
std::vector<std::string> TakeQueuedLines(TIRCConnection& connection);

// A fresh unit on default preferences; the server settings can be changed before MakeUnit.
class TUnitTest : public ::testing::Test {
protected:
    void SetUp() override;
    TIRCUnit& MakeUnit();
    // As if the transport had connected: commands queue without a socket and stay queued.
    void StartOffline();
    // The same, then logged in by the server's welcome.
    void WelcomeOffline();
    // A channel (or talk) node of that name, as the server tree adds one.
    TIRCChannel* AddChannel(const CString& name, TIRCChannel::TKind kind = TIRCChannel::KindChannel);
    // One received line, parsed as the connection would.
    void Feed(const std::string& line);
    // The lines waiting to be written, in the order they would leave.
    std::vector<std::string> Queued();
    std::vector<std::string> TakeQueued();
    // A fresh unit connected to the server, logged in when asked; null when it did not get there.
    TLineSocket* ConnectTo(TScriptedServer& server, bool logIn);
    // Once the peer has the registration, welcomes the unit there and waits for its login; false
    // when either does not come.
    bool WelcomeOn(TLineSocket* peer);
    // Pumps messages until the unit is disconnected; false when it is not within the bound.
    bool WaitDisconnected(DWORD timeoutMs = kWaitBoundMs);
    // Whether a line of the server's view holds the text.
    bool ServerLogShows(const char* text);
    // Whether the flood control still counts this line (with its CR LF) as sent.
    bool HistoryHolds(const char* line);
    // Pumps messages until the macro engine was told of the event ("COMMAND param param").
    bool SawMacroEvent(const std::string& event, DWORD timeoutMs);
    // The unit's server (127.0.0.1:6667) is reached through a SOCKS4 proxy on that port.
    void ThroughSocks4(int proxyPort)
    {
        settings.EnableSocks = true;
        settings.SocksVersion = 4;
        settings.SocksHostname = L"127.0.0.1";
        settings.SocksPort = proxyPort;
        settings.Hostname = L"127.0.0.1";
        settings.Port = 6667;
    }

    TTempFolder folder;
    TPreference preference;
    TUnitSetting settings;
    TUnitRecorder recorder;
    std::unique_ptr<TIRCUnit> unit;
};

// Bytes in, lines out over one accepted or connected socket; a thread reads.
class TLineSocket {
public:
    explicit TLineSocket(SOCKET connected);
    ~TLineSocket();
    void Send(const std::string& bytes);
    void Close();
    // Ends the connection with a reset instead of an orderly close, as a crashing server does.
    void Reset();
    bool Closed() const { return closed; }
    std::string Received();
    // Complete lines received so far, without CR LF.
    std::vector<std::string> Lines();
    std::vector<std::string> LinesStartingWith(const std::string& head);
    // Pumps messages until a received line contains the text.
    bool WaitFor(const std::string& text, DWORD timeoutMs = kWaitBoundMs);
    size_t LineCount() { return Lines().size(); }

private:
    void Read();
    void Release();

    SOCKET socket;
    std::thread thread;
    std::mutex lock;
    std::string data;
    std::atomic<bool> closed{false};
    std::atomic<bool> stopping{false};
};

// A listening IRC stand-in; each accepted connection becomes a TLineSocket.
class TScriptedServer {
public:
    explicit TScriptedServer(int port = 0);
    ~TScriptedServer();
    int Port() const { return port; }
    bool Listen();
    // Closes the listener and every connection, as a killed server does.
    void Kill();
    // Pumps messages until the count-th connection (from 1) was accepted.
    TLineSocket* WaitClient(int count = 1, DWORD timeoutMs = kWaitBoundMs);
    int Accepted();

private:
    void AcceptLoop();

    int port;
    SOCKET listener = INVALID_SOCKET;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::vector<std::unique_ptr<TLineSocket>> clients;
};

// Runs the unit's reconnect countdown tick by tick until it connects again, then waits for that,
// the count-th connection of the server.
TLineSocket* TickToReconnect(TIRCUnit& unit, TScriptedServer& server, int count);

// A plain client on a loopback address (the second user in the real-server tests).
std::unique_ptr<TLineSocket> ConnectLineSocket(int port, const char* host = "127.0.0.1");
// Passes connections on to a real server; dropping them all is what a restarting server does to
// its clients, while the server itself and its other clients carry on.
class TServerRelay {
public:
    explicit TServerRelay(int targetPort);
    ~TServerRelay();
    int Port() const { return port; }
    void DropAll();

private:
    struct TPair {
        SOCKET client;
        SOCKET server;
        std::atomic<bool> dropped{false};
        std::thread up, down;
    };
    void AcceptLoop();

    int targetPort;
    int port = 0;
    SOCKET listener = INVALID_SOCKET;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::vector<std::unique_ptr<TPair>> pairs;
};

// Queues a PING behind whatever the unit has queued and waits until the peer has it: every line
// the unit meant to send by then has arrived, so "nothing was sent" needs no fixed wait.
bool RoundTrip(TIRCUnit& unit, TLineSocket& peer);
// Registers with NICK and USER and waits for the welcome; null when it did not come.
std::unique_ptr<TLineSocket> ConnectIrcClient(int port, const std::string& nick, const char* host = "127.0.0.1");
