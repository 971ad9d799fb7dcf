#include "classlib/String.h"

#include <gtest/gtest.h>

TEST(CStringFormat, FollowsTheWindowsRuntimeRules)
{
    CString s;
    s.Format(L"%s=%d", L"wide", 42);
    EXPECT_EQ(s, L"wide=42");
    s.Format(L"%02d:%02d", 7, 5);
    EXPECT_EQ(s, L"07:05");
    s.Format(L"%I64d %I64u", -1234567890123LL, 18446744073709551615ULL);
    EXPECT_EQ(s, L"-1234567890123 18446744073709551615");
    s.Format(L"%c%s%c", 1, L"VERSION", 1);
    EXPECT_EQ(s, CString(L"\x01VERSION\x01"));
    s.Format(L"%s", L"日本語テキスト");
    EXPECT_EQ(s, L"日本語テキスト");
}

TEST(CStringFormat, LongResultsAndAppending)
{
    CString big(L'x', 5000);
    CString s;
    s.Format(L"[%s]", big.GetString());
    EXPECT_EQ(s.GetLength(), 5002);
    s.AppendFormat(L"%05x", 255);
    EXPECT_EQ(s.Right(6), L"]000ff");
    CStringA a;
    a.Format("%s:%d", "host", 6667);
    EXPECT_EQ(a, "host:6667");
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringSearch, FindsCharactersAndSubstrings)
{
    CString s(L"nick!user@host.example");
    EXPECT_EQ(s.Find(L'!'), 4);
    EXPECT_EQ(s.Find(L"@host"), 9);
    EXPECT_EQ(s.Find(L'.', 15), -1);
    EXPECT_EQ(s.Find(L"e", 30), -1);
    EXPECT_EQ(s.ReverseFind(L'e'), 21);
    EXPECT_EQ(s.FindOneOf(L"@!"), 4);
    EXPECT_EQ(s.FindOneOf(L"#"), -1);
    EXPECT_EQ(s.Find(L""), 0);
}

TEST(CStringSlicing, ClampsOutOfRangeArguments)
{
    CString s(L"abcdef");
    EXPECT_EQ(s.Left(2), L"ab");
    EXPECT_EQ(s.Left(99), L"abcdef");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Mid(4), L"ef");
    EXPECT_EQ(s.Mid(2, 2), L"cd");
    EXPECT_EQ(s.Mid(10), L"");
    EXPECT_EQ(s.Mid(5, 10), L"f");
    EXPECT_EQ(s.Right(3), L"def");
    EXPECT_EQ(s.Right(10), L"abcdef");
}

TEST(CStringEditing, ReplaceInsertDeleteAndTrim)
{
    CString s(L"a-b-c");
    EXPECT_EQ(s.Replace(L"-", L"--"), 2);
    EXPECT_EQ(s, L"a--b--c");
    EXPECT_EQ(s.Replace(L'-', L'+'), 4);
    EXPECT_EQ(s, L"a++b++c");
    s.Insert(0, L">>");
    s.Insert(100, L'!');
    EXPECT_EQ(s, L">>a++b++c!");
    s.Delete(2, 3);
    EXPECT_EQ(s, L">>b++c!");
    s.Delete(5, 100);
    EXPECT_EQ(s, L">>b++");

    CString t(L"  \tword \r\n");
    t.TrimLeft();
    EXPECT_EQ(t, L"word \r\n");
    t.TrimRight();
    EXPECT_EQ(t, L"word");
    CString u(L"::x::");
    u.TrimLeft(L':');
    EXPECT_EQ(u, L"x::");
    u.TrimRight(L":");
    EXPECT_EQ(u, L"x");

    CString self(L"abc");
    self = self.GetString() + 1; // assigning from its own buffer
    EXPECT_EQ(self, L"bc");
}

TEST(CStringEditing, AppendingFromItsOwnBufferWhileGrowing)
{
    CString s(L"0123456789abcdef"); // a full buffer, so appending must grow it
    s += s;
    EXPECT_EQ(s, L"0123456789abcdef0123456789abcdef");
    s.Append(s.GetString() + 30, 2);
    EXPECT_EQ(s.Right(4), L"efef");
    CStringA a("0123456789abcdef");
    a += a;
    EXPECT_EQ(a, "0123456789abcdef0123456789abcdef");
}

TEST(CStringCase, LowerUpperAndCaseFreeCompare)
{
    CString s(L"MiXeD");
    s.MakeLower();
    EXPECT_EQ(s, L"mixed");
    s.MakeUpper();
    EXPECT_EQ(s, L"MIXED");
    EXPECT_EQ(CString(L"Hello").CompareNoCase(L"hELLO"), 0);
    EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    CStringA bytes("ABC\xC3\x89");
    bytes.MakeLower();
    EXPECT_EQ(bytes, "abc\xC3\x89"); // bytes above 0x7F are left alone
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer)
{
    CString s(L"ab");
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"hello");
    EXPECT_EQ(s.GetLength(), 5);
    p = s.GetBufferSetLength(3);
    EXPECT_EQ(s, L"hel");
    p[0] = L'H';
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, L"He");
}

TEST(CStringA, HoldsNulBytes)
{
    CStringA a("x\0y", 3);
    EXPECT_EQ(a.GetLength(), 3);
    EXPECT_EQ(a[2], 'y');
    EXPECT_FALSE(a == CStringA("x"));
    EXPECT_TRUE(a == CStringA("x\0y", 3));
    CStringA b = a + CStringA("\0z", 2);
    EXPECT_EQ(b.GetLength(), 5);
    EXPECT_EQ(b[4], 'z');
}

TEST(CStringResources, MissingIdGivesEmptyText)
{
    CString s(L"stale");
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.LoadString(10149));
    EXPECT_EQ(s, L"%s:%dへ接続を試みます");
}
