#include "foundation/StringUtils.h"

#include <gtest/gtest.h>

#include <random>

using Strings = std::vector<CString>;

namespace {

// What a cut took and what it left of the text, as "taken|left".
CString CutAndLeft(CString (*cut)(CString&), CString text)
{
    CString taken = cut(text);
    return taken + L"|" + text;
}

} // namespace

TEST(StringCutting, FirstWordSkipsBlanksAround)
{
    CString s(L"  PRIVMSG #chan");
    EXPECT_EQ(CutFirstWord(s), L"PRIVMSG");
    EXPECT_EQ(s, L"#chan");
    EXPECT_EQ(CutAndLeft(CutFirstWord, s), L"#chan|");
    EXPECT_EQ(CutAndLeft(CutFirstWord, L"   "), L"|");
    EXPECT_EQ(CutAndLeft(CutFirstWord, L"a\tb c"), L"a\tb|c"); // only the blank separates words
    CStringA bytes(":nick!u@h   PRIVMSG x");
    EXPECT_EQ(CutFirstWordA(bytes), ":nick!u@h");
    EXPECT_EQ(bytes, "PRIVMSG x");
}

TEST(StringCutting, TokensAndLines)
{
    EXPECT_EQ(CutAndLeft(CutFirstCommaToken, L"a,b,,c"), L"a|b,,c");
    EXPECT_EQ(CutAndLeft(CutFirstTabToken, L" x\ty "), L" x|y ");
    EXPECT_EQ(CutAndLeft(CutFirstBarToken, L"no bar"), L"no bar|");
    EXPECT_EQ(CutAndLeft(CutFirstLine, L"a\r\nb"), L"a|b");
    EXPECT_EQ(CutAndLeft(CutFirstLine, L"a\n\rb"), L"a|\rb");
    EXPECT_EQ(CutAndLeft(CutFirstLine, L"only"), L"only|");
}

TEST(StringSplitting, LinesWordsAndCommas)
{
    EXPECT_EQ(SplitLines(L"a\r\n\nb\rc"), (Strings{L"a", L"", L"b", L"c"}));
    EXPECT_EQ(SplitLines(L"a\n\r\r\nb\n"), (Strings{L"a", L"", L"", L"b"}));
    // Half a million one-letter lines, as a macro's reply or a paste may hold, split at once.
    CString many;
    for (int i = 0; i < 500000; i++)
        many += L"x\n";
    std::vector<CString> lines = SplitLines(many);
    EXPECT_EQ(lines.size(), 500000u);
    EXPECT_EQ(lines.back(), L"x");
    // Freed last first: a heap that fills freed blocks (the test prefix's) refills the whole run of
    // blocks freed next to each other on every free, which in order takes minutes here.
    while (!lines.empty())
        lines.pop_back();
    EXPECT_EQ(SplitWords(L"a b c d", 3), (Strings{L"a", L"b", L"c d"}));
    EXPECT_EQ(SplitWords(L"a  b c", 0), (Strings{L"a", L"b", L"c"}));
    EXPECT_EQ(SplitWords(L"   ", 0), (Strings{L""}));
    EXPECT_EQ(SplitWords(L"x y", 1), (Strings{L"x y"}));
    EXPECT_EQ(SplitAtCommas(L"a,,b"), (Strings{L"a", L"", L"b"}));
    EXPECT_EQ(SplitAtCommas(L"a,"), (Strings{L"a"}));
    EXPECT_EQ(SplitAtCommas(L",a"), (Strings{L"", L"a"}));
    EXPECT_TRUE(SplitAtCommas(L"").empty());
    EXPECT_EQ(JoinStrings({L"a", L"b", L"c"}, L", "), L"a, b, c");
    EXPECT_EQ(JoinStrings({}, L","), L"");
    std::deque<CString> items{L"KICK", L"#c", L"nick", L"bye"};
    EXPECT_EQ(JoinDequeFrom(items, 2, L" "), L"nick bye");
    EXPECT_EQ(JoinDequeFrom(items, 9, L" "), L"");
}

TEST(StringHelpers, TrimQuoteAndBlankTests)
{
    EXPECT_EQ(TrimTrailingSpaces(L"a b  "), L"a b");
    EXPECT_EQ(TrimTrailingSpaces(L"tab\t"), L"tab\t");
    EXPECT_EQ(TrimTrailingSpacesA("x  "), "x");
    EXPECT_EQ(StripLeadingColon(L"::x"), L":x");
    EXPECT_EQ(StripLeadingColon(L"x:"), L"x:");
    EXPECT_EQ(QuoteCtcp(L"PING 123"), CString(L"\x01PING 123\x01"));
    EXPECT_TRUE(IsBlankText(L""));
    EXPECT_TRUE(IsBlankText(L" \t\r\n"));
    EXPECT_FALSE(IsBlankText(L" x "));
    EXPECT_FALSE(IsBlankText(CString(L" \0 ", 3)));
}

TEST(StringHelpers, ThousandsSeparators)
{
    EXPECT_EQ(FormatWithThousandsSeparators(1234567), L"1,234,567");
    EXPECT_EQ(FormatWithThousandsSeparators(1000), L"1,000");
    EXPECT_EQ(FormatWithThousandsSeparators(1000005), L"1,000,005");
    EXPECT_EQ(FormatWithThousandsSeparators(999), L"999");
    EXPECT_EQ(FormatWithThousandsSeparators(0), L"0");
    EXPECT_EQ(FormatWithThousandsSeparators(-5), L"0");
    EXPECT_EQ(FormatWithThousandsSeparators(9223372036854775807LL), L"9,223,372,036,854,775,807");
}

TEST(StringHelpers, EscapingRoundTrips)
{
    CString original(L"D:\\dir\t");
    CString escaped = EscapeBackslashesAndTabs(original);
    EXPECT_EQ(escaped, L"D:\\\\dir\\t");
    EXPECT_EQ(UnescapeBackslashesAndTabs(escaped), original);
    EXPECT_EQ(UnescapeBackslashesAndTabs(L"\\x"), L"x");
    EXPECT_EQ(UnescapeBackslashesAndTabs(L"end\\"), L"end\\");
}

TEST(StringHelpers, UrlEncodingAndFullWidthLowering)
{
    EXPECT_EQ(EncodeUrl("a b&c"), L"a+b%26c");
    EXPECT_EQ(EncodeUrl("\xE3"), L"%E3");
    EXPECT_EQ(EncodeUrl("A-z_0.9~"), L"A-z_0.9%7E");
    CString s(L"ABC\uFF21\uFF3A\uFF3B");
    MakeLowerFullWidth(s);
    EXPECT_EQ(s, L"abc\uFF41\uFF5A\uFF3B");
}

TEST(StringHelpers, DoubleNullTerminatedKeepsLength)
{
    CString filter = MakeDoubleNullTerminated(L"Text|*.txt|");
    EXPECT_EQ(filter.GetLength(), 11);
    EXPECT_EQ(filter.GetString()[12], 0);
}

struct TWildcardCase {
    const wchar_t* mask;
    const wchar_t* text;
    bool matches;
};

TEST(MatchWildcard, IrcMaskCases)
{
    const TWildcardCase cases[] = {
        {L"nick!*", L"NICK!user", true},
        {L"a\\*b", L"a*b", true},
        {L"a\\*b", L"axb", false},
        {L"a\\*b", L"ab", false},
        {L"[x]", L"{X}", true},
        {L"{x}", L"[X]", true},
        {L"a|b", L"A\\B", true},
        {L"^x", L"~x", false},
        {L"~x", L"^x", false},
        {L"*", L"", true},
        {L"?", L"", false},
        {L"", L"", true},
        {L"", L"a", false},
        {L"a", L"", false},
        {L"*!*@*.example.com", L"Nick!~user@host.EXAMPLE.COM", true},
        {L"*!*@*.example.com", L"Nick!~user@example.com", false},
        {L"*@host", L"user@host", true},
        {L"*@host", L"user@host2", false},
        {L"a*b*c", L"abc", true},
        {L"a*b*c", L"aXbYbZc", true},
        {L"a*b*c", L"aXbYbZ", false},
        {L"a??d", L"abcd", true},
        {L"a??d", L"abd", false},
        {L"**a", L"bba", true},
        {L"a*", L"a", true},
        {L"a\\", L"a", true},
        {L"a\\?", L"a?", true},
        {L"a\\?", L"ab", false},
        {L"\\\\", L"\\", true},
        {L"*\\*", L"x*", true},
        {L"*\\*", L"x", false},
        {L"?*?", L"ab", true},
        {L"?*?", L"a", false},
        {L"日本*", L"日本語", true},
    };
    int index = 0;
    for (const TWildcardCase& c : cases) {
        EXPECT_EQ(MatchWildcard(c.mask, c.text), c.matches) << "case " << index;
        index++;
    }
}

namespace {

wchar_t Fold(wchar_t c) { return c >= 0x61 && c <= 0x7D ? (wchar_t)(c - 32) : c; }

// The matcher's rules written as the plain recursion, as an independent reference.
bool ReferenceMatch(const wchar_t* m, const wchar_t* t)
{
    bool escaped = false;
    if (*m == L'\\') {
        m++;
        escaped = true;
    }
    if (*m == 0)
        return *t == 0;
    if (*t == 0)
        return *m == L'*' && !escaped && ReferenceMatch(m + 1, t);
    if (*m == L'*' && !escaped) {
        for (;; t++) {
            if (ReferenceMatch(m + 1, t))
                return true;
            if (*t == 0)
                return false;
        }
    }
    if (*m == L'?' && !escaped)
        return ReferenceMatch(m + 1, t + 1);
    return Fold(*m) == Fold(*t) && ReferenceMatch(m + 1, t + 1);
}

CString RandomText(std::mt19937& rng, const wchar_t* alphabet, int maxLength)
{
    int alphabetSize = (int)wcslen(alphabet);
    int length = (int)(rng() % (maxLength + 1));
    CString s;
    for (int i = 0; i < length; i++)
        s += alphabet[rng() % alphabetSize];
    return s;
}

} // namespace

TEST(MatchWildcard, AgreesWithTheRecursiveRulesOnRandomMasks)
{
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; i++) {
        CString mask = RandomText(rng, L"ab*?\\{[A", 8);
        CString text = RandomText(rng, L"abAB[{*?\\", 8);
        ASSERT_EQ(MatchWildcard(mask, text), ReferenceMatch(mask, text))
            << "mask of " << mask.GetLength() << " and text of " << text.GetLength() << " characters";
    }
}

TEST(MatchWildcard, HostileMasksFinish)
{
    CString stars;
    for (int i = 0; i < 200000; i++)
        stars += L"*a";
    CString text(L'a', 5000);
    EXPECT_FALSE(MatchWildcard(stars + L"b", text));
    EXPECT_TRUE(MatchWildcard(CString(L'*', 100000), text));
    EXPECT_FALSE(MatchWildcard(CString(L'?', 5001), text));
}
