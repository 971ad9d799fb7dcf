// Compose, wrap and append to a log file: 100,000 varied channel lines through the log text
// engine, reported as lines per second and peak memory.

#include "BenchLines.h"
#include "foundation/CodePage.h"
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

// Processor seconds (user and kernel) this thread has used: on a busy machine the clock also
// counts the time other processes had the core.
double ThreadSeconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

// Seconds that body takes; its processor seconds go to cpu when given.
template <typename Body> double Time(Body body, double* cpu = nullptr)
{
    LARGE_INTEGER start, end;
    double cpuStart = ThreadSeconds();
    QueryPerformanceCounter(&start);
    body();
    QueryPerformanceCounter(&end);
    if (cpu)
        *cpu = ThreadSeconds() - cpuStart;
    return Seconds(start, end);
}

// The engine as a channel log uses it: a view's lines with their context, and the channel's file.
struct TBenchLog {
    TBenchLog(const CString& folder) : store(&context)
    {
        view.SetDefaults();
        theme.Apply(view.logText);
        keyword.Like = {L"ketroval", L"\u30c6\u30b9\u30c8"};
        context.textTheme = &theme;
        context.backTheme = &back;
        context.keyword = &keyword;
        context.addressFinder = &finder;
        store.limit = 1000;
        prefs.Load(folder + L"kv2bench-none\\");
        prefs.LogRootDir = folder + L"kv2bench-logs\\";
        logger.preferences = &prefs;
        logger.enabled = true;
        logger.SetServerName(L"bench");
        logger.SetChannelName(L"#bench");
        data.timeText = L"12:34 ";
        data.nickPrefix = L"(someone) ";
        data.nick = L"someone";
    }
    ~TBenchLog()
    {
        CString path = logger.GetCurrentPath();
        logger.Close();
        DeleteFileW(path);
    }

    void Compose(const CString& body)
    {
        data.body = body;
        store.AddLine(data, true);
    }
    void Layout(HDC dc) { store.GetLine(store.GetCount() - 1).Layout(dc, 800); }
    // The file's line as a caller keeps it: in one buffer reused for every line.
    bool Write()
    {
        // Emptied, not assigned: an assigned copy would share the prefix's buffer and leave it.
        fileLine.Empty();
        fileLine += data.timeText;
        fileLine += data.nickPrefix;
        fileLine += data.body;
        return logger.WriteLine(fileLine);
    }

    TViewSettings view;
    TLogTextTheme theme;
    TLogBkTheme back;
    TLogKeyword keyword;
    TLogAddressFinder finder;
    TLogDrawContext context;
    TLogLineStore store;
    TPreference prefs;
    TFileLogger logger;
    TLogLineData data;
    CString fileLine;
};

// Seconds per line of each stage alone, so a change shows where it helped.
struct TStageTimes {
    double compose = 0, layout = 0, write = 0, writeFile = 0;
};

TStageTimes TimeStages(const std::vector<CString>& bodies, const CString& folder, HDC dc, bool& written)
{
    TStageTimes times;
    TBenchLog log(folder);
    times.compose = Time([&] {
        for (int i = 0; i < kLines; i++)
            log.Compose(bodies[i % kDistinct]);
    });
    times.layout = Time([&] {
        for (int round = 0; round < kLines / log.store.limit; round++) {
            log.context.layoutGeneration++;
            for (int k = 0; k < log.store.GetCount(); k++)
                log.store.GetLine(k).Layout(dc, 800);
        }
    });
    times.write = Time([&] {
        for (int i = 0; i < kLines; i++) {
            log.data.body = bodies[i % kDistinct];
            written &= log.Write();
        }
    });
    // The floor under append: the same bytes with one WriteFile each and nothing else.
    std::vector<CStringA> lines;
    for (int i = 0; i < kDistinct; i++)
        lines.push_back(
            ConvertToCodePage(StripControlCodes(log.data.timeText + log.data.nickPrefix + bodies[i]), CP_UTF8) +
            "\r\n");
    HANDLE file = log.logger.GetHandle();
    times.writeFile = Time([&] {
        for (int i = 0; i < kLines; i++) {
            const CStringA& bytes = lines[i % kDistinct];
            DWORD done = 0;
            written &= WriteFile(file, bytes.GetString(), (DWORD)bytes.GetLength(), &done, nullptr) != 0;
        }
    });
    return times;
}

} // namespace

int main()
{
    std::vector<CString> bodies = MakeBodies();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    HDC dc = CreateCompatibleDC(nullptr);
    bool written = true;
    double seconds, cpu;
    {
        TBenchLog log(temp);
        seconds = Time(
            [&] {
                for (int i = 0; i < kLines; i++) {
                    log.Compose(bodies[i % kDistinct]);
                    log.Layout(dc);
                    written &= log.Write();
                }
            },
            &cpu);
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    TStageTimes stages = TimeStages(bodies, temp, dc, written);
    DeleteDC(dc);
    printf("log compose+wrap+append: %d lines in %.3f s = %.0f lines/s; peak working set %.1f MB%s\n", kLines, seconds,
           kLines / seconds, memory.PeakWorkingSetSize / 1048576.0, written ? "" : " (WRITE FAILED)");
    printf("  processor time %.3f s = %.0f lines per processor second\n", cpu, kLines / cpu);
    printf("  per line alone: compose %.2f us, wrap %.2f us, append %.2f us (WriteFile alone %.2f us)\n",
           stages.compose * 1e6 / kLines, stages.layout * 1e6 / kLines, stages.write * 1e6 / kLines,
           stages.writeFile * 1e6 / kLines);
    return written ? 0 : 1;
}
