#include "foundation/SafeFileName.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

// Each row: the name, mended dropping trailing dots, mended replacing them, and whether a caller
// that must refuse takes it as it is.
TEST(SafeFileName, NamesBecomeOnePartOfAPathAndNeverADevice)
{
    const CString a300(L'a', 300), x260(L'x', 260);
    const CString smile = L"\U0001F600";
    const struct {
        CString name, dropped, replaced;
        bool accepted;
    } rows[] = {
        {L"report.txt", L"report.txt", L"report.txt", true},
        {L"日本語 ファイル.zip", L"日本語 ファイル.zip", L"日本語 ファイル.zip", true},
        {L"con", L"_con", L"_con", false},
        {L"con.txt", L"_con.txt", L"_con.txt", false},
        {L"CON .log", L"_CON .log", L"_CON .log", false},
        {L"COM1", L"_COM1", L"_COM1", false},
        {L"lpt9.tar.gz", L"_lpt9.tar.gz", L"_lpt9.tar.gz", false},
        {L"Com\u00B9", L"_Com\u00B9", L"_Com\u00B9", false},
        {L"conout$", L"_conout$", L"_conout$", false},
        {L"nul. ", L"_nul", L"nul__", false},
        {L"COM10", L"COM10", L"COM10", true},
        {L"console.txt", L"console.txt", L"console.txt", true},
        {L"a..b", L"a..b", L"a..b", true},
        {L"x.", L"x", L"x_", false},
        {L"a b . ", L"a b", L"a b___", false},
        {L"..", L"", L"__", false},
        {L".", L"", L"_", false},
        {L"", L"", L"", false},
        {L"..\\..\\evil.exe", L".._.._evil.exe", L".._.._evil.exe", false},
        {L"C:boot.ini", L"C_boot.ini", L"C_boot.ini", false},
        {L"a/b<c>|d?*\"e", L"a_b_c__d___e", L"a_b_c__d___e", false},
        {L"tab\there\x01", L"tab_here_", L"tab_here_", false},
        {L"del\x7fname.txt", L"del\x7fname.txt", L"del\x7fname.txt", true},
        {a300, a300.Left(255), a300.Left(255), false},
        {a300 + L".txt", a300.Left(251) + L".txt", a300.Left(251) + L".txt", false},
        {L"nul." + x260, L"_nul." + x260.Left(250), L"_nul." + x260.Left(250), false},
        {a300.Left(254) + smile, a300.Left(254), a300.Left(254), false},
        {a300.Left(253) + smile, a300.Left(253) + smile, a300.Left(253) + smile, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MakeSafeFileNamePart(row.name), row.dropped) << Narrow(row.name);
        EXPECT_EQ(MakeSafeFileNamePart(row.name, TTrailingDots::Replaced), row.replaced) << Narrow(row.name);
        EXPECT_EQ(IsSafeFileNamePart(row.name), row.accepted) << Narrow(row.name);
    }
    EXPECT_EQ(MakeSafeFileNamePart(L"channel-name", TTrailingDots::Dropped, 7), L"channel");
    EXPECT_FALSE(IsSafeFileNamePart(L"channel-name", 7));
}

// A name inside a file name keeps every other guard but is no device there; a path's step is
// guarded only when the whole step is a device name.
TEST(SafeFileName, DeviceNamesAreGuardedOnlyAsAWholeStep)
{
    const struct {
        CString name, piece;
    } pieces[] = {{L"aux", L"aux"}, {L"con.txt", L"con.txt"}, {L"a/b.", L"a_b"}, {L"..", L""}};
    for (const auto& row : pieces)
        EXPECT_EQ(MakeSafeFileNamePiece(row.name), row.piece) << Narrow(row.name);
    EXPECT_EQ(MakeSafeFileNamePiece(L"nul..", TTrailingDots::Replaced), L"nul__");

    const struct {
        CString path, guarded;
    } paths[] = {
        {L"Talk\\20260304-aux-net.txt", L"Talk\\20260304-aux-net.txt"},
        {L"aux\\20260304-net.txt", L"_aux\\20260304-net.txt"},
        {L"logs/con.txt", L"logs/_con.txt"},
        {L"COM1 .log", L"_COM1 .log"},
        {L"a\\nul\\prn", L"a\\_nul\\_prn"},
        {L"COM10\\console\\", L"COM10\\console\\"},
        {L"", L""},
    };
    for (const auto& row : paths)
        EXPECT_EQ(GuardDevicePathSteps(row.path), row.guarded) << Narrow(row.path);
}

// A file Windows writes under a mended name lands in the folder under that very name.
TEST(SafeFileName, MendedNamesAreWrittenAsThemselves)
{
    TTempFolder folder;
    for (const wchar_t* name : {L"con", L"aux.txt", L"x. ", L"a..b", L"COM1 .log"}) {
        CString safe = MakeSafeFileNamePart(name);
        CString path = folder.File(safe);
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(safe);
        CloseHandle(file);
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(path, &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE) << Narrow(safe);
        FindClose(search);
        EXPECT_EQ(CString(found.cFileName), safe);
    }
}
