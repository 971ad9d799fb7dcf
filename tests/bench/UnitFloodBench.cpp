// Floods one server unit over a real socket from a local server with channel PRIVMSG lines
// (colours, a URL, Japanese) while the channel's log file is written, and reports lines per
// second and memory.

#include "irc/IRCUnit.h"
#include "log/AddressFinder.h"
#include "log/LogLineStore.h"
#include "settings/Preference.h"
#include "tests/common/TempFolder.h"

#include "foundation/Iso2022Jp.h"

#include <psapi.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

const int kLines = 100000;
const int kViewLimit = 1000;

// Counts the lines the unit has handled: each reaches the macro engine last.
class TEventCounter : public TNullMacroEngine {
public:
    bool ProcessEvent(const TIRCReceiveMessage& message, const CString&) override
    {
        messages += message.command == L"PRIVMSG";
        return false;
    }
    int messages = 0;
};

// The channel's view keeps its usual limit.
class TBenchWorld : public TNullUnitListener {
public:
    TBenchWorld()
    {
        context.addressFinder = &finder;
        context.keyword = &keywords;
        keywords.Like = {L"kvbench"};
        view.limit = kViewLimit;
    }
    // Without views the figures are the engine's and the log file's alone.
    ILogLineSink* GetLogSink(TIRCUnit*, TIRCChannel* channel) override
    {
        if (!composeViews)
            return nullptr;
        return channel ? &view : &serverView;
    }

    bool composeViews = true;

    TLogAddressFinder finder;
    TLogKeyword keywords;
    TLogDrawContext context;
    TLogLineStore view{&context};
    TLogLineStore serverView{&context};
};

std::string MakeFlood()
{
    CStringA japanese = EncodeIso2022Jp(L"\x65E5\x672C\x8A9E\x306E\x30C6\x30B9\x30C8\x3067\x3059", 0);
    std::string jp(japanese.GetString(), japanese.GetLength());
    std::string flood;
    flood.reserve(kLines * 120);
    char line[512];
    for (int i = 0; i < kLines; i++) {
        snprintf(line, sizeof line,
                 ":user%d!~user@host%d.example.jp PRIVMSG #bench :\x03%d,1colour\x03 line %d "
                 "http://example.com/page?id=%d ",
                 i % 50, i % 7, i % 16, i, i);
        flood += line;
        flood += jp;
        flood += "\r\n";
    }
    return flood;
}

SIZE_T WorkingSet(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

bool ReadUntil(SOCKET s, const char* text)
{
    std::string received;
    char buffer[4096];
    while (received.find(text) == std::string::npos) {
        int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        received.append(buffer, n);
    }
    return true;
}

void SendAll(SOCKET s, const std::string& bytes)
{
    for (size_t sent = 0; sent < bytes.size();) {
        int n = send(s, bytes.data() + sent, (int)(bytes.size() - sent), 0);
        if (n <= 0)
            return;
        sent += n;
    }
}

void Serve(SOCKET listener, const std::string* flood)
{
    SOCKET s = accept(listener, nullptr, nullptr);
    if (s == INVALID_SOCKET)
        return;
    if (ReadUntil(s, "USER ")) {
        SendAll(s, ":bench.local 001 kvbench :Welcome\r\n:kvbench!~kv@localhost JOIN :#bench\r\n");
        SendAll(s, *flood);
        // Stay until the client has read everything and leaves.
        char buffer[4096];
        while (recv(s, buffer, sizeof buffer, 0) > 0) {
        }
    }
    closesocket(s);
}

SOCKET Listen(int& port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(s, 1);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

struct TRoundResult {
    int lines = 0;
    double seconds = 0;
    bool logged = false;
    SIZE_T atTenThousand = 0;
    SIZE_T atEnd = 0;
};

TRoundResult RunRound(const std::string& flood, bool composeViews)
{
    TTempFolder folder;
    TPreference preference;
    preference.Load(folder.path);
    preference.IPResolveMethod = 1;
    preference.EnableChannelLog = true;
    preference.EnableUnitLog = true;
    preference.LogRootDir = folder.path + L"logs\\";

    int port = 0;
    SOCKET listener = Listen(port);
    std::thread server(Serve, listener, &flood);

    TUnitSetting settings;
    settings.Name = L"bench";
    settings.Hostname = L"127.0.0.1";
    settings.Port = port;
    settings.Nick = L"kvbench";
    settings.Username = L"kv";
    settings.Realname = L"bench";
    TBenchWorld world;
    world.composeViews = composeViews;
    TIRCUnit unit(&world, &preference, settings);
    TEventCounter counter;
    unit.SetMacroEngine(&counter);
    TChannelConfig config;
    config.Name = L"#bench";
    TIRCChannel* channel = unit.AddChannel(config, TIRCChannel::KindChannel);
    unit.Connect();

    TRoundResult result;
    DWORD start = 0;
    DWORD deadline = GetTickCount() + 120000;
    MSG msg;
    while (counter.messages < kLines && GetTickCount() < deadline && GetMessageW(&msg, nullptr, 0, 0)) {
        DispatchMessageW(&msg);
        if (start == 0 && counter.messages > 0)
            start = GetTickCount();
        if (result.atTenThousand == 0 && counter.messages >= 10000)
            result.atTenThousand = WorkingSet(false);
    }
    result.seconds = (GetTickCount() - start) / 1000.0;
    result.lines = counter.messages;
    result.logged = channel->logger.IsOpen();
    result.atEnd = WorkingSet(false);
    unit.CloseByUser();
    closesocket(listener);
    server.join();
    return result;
}

} // namespace

int main()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::string flood = MakeFlood();
    bool complete = true;
    for (bool views : {false, true}) {
        TRoundResult r = RunRound(flood, views);
        printf("%s: %d of %d lines in %.2f s, %.0f lines/s, channel log file %s\n",
               views ? "engine, log file and composed views" : "engine and log file", r.lines, kLines, r.seconds,
               r.seconds > 0 ? r.lines / r.seconds : 0, r.logged ? "written" : "NOT written");
        printf("  working set %.1f MB at 10,000 lines, %.1f MB at the end\n", r.atTenThousand / 1048576.0,
               r.atEnd / 1048576.0);
        complete = complete && r.lines == kLines;
    }
    printf("peak working set %.1f MB\n", WorkingSet(true) / 1048576.0);
    WSACleanup();
    return complete ? 0 : 1;
}
