#include "log/AddressFinder.h"

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

} // namespace
