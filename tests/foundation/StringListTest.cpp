#include "foundation/StringList.h"

#include "foundation/File.h"

#include "tests/common/TempFolder.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(StringList, LoadsLinesAndSavesThemWithCrLf)
{
    TTempFolder temp;
    CString path = temp.File(L"list.txt");
    ASSERT_TRUE(WriteFileBytes(path, "a\r\n\r\nb"));
    TStringAList bytes;
    ASSERT_TRUE(bytes.LoadFromFile(path));
    ASSERT_EQ(bytes.GetCount(), 3);
    EXPECT_EQ(bytes.GetAt(1), "");
    EXPECT_TRUE(bytes.SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "a\r\n\r\nb\r\n");

    ASSERT_TRUE(WriteFileBytes(path, "\xE6\x97\xA5\xE6\x9C\xAC\rx\n"));
    TStringList text;
    ASSERT_TRUE(text.LoadFromFile(path));
    ASSERT_EQ(text.GetCount(), 2);
    EXPECT_EQ(text.GetAt(0), L"日本");
    EXPECT_EQ(text.GetAt(2), L"");
    EXPECT_EQ(text.GetAt(-1), L"");
    text.Add(L"é");
    EXPECT_TRUE(text.SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "\xE6\x97\xA5\xE6\x9C\xAC\r\nx\r\n\xC3\xA9\r\n");
}

TEST(StringList, FailedLoadKeepsEntriesAndEmptyFileLoadsEmpty)
{
    TTempFolder temp;
    TStringList list;
    list.Add(L"kept");
    EXPECT_FALSE(list.LoadFromFile(temp.File(L"missing.txt")));
    EXPECT_EQ(list.GetCount(), 1);
    ASSERT_TRUE(WriteFileBytes(temp.File(L"empty.txt"), ""));
    EXPECT_TRUE(list.LoadFromFile(temp.File(L"empty.txt")));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(StringList, RewriteLeavesNoTailOfALongerFile)
{
    TTempFolder temp;
    CString path = temp.File(L"list.txt");
    ASSERT_TRUE(WriteFileBytes(path, "a much longer old line\r\nand another\r\n"));
    TStringList list;
    list.Add(L"x");
    EXPECT_TRUE(list.SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "x\r\n");
    TStringAList empty;
    EXPECT_TRUE(empty.SaveToFile(path));
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(StringList, FailedSaveLeavesTheOldFileAndReportsIt)
{
    TTempFolder temp;
    CString path = temp.File(L"list.txt");
    ASSERT_TRUE(WriteFileBytes(path, "old\r\n"));
    TStringList list;
    list.Add(L"new");
    list.Add(L"lines");
    SimulateWriteFailureAfter(4);
    EXPECT_FALSE(list.SaveToFile(path));
    SimulateWriteFailureAfter(-1);
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
    EXPECT_FALSE(list.SaveToFile(temp.File(L"missing\\list.txt")));
}

TEST(StringAList, InsertFirstAndRemoveAt)
{
    TStringAList list;
    list.InsertFirst("b");
    list.InsertFirst("a");
    list.Add("c");
    list.RemoveAt(3);
    list.RemoveAt(-1);
    ASSERT_EQ(list.GetCount(), 3);
    list.RemoveAt(1);
    EXPECT_EQ(list.GetAt(0), "a");
    EXPECT_EQ(list.GetAt(1), "c");
    EXPECT_EQ(list.GetAt(2), "");
}
