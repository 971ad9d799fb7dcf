#include "log/AddressFinder.h"
#include "log/KeywordMatcher.h"
#include "settings/LogKeyword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <oniguruma.h>

#include <utility>

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

// Where the finder's URL or address scan finds its first match at or after start.
int Find(bool url, const CString& text, int start, int& length)
{
    static const TLogAddressFinder finder;
    return url ? finder.FindUrl(text, start, length) : finder.FindAddress(text, start, length);
}

// URLs keep their own brackets and drop the surrounding ones; an address needs three labels or
// a full IP form.
TEST(AddressFinderTest, FindUrlAndFindAddressTakeWhatTheirFormsAllow)
{
    const bool url = true, address = false;
    struct {
        bool url;
        const wchar_t* text;
        int start;
        const wchar_t* found; // "-" when there is none
    } cases[] = {
        {url, L"(see http://w.org/a_(b))", 0, L"http://w.org/a_(b)"},
        {url, L"(http://w.org/)", 0, L"http://w.org/"},
        {url, L"end http://w.org/x.", 0, L"http://w.org/x"},
        {url, L"end http://w.org/x\u3002 next", 0, L"http://w.org/x"},
        {url, L"mid http://w.org/x\u3002y", 0, L"http://w.org/x\u3002y"},
        {url, L"end http://w.org/x\u2026", 0, L"http://w.org/x"},
        {url, L"caps HTTP://W.ORG/X", 0, L"HTTP://W.ORG/X"},
        {url, L"no url here", 0, L"-"},
        {url, L"host only http://w.org?q", 0, L"http://w.org"},
        {url, L"http://a.org/ http://b.org/", 1, L"ttp://a.org/"},
        {url, L"http://a.org/ http://b.org/", 2, L"http://b.org/"},
        {address, L"name.tld", 0, L"-"},
        {address, L"at host.name.tld now", 0, L"host.name.tld"},
        {address, L"host.name.tld_x", 0, L"-"},
        {address, L"host.name.tld-x", 0, L"-"},
        {address, L"host.name.tld-x then a.b.org", 0, L"a.b.org"},
        {address, L"999.999.999.999", 0, L"999.999.999.999"},
        {address, L"::1", 0, L"-"},
        {address, L"fe80:0:0:0:1:2:3:4", 0, L"fe80:0:0:0:1:2:3:4"},
        // Capital digits are no IPv6 address: only the tail that looks like one is found.
        {address, L"FE80:0:0:0:1:2:3:4", 0, L"80:0:0:0:1:2:3:4"},
    };
    for (const auto& c : cases) {
        CString text = c.text;
        int length = 0;
        int at = Find(c.url, text, c.start, length);
        EXPECT_EQ(at < 0 ? CString(L"-") : text.Mid(at, length), CString(c.found)) << ::testing::PrintToString(text);
    }
}

// On texts of random pieces, the same for the same seed, the scan finds from a start below
// starts the match that expected gives as {start, length} ({-1, 0} for none).
template <size_t N, typename Expected>
void ExpectScanAgrees(bool url, const wchar_t* (&pieces)[N], unsigned seed, int longest, int starts, Expected expected)
{
    for (int round = 0; round < 5000; round++) {
        CString text;
        for (int i = 0; i < 1 + round % longest; i++) {
            seed = seed * 1103515245 + 12345;
            text += pieces[(seed >> 16) % N];
        }
        int start = (int)((seed >> 8) % starts);
        std::pair<int, int> match = expected(text, start);
        int length = -1;
        int at = Find(url, text, start, length);
        EXPECT_EQ(at, match.first) << ::testing::PrintToString(text);
        if (at >= 0) {
            EXPECT_EQ(length, match.second) << ::testing::PrintToString(text);
        }
    }
}

// The hand-made URL scanner finds exactly what the URL expression finds, brackets trimmed alike.
TEST(AddressFinderTest, FindUrlAgreesWithTheUrlExpression)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP));
    const wchar_t* pieces[] = {L"http",   L"HTTPS",  L"ttp", L"ftp", L"Mms", L"h",      L"s",  L"\u017F", L"://",
                               L"/",      L"a",      L".",   L",",   L"?",   L"(",      L")",  L" ",      L"\u3000",
                               L"\u3002", L"\u2026", L"'",   L"`",   L"<",   L"\u65e5", L"\t", L"\u00A0", L"x_(y)"};
    ExpectScanAgrees(true, pieces, 3, 12, 3, [&](const CString& text, int start) {
        TRegexMatchResult match;
        if (!regex.Search(match, text, start, -1))
            return std::make_pair(-1, 0);
        int from = match.region->beg[0] / 2, end = match.region->end[0] / 2, open = 0, close = 0;
        for (int i = from; i < end; i++) {
            open += text[i] == L'(';
            close += text[i] == L')';
        }
        for (; close > open && end > from && text[end - 1] == L')'; close--)
            end--;
        return std::make_pair(from, end - from);
    });
}

// Searching only the stretches that can hold an address finds what a search of the whole text
// finds.
TEST(AddressFinderTest, FindAddressAgreesWithTheAddressExpression)
{
    TRegex regex;
    ASSERT_TRUE(regex.Compile(kAddressPattern, ONIG_OPTION_DONT_CAPTURE_GROUP));
    const wchar_t* pieces[] = {L"a", L"Z", L"1",  L"99", L"\uFF11", L".",  L":",   L"-",  L"_",
                               L" ", L"/", L"ab", L"f0", L"\u65e5", L"::", L"com", L"1.2"};
    ExpectScanAgrees(false, pieces, 5, 16, 1, [&](const CString& text, int) {
        TRegexMatchResult match;
        for (int p = 0; regex.Search(match, text, p, -1);) {
            int s = match.region->beg[0] / 2, e = match.region->end[0] / 2;
            wchar_t next = e < text.GetLength() ? text[e] : 0;
            if (!(iswalnum(next) && next < 0x80) && next != L'_' && next != L'-')
                return std::make_pair(s, e - s);
            p = e > s ? e : s + 1;
        }
        return std::make_pair(-1, 0);
    });
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
