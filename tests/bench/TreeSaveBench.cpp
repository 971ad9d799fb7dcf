// Copying the server tree back into the settings, as every save of "tree.ini" does: one server
// with more and more channels, then more and more servers. Each doubling should about double the
// time of one copy.

#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"
#include "tests/world/common/TestWorldFrame.h"
#include "world/IRCWorld.h"

#include <commctrl.h>

namespace {

// A size whose one copy took longer than this is the last one tried: the next would only wait.
const double kGiveUpSeconds = 20;

// Seconds for one copy of the tree of `servers` servers with `channels` channels each.
double TimeOneCopy(int servers, int channels)
{
    TTempFolder folder;
    TConfig config;
    PrepareConfig(config, folder.path);
    for (int s = 0; s < servers; s++) {
        TUnitConfig unit;
        unit.Name.Format(L"server%03d", s);
        unit.Nick = L"kvbench";
        for (int c = 0; c < channels; c++) {
            unit.Channels.emplace_back();
            unit.Channels.back().Name.Format(L"#channel%04d", c);
        }
        config.world.Units.push_back(unit);
    }
    TTestWorldFrame frame;
    if (!frame.Create(config))
        return -1;
    double seconds = 0;
    {
        TIRCWorld world(&config, &frame, nullptr);
        world.Attach(&frame);
        world.CreateUnitsFromSettings();
        TWorldConfig copy;
        TBenchClock clock;
        int copies = 0;
        do {
            world.StoreServerTree(copy);
            copies++;
        } while (clock.Seconds() < 0.5);
        seconds = clock.Seconds() / copies;
        if (copy.Units.size() != (size_t)servers || copy.Units.back().Channels.size() != (size_t)channels)
            printf("the copy lost nodes: %d servers\n", (int)copy.Units.size());
        world.Shutdown();
    }
    frame.DestroyWindow();
    return seconds;
}

void Report(const char* what, int servers, int channels, double& previous)
{
    if (previous > kGiveUpSeconds) {
        printf("%-40s skipped: the smaller tree took %.1f s\n", what, previous);
        return;
    }
    double seconds = TimeOneCopy(servers, channels);
    printf("%-40s %10.3f ms per copy", what, seconds * 1000);
    if (previous > 0)
        printf("  (x%.1f the half size)", seconds / previous);
    printf("\n");
    fflush(stdout);
    previous = seconds;
}

} // namespace

int main()
{
    InitCommonControls();
    char what[64];
    double previous = 0;
    for (int channels : {125, 250, 500, 1000}) {
        snprintf(what, sizeof what, "one server, %d channels", channels);
        Report(what, 1, channels, previous);
    }
    previous = 0;
    for (int servers : {25, 50, 100}) {
        snprintf(what, sizeof what, "%d servers, 10 channels each", servers);
        Report(what, servers, 10, previous);
    }
    return 0;
}
