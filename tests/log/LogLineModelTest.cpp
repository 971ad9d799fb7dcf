#include "log/AddressFinder.h"
#include "log/LogLine.h"
#include "settings/LogKeyword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

class LogLineModelTest : public ::testing::Test {
protected:
    TLogLineModel Compose(const CString& body, int lineType = LINE_MESSAGE, bool checkKeywords = true)
    {
        TLogLineData data;
        data.timeText = timeText;
        data.placePrefix = placePrefix;
        data.nickPrefix = nickPrefix;
        data.body = body;
        data.lineType = lineType;
        TLogLineModel model;
        model.Compose(data, context, checkKeywords);
        return model;
    }

    // The body runs only, as "kind:flags:fg:bg:text" items joined with "|".
    static CString Describe(const TLogLineModel& model)
    {
        CString out;
        for (const TLogRun& run : model.runs) {
            if (run.kind == RUN_TIME || run.kind == RUN_PLACE || run.kind == RUN_NICK)
                continue;
            CString item;
            item.Format(L"%d:%02X:%d:%d:", run.kind, run.flags, run.foreground, run.background);
            out += (out.IsEmpty() ? L"" : L"|") + item + model.text.Mid(run.start, run.end - run.start);
        }
        return out;
    }

    TLogDrawContext context;
    TLogAddressFinder finder;
    TLogKeyword keyword;
    CString timeText, placePrefix, nickPrefix;
};

TEST_F(LogLineModelTest, ControlCodesBecomeStyledRuns)
{
    struct {
        const wchar_t* body;
        const wchar_t* runs;
    } cases[] = {
        {L"\x03"
         L"12,5x",
         L"0:C0:12:5:x"},
        {L"\x03"
         L"123",
         L"0:40:12:0:3"},
        {L"\x03"
         L"99a",
         L"0:40:3:0:a"},
        {L"\x03"
         L",5a",
         L"0:00:0:0:,5a"},
        {L"\x03"
         L"4,x",
         L"0:40:4:0:,x"},
        {L"\x03"
         L"4,",
         L"0:40:4:0:,"},
        {L"\x03"
         L"4,1",
         L""},
        {L"\x03", L""},
        {L"\x03"
         L"7",
         L""},
        {L"\x02\x0F", L""},
        {L"\x02"
         L"a\x02"
         L"b",
         L"0:01:0:0:a|0:00:0:0:b"},
        {L"\x1F"
         L"u\x16"
         L"r\x0F"
         L"p",
         L"0:02:0:0:u|0:22:0:0:r|0:00:0:0:p"},
        // Reset clears the flags but keeps the colour numbers, which still split runs.
        {L"\x03"
         L"4a\x0F"
         L"b\x03"
         L"c",
         L"0:40:4:0:a|0:00:4:0:b|0:00:0:0:c"},
        {L"\x01"
         L"x\x07",
         L"0:00:0:0:\x01x\x07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(Compose(c.body)), CString(c.runs)) << ::testing::PrintToString(CString(c.body));
}

TEST_F(LogLineModelTest, PrefixRunsComeFirstAndEmptyPartsAreSkipped)
{
    timeText = L"12:00 ";
    nickPrefix = L"(nick) ";
    TLogLineModel model = Compose(L"hi");
    EXPECT_EQ(model.text, CString(L"12:00 (nick) hi"));
    EXPECT_EQ(model.length, 15);
    ASSERT_EQ(model.runs.size(), 3u);
    EXPECT_EQ(model.runs[0].kind, RUN_TIME);
    EXPECT_EQ(model.runs[0].end, 6);
    EXPECT_EQ(model.runs[1].kind, RUN_NICK);
    EXPECT_EQ(model.runs[1].start, 6);
    EXPECT_EQ(model.runs[2].start, 13);

    timeText = nickPrefix = L"";
    model = Compose(L"body");
    ASSERT_EQ(model.runs.size(), 1u);
    EXPECT_EQ(model.runs[0].start, 0);
}

TEST_F(LogLineModelTest, TabsAreFourSpacesBeforeUrlsAreFound)
{
    context.addressFinder = &finder;
    placePrefix = L"<#c> ";
    TLogLineModel model = Compose(L"\thttp://a.org/");
    EXPECT_EQ(model.text, CString(L"<#c>     http://a.org/"));
    ASSERT_EQ(model.urls.size(), 1u);
    EXPECT_EQ(model.urls[0].start, 9);
    EXPECT_EQ(model.GetUrlAt(12), CString(L"http://a.org/"));
    EXPECT_EQ(model.RunKindAt(9), RUN_URL);
    EXPECT_EQ(model.RunKindAt(4), RUN_PLACE);
}

// Each tab makes the line longer than its body: what follows the tabs is all kept, however
// many there are and wherever codes come between.
TEST_F(LogLineModelTest, TextAfterTabsIsKeptWhole)
{
    timeText = L"12:34 ";
    const struct {
        const wchar_t* body;
        const wchar_t* text;
    } cases[] = {
        // The line's buffer is made for the prefix and the body, 32 characters here.
        {L"\t\t\tabcdefghijklmnopqrstuvw", L"12:34             abcdefghijklmnopqrstuvw"},
        {L"a\tb\tc\td\te", L"12:34 a    b    c    d    e"},
        {L"\x02\t\x03"
         L"4,5\tx\x0f\t\t0123456789",
         L"12:34         x        0123456789"},
        {L"\t\t\t\t\t\t\t\t", L"12:34                                 "},
    };
    for (const auto& c : cases) {
        TLogLineModel model = Compose(c.body);
        EXPECT_EQ(model.text, CString(c.text)) << ::testing::PrintToString(CString(c.body));
        EXPECT_EQ(model.length, model.text.GetLength());
        ASSERT_FALSE(model.runs.empty());
        EXPECT_EQ(model.runs.back().end, model.text.GetLength());
    }
}

TEST_F(LogLineModelTest, KeywordInsideUrlSplitsRunsButNotTheUrl)
{
    context.addressFinder = &finder;
    context.keyword = &keyword;
    keyword.Like = {L"key"};
    keyword.IgnoreURL = false;
    TLogLineModel model = Compose(L"see http://a.org/key/x now");
    EXPECT_TRUE(model.keyword);
    EXPECT_EQ(Describe(model), CString(L"0:00:0:0:see |4:00:0:0:http://a.org/|6:00:0:0:key|4:00:0:0:/x|0:00:0:0: now"));
    EXPECT_EQ(model.GetUrlAt(17), CString(L"http://a.org/key/x"));

    keyword.IgnoreURL = true;
    model = Compose(L"see http://a.org/key/x now");
    EXPECT_FALSE(model.keyword);
}

TEST_F(LogLineModelTest, KeywordsOnlyOnMessageLinesWhenAsked)
{
    context.keyword = &keyword;
    keyword.Like = {L"ping"};
    EXPECT_TRUE(Compose(L"a ping", LINE_MESSAGE).keyword);
    EXPECT_TRUE(Compose(L"a ping", LINE_ACTION).keyword);
    EXPECT_FALSE(Compose(L"a ping", 3).keyword);
    EXPECT_FALSE(Compose(L"a ping", LINE_MESSAGE, false).keyword);
}

TEST_F(LogLineModelTest, ChangedKeywordSettingsCountFromTheNextLine)
{
    context.keyword = &keyword;
    keyword.Like = {L"ping"};
    EXPECT_TRUE(Compose(L"a PING").keyword);
    keyword.Like = {L"pong"};
    EXPECT_FALSE(Compose(L"a ping").keyword);
    EXPECT_TRUE(Compose(L"a pong").keyword);
    keyword.Case = true;
    EXPECT_FALSE(Compose(L"a PONG").keyword);
    keyword.Case = false;
    keyword.Dislike = {L"ponger"};
    EXPECT_FALSE(Compose(L"a ponger").keyword);
    keyword.Dislike.clear();
    EXPECT_TRUE(Compose(L"a ponger").keyword);
    keyword.Like.clear();
    EXPECT_FALSE(Compose(L"a pong").keyword);
}

TEST_F(LogLineModelTest, AddressesAndUrlsAreMarkedUrlWinning)
{
    context.addressFinder = &finder;
    nickPrefix = L"(n) ";
    TLogLineModel model = Compose(L"host irc.example.net at 10.0.0.1 or http://www.example.org/");
    ASSERT_EQ(model.addresses.size(), 3u);
    EXPECT_EQ(model.GetAddressAt(10), CString(L"irc.example.net"));
    EXPECT_EQ(model.GetAddressAt(32), CString(L"10.0.0.1"));
    EXPECT_EQ(model.RunKindAt(10), RUN_ADDRESS);
    int inUrl = model.text.Find(L"www") + 1;
    EXPECT_EQ(model.RunKindAt(inUrl), RUN_URL);
    EXPECT_EQ(model.GetAddressAt(inUrl), CString(L"www.example.org"));
    EXPECT_EQ(model.GetUrlAt(inUrl), CString(L"http://www.example.org/"));
    EXPECT_EQ(model.GetUrlAt(0), CString());
}

TEST_F(LogLineModelTest, RawTextKeepsCodesAndMarksNothing)
{
    context.addressFinder = &finder;
    context.rawText = true;
    TLogLineModel model = Compose(L"\x02http://a.org/");
    EXPECT_EQ(model.text, CString(L"\x02http://a.org/"));
    EXPECT_TRUE(model.urls.empty());
    ASSERT_EQ(model.runs.size(), 1u);
    model = Compose(L"");
    ASSERT_EQ(model.runs.size(), 1u);
    EXPECT_EQ(model.runs[0].start, model.runs[0].end);
}

// Runs always cover the text without gaps, whatever codes the body holds.
TEST_F(LogLineModelTest, CodeSoupGivesGaplessRuns)
{
    context.addressFinder = &finder;
    context.keyword = &keyword;
    keyword.Like = {L"a", L"\x03"};
    const wchar_t alphabet[] = {2, 3, 15, 22, 31, 9, L'0', L'5', L',', L'a', L'.', L':', L'/', 0x3042, 0xD800};
    unsigned seed = 7;
    for (int round = 0; round < 300; round++) {
        CString body;
        int length = round % 40;
        for (int i = 0; i < length; i++) {
            seed = seed * 1103515245 + 12345;
            body += alphabet[(seed >> 16) % (sizeof alphabet / sizeof alphabet[0])];
        }
        timeText = round % 2 ? L"t " : L"";
        TLogLineModel model = Compose(body);
        int at = 0;
        for (const TLogRun& run : model.runs) {
            EXPECT_EQ(run.start, at);
            EXPECT_GT(run.end, run.start);
            at = run.end;
        }
        EXPECT_EQ(at, model.length);
        EXPECT_EQ(model.length, model.text.GetLength());
    }
}

} // namespace
