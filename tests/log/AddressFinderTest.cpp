#include "log/AddressFinder.h"
#include "log/KeywordMatcher.h"
#include "settings/LogKeyword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <oniguruma.h>

namespace {

TEST(AddressFinderTest, TextThatBeginsWithAUrl)
{
    TLogAddressFinder finder;
    const wchar_t* urls[] = {L"http://example.org",
                             L"https://example.org/a/b?c=d#e",
                             L"ttp://example.org/",
                             L"HTTPS://EXAMPLE.ORG",
                             L"ftp://files.example.org/pub/x.tgz",
                             L"mms://media.example.org/stream",
                             L"http://example.org/path. and more text",
                             L"http://日本.example/パス"};
    for (const wchar_t* url : urls)
        EXPECT_TRUE(finder.IsUrl(url)) << url;
    const wchar_t* others[] = {L"",
                               L" http://example.org",
                               L"see http://example.org",
                               L"http://",
                               L"http:///path",
                               L"gopher://example.org",
                               L"tp://example.org",
                               L"example.org/path"};
    for (const wchar_t* text : others)
        EXPECT_FALSE(finder.IsUrl(text)) << text;
}

// How much of the text the URL pattern takes from its start.
int UrlLength(const CString& text)
{
    TRegex regex;
    EXPECT_TRUE(regex.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP));
    TRegexMatchResult match;
    if (!regex.Search(match, text, 0, -1) || match.region->beg[0] != 0)
        return -1;
    return match.region->end[0] / 2;
}

TEST(AddressFinderTest, UrlEndsBeforeTrailingPunctuationAndQuotes)
{
    EXPECT_EQ(UrlLength(L"http://a.org/x."), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/x\u3002"), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/x\u2026more"), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/x,y, z"), 16);
    EXPECT_EQ(UrlLength(L"http://a.org/x?q=1?"), 18);
    EXPECT_EQ(UrlLength(L"http://a.org/x\"quoted"), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/x<b>"), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/x\u3000y"), 14);
    EXPECT_EQ(UrlLength(L"http://a.org/"), 13);
    EXPECT_EQ(UrlLength(L"http://a.org?q"), 12);
    EXPECT_EQ(UrlLength(L"http://a.org/a_(b)"), 18);
}

// The first match at or after start, as its text; "-" when there is none.
template <typename Find> CString FirstMatch(const CString& text, int start, Find find)
{
    int length = 0;
    int at = find(text, start, length);
    return at < 0 ? CString(L"-") : text.Mid(at, length);
}

TEST(AddressFinderTest, FindUrlKeepsItsOwnBracketsAndDropsTheSurroundingOnes)
{
    TLogAddressFinder finder;
    auto url = [&](const CString& t, int s, int& n) { return finder.FindUrl(t, s, n); };
    struct {
        const wchar_t* text;
        const wchar_t* url;
    } cases[] = {
        {L"(see http://w.org/a_(b))", L"http://w.org/a_(b)"},
        {L"(http://w.org/)", L"http://w.org/"},
        {L"end http://w.org/x.", L"http://w.org/x"},
        {L"end http://w.org/x\u3002 next", L"http://w.org/x"},
        {L"mid http://w.org/x\u3002y", L"http://w.org/x\u3002y"},
        {L"end http://w.org/x\u2026", L"http://w.org/x"},
        {L"caps HTTP://W.ORG/X", L"HTTP://W.ORG/X"},
        {L"no url here", L"-"},
        {L"host only http://w.org?q", L"http://w.org"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstMatch(c.text, 0, url), CString(c.url)) << ::testing::PrintToString(CString(c.text));
    EXPECT_EQ(FirstMatch(L"http://a.org/ http://b.org/", 1, url), CString(L"ttp://a.org/"));
    EXPECT_EQ(FirstMatch(L"http://a.org/ http://b.org/", 2, url), CString(L"http://b.org/"));
}

TEST(AddressFinderTest, FindAddressNeedsThreeLabelsOrFullIpForms)
{
    TLogAddressFinder finder;
    auto address = [&](const CString& t, int s, int& n) { return finder.FindAddress(t, s, n); };
    struct {
        const wchar_t* text;
        const wchar_t* address;
    } cases[] = {
        {L"name.tld", L"-"},
        {L"at host.name.tld now", L"host.name.tld"},
        {L"host.name.tld_x", L"-"},
        {L"host.name.tld-x", L"-"},
        {L"host.name.tld-x then a.b.org", L"a.b.org"},
        {L"999.999.999.999", L"999.999.999.999"},
        {L"::1", L"-"},
        {L"fe80:0:0:0:1:2:3:4", L"fe80:0:0:0:1:2:3:4"},
        // Capital digits are no IPv6 address: only the tail that looks like one is found.
        {L"FE80:0:0:0:1:2:3:4", L"80:0:0:0:1:2:3:4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstMatch(c.text, 0, address), CString(c.address)) << ::testing::PrintToString(CString(c.text));
}

// Text made of random pieces, the same for the same seed.
template <size_t N> CString RandomText(const wchar_t* (&pieces)[N], int count, unsigned& seed)
{
    CString text;
    for (int i = 0; i < count; i++) {
        seed = seed * 1103515245 + 12345;
        text += pieces[(seed >> 16) % N];
    }
    return text;
}

// The hand-made URL scanner finds exactly what the URL expression finds, brackets trimmed alike.
TEST(AddressFinderTest, FindUrlAgreesWithTheUrlExpression)
{
    TLogAddressFinder finder;
    TRegex regex;
    ASSERT_TRUE(regex.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP));
    const wchar_t* pieces[] = {L"http",   L"HTTPS",  L"ttp", L"ftp", L"Mms", L"h",      L"s",  L"\u017F", L"://",
                               L"/",      L"a",      L".",   L",",   L"?",   L"(",      L")",  L" ",      L"\u3000",
                               L"\u3002", L"\u2026", L"'",   L"`",   L"<",   L"\u65e5", L"\t", L"\u00A0", L"x_(y)"};
    unsigned seed = 3;
    for (int round = 0; round < 5000; round++) {
        CString text = RandomText(pieces, 1 + round % 12, seed);
        int start = (int)((seed >> 8) % 3);
        int expectedStart = -1, expectedLength = 0;
        TRegexMatchResult match;
        if (regex.Search(match, text, start, -1)) {
            expectedStart = match.region->beg[0] / 2;
            int end = match.region->end[0] / 2, open = 0, close = 0;
            for (int i = expectedStart; i < end; i++) {
                open += text[i] == L'(';
                close += text[i] == L')';
            }
            for (; close > open && end > expectedStart && text[end - 1] == L')'; close--)
                end--;
            expectedLength = end - expectedStart;
        }
        int length = -1;
        int at = finder.FindUrl(text, start, length);
        EXPECT_EQ(at, expectedStart) << ::testing::PrintToString(text);
        if (at >= 0) {
            EXPECT_EQ(length, expectedLength) << ::testing::PrintToString(text);
        }
    }
}

// Searching only the stretches that can hold an address finds what a search of the whole text
// finds.
TEST(AddressFinderTest, FindAddressAgreesWithTheAddressExpression)
{
    TLogAddressFinder finder;
    TRegex regex;
    ASSERT_TRUE(regex.Compile(kAddressPattern, ONIG_OPTION_DONT_CAPTURE_GROUP));
    const wchar_t* pieces[] = {L"a", L"Z", L"1",  L"99", L"\uFF11", L".",  L":",   L"-",  L"_",
                               L" ", L"/", L"ab", L"f0", L"\u65e5", L"::", L"com", L"1.2"};
    unsigned seed = 5;
    for (int round = 0; round < 5000; round++) {
        CString text = RandomText(pieces, 1 + round % 16, seed);
        int expectedStart = -1, expectedLength = 0;
        TRegexMatchResult match;
        for (int p = 0; regex.Search(match, text, p, -1);) {
            int s = match.region->beg[0] / 2, e = match.region->end[0] / 2;
            wchar_t next = e < text.GetLength() ? text[e] : 0;
            if (!(iswalnum(next) && next < 0x80) && next != L'_' && next != L'-') {
                expectedStart = s;
                expectedLength = e - s;
                break;
            }
            p = e > s ? e : s + 1;
        }
        int length = -1;
        int at = finder.FindAddress(text, 0, length);
        EXPECT_EQ(at, expectedStart) << ::testing::PrintToString(text);
        if (at >= 0) {
            EXPECT_EQ(length, expectedLength) << ::testing::PrintToString(text);
        }
    }
}

struct TKeywordCase {
    const wchar_t* text;
    std::vector<CString> like;
    std::vector<CString> dislike;
    bool exact, caseSensitive;
    const wchar_t* found; // "start-end" pairs
};

CString DescribeRanges(const std::vector<TLogRange>& ranges)
{
    CString out;
    for (const TLogRange& r : ranges)
        out.AppendFormat(L"%s%d-%d", out.IsEmpty() ? L"" : L" ", r.start, r.end);
    return out;
}

TEST(KeywordMatcherTest, FindsKeywordsUnderTheSettings)
{
    TKeywordCase cases[] = {
        {L"Hello FOO", {L"Foo"}, {}, false, false, L"6-9"},
        {L"\uFF26\uFF2F\uFF2F!", {L"\uFF46\uFF4F\uFF4F"}, {}, false, false, L"0-3"},
        {L"Hello FOO", {L"Foo"}, {}, false, true, L""},
        {L"concatenate", {L"cat"}, {}, true, false, L""},
        {L"cat! 1cat", {L"cat"}, {}, true, false, L"0-3 6-9"},
        {L"concatenate", {L"cat"}, {}, false, false, L"3-6"},
        {L"bobcat cat", {L"cat"}, {L"bobcat"}, false, false, L"7-10"},
        {L"aaaa", {L"aa"}, {}, false, false, L"0-2 2-4"},
        {L"ab", {L"a", L"ab", L""}, {}, false, false, L"0-1 0-2"},
    };
    for (const TKeywordCase& c : cases) {
        TLogKeyword keyword;
        keyword.Like = c.like;
        keyword.Dislike = c.dislike;
        keyword.ExactWordMatch = c.exact;
        keyword.Case = c.caseSensitive;
        EXPECT_EQ(DescribeRanges(FindKeywords(keyword, c.text, {})), CString(c.found))
            << ::testing::PrintToString(CString(c.text));
    }
}

TEST(KeywordMatcherTest, UrlsHideKeywordsOnlyWhileIgnoreUrlIsOn)
{
    TLogKeyword keyword;
    keyword.Like = {L"key"};
    std::vector<TLogRange> urls = {{4, 20}};
    EXPECT_EQ(DescribeRanges(FindKeywords(keyword, L"key http://a.org/key", urls)), CString(L"0-3"));
    keyword.IgnoreURL = false;
    EXPECT_EQ(DescribeRanges(FindKeywords(keyword, L"key http://a.org/key", urls)), CString(L"0-3 17-20"));
    keyword.ExactWordMatch = true;
    keyword.IgnoreURL = true;
    EXPECT_EQ(DescribeRanges(FindKeywords(keyword, L"key http://a.org/key", urls)), CString(L"0-3 17-20"));
}

} // namespace
