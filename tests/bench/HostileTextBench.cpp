// The paths that once took quadratic time on text we do not control, fed a megabyte of their
// worst pattern: colour tags that look far ahead, MODE texts of many words, settings files of
// many short lines; and the files users pass on: a theme whose join format multiplies its
// letter, an old settings folder of many servers and auto-op groups, macro texts of functions
// that never close.

#include "foundation/File.h"
#include "foundation/IrcMarkup.h"
#include "foundation/Path.h"
#include "ircproto/Modes.h"
#include "legacy/LegacyImport.h"
#include "log/Formatter.h"
#include "macro/MacroManager.h"
#include "settings/Config.h"
#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"

namespace {

CString Repeat(const wchar_t* piece, int bytes)
{
    CString out;
    int length = (int)wcslen(piece);
    for (int i = 0; i < bytes / length; i++)
        out += piece;
    return out;
}

void BenchMarkup()
{
    CString text = Repeat(L"<color ", 1 << 20);
    TBenchClock clock;
    CString out = ConvertMarkupToControlCodes(text);
    ReportRate("markup, 1 MB of unclosed colour tags", text.GetLength(), "chars", clock.Seconds());
}

void BenchModePenalty()
{
    CString text = Repeat(L"a ", 1 << 20);
    TBenchClock clock;
    int penalty = CountModePenalty(text);
    ReportRate("MODE penalty, 1 MB of words", text.GetLength(), "chars", clock.Seconds());
    if (penalty != 1)
        printf("  wrong penalty %d\n", penalty);
}

void BenchTextFile()
{
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"kvb", 0, path);
    const int lines = 131000;
    {
        TTextFile out(CP_UTF8, true);
        out.Open(path, GENERIC_WRITE, CREATE_ALWAYS, 0, FILE_ATTRIBUTE_NORMAL);
        CStringA block;
        for (int i = 0; i < lines; i++)
            block.AppendFormat("Key%d=value\r\n", i);
        out.WriteRawLine(block);
    }
    TTextFile in(CP_UTF8, true);
    in.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
    TBenchClock clock;
    int count = 0;
    for (CString line; in.ReadLine(line);)
        count++;
    ReportRate("settings file, 131,000 lines read", count, "lines", clock.Seconds());
    in.Close();
    DeleteFileW(path);
}

void BenchThemeJoin(int copies)
{
    CString pattern = Repeat(L"%9999n", copies * 6);
    TFormatter f;
    f.SetVariable('n', L"nick");
    TBenchClock clock;
    CString line = f.Format(pattern);
    char what[96];
    snprintf(what, sizeof what, "theme join %%9999n x %d, %d chars made", copies, line.GetLength());
    ReportRate(what, pattern.GetLength(), "chars", clock.Seconds());
}

void BenchTakeOver(int servers, int groups)
{
    TTempFolder temp;
    CString folder = temp.path;
    CreateFolderTree(folder + L"Config\\");
    CStringA profile = "[Root]\r\n";
    profile.AppendFormat("ProfileCount=%d\r\n", servers);
    for (int i = 0; i < servers; i++)
        profile.AppendFormat("Name%d=s%d\r\n", i, i);
    CStringA autoOp;
    for (int i = 0; i < groups; i++)
        autoOp.AppendFormat("#g%d\r\n *!*@g.jp\r\n", i);
    WriteFileBytes(folder + L"Config\\jim-profile.ini", profile);
    WriteFileBytes(folder + L"Config\\jim-autoop.kcf", autoOp);
    TConfig config;
    config.SetLegacyFolder(folder);
    config.legacyProfileName = L"jim";
    TBenchClock clock;
    ImportLegacyProfiles(config);
    ImportLegacyAutoOp(config);
    double seconds = clock.Seconds();
    long long channels = 0;
    for (const TUnitConfig& unit : config.world.Units)
        channels += (long long)unit.Channels.size();
    char what[96];
    snprintf(what, sizeof what, "take-over %d servers x %d groups, %lld channels", servers, groups, channels);
    ReportRate(what, profile.GetLength() + autoOp.GetLength(), "bytes", seconds);
}

void BenchMacroText(const wchar_t* piece, int copies)
{
    TMacroManager engine;
    CString text = Repeat(piece, copies * (int)wcslen(piece));
    TBenchClock clock;
    engine.ExpandText(text, true);
    char what[96];
    snprintf(what, sizeof what, "macro text %ls x %d", piece, copies);
    ReportRate(what, copies, "functions", clock.Seconds());
}

} // namespace

int main()
{
    BenchMarkup();
    BenchModePenalty();
    BenchTextFile();
    for (int scale : {1, 2})
        BenchTakeOver(800, 4000 * scale);
    for (const wchar_t* piece : {L"$DIC(x)", L"$REPLACE(x)", L"$ENCODEURL(x"})
        for (int copies : {16000, 32000})
            BenchMacroText(piece, copies);
    // The largest last: without a bound on the whole line it does not come back.
    for (int copies : {1000, 30000})
        BenchThemeJoin(copies);
    return 0;
}
