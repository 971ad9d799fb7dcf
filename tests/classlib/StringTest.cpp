#include "classlib/String.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

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

// Copies share one buffer until one of them changes: every change must leave the other copies as
// they were and give what the same change gives on a string of its own.
TEST(CStringSharing, EveryChangeLeavesTheOtherCopiesAlone)
{
    using Change = void (*)(CString&);
    const struct {
        const char* name;
        Change change;
    } changes[] = {
        {"SetAt", [](CString& s) { s.SetAt(1, L'E'); }},
        {"GetBuffer",
         [](CString& s) {
             s.GetBuffer(4)[1] = L'h';
             s.ReleaseBuffer();
         }},
        {"GetBufferSetLength", [](CString& s) { s.GetBufferSetLength(3)[2] = L'L'; }},
        {"ReleaseBuffer", [](CString& s) { s.ReleaseBuffer(4); }},
        {"Preallocate", [](CString& s) { s.Preallocate(100); }},
        {"Replace char", [](CString& s) { s.Replace(L'l', L'L'); }},
        {"Replace text", [](CString& s) { s.Replace(L"World", L"there"); }},
        {"Remove", [](CString& s) { s.Remove(L'o'); }},
        {"Insert", [](CString& s) { s.Insert(0, L"> "); }},
        {"Delete", [](CString& s) { s.Delete(0, 6); }},
        {"MakeLower", [](CString& s) { s.MakeLower(); }},
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }},
        {"MakeReverse", [](CString& s) { s.MakeReverse(); }},
        {"Trim", [](CString& s) { s.Trim(L" \t!"); }},
        {"TrimRight", [](CString& s) { s.TrimRight(L'!'); }},
        {"Append", [](CString& s) { s += L" again"; }},
        {"Append itself", [](CString& s) { s += s; }},
        {"Empty", [](CString& s) { s.Empty(); }},
        {"Format", [](CString& s) { s.Format(L"[%s]", s.GetString()); }},
        {"Assign from itself", [](CString& s) { s = s.GetString() + 6; }},
    };
    const CString original(L" Hello World!!");
    for (const auto& c : changes) {
        CString alone(original.GetString()), copy(original), second(copy);
        c.change(alone);
        c.change(copy);
        EXPECT_EQ(copy, alone) << c.name;
        EXPECT_EQ(second, L" Hello World!!") << c.name;
        EXPECT_EQ(original, L" Hello World!!") << c.name;
    }
    CStringA bytes("PrivMsg"), shared(bytes);
    shared.MakeUpper();
    EXPECT_EQ(shared, "PRIVMSG");
    EXPECT_EQ(bytes, "PrivMsg");
}

TEST(CStringSharing, TextPastTheLengthSurvivesInTheChangedCopy)
{
    // A double-NUL list written into a buffer, as file-dialog filters are.
    CString filter;
    wchar_t* p = filter.GetBuffer(16);
    wmemcpy(p, L"Text\0*.txt\0\0", 12);
    filter.ReleaseBuffer(4);
    CString copy(filter);
    copy.ReleaseBuffer(4);
    EXPECT_EQ(CString(copy.GetString() + 5), L"*.txt");
    EXPECT_EQ(CString(filter.GetString() + 5), L"*.txt");
}

TEST(CStringSharing, CopiesComeAndGoOnSeveralThreads)
{
    const CString text(L"shared between threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; t++)
        threads.emplace_back([&text, t] {
            for (int i = 0; i < 50000; i++) {
                CString copy(text);
                if (i % 1000 == t)
                    copy.MakeUpper();
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    CString last(text);
    last.SetAt(0, L'S');
    EXPECT_EQ(text, L"shared between threads");
    EXPECT_EQ(last, L"Shared between threads");
}

TEST(CStringFormat, ResultsAroundTheStackBufferSize)
{
    for (int length : {1, 254, 255, 256, 257, 600}) {
        CString body(L'x', length), s;
        s.Format(L"%s!", body.GetString());
        EXPECT_EQ(s.GetLength(), length + 1) << length;
        EXPECT_EQ(s, body + L"!") << length;
        CStringA bytes;
        bytes.Format("%d:%s", length, CStringA('y', length).GetString());
        EXPECT_EQ(bytes.GetLength(), length + 1 + (length >= 100 ? 3 : length >= 10 ? 2 : 1)) << length;
    }
}
