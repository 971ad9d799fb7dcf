#include "foundation/ResourceString.h"

#include <gtest/gtest.h>

TEST(ResourceString, MissingIdGivesEmptyText)
{
    EXPECT_TRUE(LoadResourceString(64999).IsEmpty());
    EXPECT_TRUE(FormatStringResourceWithText(64999, L"x").IsEmpty());
}

TEST(ResourceString, FilterEndsInTwoNuls)
{
    CString filter = LoadFilterString(10023);
    EXPECT_EQ(filter, L"すべてのファイル (*.*)|*.*|");
    const wchar_t* p = filter.GetString();
    EXPECT_EQ(p[filter.GetLength()], 0);
    EXPECT_EQ(p[filter.GetLength() + 1], 0);
    // Kept in a member or copied, it must still end in two NULs.
    CString copy;
    copy = filter;
    EXPECT_EQ(copy.GetString()[copy.GetLength() + 1], 0);
    CString copied(filter);
    EXPECT_EQ(copied.GetString()[copied.GetLength() + 1], 0);
}

TEST(ResourceString, FormatsPutArgumentsInPlaceholderOrder)
{
    EXPECT_EQ(FormatConnectingMessage(L"irc.example.net", 6667), L"irc.example.net:6667へ接続を試みます");
    EXPECT_EQ(FormatReconnectingMessage(L"irc.example.net", 6667, 3), L"irc.example.net:6667へ再接続を試みます(3回目)");
    EXPECT_EQ(FormatTransferCounts(2, 5), L" [受2/送5]");
}
