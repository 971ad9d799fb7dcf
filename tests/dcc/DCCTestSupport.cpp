#include "tests/dcc/DCCTestSupport.h"

#include "tests/common/MessagePump.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>

std::string MakePattern(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; i++) {
        state = state * 1103515245u + 12345u;
        bytes[i] = (char)(state >> 16);
    }
    return bytes;
}

bool WriteWholeFile(const CString& path, const std::string& bytes)
{
    return WriteFileBytes(path, CStringA(bytes.data(), (int)bytes.size()));
}

std::string ReadWholeFile(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    return std::string(bytes.GetString(), (size_t)bytes.GetLength());
}

bool FileExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ListFolder(const CString& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(folder + L"*", &data);
    while (search != INVALID_HANDLE_VALUE) {
        CString name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Narrow(name));
        if (!FindNextFileW(search, &data)) {
            FindClose(search);
            break;
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TInetAddress Loopback() { return TInetAddress(htonl(INADDR_LOOPBACK)); }

TScriptedReceiver::TScriptedReceiver(int port, long long total, long long closeAfter)
{
    thread = std::thread([this, port, total, closeAfter] {
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons((u_short)port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
            char buffer[65536];
            while (!stopping && count < total && (closeAfter < 0 || count < closeAfter)) {
                if (!WaitReadable(s, stopping))
                    break;
                int n = recv(s, buffer, sizeof(buffer), 0);
                if (n <= 0)
                    break;
                {
                    std::lock_guard<std::mutex> guard(lock);
                    data.append(buffer, n);
                }
                count += n;
                unsigned long acknowledged = htonl((unsigned long)(count & 0xFFFFFFFF));
                send(s, reinterpret_cast<const char*>(&acknowledged), 4, 0);
            }
        }
        closesocket(s);
        done = true;
    });
}

TScriptedReceiver::~TScriptedReceiver()
{
    stopping = true;
    thread.join();
}

std::string TScriptedReceiver::Data()
{
    std::lock_guard<std::mutex> guard(lock);
    return data;
}

TScriptedSender::TScriptedSender(const std::string& bytes, long long pauseAfter, DWORD pauseMs)
{
    listener = ListenOnLoopback(1, port);
    thread = std::thread([this, bytes, pauseAfter, pauseMs] {
        if (!WaitReadable(listener, stopping))
            return;
        SOCKET s = accept(listener, nullptr, nullptr);
        size_t sent = 0;
        bool paused = pauseAfter < 0;
        while (s != INVALID_SOCKET && sent < bytes.size() && !stopping) {
            size_t end = paused ? bytes.size() : (size_t)pauseAfter;
            int n = end > sent ? send(s, bytes.data() + sent, (int)(end - sent), 0) : 0;
            if (n < 0)
                break;
            sent += n;
            if (!paused && sent >= (size_t)pauseAfter) {
                Sleep(pauseMs);
                paused = true;
            }
        }
        char buffer[4096];
        while (s != INVALID_SOCKET && WaitReadable(s, stopping)) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            std::lock_guard<std::mutex> guard(lock);
            received.append(buffer, n);
        }
        if (s != INVALID_SOCKET)
            closesocket(s);
        done = true;
    });
}

TScriptedSender::~TScriptedSender()
{
    stopping = true;
    thread.join();
    closesocket(listener);
}

std::string TScriptedSender::Received()
{
    std::lock_guard<std::mutex> guard(lock);
    return received;
}

std::vector<unsigned long> TScriptedSender::Acknowledgements()
{
    std::string bytes = Received();
    std::vector<unsigned long> values;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
        values.push_back(ntohl(*reinterpret_cast<const unsigned long*>(bytes.data() + i)));
    return values;
}

namespace {

// Nothing listens on the port on any address now, as a send would bind it.
bool PortIsFree(int port)
{
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)port);
    bool free = port < 65536 && bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    closesocket(probe);
    return free;
}

} // namespace

void TDCCTest::SetUp()
{
    preference.DCCRootDir = receiveFolder.path;
    preference.HideFileInReceiving = false;
    preference.InstantSend = true;
    // A range of ports nothing else should be using; sends go round it from the start. The tests
    // that fill the range use its first two ports.
    for (int tries = 0; tries < 20; tries++) {
        portStart = TPeer::UnusedPort();
        if (PortIsFree(portStart + 1))
            break;
    }
    preference.DCCReceivePortStart = portStart;
    preference.DCCReceivePortEnd = portStart + 9;
    TDCCManager::SetLastSendPort(-1);
    for (TDCCManager* manager : {&sender, &receiver}) {
        manager->SetPreference(&preference);
        manager->SetWorld(&registry);
    }
    sender.SetListener(&sendEvents);
    receiver.SetListener(&receiveEvents);
}

void TDCCTest::TearDown() { TDCCManager::SetLastSendPort(-1); }

CString TDCCTest::MakeSendFile(const wchar_t* name, size_t size, std::string* bytes)
{
    std::string pattern = MakePattern(size);
    CString path = sendFolder.File(name);
    EXPECT_TRUE(WriteWholeFile(path, pattern));
    if (bytes)
        *bytes = pattern;
    return path;
}

TDCCSendItem* TDCCTest::StartSend(const CString& path, TIRCUnit* unit)
{
    sender.AddSendItem(unit, L"bob", path);
    TDCCSendItem* item = sender.GetSendItems().back();
    if (!Pump([&] { return item->GetState() == DCC_STATE_RESUMING || item->GetState() == DCC_STATE_ERROR; }) ||
        item->GetState() != DCC_STATE_RESUMING)
        return nullptr;
    return item;
}

TDCCReceiveItem* TDCCTest::AddReceive(const CString& name, int port, long long size, bool accept, const wchar_t* nick,
                                      int mode)
{
    receiver.AddReceiveItem(nullptr, mode, accept, nick, name, port, size, Loopback());
    return receiver.GetReceiveItems().back();
}

TDCCReceiveItem* TDCCTest::Offer(TDCCSendItem* send, bool accept, const CString& name)
{
    return AddReceive(name.IsEmpty() ? send->GetFileName() : name, send->GetPort(), send->GetSize(), accept);
}

bool TDCCTest::Pump(const std::function<bool()>& done, DWORD ms) { return PumpMessagesUntil(done, ms); }
