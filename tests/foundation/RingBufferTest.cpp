#include "foundation/RingBuffer.h"

#include <gtest/gtest.h>

namespace {

std::vector<CString> All(const TRingBuffer& ring)
{
    std::vector<CString> lines;
    ring.GetAll(lines);
    return lines;
}

CString Line(int i)
{
    CString s;
    s.Format(L"line %d", i);
    return s;
}

} // namespace

TEST(InputHistory, RepeatedLinesAreStoredOnce)
{
    TRingBuffer ring;
    ring.Add(L"a");
    ring.Add(L"a");
    EXPECT_EQ(All(ring), (std::vector<CString>{L"a"}));
    ring.Add(L"b");
    ring.Add(L"a");
    EXPECT_EQ(All(ring), (std::vector<CString>{L"a", L"b", L"a"}));
}

TEST(InputHistory, KeepsTheLast49LinesOldestFirst)
{
    TRingBuffer ring;
    for (int i = 0; i < 60; i++)
        ring.Add(Line(i));
    std::vector<CString> lines = All(ring);
    ASSERT_EQ(lines.size(), 49u);
    EXPECT_EQ(lines.front(), Line(11));
    EXPECT_EQ(lines.back(), Line(59));
    // Up past the oldest line keeps showing it, even with the ring full.
    CString shown;
    for (int i = 0; i < 60; i++)
        shown = ring.GetPrevious(L"typed");
    EXPECT_EQ(shown, Line(11));
    for (int i = 0; i < 48; i++)
        shown = ring.GetNext(shown);
    EXPECT_EQ(shown, Line(59));
    EXPECT_EQ(ring.GetNext(shown), L"typed");
}

TEST(InputHistory, EmptyHistory)
{
    TRingBuffer ring;
    EXPECT_EQ(ring.GetPrevious(L"draft"), L"draft");
    EXPECT_EQ(ring.GetPrevious(L"draft"), L"draft");
    EXPECT_EQ(ring.GetNext(L""), L"");
    EXPECT_TRUE(All(ring).empty());
}

TEST(InputHistory, BrowsingKeepsTheLineBeingTyped)
{
    TRingBuffer ring;
    ring.Add(L"one");
    ring.Add(L"two");
    EXPECT_EQ(ring.GetPrevious(L"x"), L"two");
    EXPECT_EQ(ring.GetNext(L"two"), L"x");
    EXPECT_EQ(ring.GetPrevious(L"x"), L"two");
    EXPECT_EQ(ring.GetPrevious(L"two"), L"one");
    EXPECT_EQ(ring.GetPrevious(L"one"), L"one");
    EXPECT_EQ(ring.GetNext(L"one"), L"two");
    EXPECT_EQ(ring.GetNext(L"two"), L"x");
    // Sending a line ends browsing.
    ring.GetPrevious(L"x");
    ring.Add(L"three");
    EXPECT_EQ(ring.GetPrevious(L""), L"three");
}

TEST(InputHistory, DownOnATypedLineFilesItAway)
{
    TRingBuffer ring;
    ring.Add(L"old");
    EXPECT_EQ(ring.GetNext(L"x"), L"");
    EXPECT_EQ(All(ring), (std::vector<CString>{L"old", L"x"}));
    EXPECT_EQ(ring.GetPrevious(L""), L"x");
}

TEST(InputHistory, EmptyLinesDoNotHideOlderOnes)
{
    TRingBuffer ring;
    ring.Add(L"a");
    ring.Add(L"");
    ring.Add(L"b");
    EXPECT_EQ(All(ring), (std::vector<CString>{L"a", L"b"}));
    EXPECT_EQ(ring.GetPrevious(L""), L"b");
    EXPECT_EQ(ring.GetPrevious(L"b"), L"a");
}
