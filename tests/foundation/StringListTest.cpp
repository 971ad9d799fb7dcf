#include "foundation/StringList.h"

#include "foundation/File.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

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
