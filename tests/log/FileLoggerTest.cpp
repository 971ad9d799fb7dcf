#include "log/FileLogger.h"
#include "foundation/CodePage.h"
#include "foundation/IrcMarkup.h"
#include "foundation/Path.h"
#include "foundation/SafeFileName.h"
#include "settings/Preference.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

time_t fakeNow = 0;
time_t FakeClock(time_t* out)
{
    if (out)
        *out = fakeNow;
    return fakeNow;
}

// Local midnight of the day plus a few hours, so the date parts are known.
time_t LocalTime(int year, int month, int day, int hour)
{
    tm parts = {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_isdst = -1;
    return mktime(&parts);
}

std::string Utf8(const CString& text)
{
    CStringA bytes = ConvertToUtf8(text);
    return std::string(bytes.GetString(), (size_t)bytes.GetLength());
}

class FileLoggerTest : public ::testing::Test, public IFileLoggerListener {
protected:
    void SetUp() override
    {
        prefs.Load(temp.path);
        prefs.LogRootDir = root;
        fakeNow = LocalTime(2026, 3, 4, 10);
        logger.preferences = &prefs;
        logger.listener = this;
        logger.clock = FakeClock;
        logger.enabled = true;
    }

    void OnLogFileFailed(TFileLogger*, const CString& path, DWORD error) override
    {
        failures.push_back(path);
        errors.push_back(error);
    }

    TTempFolder temp;
    CString root = temp.path + L"logs\\";
    TPreference prefs;
    TFileLogger logger;
    std::vector<CString> failures;
    std::vector<DWORD> errors;
};

TEST_F(FileLoggerTest, NamesComeFromTheTemplateOfEachKind)
{
    struct {
        int kind;
        const wchar_t* server;
        const wchar_t* channel;
        const wchar_t* name;
    } cases[] = {
        {LOGFILE_SERVER, L"irc:1", L"", L"Server\\20260304-irc_1.txt"},
        {LOGFILE_CHANNEL, L"irc:1", L"#a/b", L"#a_b\\20260304-irc_1.txt"},
        {LOGFILE_TALK, L"net", L"bob", L"Talk\\20260304-bob-net.txt"},
        {LOGFILE_DCCCHAT, L"net", L"=bob", L"DCCChat\\20260304-=bob-net.txt"},
        {LOGFILE_URL, L"net", L"x", L"URL\\20260304.txt"},
        {9, L"net", L"#c", L"#c\\20260304-net.txt"},
        {LOGFILE_SERVER, L"a..b", L"", L"Server\\20260304-a_.b.txt"},
        // Windows opens a device only by its whole name: inside a file name it is a name.
        {LOGFILE_TALK, L"con", L"aux", L"Talk\\20260304-aux-con.txt"},
        {LOGFILE_SERVER, L"nul", L"", L"Server\\20260304-nul.txt"},
        {LOGFILE_CHANNEL, L"prn", L"aux", L"_aux\\20260304-prn.txt"},
        {LOGFILE_CHANNEL, L"net", L"com1.", L"com1_\\20260304-net.txt"},
    };
    for (const auto& c : cases) {
        logger.kind = c.kind;
        logger.SetServerName(c.server);
        logger.SetChannelName(c.channel);
        EXPECT_EQ(logger.MakeFileName(), root + c.name);
    }
    prefs.TalkLogFile = L"%c.txt";
    logger.kind = LOGFILE_TALK;
    logger.SetChannelName(L"LPT1");
    EXPECT_EQ(logger.MakeFileName(), root + L"_LPT1.txt");
    logger.programFolder = L"C:\\prog\\";
    prefs.LogRootDir = L"logs";
    logger.kind = LOGFILE_URL;
    EXPECT_EQ(logger.MakeFileName(), CString(L"C:\\prog\\logs\\URL\\20260304.txt"));
}

// Names a server chooses must never lead out of the log folder or onto a device.
TEST_F(FileLoggerTest, HostileNamesGiveOneFileInsideTheLogFolder)
{
    const wchar_t* names[] = {L"..",
                              L".",
                              L"../../evil",
                              L"..\\..\\evil",
                              L"CON",
                              L"nul.txt",
                              L"COM1",
                              L"LPT1 ",
                              L"a. ",
                              L"x\x01y\x1Fz",
                              L"C:\\Windows\\x",
                              L"/etc/passwd",
                              L"\\\\host\\share\\f",
                              L"#c:\\..",
                              L"",
                              L"aux.",
                              L"aux",
                              L"...",
                              L"#\u65e5\u672c"};
    wchar_t full[MAX_PATH * 2];
    int written = 0;
    for (const wchar_t* name : names) {
        for (int kind : {LOGFILE_CHANNEL, LOGFILE_TALK}) {
            logger.kind = kind;
            logger.SetChannelName(name);
            logger.SetServerName(name);
            CString path = logger.MakeFileName();
            ASSERT_GT(GetFullPathNameW(path, MAX_PATH * 2, full, nullptr), 0u);
            CString resolved = full;
            EXPECT_EQ(resolved.Left(root.GetLength()).CompareNoCase(root), 0) << ::testing::PrintToString(resolved);
            EXPECT_TRUE(logger.WriteLine(L"line")) << ::testing::PrintToString(path);
            EXPECT_EQ(logger.GetCurrentPath(), path);
            logger.Close();
            EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES) << ::testing::PrintToString(path);
            written++;
        }
    }
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(CountEntries(temp.path), 1); // only "logs"
}

// Two long channels that share their first hundred characters keep files of their own; a name
// longer than a file name can be fails to open and is told once.
TEST_F(FileLoggerTest, LongNamesAreKeptUpToWhatAFileNameHolds)
{
    logger.kind = LOGFILE_TALK;
    logger.SetServerName(L"net");
    const CString shared(L'a', 120);
    std::vector<CString> paths;
    for (const wchar_t* last : {L"1", L"2"}) {
        logger.SetChannelName(L"#" + shared + last);
        EXPECT_TRUE(logger.WriteLine(CString(L"line ") + last));
        paths.push_back(logger.GetCurrentPath());
        logger.Close();
    }
    ASSERT_NE(paths[0], paths[1]);
    EXPECT_EQ(ReadFileLines(paths[0])[1], "line 1");
    EXPECT_EQ(ReadFileLines(paths[1])[1], "line 2");

    logger.SetChannelName(CString(L'n', 400));
    CString path = logger.MakeFileName();
    EXPECT_GE(path.Find(CString(L'n', kMaxFileNamePart)), 0);
    EXPECT_LT(path.Find(CString(L'n', kMaxFileNamePart + 1)), 0);
    EXPECT_FALSE(logger.WriteLine(L"lost"));
    EXPECT_FALSE(logger.WriteLine(L"lost too"));
    EXPECT_EQ(failures, std::vector<CString>{path});
    EXPECT_FALSE(logger.IsOpen());
}

TEST_F(FileLoggerTest, WritesStampedLinesWithoutCodesInTheLogCodePage)
{
    logger.kind = LOGFILE_TALK;
    logger.SetServerName(L"net");
    logger.SetChannelName(L"bob");
    EXPECT_TRUE(logger.WriteLine(L"\x02"
                                 L"bold\x02 \x03"
                                 L"4,1red\x0F \u65e5\u672c"));
    CString path = logger.GetCurrentPath();
    logger.Close();
    std::vector<std::string> lines = ReadFileLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "--------2026/03/04 10:00:00 " + Utf8(L"\u30ed\u30b0\u3092\u958b\u59cb"));
    EXPECT_EQ(lines[1], "bold red " + Utf8(L"\u65e5\u672c"));
    EXPECT_EQ(lines[2], "--------2026/03/04 10:00:00" + Utf8(L"\u30ed\u30b0\u3092\u7d42\u4e86"));

    prefs.LogCodepage = 932;
    EXPECT_TRUE(logger.WriteLine(L"\u65e5\u672c"));
    logger.Close();
    lines = ReadFileLines(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "\x93\xfa\x96\x7b");
}

// The same bytes the system's conversion gives, including its replacement of lone surrogates.
TEST_F(FileLoggerTest, LinesAreTheSystemsUtf8OfEveryKindOfCharacter)
{
    const CString texts[] = {
        L"plain ascii",
        L"caf\u00e9 \u00a9 \u07ff \u0800 \u65e5\u672c \uffe5 \ufffd \uffff",
        L"pair \xD83D\xDE00 and \xDBFF\xDFFF",
        L"lone high \xD83D end",
        L"lone low \xDE00 end",
        L"high at the end \xD83D",
        L"low first \xDE00\xD83D",
        CString(L"cut at NUL\0 unseen", 19),
    };
    for (const CString& text : texts)
        EXPECT_TRUE(logger.WriteLine(text));
    CString path = logger.GetCurrentPath();
    logger.Close();
    std::vector<std::string> lines = ReadFileLines(path);
    ASSERT_EQ(lines.size(), 10u);
    for (size_t i = 0; i < 8; i++)
        EXPECT_EQ(lines[i + 1], Utf8(texts[i])) << i;
}

// Codes are left out while the line is encoded: the bytes are those of the stripped line, also
// where colour numbers end the line, a code splits a surrogate pair or a NUL follows a code.
TEST_F(FileLoggerTest, CodesLeaveTheSameBytesAsTheStrippedLine)
{
    const CString texts[] = {
        L"end \x03",
        L"end \x03"
        L"4",
        L"end \x03"
        L"12,",
        L"end \x03"
        L"1,",
        L"\x03"
        L"1,2345 \x03"
        L"99,8x \x03"
        L",5 \x03"
        L"123",
        L"\x02\x1f\x16\x0f\x01 \x09 \x1e other controls stay",
        L"\x03"
        L"4\u65e5\x02\u00e9\x0f\xD83D\xDE00",
        L"pair split \xD83D\x02\xDE00 by a code",
        L"pair split \xD83D\x03"
        L"4,5\xDE00 by a colour",
        L"lone \x02\xD83D x \x03"
        L"3\xDE00",
        CString(L"\x02"
                L"cut\x03"
                L"4\0 unseen \xD83D",
                16),
    };
    for (const CString& text : texts)
        EXPECT_TRUE(logger.WriteLine(text));
    CString path = logger.GetCurrentPath();
    logger.Close();
    std::vector<std::string> lines = ReadFileLines(path);
    ASSERT_EQ(lines.size(), 13u);
    for (size_t i = 0; i < 11; i++)
        EXPECT_EQ(lines[i + 1], Utf8(StripControlCodes(texts[i]))) << i;
}

TEST_F(FileLoggerTest, DateChangeClosesTheOldFileAndOpensANewOne)
{
    logger.SetServerName(L"net");
    logger.SetChannelName(L"#c");
    EXPECT_TRUE(logger.WriteLine(L"before"));
    CString first = logger.GetCurrentPath();
    logger.ReopenIfNameChanged();
    EXPECT_EQ(ReadFileLines(first).size(), 2u);
    fakeNow = LocalTime(2026, 3, 5, 0);
    logger.ReopenIfNameChanged();
    CString second = logger.GetCurrentPath();
    EXPECT_NE(first, second);
    EXPECT_TRUE(logger.WriteLine(L"after"));
    std::vector<std::string> old = ReadFileLines(first), now = ReadFileLines(second);
    ASSERT_EQ(old.size(), 3u);
    EXPECT_EQ(old[2].substr(0, 18), "--------2026/03/05");
    ASSERT_EQ(now.size(), 2u);
    EXPECT_EQ(now[1], "after");
}

TEST_F(FileLoggerTest, LockedFileMovesToANumberedNameAndStaysThere)
{
    logger.SetServerName(L"net");
    logger.SetChannelName(L"#c");
    CString name = logger.MakeFileName();
    CreateDirectoryW(root, nullptr);
    CreateDirectoryW(root + L"#c", nullptr);
    HANDLE lock = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(logger.WriteLine(L"x"));
    EXPECT_EQ(logger.GetCurrentPath(), root + L"#c\\20260304-net_00.txt");
    // The tick must not close and reopen the numbered file again and again.
    logger.ReopenIfNameChanged();
    EXPECT_TRUE(logger.WriteLine(L"y"));
    CloseHandle(lock);
    logger.Close();
    EXPECT_EQ(ReadFileLines(root + L"#c\\20260304-net_00.txt").size(), 4u);
}

TEST_F(FileLoggerTest, AFailureIsToldOnceAndLosesOnlyItsOwnLines)
{
    // A file where the log folder should be: no log file can be made.
    ASSERT_TRUE(WriteFileBytes(temp.path + L"logs", "x"));
    logger.SetServerName(L"net");
    logger.SetChannelName(L"#c");
    EXPECT_FALSE(logger.WriteLine(L"lost 1"));
    fakeNow++;
    EXPECT_FALSE(logger.WriteLine(L"lost 2"));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], logger.MakeFileName());
    EXPECT_TRUE(logger.HasFailed());
    // Once the folder can be made, a line of a later second opens the file.
    DeleteFileW(temp.path + L"logs");
    fakeNow++;
    EXPECT_TRUE(logger.WriteLine(L"written"));
    EXPECT_FALSE(logger.HasFailed());
    std::vector<std::string> lines = ReadFileLines(logger.GetCurrentPath());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "written");

    // A full disk: the file stays for the next line, and a new run of failures is told again.
    HANDLE full = CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(full, INVALID_HANDLE_VALUE) << "Z:\\dev\\full, the device that is always full, opens for writing";
    CloseHandle(full);
    prefs.LogRootDir = L"Z:\\dev\\";
    prefs.ChannelLogFile = L"full";
    logger.ReopenIfNameChanged();
    EXPECT_FALSE(logger.WriteLine(L"no room"));
    EXPECT_FALSE(logger.WriteLine(L"no room either"));
    EXPECT_TRUE(logger.IsOpen());
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[1], CString(L"Z:\\dev\\full"));
    EXPECT_EQ(errors[1], (DWORD)ERROR_DISK_FULL);
}

TEST_F(FileLoggerTest, SwitchedOffStaysClosedThroughLinesAndNewDays)
{
    logger.SetServerName(L"net");
    logger.SetChannelName(L"#c");
    ASSERT_TRUE(logger.WriteLine(L"before"));
    CString path = logger.GetCurrentPath();
    logger.Enable(false);
    EXPECT_FALSE(logger.WriteLine(L"after"));
    fakeNow = LocalTime(2026, 3, 5, 0);
    logger.ReopenIfNameChanged();
    EXPECT_FALSE(logger.IsOpen());
    std::vector<std::string> lines = ReadFileLines(path);
    ASSERT_EQ(lines.size(), 3u); // opening stamp, the line, closing stamp
    EXPECT_EQ(lines[1], "before");
    EXPECT_NE(lines[2].find(Utf8(L"ログを終了")), std::string::npos);
}

TEST_F(FileLoggerTest, FlushTickCountsOnlyWhileForcedAndOpen)
{
    prefs.ForceFlushLog = false;
    logger.FlushTick();
    EXPECT_EQ(logger.flushCount, 0);
    prefs.ForceFlushLog = true;
    logger.FlushTick();
    EXPECT_EQ(logger.flushCount, 0); // closed
    ASSERT_TRUE(logger.WriteLine(L"x"));
    prefs.FlushLogTime = 2;
    logger.FlushTick();
    logger.FlushTick();
    EXPECT_EQ(logger.flushCount, 2);
    logger.FlushTick();
    EXPECT_EQ(logger.flushCount, 0);
}

} // namespace
