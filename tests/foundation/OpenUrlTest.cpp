#include "foundation/OpenUrl.h"

#include "tests/common/StringPrinter.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<CString> SplitLikeAProgram(const CString& commandLine)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &count);
    std::vector<CString> words;
    for (int i = 0; argv && i < count; i++)
        words.push_back(argv[i]);
    LocalFree(argv);
    return words;
}
} // namespace

TEST(OpenUrlTest, UrlReachesTheBrowserAsOneUnchangedWord)
{
    const wchar_t* urls[] = {
        L"http://example.com/", L"http://example.com/a b", L"http://x/\" --user-data-dir=C:\\evil \"",
        L"http://x/\\\"q",      L"http://x/dir\\",         L"http://x/dir\\\\",
        L"http://x/\ttab",      L"http://例え.jp/パス",
    };
    for (const wchar_t* url : urls) {
        CString line = BuildProgramCommandLine(L"D:\\Tools\\web.exe", url);
        std::vector<CString> words = SplitLikeAProgram(line);
        ASSERT_EQ(2u, words.size()) << ::testing::PrintToString(line);
        EXPECT_EQ(CString(L"D:\\Tools\\web.exe"), words[0]);
        EXPECT_EQ(CString(url), words[1]);
    }
}

TEST(OpenUrlTest, ProgramPathIsQuotedOnce)
{
    EXPECT_EQ(CString(L"\"D:\\Tools\\web.exe\" \"http://a/\""),
              BuildProgramCommandLine(L"D:\\Tools\\web.exe", L"http://a/"));
    EXPECT_EQ(CString(L"\"C:\\Program Files\\b.exe\" \"http://a/\""),
              BuildProgramCommandLine(L"\"C:\\Program Files\\b.exe\"", L"http://a/"));
    // A path with an opening quote only gets another quote in front, as before.
    EXPECT_EQ(CString(L"\"\"C:\\b.exe\" \"http://a/\""), BuildProgramCommandLine(L"\"C:\\b.exe", L"http://a/"));
}

TEST(OpenUrlTest, RegisteredBrowserCommandLosesItsArguments)
{
    EXPECT_EQ(CString(L"\"C:\\Program Files\\Web\\web.exe\""),
              ExtractBrowserProgram(L"\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\""));
    EXPECT_EQ(CString(L"\"C:\\Web\\web.exe\""), ExtractBrowserProgram(L"C:\\Web\\web.exe -nohome %1"));
    EXPECT_EQ(CString(L"\"C:\\Web\\web.exe\""), ExtractBrowserProgram(L"C:\\Web\\web.exe"));
    EXPECT_EQ(CString(L"\"C:\\Web\\web.exe -a"), ExtractBrowserProgram(L"\"C:\\Web\\web.exe -a"));
    EXPECT_EQ(CString(L"\"web.exe %1\""), ExtractBrowserProgram(L"web.exe %1"));
}

TEST(OpenUrlTest, UnknownStoredModesAndNonUrlsGoToTheShell)
{
    struct {
        int mode;
        bool isUrl;
        int expected;
    } cases[] = {
        {URL_OPEN_SHELL, true, URL_OPEN_SHELL},
        {URL_OPEN_PROGRAM, true, URL_OPEN_PROGRAM},
        {URL_OPEN_NEW_BROWSER_WINDOW, true, URL_OPEN_NEW_BROWSER_WINDOW},
        {URL_OPEN_PROGRAM, false, URL_OPEN_SHELL},
        {3, true, URL_OPEN_SHELL},
        {-1, true, URL_OPEN_SHELL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseUrlOpenMode(c.mode, c.isUrl), c.expected) << c.mode << " " << c.isUrl;
}
