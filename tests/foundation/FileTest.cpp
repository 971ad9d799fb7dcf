#include "foundation/File.h"

#include "tests/common/TempFolder.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CStringA Bytes(const char* s, int n)
{
    return CStringA(s, n);
}

std::vector<CStringA> RawLines(const CString& path, bool dropTerminator)
{
    TTextFile file(CP_UTF8, dropTerminator);
    EXPECT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    std::vector<CStringA> lines;
    CStringA line;
    while (file.ReadRawLine(line))
        lines.push_back(line);
    EXPECT_TRUE(line.IsEmpty());
    return lines;
}

std::vector<CStringA> RawLinesOf(const TTempFolder& temp, const CStringA& content, bool dropTerminator = true)
{
    CString path = temp.File(L"lines.txt");
    EXPECT_TRUE(WriteFileBytes(path, content));
    return RawLines(path, dropTerminator);
}

} // namespace

TEST(TextFile, CrLfLfAndLoneCrEachEndALine)
{
    TTempFolder temp;
    CStringA mixed("a\r\nb\nc\rd");
    EXPECT_EQ(RawLinesOf(temp, mixed), (std::vector<CStringA>{"a", "b", "c", "d"}));
    EXPECT_EQ(RawLinesOf(temp, mixed, false), (std::vector<CStringA>{"a\r\n", "b\n", "c\r", "d"}));
    EXPECT_EQ(RawLinesOf(temp, "\r\r"), (std::vector<CStringA>{"", ""}));
    EXPECT_EQ(RawLinesOf(temp, "\n\r"), (std::vector<CStringA>{"", ""}));
    EXPECT_EQ(RawLinesOf(temp, "x\r\n"), (std::vector<CStringA>{"x"}));
    EXPECT_EQ(RawLinesOf(temp, "x\r"), (std::vector<CStringA>{"x"}));
    EXPECT_TRUE(RawLinesOf(temp, "").empty());
}

TEST(TextFile, TerminatorsAcrossChunkBoundaries)
{
    // Lines ending right at, and a CR LF split across, the reader's 4096-byte chunks.
    TTempFolder temp;
    CStringA first('a', 4095), second('b', 5000), third('c', 10);
    CStringA content = first + "\r\n" + second + "\r" + third + "\n\r";
    std::vector<CStringA> lines = RawLinesOf(temp, content);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], second);
    EXPECT_EQ(lines[2], third);
    EXPECT_EQ(lines[3], "");
    CStringA exact('x', 4096);
    lines = RawLinesOf(temp, exact + "\r" + "y");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "y");
}

TEST(TextFile, LineReaderLeavesThePositionAfterTheLine)
{
    TTempFolder temp;
    CString path = temp.File(L"pos.txt");
    ASSERT_TRUE(WriteFileBytes(path, "one\r\ntwo\rthree"));
    TTextFile file(CP_UTF8, true);
    ASSERT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    CStringA line;
    ASSERT_TRUE(file.ReadRawLine(line));
    EXPECT_EQ(file.Seek(0), 5);
    ASSERT_TRUE(file.ReadRawLine(line));
    EXPECT_EQ(file.Seek(0), 9);
    CStringA rest;
    ASSERT_TRUE(file.ReadAll(rest));
    EXPECT_EQ(rest, "three");
}

TEST(TextFile, NulBytesSurviveRawLinesButEndConvertedOnes)
{
    TTempFolder temp;
    CString path = temp.File(L"zero.txt");
    ASSERT_TRUE(WriteFileBytes(path, Bytes("ab\0cd\n\xEF\xBB\xBFx", 10)));
    std::vector<CStringA> raw = RawLines(path, true);
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(raw[0], Bytes("ab\0cd", 5));
    TTextFile file(CP_UTF8, true);
    ASSERT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    CString text;
    ASSERT_TRUE(file.ReadLine(text));
    EXPECT_EQ(text, L"ab");
    ASSERT_TRUE(file.ReadLine(text));
    EXPECT_EQ(text, L"\uFEFFx"); // no byte-order mark is recognised
    EXPECT_FALSE(file.ReadLine(text));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(TextFile, WritesConvertAndEndLinesWithCrLf)
{
    TTempFolder temp;
    CString path = temp.File(L"out.txt");
    {
        TTextFile file(932, true);
        ASSERT_TRUE(file.Open(path, GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
        EXPECT_FALSE(file.Write(L""));
        EXPECT_TRUE(file.WriteLine(L""));
        EXPECT_TRUE(file.Write(L"あ"));
        EXPECT_TRUE(file.WriteLine(L"x"));
        EXPECT_TRUE(file.WriteRawLine("\xFF"));
    }
    EXPECT_EQ(ReadFileBytes(path), "\r\n\x82\xA0x\r\n\xFF\r\n");
    TTextFile file(932, true);
    ASSERT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    CString all;
    ASSERT_TRUE(file.ReadAllText(all));
    EXPECT_EQ(all.Left(5), L"\r\nあx\r");
}

TEST(File, OpenSeekAndCloseRules)
{
    TTempFolder temp;
    CString path = temp.File(L"f.bin");
    ASSERT_TRUE(WriteFileBytes(path, "0123456789"));
    TTextFile file(CP_UTF8, true);
    CStringA untouched("keep");
    EXPECT_FALSE(file.ReadAll(untouched));
    EXPECT_EQ(untouched, "keep");
    EXPECT_EQ(file.Seek(0), -1);
    FILETIME time = {1, 2};
    EXPECT_FALSE(file.GetLastWriteTime(time));
    EXPECT_EQ(time.dwLowDateTime, 1u);
    EXPECT_FALSE(file.Write(L"x"));

    ASSERT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    HANDLE first = file.handle;
    EXPECT_FALSE(file.Open(temp.File(L"other"), GENERIC_WRITE, CREATE_ALWAYS, 0, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(file.handle, first);
    EXPECT_EQ(file.Seek(4), 4);
    EXPECT_EQ(file.Seek(0), 4);
    EXPECT_EQ(file.Seek(-1), 3);
    EXPECT_TRUE(file.GetLastWriteTime(time));
    EXPECT_NE(time.dwHighDateTime, 0u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open(temp.File(L"missing"), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, 0));
    EXPECT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
}

TEST(SafeFileWriter, ReplacesOnlyAfterEveryWriteSucceeded)
{
    TTempFolder temp;
    CString path = temp.File(L"s.ini");
    ASSERT_TRUE(WriteFileBytes(path, "old contents that are longer"));
    {
        TSafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        EXPECT_TRUE(writer.Write("new"));
        EXPECT_EQ(ReadFileBytes(path), "old contents that are longer");
        EXPECT_TRUE(writer.Commit());
    }
    EXPECT_EQ(ReadFileBytes(path), "new");

    SimulateWriteFailureAfter(2);
    {
        TSafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        EXPECT_TRUE(writer.Write("ab"));
        EXPECT_FALSE(writer.Write("c"));
        EXPECT_FALSE(writer.Write("d"));
        EXPECT_FALSE(writer.Commit());
    }
    SimulateWriteFailureAfter(-1);
    {
        TSafeFileWriter writer; // dropped without a commit, as by a crash mid-save
        ASSERT_TRUE(writer.Open(path));
        writer.Write("partial");
    }
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(CountFiles(temp.path), 1); // no temporary file left behind

    TSafeFileWriter writer;
    EXPECT_FALSE(writer.Open(temp.File(L"no such folder\\x.ini")));
    EXPECT_FALSE(writer.Commit());
}
