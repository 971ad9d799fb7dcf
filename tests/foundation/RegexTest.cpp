#include "foundation/Regex.h"

#include <oniguruma.h>

#include <gtest/gtest.h>

namespace {

// Start and end of a group in UTF-16 units.
int Begin(const TRegexMatchResult& m, int group = 0) { return m.region->beg[group] / 2; }
int End(const TRegexMatchResult& m, int group = 0) { return m.region->end[group] / 2; }

} // namespace

TEST(Regex, FindsMatchesAndGroupsInUtf16Text)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(L"h(t+)p", ONIG_OPTION_NONE));
    TRegexMatchResult match;
    ASSERT_TRUE(regex.Search(match, L"日本 http x", 0, -1));
    EXPECT_EQ(Begin(match), 3);
    EXPECT_EQ(End(match), 7);
    EXPECT_EQ(Begin(match, 1), 4);
    EXPECT_EQ(End(match, 1), 6);
    EXPECT_EQ(match.text, L"日本 http x");
    EXPECT_FALSE(regex.Search(match, L"hp", 0, -1));

    // The options the URL finder passes: case-insensitive, no capture groups.
    TRegex url;
    ASSERT_TRUE(url.Compile(L"(https?|ftp)://[^ 　]+", ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP));
    ASSERT_TRUE(url.Search(match, L"見て HTTP://例え.jp/ページ　です", 0, -1));
    EXPECT_EQ(match.region->num_regs, 1);
    EXPECT_EQ(Begin(match), 3);
    EXPECT_EQ(End(match), 19);
    EXPECT_TRUE(regex.Compile(L"[あ-ん]+", ONIG_OPTION_NONE));
    ASSERT_TRUE(regex.Search(match, L"abcひらがなカナ", 0, -1));
    EXPECT_EQ(Begin(match), 3);
    EXPECT_EQ(End(match), 7);
}

TEST(Regex, StartAndEndIndices)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(L"b", ONIG_OPTION_NONE));
    TRegexMatchResult match;
    ASSERT_TRUE(regex.Search(match, L"abcb", 2, -1));
    EXPECT_EQ(Begin(match), 3);
    // The end index bounds where a match may start.
    EXPECT_FALSE(regex.Search(match, L"abcb", 2, 3));
    EXPECT_TRUE(regex.Search(match, L"abcb", 0, 2));
    EXPECT_EQ(Begin(match), 1);
    // From the end of the text only an empty match can be found.
    EXPECT_FALSE(regex.Search(match, L"abcb", 4, -1));
    TRegex empty;
    ASSERT_TRUE(empty.Compile(L"x*", ONIG_OPTION_NONE));
    ASSERT_TRUE(empty.Search(match, L"abcb", 4, -1));
    EXPECT_EQ(Begin(match), 4);
    EXPECT_EQ(End(match), 4);
    // Indices outside the text find nothing rather than read past it.
    EXPECT_FALSE(regex.Search(match, L"abcb", 5, -1));
    EXPECT_FALSE(regex.Search(match, L"abcb", -1, -1));
    EXPECT_TRUE(regex.Search(match, L"abcb", 0, 99));
}

TEST(Regex, PatternsThatDoNotCompileNeverMatch)
{
    TRegex regex;
    TRegexMatchResult match;
    // Never compiled: false, and the region is left alone.
    EXPECT_FALSE(regex.Search(match, L"abc", 0, -1));
    EXPECT_EQ(match.region->num_regs, 0);
    EXPECT_TRUE(match.text.IsEmpty());

    ASSERT_TRUE(regex.Compile(L"a", ONIG_OPTION_NONE));
    for (const wchar_t* bad : {L"(", L"[a-", L"a)", L"\\", L"*", L"(?<n>a)\\k<m>"}) {
        EXPECT_FALSE(regex.Compile(bad, ONIG_OPTION_NONE)) << bad;
        EXPECT_FALSE(regex.IsValid());
        EXPECT_FALSE(regex.Search(match, L"aaaa", 0, -1));
    }
    EXPECT_FALSE(regex.Compile(CString(L"a\xD800"), ONIG_OPTION_NONE));
    EXPECT_FALSE(regex.Compile(CString(L"\xDC00"
                                       L"b"),
                               ONIG_OPTION_NONE));
    EXPECT_FALSE(regex.Search(match, L"ab", 0, -1));
    // Compiling again replaces the failed or earlier pattern.
    ASSERT_TRUE(regex.Compile(L"c", ONIG_OPTION_NONE));
    ASSERT_TRUE(regex.Compile(L"d", ONIG_OPTION_NONE));
    EXPECT_FALSE(regex.Search(match, L"abc", 0, -1));
    EXPECT_TRUE(regex.Search(match, L"abcd", 0, -1));
    EXPECT_EQ(regex.GetPattern(), L"d");
}

TEST(Regex, LoneSurrogatesInTheTextAreSearchedSafely)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(L"b.", ONIG_OPTION_NONE));
    TRegexMatchResult match;
    CString text(L"a\xD800"
                 L"b\xD83D");
    ASSERT_TRUE(regex.Search(match, text, 0, -1));
    EXPECT_EQ(Begin(match), 2);
    EXPECT_EQ(End(match), 4);
    ASSERT_TRUE(regex.Compile(L"\\x{1F600}", ONIG_OPTION_NONE));
    ASSERT_TRUE(regex.Search(match, CString(L"\xDE00\xD83D\xDE00"), 0, -1));
    EXPECT_EQ(Begin(match), 1);
    EXPECT_EQ(End(match), 3);
}

// Deep nesting of every kind fails to compile instead of running out of stack.
TEST(Regex, DeeplyNestedPatternsFailCleanly)
{
    TRegex regex;
    for (const wchar_t* open : {L"[", L"(", L"(?:", L"[a[", L"(a|"}) {
        CString pattern;
        for (int i = 0; i < 20000; i++)
            pattern += open;
        EXPECT_FALSE(regex.Compile(pattern, ONIG_OPTION_NONE)) << open;
    }
    // Ordinary nesting still compiles.
    ASSERT_TRUE(regex.Compile(L"[[a-z]&&[^x]]+(((b|c)))", ONIG_OPTION_NONE));
    TRegexMatchResult match;
    EXPECT_TRUE(regex.Search(match, L"--ab--", 0, -1));
}

TEST(Regex, RunawayBacktrackingEndsAsNoMatch)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(L"^(\\w+\\s?)*$", ONIG_OPTION_NONE));
    TRegexMatchResult match;
    CString text;
    for (int i = 0; i < 60; i++)
        text += L"a";
    text += L"!";
    EXPECT_FALSE(regex.Search(match, text, 0, -1));
    EXPECT_TRUE(regex.Search(match, L"a b c", 0, -1));
}
