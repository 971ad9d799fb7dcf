// The paths that once took quadratic time on text we do not control, fed a megabyte of their
// worst pattern: colour tags that look far ahead, MODE texts of many words, settings files of
// many short lines; and the files users pass on: a theme whose join format multiplies its
// letter, an old settings folder of many servers and auto-op groups, macro texts of functions
// that never close, and macro texts that name files by paths of many steps.

#include "foundation/File.h"
#include "foundation/IrcMarkup.h"
#include "foundation/Path.h"
#include "ircproto/Modes.h"
#include "legacy/LegacyImport.h"
#include "log/Formatter.h"
#include "macro/MacroManager.h"
#include "settings/Config.h"
#include "settings/PopupFile.h"
#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"

#include <algorithm>

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

// The unit's side of the engine, doing nothing: only the engine's own work is timed.
class TQuietUnit : public IMacroManagerListener {
public:
    void OnMacroFileLoadError(const CString&) override {}
    void Print(const CString&, const CString&) override {}
    bool IsSelf(const CString&, const CString&, const CString&) override { return false; }
    bool IsPrefixInUserGroup(int, const CString&, const CString&, const CString&) override { return false; }
    bool IsChannelOperator(const CString&, const CString&) override { return false; }
    bool IsAway() override { return false; }
    CString GetCurrentChannelName() override { return CString(); }
    CString GetSelectedText() override { return CString(); }
    CString GetMyAddressText() override { return CString(); }
    void Execute(const CString&, bool) override {}
    void OpenUrl(const CString&, const CString&) override {}
    void ExecuteCommand(const CString&, bool, bool) override {}
    void GiveOp(const CString&, const CString&) override {}
    void PlaySound(const CString&) override {}
    void SelectChannel(const CString&) override {}
    void SetChannelCondition(const CString&, const CString&) override {}
    void WindowAction(const CString&) override {}
    void ExecuteMenu(const CString&) override {}
    void ShowBalloon(const CString&, const CString&) override {}
};

// A path of many steps in an action, from a quarter of the engine's length bound to four
// times it: expanded as the unit expands its texts, then run by every action that names a file.
// The time per character stays flat, or falls past the bound, unless a step of the expansion or
// of the file-name resolution grows faster than the text. With fromNick the steps are the value
// of "%n" in a rule's action, so every step is one a value filled.
void BenchMacroPath(const char* what, const CString& head, const wchar_t* step, bool fromNick)
{
    TTempFolder temp;
    CreateFolderTree(temp.path + L"files\\");
    TQuietUnit unit;
    TMacroManager engine;
    engine.SetListener(&unit);
    engine.SetFilesFolder(temp.path + L"files\\");
    for (double scale : {0.25, 0.5, 1.0, 2.0, 4.0}) {
        CString path = head + Repeat(step, (int)(scale * TMacroManager::MaxTextLength) - head.GetLength());
        CString text = fromNick ? L"%n" : path, nick = fromNick ? path : L"me";
        const struct {
            const wchar_t* action;
            const CString target;
            const CString argument;
        } items[] = {{L"appendfiler", text, text},
                     {L"appendfile", text, text},
                     {L"deletefile", L"", text},
                     {L"dllcall", text, L"Proc"},
                     {L"dllhook", text, L"Proc"}};
        double best = 0;
        for (int round = 0; round < 3; round++) {
            TBenchClock clock;
            engine.ExpandVariables(text, nick);
            for (const auto& item : items) {
                TMacroItem action;
                action.action = item.action;
                action.target = item.target;
                action.argument = item.argument;
                // In a popup item the own nick is the user's; a rule's action takes it as sent.
                engine.RunAction(&action, !fromNick);
            }
            double seconds = clock.Seconds();
            best = round == 0 ? seconds : std::min(best, seconds);
        }
        printf("%-40s %4.2fx bound %9.1f ns/char  (%.4f s)\n", what, scale, best * 1e9 / path.GetLength(), best);
        fflush(stdout);
    }
}

// An unclosed "$ENCODEURL(" over Japanese text, then a run of bytes that are not UTF-8, one
// character each, up to a quarter of the engine's length bound to four times it (2x is 131,071
// characters). A comma and a parenthesis in the run end the arguments, so everything before them
// is encoded. Expanded as the unit expands its texts, then run as a popup item's argument. The
// time per character stays flat, or falls past the bound, unless a step works on what the bound
// cuts away.
void BenchMacroEncodeUrl()
{
    TQuietUnit unit;
    TMacroManager engine;
    engine.SetListener(&unit);
    for (double scale : {0.25, 0.5, 1.0, 2.0, 4.0}) {
        int length = (int)(scale * TMacroManager::MaxTextLength) - 1;
        CString text = L"$ENCODEURL(";
        text += Repeat(L"日本語の文章、", length / 2 - text.GetLength());
        unsigned seed = 12345;
        while (text.GetLength() < length) {
            seed = seed * 1103515245u + 12345u;
            text += (wchar_t)(1 + (seed >> 16) % 255);
        }
        TPopupItem popup;
        popup.action = L"send";
        popup.target = L"#a";
        popup.actionInfo = text;
        double best = 0;
        for (int round = 0; round < 3; round++) {
            TBenchClock clock;
            engine.ExpandVariables(text, L"me");
            engine.ExecuteMenuItem(popup, L"me");
            double seconds = clock.Seconds();
            best = round == 0 ? seconds : std::min(best, seconds);
        }
        printf("%-40s %4.2fx bound %9.1f ns/char  (%.4f s)\n", "macro text, $ENCODEURL( over bytes", scale,
               best * 1e9 / text.GetLength(), best);
        fflush(stdout);
    }
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
    BenchMacroPath("macro path, unclosed, of dotted steps", L"$DLLSTRING(nosuch.dll,Proc,%m) $DLLFUNC(,,) $FILE(...\\",
                   L"sec+ret.t.\\", false);
    BenchMacroPath("macro path, every step a value", L"", L"step\\", true);
    BenchMacroEncodeUrl();
    // The largest last: without a bound on the whole line it does not come back.
    for (int copies : {1000, 30000})
        BenchThemeJoin(copies);
    return 0;
}
