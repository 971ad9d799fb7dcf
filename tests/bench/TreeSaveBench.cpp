// Copying the server tree back into the settings, as every save of "tree.ini" does: one server
// with more and more channels, then more and more servers. Each doubling should about double the
// time of one copy. Then whole saves of "tree.ini": one of a 1,000-channel tree, and the 300 saves
// that 300 own JOINs of new channels into that tree make.

#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"
#include "tests/world/common/TestWorldFrame.h"
#include "world/IRCWorld.h"

#include <string>

#include <commctrl.h>

namespace {

// A size whose one copy took longer than this is the last one tried: the next would only wait.
const double kGiveUpSeconds = 20;

// Trees that lost nodes or could not be made: a fast copy that drops channels is no result, so
// the run fails.
int failures = 0;

void AddChannels(TUnitConfig& unit, int channels)
{
    for (int c = 0; c < channels; c++) {
        unit.Channels.emplace_back();
        unit.Channels.back().Name.Format(L"#channel%04d", c);
    }
}

void FeedLine(TIRCUnit& unit, const std::string& line)
{
    TIRCReceiveMessageA message;
    message.rawLine = CStringA(line.data(), (int)line.size());
    message.Parse();
    unit.OnReceive(&unit.GetConnection(), &message);
}

// One server of `channels` channels: the seconds of one whole save, and of `joins` own JOINs of
// channels the tree does not hold yet (each stores the tree).
void TimeSaves(int channels, int joins, double& oneSave, double& allJoins)
{
    oneSave = allJoins = -1;
    TTempFolder folder;
    TConfig config;
    PrepareConfig(config, folder.path);
    TUnitConfig record;
    record.Name = L"server";
    record.Nick = L"kvbench";
    AddChannels(record, channels);
    config.world.Units.push_back(record);
    TTestWorldFrame frame;
    if (!frame.Create(config)) {
        printf("the window could not be made\n");
        failures++;
        return;
    }
    {
        TIRCWorld world(&config, &frame, nullptr);
        world.Attach(&frame);
        world.CreateUnitsFromSettings();
        TIRCUnit* unit = world.GetUnits()[0];
        TBenchClock saveClock;
        int saves = 0;
        do {
            world.SaveServerTree();
            saves++;
        } while (saveClock.Seconds() < 0.5);
        oneSave = saveClock.Seconds() / saves;

        FeedLine(*unit, ":irc.bench 001 kvbench :Welcome");
        TBenchClock joinClock;
        for (int j = 0; j < joins; j++)
            FeedLine(*unit, ":kvbench!u@h JOIN :#joined" + std::to_string(j));
        allJoins = joinClock.Seconds();
        TConfig reread;
        reread.settingsFolder = folder.path;
        reread.LoadServerTree();
        size_t saved = reread.world.Units.size() == 1 ? reread.world.Units[0].Channels.size() : 0;
        if (saved != (size_t)(channels + joins)) {
            printf("the saved tree lost channels: %d of %d\n", (int)saved, channels + joins);
            failures++;
        }
        world.Shutdown();
    }
    frame.DestroyWindow();
}

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
        AddChannels(unit, channels);
        config.world.Units.push_back(unit);
    }
    TTestWorldFrame frame;
    if (!frame.Create(config)) {
        printf("the window could not be made\n");
        failures++;
        return -1;
    }
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
        if (copy.Units.size() != (size_t)servers || copy.Units.back().Channels.size() != (size_t)channels) {
            printf("the copy lost nodes: %d servers\n", (int)copy.Units.size());
            failures++;
        }
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
    double oneSave = 0, allJoins = 0;
    TimeSaves(1000, 300, oneSave, allJoins);
    printf("%-40s %10.3f ms per save\n", "save of one server, 1000 channels", oneSave * 1000);
    printf("%-40s %10.3f s in all, %.3f ms per JOIN\n", "300 own JOINs into 1000 channels", allJoins,
           allJoins * 1000 / 300);
    return failures == 0 ? 0 : 1;
}
