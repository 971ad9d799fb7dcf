// Events per second through a server unit whose macro engine holds three files of 100 rules
// each: PRIVMSG, JOIN and numeric lines fed as the connection hands them over. The engine alone
// is timed beside it, and a rule's log of 64 MB taking lines on its end.

#include "foundation/CodePage.h"
#include "irc/IRCUnit.h"
#include "settings/Preference.h"
#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"

#include <string>

namespace {

const int kFiles = 3;
const int kRulesPerFile = 100;
const int kEvents = 30000;

// Rules as users write them: user masks, event names, channels, message masks with variables;
// one rule per file matches a tenth of the lines and prints.
std::string MakeRules(int file)
{
    std::string text = "1\tEncoding=UTF-8\r\n";
    for (int i = 0; i < kRulesPerFile; i++) {
        std::string n = std::to_string(file * 1000 + i);
        std::string rule;
        switch (i % 4) {
        case 0:
            rule = "0\t\t\t*!*@host" + n + ".example\tPRIVMSG\t#chan*\t*word" + n + "*\t0\t0\tprint\t%c\t%n";
            break;
        case 1:
            rule = "0\t\t\t$NOT %g1|*\tJOIN|PART\t#room" + n + "\t\t0\t0\tprint\t%c\t%n";
            break;
        case 2:
            rule = "0\t\t\tnick" + n + "!*@*\tCTCP*\t*\tVERSION*\t0\t0\tctcpreply\t%n\tv";
            break;
        default:
            rule = "0\t\t\t*\tPRIVMSG|NOTICE\t%u\t*secret" + n + "*\t1\t0\tprint\t\t%m";
            break;
        }
        if (i == kRulesPerFile - 1)
            rule = "0\t\t\t*\tPRIVMSG\t#chan1\t*tenth*\t0\t0\tprint\t%c\tseen %n";
        text += rule + "\t0\r\n";
    }
    return text;
}

std::string MakeLine(int i)
{
    std::string n = std::to_string(i % 97);
    switch (i % 5) {
    case 0:
        return ":joiner" + n + "!u@h" + n + ".example JOIN :#chan" + std::to_string(i % 3);
    case 1:
        return ":irc.bench 372 kvbench :- message of the day line " + n;
    default:
        return ":nick" + n + "!user@host" + n + ".example PRIVMSG #chan" + std::to_string(i % 3) + " :some words " +
               (i % 10 == 2 ? "tenth " : "") + "and more text for the masks " + n;
    }
}

void FeedLine(TIRCUnit& unit, const std::string& line)
{
    TIRCReceiveMessageA message;
    message.rawLine = CStringA(line.data(), (int)line.size());
    message.Parse();
    unit.OnReceive(&unit.GetConnection(), &message);
}

} // namespace

int main()
{
    TTempFolder folder;
    CreateDirectoryW(folder.path + L"macros", nullptr);
    CreateDirectoryW(folder.path + L"files", nullptr);
    TUnitSetting settings;
    settings.Name = L"bench";
    settings.Nick = L"kvbench";
    for (int f = 0; f < kFiles; f++) {
        CString name;
        name.Format(L"bench%d", f);
        WriteFileBytes(folder.path + L"macros\\" + name + L".kmf", CStringA(MakeRules(f).c_str()));
        settings.MacroFiles.push_back(name);
    }
    TPreference preference;
    preference.IPResolveMethod = 1;
    TNullUnitListener world;
    TIRCUnit unit(&world, &preference, settings);
    unit.SetMacroFolders(folder.path + L"macros\\", folder.path + L"files\\");
    unit.GetConnection().transport.active = true;
    unit.GetSession().currentNick = L"kvbench";
    unit.GetSession().state = TIRCUnit::StateConnecting;
    unit.OnConnect(&unit.GetConnection());
    FeedLine(unit, ":irc.bench 001 kvbench :Welcome");
    for (int c = 0; c < 3; c++)
        FeedLine(unit, ":kvbench!u@h JOIN :#chan" + std::to_string(c));

    std::vector<std::string> lines;
    for (int i = 0; i < kEvents; i++)
        lines.push_back(MakeLine(i));

    printf("%d files of %d rules, %d events\n", kFiles, kRulesPerFile, kEvents);
    TBenchClock unitClock;
    for (const std::string& line : lines)
        FeedLine(unit, line);
    double unitSeconds = unitClock.Seconds();
    unit.GetConnection().ClearQueues();

    // The same events straight into the engine, without the unit's own handling.
    std::vector<TIRCReceiveMessage> events;
    for (const std::string& line : lines) {
        TIRCReceiveMessageA raw;
        raw.rawLine = CStringA(line.c_str());
        raw.Parse();
        TIRCReceiveMessage event;
        event.prefix = ConvertFromUtf8(raw.prefix);
        event.nick = ConvertFromUtf8(raw.nick);
        event.user = ConvertFromUtf8(raw.user);
        event.host = ConvertFromUtf8(raw.host);
        event.command = ConvertFromUtf8(raw.command);
        for (const CStringA& param : raw.params)
            event.params.push_back(ConvertFromUtf8(param));
        events.push_back(event);
    }
    TMacroManager& engine = unit.GetMacroManager();
    int ran = 0;
    TBenchClock engineClock;
    for (const TIRCReceiveMessage& event : events)
        ran += engine.ProcessEvent(event, L"kvbench");
    double engineSeconds = engineClock.Seconds();

    // A rule's log that has grown large takes each line on its end; the first line reads it once.
    CStringA log;
    log.Preallocate(64 << 20);
    while (log.GetLength() < (64 << 20))
        log += "a line the macros wrote some time ago\r\n";
    WriteFileBytes(folder.path + L"files\\big.log", log);
    TMacroItem append;
    append.action = L"appendfile";
    append.target = L"big.log";
    append.argument = L"%n: %m";
    const int kLogLines = 500;
    TBenchClock logClock;
    for (int i = 0; i < kLogLines; i++)
        engine.RunAction(&append, false);
    double logSeconds = logClock.Seconds();

    ReportRate("events through the unit (3 x 100 rules)", kEvents, "events", unitSeconds);
    ReportRate("events through the engine alone", kEvents, "events", engineSeconds);
    ReportRate("lines appended to a 64 MB log", kLogLines, "lines", logSeconds);
    printf("rules that ran on %d of %d events\n", ran, kEvents);
    return ran > 0 ? 0 : 1;
}
