#include "log/LogLineStore.h"
#include "log/AddressFinder.h"
#include "settings/LogKeyword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLineStoreTest, NumbersComposesAndDropsTheOldestLines)
{
    TLogAddressFinder finder;
    TLogKeyword keyword;
    keyword.Like = {L"hello"};
    TLogDrawContext context;
    context.addressFinder = &finder;
    context.keyword = &keyword;
    TLogLineStore store(&context);
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

} // namespace
