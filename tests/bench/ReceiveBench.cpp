// The receive queue: realistic channel lines written in bursts of one size, then taken as lines.

#include "foundation/MemoryStream.h"
#include "tests/bench/BenchClock.h"

#include <string>

namespace {

// About 133 bytes a line on average, like a busy channel.
std::string MakeTraffic(int lines)
{
    std::string text;
    unsigned seed = 7;
    for (int i = 0; i < lines; i++) {
        seed = seed * 1103515245u + 12345u;
        int words = 4 + (seed >> 16) % 28;
        text +=
            ":nick" + std::to_string(i % 300) + "!user@host" + std::to_string(i % 50) + ".example.net PRIVMSG #chan :";
        for (int w = 0; w < words; w++)
            text += w % 3 ? "word " : "text ";
        text += "\r\n";
    }
    return text;
}

void RunBursts(const std::string& traffic, int lines, int burst)
{
    TMemoryStream queue;
    int taken = 0;
    TBenchClock clock;
    for (size_t pos = 0; pos < traffic.size(); pos += burst) {
        int count = (int)std::min<size_t>(burst, traffic.size() - pos);
        queue.Write(traffic.data() + pos, count);
        while (queue.HasLineEnd()) {
            queue.ReadLine();
            taken++;
        }
    }
    double seconds = clock.Seconds();
    char what[80];
    snprintf(what, sizeof what, "receive queue, %d KiB bursts (%d lines)", burst / 1024, taken);
    ReportRate(what, lines, "lines", seconds);
    if (taken != lines)
        printf("  lost lines: %d of %d taken\n", taken, lines);
}

} // namespace

int main()
{
    const int lines = 100000;
    std::string traffic = MakeTraffic(lines);
    printf("%d lines, %.0f bytes a line on average\n", lines, (double)traffic.size() / lines);
    for (int burst : {4096, 65536, 1048576})
        RunBursts(traffic, lines, burst);
    return 0;
}
