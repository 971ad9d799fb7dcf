#include "log/LogLineStore.h"
#include "log/AddressFinder.h"
#include "settings/LogKeyword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

class LogLineStoreTest : public ::testing::Test {
protected:
    LogLineStoreTest()
    {
        keyword.Like = {L"hello"};
        context.addressFinder = &finder;
        context.keyword = &keyword;
    }

    TLogAddressFinder finder;
    TLogKeyword keyword;
    TLogDrawContext context;
    TLogLineStore store{&context};
};

TEST_F(LogLineStoreTest, NumbersComposesAndDropsTheOldestLines)
{
    store.limit = 3;
    ILogLineSink& sink = store;

    TLogLineData data;
    data.nickPrefix = L"(bob) ";
    data.body = L"hello \x02http://a.org/\x02";
    data.lineNumber = 99;
    TLogLineAdded added = sink.AddLine(data, true);
    EXPECT_EQ(added.lineNumber, 1);
    EXPECT_TRUE(added.keyword);
    ASSERT_EQ(added.urls.size(), 1u);
    EXPECT_EQ(added.text.Mid(added.urls[0].start, added.urls[0].end - added.urls[0].start), CString(L"http://a.org/"));
    EXPECT_FALSE(sink.AddLine(data, false).keyword);

    data.body = L"plain";
    for (int i = 0; i < 3; i++)
        added = sink.AddLine(data, true);
    EXPECT_EQ(added.lineNumber, 5);
    EXPECT_TRUE(added.urls.empty());
    ASSERT_EQ(store.GetCount(), 3);
    EXPECT_EQ(store.GetLine(0).model.lineNumber, 3);
    store.RemoveHeadLines(10);
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(sink.AddLine(data, true).lineNumber, 6);
}

// The store composes the newest line into the object of a line it dropped: at its limit, or
// after the owner removed old lines.
TEST_F(LogLineStoreTest, ALineTakingTheOldestsPlaceKeepsNothingOfIt)
{
    for (const bool byLimit : {true, false}) {
        SCOPED_TRACE(byLimit ? "dropped at the limit" : "dropped by the owner");
        store.Clear();
        store.limit = byLimit ? 1 : 0;

        TLogLineData data;
        data.timeText = L"10:00 ";
        data.nickPrefix = L"(bob) ";
        data.nick = L"bob";
        data.eventData = L"event";
        data.body = L"hello irc.example.net \x02http://a.org/\x02 and a long tail of words";
        store.AddLine(data, true);
        store.GetLine(0).composition.layoutStamp = context.layoutGeneration; // as if laid out
        if (!byLimit)
            store.RemoveHeadLines(1);
        TLogLineData plain;
        plain.body = L"hi";
        TLogLineAdded added = store.AddLine(plain, true);
        EXPECT_FALSE(added.keyword);
        EXPECT_TRUE(added.urls.empty());
        ASSERT_EQ(store.GetCount(), 1);
        const TLogLineModel& model = store.GetLine(0).model;
        EXPECT_EQ(model.text, CString(L"hi"));
        EXPECT_EQ(model.length, 2);
        EXPECT_FALSE(model.keyword);
        EXPECT_TRUE(model.urls.empty());
        EXPECT_TRUE(model.addresses.empty());
        EXPECT_TRUE(model.nick.IsEmpty());
        EXPECT_TRUE(model.eventData.IsEmpty());
        ASSERT_EQ(model.runs.size(), 1u);
        EXPECT_EQ(model.runs[0].start, 0);
        EXPECT_EQ(model.runs[0].end, 2);
        EXPECT_EQ(model.runs[0].kind, RUN_TEXT);
        EXPECT_NE(store.GetLine(0).composition.layoutStamp, context.layoutGeneration);
    }
}

} // namespace
