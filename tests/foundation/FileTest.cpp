#include "foundation/File.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class TextFileTest : public ::testing::Test {
protected:
    TTextFile& Reopen(const CStringA& content, bool dropTerminator = true)
    {
        file.reset(new TTextFile(CP_UTF8, dropTerminator));
        EXPECT_TRUE(WriteFileBytes(path, content));
        EXPECT_TRUE(file->Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
        return *file;
    }

    std::vector<CStringA> Lines(const CStringA& content, bool dropTerminator = true)
    {
        TTextFile& reader = Reopen(content, dropTerminator);
        std::vector<CStringA> lines;
        for (CStringA line; reader.ReadRawLine(line);)
            lines.push_back(line);
        return lines;
    }

    TTempFolder temp;
    CString path = temp.File(L"lines.txt");
    std::unique_ptr<TTextFile> file;
};

using LineList = std::vector<CStringA>;

} // namespace

TEST_F(TextFileTest, CrLfLfAndLoneCrEachEndALine)
{
    EXPECT_EQ(Lines("a\r\nb\nc\rd"), (LineList{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("a\r\nb\nc\rd", false), (LineList{"a\r\n", "b\n", "c\r", "d"}));
    EXPECT_EQ(Lines("\r\r"), (LineList{"", ""}));
    EXPECT_EQ(Lines("\n\r"), (LineList{"", ""}));
    EXPECT_EQ(Lines("x\r"), (LineList{"x"}));
    EXPECT_TRUE(Lines("").empty());
    // Terminators at and across the reader's 4096-byte chunk boundaries.
    CStringA a('a', 4095), b('b', 5000), c('c', 4096);
    EXPECT_EQ(Lines(a + "\r\n" + b + "\r" + c + "\r" + "d\n\r"), (LineList{a, b, c, "d", ""}));
}

TEST_F(TextFileTest, LineReaderLeavesThePositionAfterTheLine)
{
    TTextFile& reader = Reopen("one\r\ntwo\rthree");
    CStringA line;
    ASSERT_TRUE(reader.ReadRawLine(line) && reader.ReadRawLine(line));
    EXPECT_EQ(reader.Seek(0), 9);
    EXPECT_TRUE(reader.ReadAll(line));
    EXPECT_EQ(line, "three");
    // A second open fails and leaves the first file open; a closed file has no position.
    EXPECT_FALSE(reader.Open(temp.File(L"other"), GENERIC_WRITE, CREATE_ALWAYS, 0, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(reader.Seek(-4), 10);
    reader.Close();
    EXPECT_EQ(reader.Seek(0), -1);
    EXPECT_FALSE(reader.ReadAll(line));
    EXPECT_EQ(line, "three");
}

// A megabyte of the shortest lines of every kind, read through: every line and nothing more.
TEST_F(TextFileTest, MegabyteOfShortLinesReadsWhole)
{
    const struct {
        const char* repeated;
        const char* text;
    } cases[] = {{"x\n", "x"}, {"x\r", "x"}, {"x\r\n", "x"}, {"\r", ""}, {"\n", ""}};
    for (const auto& c : cases) {
        CStringA content;
        int repeats = 1024 * 1024 / (int)strlen(c.repeated);
        for (int i = 0; i < repeats; i++)
            content += c.repeated;
        TTextFile& reader = Reopen(content);
        int count = 0, unlike = 0;
        for (CStringA line; reader.ReadRawLine(line); count++)
            unlike += line != c.text;
        EXPECT_EQ(count, repeats) << c.repeated;
        EXPECT_EQ(unlike, 0) << c.repeated;
        EXPECT_EQ(reader.Seek(0), content.GetLength()) << c.repeated;
    }
}

TEST_F(TextFileTest, WritesAndSeeksCountFromTheLastLineTaken)
{
    TTextFile& file = Reopen("one\r\ntwo\r\nthree\r\n");
    file.Close();
    ASSERT_TRUE(file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0, FILE_ATTRIBUTE_NORMAL));
    CStringA line;
    ASSERT_TRUE(file.ReadRawLine(line));
    ASSERT_TRUE(file.WriteRawLine("TWO"));
    ASSERT_TRUE(file.ReadRawLine(line));
    EXPECT_EQ(line, "three");
    EXPECT_EQ(file.Seek(-7), 10);
    ASSERT_TRUE(file.ReadRawLine(line));
    EXPECT_EQ(line, "three");
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), "one\r\nTWO\r\nthree\r\n");
}

TEST_F(TextFileTest, NulBytesSurviveRawLinesButEndConvertedOnes)
{
    CStringA content("ab\0cd\n\xEF\xBB\xBFx", 10);
    EXPECT_EQ(Lines(content)[0], CStringA("ab\0cd", 5));
    TTextFile& reader = Reopen(content);
    CString text;
    ASSERT_TRUE(reader.ReadLine(text));
    EXPECT_EQ(text, L"ab");
    ASSERT_TRUE(reader.ReadLine(text));
    EXPECT_EQ(text, L"\uFEFFx"); // no byte-order mark is recognised
    EXPECT_FALSE(reader.ReadLine(text));
}

TEST_F(TextFileTest, WritesConvertAndEndLinesWithCrLf)
{
    {
        TTextFile writer(932, true);
        ASSERT_TRUE(writer.Open(path, GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
        EXPECT_FALSE(writer.Write(L""));
        EXPECT_TRUE(writer.WriteLine(L""));
        EXPECT_TRUE(writer.Write(L"あ"));
        EXPECT_TRUE(writer.WriteLine(L"x"));
    }
    EXPECT_EQ(ReadFileBytes(path), "\r\n\x82\xA0x\r\n");
}

TEST_F(TextFileTest, SafeWriterReplacesOnlyAfterEveryWriteSucceeded)
{
    ASSERT_TRUE(WriteFileBytes(path, "old"));
    SimulateWriteFailureAfter(2);
    {
        TSafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        EXPECT_TRUE(writer.Write("ab"));
        EXPECT_FALSE(writer.Write("c"));
        EXPECT_FALSE(writer.Commit());
    }
    SimulateWriteFailureAfter(-1);
    {
        TSafeFileWriter writer; // dropped without a commit, as by a crash mid-save
        ASSERT_TRUE(writer.Open(path));
        writer.Write("partial");
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(CountEntries(temp.path), 1);
    TSafeFileWriter writer;
    EXPECT_FALSE(writer.Open(temp.File(L"no such folder\\x.ini")));
    EXPECT_FALSE(writer.Commit());
}
