// The paths that once took quadratic time on text we do not control, fed a megabyte of their
// worst pattern: colour tags that look far ahead, MODE texts of many words, settings files of
// many short lines.

#include "foundation/File.h"
#include "foundation/IrcMarkup.h"
#include "ircproto/Modes.h"
#include "tests/bench/BenchClock.h"

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

} // namespace

int main()
{
    BenchMarkup();
    BenchModePenalty();
    BenchTextFile();
    return 0;
}
