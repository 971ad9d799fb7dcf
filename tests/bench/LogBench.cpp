// Compose, wrap and append to a log file: 100,000 varied channel lines through the log text
// engine, reported as lines per second and peak memory.

#include "foundation/IrcMarkup.h"
#include "log/AddressFinder.h"
#include "log/FileLogger.h"
#include "log/LogLineStore.h"
#include "settings/LogKeyword.h"
#include "settings/Preference.h"
#include "settings/ViewConfig.h"

#include <psapi.h>

#include <cstdio>
#include <vector>

namespace {

const int kLines = 100000;
// Distinct bodies, taken in turn: the input stays small, so peak memory is the engine's.
const int kDistinct = 4096;

// Channel talk as it comes: plain chat, colours, URLs, hosts, Japanese and keywords mixed.
std::vector<CString> MakeBodies()
{
    const wchar_t* words[] = {L"hello",
                              L"the",
                              L"server",
                              L"\u65e5\u672c\u8a9e",
                              L"\u3053\u3093\u306b\u3061\u306f",
                              L"build",
                              L"works",
                              L"again",
                              L"http://example.org/path/to?x=1",
                              L"irc.example.net",
                              L"10.0.0.1",
                              L"ketroval",
                              L"\x03"
                              L"4,1red\x03",
                              L"\x02"
                              L"bold\x02",
                              L"(smile)",
                              L"\u30c6\u30b9\u30c8\u3067\u3059\u3002",
                              L"https://w.example.com/a_(b)",
                              L"nick:"};
    const int count = sizeof words / sizeof words[0];
    std::vector<CString> bodies;
    unsigned seed = 1;
    for (int i = 0; i < kDistinct; i++) {
        CString body;
        int n = 3 + (int)((seed = seed * 1103515245 + 12345) >> 16) % 14;
        for (int k = 0; k < n; k++) {
            seed = seed * 1103515245 + 12345;
            body += words[(seed >> 16) % count];
            body += L' ';
        }
        bodies.push_back(body);
    }
    return bodies;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

} // namespace

int main()
{
    std::vector<CString> bodies = MakeBodies();
    TViewSettings view;
    view.SetDefaults();
    TLogTextTheme theme;
    theme.Apply(view.logText);
    TLogBkTheme back;
    TLogKeyword keyword;
    keyword.Like = {L"ketroval", L"\u30c6\u30b9\u30c8"};
    TLogAddressFinder finder;
    TLogDrawContext context;
    context.textTheme = &theme;
    context.backTheme = &back;
    context.keyword = &keyword;
    context.addressFinder = &finder;
    TLogLineStore store(&context);
    store.limit = 1000;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    TPreference prefs;
    prefs.Load(CString(temp) + L"kv2bench-none\\");
    prefs.LogRootDir = CString(temp) + L"kv2bench-logs\\";
    TFileLogger logger;
    logger.preferences = &prefs;
    logger.enabled = true;
    logger.SetServerName(L"bench");
    logger.SetChannelName(L"#bench");

    HDC dc = CreateCompatibleDC(nullptr);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    TLogLineData data;
    data.timeText = L"12:34 ";
    data.nickPrefix = L"(someone) ";
    data.nick = L"someone";
    bool written = true;
    for (int i = 0; i < kLines; i++) {
        data.body = bodies[i % kDistinct];
        store.AddLine(data, true);
        store.GetLine(store.GetCount() - 1).Layout(dc, 800);
        written &= logger.WriteLine(data.timeText + data.nickPrefix + data.body);
    }
    QueryPerformanceCounter(&end);
    CString path = logger.GetCurrentPath();
    logger.Close();
    DeleteDC(dc);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    double seconds = Seconds(start, end);
    printf("log compose+wrap+append: %d lines in %.3f s = %.0f lines/s; peak working set %.1f MB%s\n", kLines, seconds,
           kLines / seconds, memory.PeakWorkingSetSize / 1048576.0, written ? "" : " (WRITE FAILED)");
    DeleteFileW(path);
    return written ? 0 : 1;
}
