#include "foundation/StringList.h"

#include "foundation/File.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringList, LoadsLinesAndSavesThemWithCrLf)
{
    TTempFolder temp;
    CString path = temp.File(L"list.txt");
    ASSERT_TRUE(WriteFileBytes(path, "a\r\n\r\nb"));
    TStringAList bytes;
    ASSERT_TRUE(bytes.LoadFromFile(path));
    EXPECT_EQ(bytes.GetCount(), 3);
    EXPECT_TRUE(bytes.SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "a\r\n\r\nb\r\n");

    ASSERT_TRUE(WriteFileBytes(path, "\xE6\x97\xA5\rx\n"));
    TStringList text;
    text.Add(L"replaced");
    ASSERT_TRUE(text.LoadFromFile(path));
    EXPECT_EQ(text.items, (std::vector<CString>{L"日", L"x"}));
    EXPECT_EQ(text.GetAt(2), L"");
    text.items.resize(1);
    EXPECT_TRUE(text.SaveToFile(path)); // shorter than before: no tail may remain
    EXPECT_EQ(ReadFileBytes(path), "\xE6\x97\xA5\r\n");
    EXPECT_TRUE(TStringList().SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(StringList, FailuresLeaveListsAndFilesAsTheyWere)
{
    TTempFolder temp;
    CString path = temp.File(L"list.txt");
    TStringList list;
    list.Add(L"kept");
    EXPECT_FALSE(list.LoadFromFile(path));
    EXPECT_EQ(list.GetCount(), 1);
    ASSERT_TRUE(WriteFileBytes(path, "old\r\n"));
    SimulateWriteFailureAfter(3);
    EXPECT_FALSE(list.SaveToFile(path));
    SimulateWriteFailureAfter(-1);
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
}

TEST(StringAList, InsertFirstAndRemoveAt)
{
    TStringAList list;
    list.InsertFirst("b");
    list.InsertFirst("a");
    list.Add("c");
    list.RemoveAt(3);
    list.RemoveAt(1);
    EXPECT_EQ(list.items, (std::vector<CStringA>{"a", "c"}));
}

namespace {

class TOneFileSource : public IFileBytesSource {
public:
    bool GetFileBytes(const CString& asked, CStringA& bytes) override
    {
        if (asked != path)
            return false;
        bytes = content;
        return true;
    }
    CString path;
    CStringA content;
};

} // namespace

// Settings readers served from memory must see exactly the lines the file gives them.
TEST(StringList, BytesFromASourceSplitAsTheFileDoes)
{
    TTempFolder temp;
    TOneFileSource source;
    source.path = temp.File(L"memory.txt");
    CString diskPath = temp.File(L"disk.txt");
    const std::string kContents[] = {
        "", "a", "a\r\n", "\r", "\n\n", "a\rb\r\nc\nd", "x\r\r\ny\r", std::string("\0z\r\n\x81\xff", 6), "no end"};
    SetFileBytesSource(&source);
    for (const std::string& content : kContents) {
        CStringA bytes(content.data(), (int)content.size());
        source.content = bytes;
        ASSERT_TRUE(WriteFileBytes(diskPath, bytes));
        TStringAList fromMemory, fromDisk;
        EXPECT_TRUE(fromMemory.LoadFromFile(source.path));
        EXPECT_TRUE(fromDisk.LoadFromFile(diskPath));
        EXPECT_EQ(fromDisk.items, fromMemory.items) << content;
        TStringList wideMemory, wideDisk;
        EXPECT_TRUE(wideMemory.LoadFromFile(source.path));
        EXPECT_TRUE(wideDisk.LoadFromFile(diskPath));
        EXPECT_EQ(wideDisk.items, wideMemory.items) << content;
    }
    // No file of that name exists: only the source could have served it.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(source.path));
    SetFileBytesSource(nullptr);
    EXPECT_FALSE(TStringAList().LoadFromFile(source.path));

    // A text file reading bytes refuses writes and seeks.
    TTextFile file(CP_UTF8, true);
    file.OpenBytes("one\r\ntwo");
    CStringA line;
    EXPECT_TRUE(file.ReadRawLine(line));
    EXPECT_EQ(CStringA("one"), line);
    EXPECT_FALSE(file.WriteLine(L"x"));
    EXPECT_EQ(-1, file.Seek(0));
}
