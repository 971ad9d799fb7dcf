// The log view in a shown window: a channel flood of 100,000 lines into a view that keeps 1,000,
// painted as the message loop would between socket reads; then full repaints of a 1920x1080
// view of wrapped, coloured lines, and of one over a tiled background picture as lines arrive.

#include "BenchLines.h"
#include "classlib/App.h"
#include "log/AddressFinder.h"
#include "logview/LogView.h"
#include "settings/LogKeyword.h"
#include "settings/ViewConfig.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double WorkingSetMB(bool peak)
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return (peak ? memory.PeakWorkingSetSize : memory.WorkingSetSize) / 1048576.0;
}

struct TBench {
    TViewSettings settings;
    TLogTheme theme;
    TLogKeyword keyword;
    TLogAddressFinder finder;
    CWnd frame;
    TLogView view;
    std::vector<CString> bodies = MakeBodies();
    TLogLineData data;

    TBench(int width, int height)
    {
        settings.SetDefaults();
        theme.text.Apply(settings.logText);
        keyword.Like = {L"ketroval", L"\u30c6\u30b9\u30c8"};
        RECT rect = {0, 0, width, height};
        AdjustWindowRect(&rect, WS_POPUP, FALSE);
        frame.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 0, 0, rect.right - rect.left,
                       rect.bottom - rect.top, nullptr, nullptr);
        view.Create(&theme.text, &theme.channelLogBack, frame, 70001, &keyword, &finder, false);
        view.MoveWindow(0, 0, width, height);
        view.ShowWindow(SW_SHOW);
        data.timeText = L"12:34 ";
        data.nickPrefix = L"(someone) ";
        data.nick = L"someone";
        PumpPending();
    }
    void Add(int i, int parts = 1)
    {
        data.body = bodies[i % kDistinct];
        for (int k = 1; k < parts; k++)
            data.body += bodies[(i + k * 31) % kDistinct];
        data.lineType = i % 5 == 4 ? 1 : 0;
        view.AddLine(data, true);
    }
};

// The program's message loop between socket reads: everything queued is handled, the view's
// paint among it when one is due; the time spent painting is added up apart.
struct TPump {
    HWND view = nullptr;
    double painting = 0;
    int paints = 0;

    void Run()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            if (msg.message != WM_PAINT || msg.hwnd != view) {
                DispatchMessageW(&msg);
                continue;
            }
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            DispatchMessageW(&msg);
            QueryPerformanceCounter(&t1);
            painting += Seconds(t0, t1);
            paints++;
        }
    }
};

// Lines arrive in batches of one socket read (64 KB, some 500 channel lines) and the message loop
// runs between batches, as it does in the program; the view paints when it sees fit. The time
// ends when the last line has been painted.
void Flood(int lines, int batch)
{
    TBench bench(800, 600);
    bench.view.maxLines = 1000;
    TPump pump;
    pump.view = bench.view;
    LARGE_INTEGER start, end, t0, t1;
    double atLimit = 0, pumping = 0;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < lines; i++) {
        bench.Add(i);
        if ((i + 1) % batch == 0) {
            QueryPerformanceCounter(&t0);
            pump.Run();
            QueryPerformanceCounter(&t1);
            pumping += Seconds(t0, t1);
        }
        if (i + 1 == 10000)
            atLimit = WorkingSetMB(false);
    }
    QueryPerformanceCounter(&t0);
    while (bench.view.IsPaintDue()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        pump.Run();
    }
    QueryPerformanceCounter(&end);
    pumping += Seconds(t0, end);
    const double seconds = Seconds(start, end);
    printf("log view flood, limit 1000, message loop every %d lines: %d lines in %.3f s = %.0f lines/s; ", batch, lines,
           seconds, lines / seconds);
    if (atLimit > 0)
        printf("working set %.1f MB at 10,000 lines, ", atLimit);
    printf("%.1f MB at %d; peak %.1f MB\n", WorkingSetMB(false), lines, WorkingSetMB(true));
    printf("  of which %d paints %.3f s, the rest of the message loop (Wine's flush to X) %.3f s, adding lines "
           "%.3f s\n",
           pump.paints, pump.painting, pumping - pump.painting, seconds - pumping);
}

enum TRepaint {
    FROM_KEPT_PICTURE, // the window uncovered: copied from the kept picture
    EVERY_ROW,         // anything else about the picture changed: every row is drawn again
    EVERY_ROW_WRAPPED, // fonts or width changed: every visible line is wrapped and drawn again
};

void Repaint(TRepaint kind)
{
    static const char* const kNames[] = {"from the kept picture", "drawing every row",
                                         "drawing every row with every visible line wrapped again"};
    TBench bench(1920, 1080);
    for (int i = 0; i < 2000; i++)
        bench.Add(i * 7 + 3, 6); // long enough to wrap at 1920 pixels
    bench.view.ScrollToEnd();
    UpdateWindow(bench.view);
    const int rounds = 200;
    double seconds = 0;
    for (int i = 0; i < rounds; i++) {
        if (kind == EVERY_ROW) // words found nowhere: the picture changes, the text does not
            bench.view.SetSearchWords({i % 2 ? L"\u2603\u2603" : L"\u2604\u2604"});
        if (kind == EVERY_ROW_WRAPPED)
            bench.view.ResetLayout();
        InvalidateRect(bench.view, nullptr, FALSE);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        UpdateWindow(bench.view);
        QueryPerformanceCounter(&end);
        seconds += Seconds(start, end);
    }
    const TLogRowPos top = bench.view.GetTopPosition();
    int rows = 0;
    for (int i = top.line; i < bench.view.GetLineCount(); i++)
        rows += bench.view.GetLine(i).GetRowCount();
    printf("log view full repaint 1920x1080 %s: %.2f ms per paint (%d lines in %d rows)\n", kNames[kind],
           seconds * 1000 / rounds, bench.view.GetLineCount() - top.line, rows);
}

// A maximised channel log with a tiled background picture of size x size pixels: each line that
// arrives paints the whole view again, picture and rows.
void TiledBackground(int size)
{
    TBench bench(1920, 1080);
    BITMAPINFOHEADER header = {};
    void* pixels = nullptr;
    HBITMAP bitmap = CreateImageSection(size, size, header, pixels);
    BYTE* bytes = static_cast<BYTE*>(pixels);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size * 3; x++)
            bytes[y * GetImageStride(size) + x] = (BYTE)(0xE0 + (x + y) % 32);
    bench.theme.channelLogBack.picture.SetBitmap(bitmap, &header, pixels);
    bench.theme.channelLogBack.style = kBackTile;
    for (int i = 0; i < 100; i++)
        bench.Add(i);
    TPump pump;
    pump.view = bench.view;
    bench.view.ScrollToEnd();
    const int lines = 40;
    for (int i = 0; i < lines; i++) {
        bench.Add(100 + i);
        while (bench.view.IsPaintDue()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            pump.Run();
        }
    }
    printf("log view 1920x1080 with a %dx%d tiled background, %d lines arriving one at a time: %d paints, %.2f ms "
           "per paint\n",
           size, size, lines, pump.paints, pump.paints ? pump.painting * 1000 / pump.paints : 0.0);
}
} // namespace

int main(int argc, char** argv)
{
    // A smaller count for a quick look: bench_logview 10000
    const int lines = argc > 1 ? atoi(argv[1]) : 100000;
    Flood(lines, 500);
    Flood(lines / 50, 1);
    Repaint(FROM_KEPT_PICTURE);
    Repaint(EVERY_ROW);
    Repaint(EVERY_ROW_WRAPPED);
    TiledBackground(64);
    TiledBackground(1);
    return 0;
}
