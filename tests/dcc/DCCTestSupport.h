#pragma once
// Shared pieces of the file-transfer tests: managers on preferences in memory, a registry of
// live units, a recorder of the manager's listener calls, file helpers that bypass the code under
// test, and a scripted receiver that connects to a send item from another thread.

#include "dccmanager/DCCManager.h"
#include "settings/Preference.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class TUnitRegistryFake : public IDCCUnitRegistry {
public:
    bool HasUnit(const TIRCUnit* unit) const override { return units.count(unit) != 0; }
    std::set<const TIRCUnit*> units;
};

class TManagerRecorder : public IDCCManagerListener {
public:
    void OnDCCItemChanged() override { changes++; }
    void OnDCCAllFinished() override { allFinished++; }
    void OnDCCTimer() override { ticks++; }
    int changes = 0, allFinished = 0, ticks = 0;
};

// Bytes that differ from position to position, so a shifted or repeated block shows.
std::string MakePattern(size_t size, unsigned seed = 1);
// WriteFileBytes and ReadFileBytes for the std::string the patterns and peers use; empty when
// the file cannot be read.
bool WriteWholeFile(const CString& path, const std::string& bytes);
std::string ReadWholeFile(const CString& path);
bool FileExists(const CString& path);
// Names of the folder's files, sorted.
std::vector<std::string> ListFolder(const CString& folder);
TInetAddress Loopback();

// Connects to 127.0.0.1:port, reads until `total` bytes or the sender closes, and acknowledges
// each read with the count so far (low 32 bits) as a receiver would. closeAfter >= 0 closes
// once that many bytes arrived.
class TScriptedReceiver {
public:
    TScriptedReceiver(int port, long long total, long long closeAfter = -1);
    ~TScriptedReceiver();
    bool Done() const { return done; }
    std::string Data();
    long long Count() const { return count; }

private:
    std::thread thread;
    std::mutex lock;
    std::string data;
    std::atomic<long long> count{0};
    std::atomic<bool> done{false};
    std::atomic<bool> stopping{false};
};

// Listens on 127.0.0.1, sends the bytes to the first peer (pausing after pauseAfter bytes when
// that is >= 0), then keeps every byte that comes back until the peer closes.
class TScriptedSender {
public:
    explicit TScriptedSender(const std::string& bytes, long long pauseAfter = -1, DWORD pauseMs = 0);
    ~TScriptedSender();
    int Port() const { return port; }
    bool Done() const { return done; }
    // What came back: the acknowledgements.
    std::string Received();
    // The acknowledgements as numbers, in order.
    std::vector<unsigned long> Acknowledgements();

private:
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::thread thread;
    std::mutex lock;
    std::string received;
    std::atomic<bool> done{false};
    std::atomic<bool> stopping{false};
};

// Two managers on one set of preferences: the sender's and the receiver's, each with its own
// download folder.
class TDCCTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A file of that size in the send folder, under that name.
    CString MakeSendFile(const wchar_t* name, size_t size, std::string* bytes = nullptr);
    // Starts a send of the file to "bob" and waits until it listens; null when it did not.
    TDCCSendItem* StartSend(const CString& path, TIRCUnit* unit = nullptr);
    // The receiver's item for an offer from that nick on 127.0.0.1, accepted (queued and started)
    // when asked.
    TDCCReceiveItem* AddReceive(const CString& name, int port, long long size, bool accept = true,
                                const wchar_t* nick = L"alice", int mode = 0);
    // The receiver's item for the send's offer.
    TDCCReceiveItem* Offer(TDCCSendItem* send, bool accept, const CString& name = CString());
    bool Pump(const std::function<bool()>& done, DWORD ms = 10000);

    TTempFolder sendFolder, receiveFolder;
    TPreference preference;
    TUnitRegistryFake registry;
    TManagerRecorder sendEvents, receiveEvents;
    TDCCManager sender, receiver;
    int portStart = 0;
};
