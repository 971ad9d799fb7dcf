#include "foundation/CodePage.h"

#include <gtest/gtest.h>

namespace {

CStringA Bytes(const char* s, int n) { return CStringA(s, n); }

} // namespace

TEST(CodePage, EmptyInGivesEmptyOut)
{
    EXPECT_TRUE(ConvertToUtf8(L"").IsEmpty());
    EXPECT_TRUE(ConvertFromUtf8("").IsEmpty());
    EXPECT_TRUE(ConvertToShiftJis(L"").IsEmpty());
    EXPECT_TRUE(ConvertFromShiftJis("").IsEmpty());
    EXPECT_TRUE(ConvertToCodePage(L"", 1252).IsEmpty());
    EXPECT_TRUE(ConvertFromCodePage("", 1252).IsEmpty());
}

TEST(CodePage, Utf8RoundTrip)
{
    CStringA bytes = ConvertToUtf8(L"h\u00e9llo");
    EXPECT_EQ(bytes, Bytes("\x68\xC3\xA9\x6C\x6C\x6F", 6));
    EXPECT_EQ(ConvertFromUtf8(bytes), L"h\u00e9llo");
    CString japanese(L"こんにちは、世界 \U0001F600");
    EXPECT_EQ(ConvertFromUtf8(ConvertToUtf8(japanese)), japanese);
}

TEST(CodePage, StopsAtTheFirstNul)
{
    CString wide(L"ab\0cd", 5);
    EXPECT_EQ(ConvertToUtf8(wide), "ab");
    EXPECT_EQ(ConvertFromUtf8(Bytes("xy\0z", 4)), L"xy");
    EXPECT_EQ(ConvertFromShiftJis(Bytes("\x82\xA0\0\x82\xA2", 5)), L"あ");
}

TEST(CodePage, InvalidUtf8IsLenient)
{
    CString text = ConvertFromUtf8(Bytes("\xC3\x28", 2));
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_GE(text.Find(L'('), 0);
    // A truncated sequence at the end loses at most that sequence.
    text = ConvertFromUtf8(Bytes("ok\xE3\x81", 4));
    EXPECT_EQ(text.Left(2), L"ok");
}

TEST(CodePage, ShiftJisBothWays)
{
    EXPECT_EQ(ConvertToShiftJis(L"あいう漢字"), Bytes("\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A", 10));
    EXPECT_EQ(ConvertFromShiftJis(Bytes("\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A", 10)), L"あいう漢字");
    EXPECT_EQ(ConvertToCodePage(L"テスト", CP_SHIFT_JIS), Bytes("\x83\x65\x83\x58\x83\x67", 6));
}

TEST(CodePage, UnmappableCharacterBecomesGetaInShiftJis)
{
    EXPECT_EQ(ConvertToShiftJis(L"a\uD55Cb"), Bytes("a\x81\xAC"
                                                    "b",
                                                    4));
}

TEST(CodePage, LoneLeadByteDoesNotLoseTheRest)
{
    CString text = ConvertFromShiftJis(Bytes("\x82"
                                             "abc",
                                             4));
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_GE(text.Find(L"bc"), 0);
}

TEST(CodePage, UnknownCodePageGivesEmptyResult)
{
    EXPECT_TRUE(ConvertToCodePage(L"text", 12345).IsEmpty());
    EXPECT_TRUE(ConvertFromCodePage("text", 12345).IsEmpty());
}

TEST(CodePage, WesternCodePage)
{
    EXPECT_EQ(ConvertToCodePage(L"caf\u00e9", 1252), Bytes("caf\xE9", 4));
    EXPECT_EQ(ConvertFromCodePage(Bytes("\x80", 1), 1252), L"\u20ac");
}
