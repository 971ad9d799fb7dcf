#include "logview/LogViewLayout.h"
#include "FakeLogLines.h"

#include <gtest/gtest.h>

namespace {

// 100 pixels of text area: ten rows of 10 pixels, nine above the bottom margin.
struct LayoutTest : testing::Test {
    TFakeLogLines lines;
    TLogViewLayout layout{lines};
    LayoutTest() { layout.SetClientHeight(102); }

    // What the view does per added line, with the oldest dropped beyond the limit.
    void Append(const CString& text, int limit)
    {
        const bool wasAtEnd = layout.IsAtEnd();
        lines.Add(text);
        if (lines.GetLineCount() > limit) {
            lines.DropHead(1);
            layout.ShiftLines(1);
        }
        layout.FollowNewLines(wasAtEnd);
    }
    CString TopText() { return lines.GetLineText(layout.top.line); }
};

TEST_F(LayoutTest, EmptyViewIgnoresEveryScroll)
{
    layout.ScrollToEnd();
    layout.ScrollDown(5);
    layout.PageDown();
    layout.PageUp();
    layout.ScrollUp(2);
    layout.TrackThumb(3);
    layout.ShowLine(0);
    EXPECT_EQ(TLogRowPos(), layout.top);
    EXPECT_EQ(TLogRowPos(), layout.bottom);
    EXPECT_EQ(0, layout.GetScrollMaximum());
    EXPECT_EQ(0, layout.GetScrollPosition());
}

TEST_F(LayoutTest, ViewAtTheEndFollowsNewLinesAlsoWhenTheyWrap)
{
    for (int i = 0; i < 30; i++)
        Append(L"short", 1000);
    EXPECT_TRUE(layout.IsAtEnd());
    EXPECT_EQ((TLogRowPos{21, 0}), layout.top); // nine rows above the margin
    Append(L"a line that wraps into 3", 1000);
    EXPECT_TRUE(layout.IsAtEnd());
    EXPECT_EQ((TLogRowPos{24, 0}), layout.top); // six short lines and the three rows
}

TEST_F(LayoutTest, ScrolledBackViewKeepsItsTextUntilItsTopLineIsDropped)
{
    for (int i = 0; i < 40; i++)
        lines.Add(CString(L"line ") + (wchar_t)(L'A' + i % 26) + CString(L'x', i / 26));
    layout.ScrollToEnd();
    layout.ScrollUp(5);
    const CString first = TopText();
    const int topLine = layout.top.line;
    for (int i = 0; i < 60; i++) {
        Append(L"new", 50);
        const int dropped = lines.GetLineCount() == 50 ? 40 + i + 1 - 50 : 0;
        if (dropped <= topLine)
            EXPECT_EQ(first, TopText()) << i;
        else
            EXPECT_EQ(TLogRowPos(), layout.top) << i;
    }
}

TEST_F(LayoutTest, PageDownThenPageUpReturnsToTheSameRow)
{
    lines.AddMany(30);
    layout.ScrollToTop();
    EXPECT_EQ((TLogRowPos{10, 0}), layout.bottom);
    layout.PageDown();
    EXPECT_EQ((TLogRowPos{10, 0}), layout.top);
    layout.PageUp();
    EXPECT_EQ(TLogRowPos(), layout.top);
}

TEST_F(LayoutTest, ScrollingByRowsCrossesLinesAndStopsAtBothEnds)
{
    lines.Add(L"0123456789abcdefghij01234"); // three rows
    lines.AddMany(3);
    layout.ScrollToTop();
    layout.ScrollDown(2);
    EXPECT_EQ((TLogRowPos{0, 2}), layout.top);
    layout.ScrollDown(1);
    EXPECT_EQ((TLogRowPos{1, 0}), layout.top);
    layout.ScrollDown(100);
    EXPECT_EQ((TLogRowPos{3, 0}), layout.top);
    EXPECT_EQ(4, layout.GetScrollPosition()); // the last row at the top: the line count
    layout.ScrollUp(3);
    EXPECT_EQ((TLogRowPos{0, 2}), layout.top);
    layout.ScrollUp(100);
    EXPECT_EQ(TLogRowPos(), layout.top);
}

TEST_F(LayoutTest, ScrollBarOfOneTallLineHasThreePositions)
{
    lines.Add(CString(L'x', 35)); // four rows
    EXPECT_EQ(2, layout.GetScrollMaximum());
    const struct {
        int row, position;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}};
    for (const auto& c : cases) {
        layout.top = {0, c.row};
        EXPECT_EQ(c.position, layout.GetScrollPosition()) << c.row;
    }
    layout.TrackThumb(1);
    EXPECT_EQ((TLogRowPos{0, 2}), layout.top);
    layout.TrackThumb(2);
    EXPECT_EQ((TLogRowPos{0, 3}), layout.top);
}

TEST_F(LayoutTest, ScrollBarMaximumDependsOnTheLastLinesRows)
{
    lines.AddMany(20);
    EXPECT_EQ(19, layout.GetScrollMaximum());
    lines.Add(CString(L'x', 15));
    EXPECT_EQ(21, layout.GetScrollMaximum());
    layout.TrackThumb(50);
    EXPECT_EQ((TLogRowPos{20, 1}), layout.top);
}

TEST_F(LayoutTest, ShowLineScrollsTheLeastNeeded)
{
    lines.AddMany(30);
    layout.ScrollToTop();
    layout.ShowLine(5);
    EXPECT_EQ(TLogRowPos(), layout.top); // already visible
    layout.ShowLine(20);
    EXPECT_EQ((TLogRowPos{11, 0}), layout.top);
    layout.ShowLine(5);
    EXPECT_EQ((TLogRowPos{4, 0}), layout.top);
    layout.ShowLine(29);
    EXPECT_TRUE(layout.IsAtEnd());
}

TEST_F(LayoutTest, RelayoutMovesATopRowThatNoLongerExists)
{
    lines.Add(CString(L'x', 35));
    lines.AddMany(2);
    layout.top = {0, 3};
    lines.perRow = 40; // wider: one row each
    layout.FixTopAfterRelayout();
    EXPECT_EQ((TLogRowPos{1, 0}), layout.top);
    layout.top = {2, 3};
    layout.FixTopAfterRelayout();
    EXPECT_EQ((TLogRowPos{2, 0}), layout.top);
}

TEST_F(LayoutTest, DegenerateSizesNeitherHangNorLeaveTheLines)
{
    lines.Add(CString(L'x', 100000));
    lines.AddMany(5);
    const int heights[] = {0, -50, 1, 3};
    for (int height : heights) {
        layout.SetClientHeight(height);
        layout.ScrollToEnd();
        layout.PageUp();
        layout.PageDown();
        layout.ScrollUp(3);
        layout.ShowLine(0);
        EXPECT_LE(layout.top.line, lines.GetLineCount()) << height;
        EXPECT_GE(layout.top.row, 0) << height;
    }
}

} // namespace
