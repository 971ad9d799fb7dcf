#include "FakeLogLines.h"
#include "logview/LogSearch.h"
#include "logview/LogViewInput.h"

#include <gtest/gtest.h>

namespace {

struct SelectionTest : testing::Test {
    TFakeLogLines lines;
    TLogSelection selection;
    SelectionTest()
    {
        for (const wchar_t* text : {L"first line", L"second line", L"", L"fourth line"})
            lines.Add(text);
    }
    CString Selected(TLogTextPos anchor, TLogTextPos moving)
    {
        selection.Set(anchor, moving);
        return GetSelectedText(lines, selection);
    }
};

TEST_F(SelectionTest, SelectedTextJoinsLinesWithCrLf)
{
    const struct {
        TLogTextPos anchor, moving;
        const wchar_t* text;
    } cases[] = {
        {{0, 6}, {0, 10}, L"line"},
        {{1, 3}, {0, 6}, L"line\r\nsec"}, // dragged backwards
        {{0, 0}, {1, 11}, L"first line\r\nsecond line"},
        {{0, 10}, {1, 6}, L"second"}, // nothing of the first line, so no line break
        {{1, 0}, {3, 6}, L"second line\r\n\r\nfourth"},
        {{4, 0}, {0, 0}, L"first line\r\nsecond line\r\n\r\nfourth line\r\n"}, // select all
        {{2, 0}, {3, 0}, L""},
        {{0, 3}, {0, 3}, L""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, Selected(c.anchor, c.moving).GetString()) << c.text;
}

TEST_F(SelectionTest, DroppedLinesShiftTheSelectionAndCutWhatLeft)
{
    selection.Set({1, 2}, {3, 4});
    selection.lastClick = {2, 1};
    selection.ShiftLines(1);
    EXPECT_EQ((TLogTextPos{0, 2}), selection.start);
    EXPECT_EQ((TLogTextPos{2, 4}), selection.end);
    EXPECT_EQ((TLogTextPos{1, 1}), selection.lastClick);
    selection.ShiftLines(1); // the start line goes: the selection begins at the origin
    EXPECT_EQ(TLogTextPos(), selection.start);
    EXPECT_EQ((TLogTextPos{1, 4}), selection.end);
    EXPECT_TRUE(selection.HasSelection());
    selection.ShiftLines(5);
    EXPECT_FALSE(selection.HasSelection());
}

TEST_F(SelectionTest, ColumnsOfEachSelectedLine)
{
    selection.Set({0, 6}, {3, 2});
    int from = -1, to = -1;
    ASSERT_TRUE(selection.GetColumns(0, 10, from, to));
    EXPECT_EQ(6, from);
    EXPECT_EQ(10, to);
    ASSERT_TRUE(selection.GetColumns(1, 11, from, to));
    EXPECT_EQ(0, from);
    EXPECT_EQ(11, to);
    EXPECT_FALSE(selection.GetColumns(2, 0, from, to));
    ASSERT_TRUE(selection.GetColumns(3, 11, from, to));
    EXPECT_EQ(2, to);
    EXPECT_FALSE(selection.GetColumns(4, 5, from, to));
    EXPECT_TRUE(selection.Contains({0, 6}));
    EXPECT_FALSE(selection.Contains({3, 2}));
}

struct SearchTest : SelectionTest {
    // Finds and selects the match as the view does, so the next search goes on from it.
    bool Find(const wchar_t* text, bool forward, bool matchCase, bool wrap, TLogTextPos expected)
    {
        TLogMatch match;
        if (!FindTextInLines(lines, text, forward, matchCase, wrap, selection, match))
            return false;
        selection.Set({match.line, match.index + match.length}, {match.line, match.index});
        EXPECT_EQ(expected, selection.start) << text;
        return true;
    }
};

TEST_F(SearchTest, FindTextWalksForwardAndBackwardWithWrapAround)
{
    EXPECT_TRUE(Find(L"LINE", true, false, false, {0, 6}));
    EXPECT_TRUE(Find(L"line", true, true, false, {1, 7}));
    EXPECT_TRUE(Find(L"line", true, true, false, {3, 7}));
    EXPECT_FALSE(Find(L"line", true, true, false, {}));
    EXPECT_TRUE(Find(L"line", true, true, true, {0, 6}));
    EXPECT_FALSE(Find(L"LINE", true, true, true, {}));
    // backward from the first line wraps to the last one
    EXPECT_FALSE(Find(L"fourth", false, false, false, {}));
    EXPECT_TRUE(Find(L"fourth", false, false, true, {3, 0}));
    EXPECT_FALSE(Find(L"", true, false, true, {}));
}

TEST_F(SearchTest, BackwardFindsOverlappingOccurrencesBeforeTheStart)
{
    lines.texts = {L"aaaa"};
    selection.Set({0, 3}, {0, 4});
    EXPECT_TRUE(Find(L"aa", false, false, false, {0, 2}));
    EXPECT_TRUE(Find(L"aa", false, false, false, {0, 1}));
}

TEST_F(SearchTest, SearchWordsPreferTheLeftmostThenTheEarlierWord)
{
    lines.texts = {L"no match here", L"ABCdef abc", L"xx def"};
    TLogMatch match;
    const std::vector<CString> words = {L"", L"def", L"abcdef", L"abc"};
    ASSERT_TRUE(FindWordsInLines(lines, words, true, true, selection, match));
    EXPECT_EQ(1, match.line);
    EXPECT_EQ(0, match.index);
    EXPECT_EQ(6, match.length); // "abcdef" is listed before "abc"
    selection.Set({1, 6}, {1, 0});
    ASSERT_TRUE(FindWordsInLines(lines, words, true, false, selection, match));
    EXPECT_EQ(7, match.index);
    selection.Set({1, 10}, {1, 7});
    ASSERT_TRUE(FindWordsInLines(lines, words, true, false, selection, match));
    EXPECT_EQ(2, match.line);
    selection.Set({2, 6}, {2, 3});
    ASSERT_TRUE(FindWordsInLines(lines, words, true, false, selection, match));
    EXPECT_EQ(1, match.line); // wrapped around
    // backward: the occurrence ending furthest right wins, the earlier word on a tie
    selection.Set({1, 10}, {1, 7});
    ASSERT_TRUE(FindWordsInLines(lines, words, false, false, selection, match));
    EXPECT_EQ(3, match.index);
    EXPECT_EQ(3, match.length);
    EXPECT_FALSE(FindWordsInLines(lines, {L"zzz", L""}, true, true, selection, match));
}

TEST(LogViewInputTest, AutoScrollSpeedAndIntervalFollowTheDistance)
{
    const struct {
        int y, speed, interval;
    } cases[] = {{-1, -10, 200}, {-20, -100, 110}, {-40, -200, 10}, {-300, -200, 10}, {0, 0, 210},
                 {100, 0, 210},  {101, 10, 200},   {120, 100, 110}, {500, 200, 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.speed, GetAutoScrollSpeed(c.y, 100)) << c.y;
        EXPECT_EQ(c.interval, GetAutoScrollInterval(c.speed)) << c.y;
    }
    EXPECT_EQ(1, GetAutoScrollSteps(1000, 200));
    EXPECT_EQ(1, GetAutoScrollSteps(0, 10));
    EXPECT_EQ(3, GetAutoScrollSteps(35, 10));
    EXPECT_EQ(6, GetAutoScrollSteps(5000, 10));
}

TEST(LogViewInputTest, HalfWheelNotchesAccumulate)
{
    EXPECT_EQ(0, TakeWheelNotches(60));
    EXPECT_EQ(1, TakeWheelNotches(60));
    EXPECT_EQ(-2, TakeWheelNotches(-300));
    EXPECT_EQ(0, TakeWheelNotches(-50));
    EXPECT_EQ(-1, TakeWheelNotches(-10));
    EXPECT_EQ(2, TakeWheelNotches(240));
}

} // namespace
