// Member lists under load: a NAMES burst of 10,000 members into one channel, a storm of 100,000
// JOIN, PART and QUIT lines whose time per line must not grow with the channel, and the engine's
// share of a 100,000-member channel's NAMES, WHO and netsplit.

#include "irc/IRCUnit.h"
#include "settings/Preference.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

struct TBenchUnit {
    TBenchUnit()
    {
        preference.Load(L"Z:\\nonexistent-ketroval-bench");
        preference.IPResolveMethod = 1;
        settings.Name = L"bench";
        settings.Nick = L"me";
        unit = new TIRCUnit(nullptr, &preference, settings);
        unit->GetConnection().transport.active = true;
        TIRCUnitSession& session = unit->GetSession();
        session.currentNick = L"me";
        session.state = TIRCUnit::StateLoggedIn;
    }
    ~TBenchUnit() { delete unit; }

    void Feed(const std::string& line)
    {
        TIRCReceiveMessageA message;
        message.rawLine = CStringA(line.data(), (int)line.size());
        message.Parse();
        unit->OnReceive(&unit->GetConnection(), &message);
        unit->GetConnection().ClearQueues();
    }

    TPreference preference;
    TUnitSetting settings;
    TIRCUnit* unit;
};

// 10,000 names in NAMES lines of about 400 bytes, as servers send them.
std::vector<std::string> MakeNamesBurst(int members)
{
    std::vector<std::string> lines;
    std::string line;
    const char* prefixes[] = {"", "@", "+", "", "%"};
    for (int i = 0; i < members; i++) {
        if (line.empty())
            line = ":irc.example 353 me = #big :";
        line += std::string(prefixes[i % 5]) + "member" + std::to_string(i) + " ";
        if (line.size() > 400) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void BenchNames()
{
    const int kMembers = 10000;
    std::vector<std::string> burst = MakeNamesBurst(kMembers);
    double best = 1e9;
    int count = 0;
    for (int round = 0; round < 5; round++) {
        TBenchUnit bench;
        bench.Feed(":me!u@h JOIN #big");
        double start = Now();
        for (const std::string& line : burst)
            bench.Feed(line);
        bench.Feed(":irc.example 366 me #big :End of NAMES");
        double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
        count = bench.unit->FindChannelByIRCName(L"#big")->GetMembers().GetCount();
    }
    printf("NAMES burst: %d members in %zu lines, best of 5: %.1f ms\n", count, burst.size(), best * 1000);
    double t0 = Now();
    {
        TIRCMemberManager members(nullptr);
        CString nick;
        for (int i = 0; i < kMembers; i++) {
            nick.Format(L"member%d", i);
            TIRCMember m;
            m.nick = nick;
            members.AddMember(m, true);
        }
    }
    printf("  the member list alone, 10,000 adds and the clear: %.1f ms\n", (Now() - t0) * 1000);
}

void BenchStorm()
{
    const int kLines = 100000, kBlock = 10000;
    TBenchUnit bench;
    bench.Feed(":me!u@h JOIN #storm");
    bench.Feed(":me!u@h JOIN #other");
    // Joins outnumber leaves, so the channel grows through the run.
    double start = Now(), blockStart = start;
    for (int i = 0; i < kLines; i++) {
        int kind = i % 4;
        std::string nick = "user" + std::to_string(kind == 0 ? i : i / 2);
        if (kind <= 1)
            bench.Feed(":" + nick + "!id@host" + std::to_string(i % 97) + ".example JOIN #storm");
        else if (kind == 2)
            bench.Feed(":" + nick + "!id@h PART #storm :bye");
        else
            bench.Feed(":" + nick + "!id@h QUIT :gone");
        if ((i + 1) % kBlock == 0) {
            double now = Now();
            printf("storm lines %6d-%6d: %.2f us/line, channel holds %d\n", i + 1 - kBlock, i + 1,
                   (now - blockStart) * 1e6 / kBlock,
                   bench.unit->FindChannelByIRCName(L"#storm")->GetMembers().GetCount());
            blockStart = now;
        }
    }
    printf("storm: %d lines in %.1f ms\n", kLines, (Now() - start) * 1000);
}

// The engine's share of a 100,000-member channel: its NAMES, the WHO after it and a netsplit of
// 30,000 QUITs, without a window.
void BenchBigChannel()
{
    const int kMembers = 100000, kQuits = 30000;
    std::vector<std::string> names = MakeNamesBurst(kMembers - 1);
    for (std::string& line : names)
        line.replace(line.find("#big"), 4, "#huge");
    std::vector<std::string> who, quits;
    for (int i = 0; i < kMembers - 1; i++)
        who.push_back(":irc.example 352 me #huge ~u" + std::to_string(i) + " host" + std::to_string(i % 997) +
                      ".example irc.example member" + std::to_string(i) + " H :0 Member " + std::to_string(i));
    for (int i = 0; i < kQuits; i++)
        quits.push_back(":member" + std::to_string(i * 3) + "!u@h QUIT :a.example b.example");
    TBenchUnit bench;
    bench.Feed(":me!u@h JOIN #huge");
    auto time = [&](const char* what, const std::vector<std::string>& lines, const std::string& end) {
        double start = Now();
        for (const std::string& line : lines)
            bench.Feed(line);
        if (!end.empty())
            bench.Feed(end);
        printf("%-40s %8.1f ms, channel holds %d\n", what, (Now() - start) * 1000,
               bench.unit->FindChannelByIRCName(L"#huge")->GetMembers().GetCount());
    };
    time("100,000-member NAMES, no window:", names, ":irc.example 366 me #huge :End of NAMES");
    time("its WHO, no window:", who, ":irc.example 315 me #huge :End of WHO");
    time("30,000 QUITs, no window:", quits, "");
}

} // namespace

int main()
{
    BenchNames();
    BenchStorm();
    BenchBigChannel();
    return 0;
}
