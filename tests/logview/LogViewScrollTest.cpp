#include "LogViewFixture.h"
#include "logview/LogViewInput.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/UserInput.h"

namespace {

int TopLineNumber(TLogView& view) { return view.GetLine(view.GetTopPosition().line).model.lineNumber; }

TEST_F(LogViewWindowTest, WheelScrollsRowsAndTheScrollBarArrowOneRow)
{
    view.AddLine(Line(CString(L"wrapped ") + CString(L'w', 300)), false);
    AddLines(200);
    view.ScrollToTop();
    ClickAt(ScreenPointOf(view, 100, 100));
    const int rows = GetWheelScrollRows();
    ASSERT_LT(rows, 50);
    ASSERT_GE(view.GetLine(0).GetRowCount(), 2);

    TurnWheelBy(-WHEEL_DELTA);
    TLogRowPos expected = {0, rows};
    if (rows >= view.GetLine(0).GetRowCount())
        expected = {1 + rows - view.GetLine(0).GetRowCount(), 0};
    EXPECT_EQ(expected, view.GetTopPosition());
    TurnWheelBy(-WHEEL_DELTA / 2);
    EXPECT_EQ(expected, view.GetTopPosition()); // half a notch waits for the other half
    TurnWheelBy(-WHEEL_DELTA / 2);
    TurnWheelBy(2 * WHEEL_DELTA);
    EXPECT_EQ(TLogRowPos(), view.GetTopPosition());

    RECT bar;
    GetWindowRect(view, &bar);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const POINT down = {bar.right - GetSystemMetrics(SM_CXVSCROLL) / 2, bar.bottom - arrow / 2};
    ClickAt(down);
    EXPECT_EQ((TLogRowPos{0, 1}), view.GetTopPosition());
    ClickAt(down);
    ClickAt({down.x, bar.top + arrow / 2});
    EXPECT_EQ((TLogRowPos{0, 1}), view.GetTopPosition());

    const TLogRowPos bottom = view.GetBottomPosition();
    ClickAt({down.x, bar.bottom - 2 * arrow}); // the page area below the thumb
    EXPECT_EQ(bottom, view.GetTopPosition());
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(view, SB_VERT, &info);
    EXPECT_EQ(view.GetLineCount() - 1, info.nMax);
    EXPECT_EQ(bottom.line, info.nPos);
}

TEST_F(LogViewWindowTest, ScrolledBackViewStaysPutWhileLinesArriveAndFollowsAgainAtTheEnd)
{
    AddLines(200);
    EXPECT_TRUE(view.IsAtEnd());
    ClickAt(ScreenPointOf(view, 100, 100));
    TurnWheelBy(3 * WHEEL_DELTA);
    ASSERT_FALSE(view.IsAtEnd());
    const int number = TopLineNumber(view);
    const TLogRowPos top = view.GetTopPosition();
    AddLines(50);
    Settle();
    EXPECT_EQ(number, TopLineNumber(view));
    EXPECT_EQ(top, view.GetTopPosition());

    PressKey(VK_END);
    EXPECT_TRUE(view.IsAtEnd());
    for (int i = 0; i < 30; i++) {
        view.AddLine(Line(CString(L"a newest line that wraps ") + CString(L'z', i * 10)), false);
        EXPECT_TRUE(view.IsAtEnd()) << i;
    }
    Settle();
    EXPECT_GT(TopLineNumber(view), number + 50);
}

TEST_F(LogViewWindowTest, LineLimitDropsTheOldestAndTheSelectionFollowsItsText)
{
    view.maxLines = 100;
    AddLines(100);
    view.ScrollToTop();
    ASSERT_TRUE(view.FindText(L"line 030", true, false, false));
    EXPECT_STREQ(L"line 030", view.GetSelectedText());
    const TLogLineAdded added = view.AddLine(Line(L"one more"), false);
    EXPECT_EQ(101, added.lineNumber);
    EXPECT_EQ(100, view.GetLineCount());
    EXPECT_STREQ(L"line 001", view.GetLine(0).model.text);
    for (int i = 0; i < 29; i++) {
        view.AddLine(Line(L"more"), false);
        EXPECT_STREQ(L"line 030", view.GetSelectedText()) << i;
    }
    view.AddLine(Line(L"the selected line goes"), false);
    EXPECT_EQ((TLogTextPos{0, 0}), view.GetSelection().start);
    EXPECT_LE(view.GetSelectedText().GetLength(), 8);
    EXPECT_FALSE(view.JumpToLineNumber(5));
    EXPECT_TRUE(view.JumpToLineNumber(120));

    view.RemoveHeadLines(1000);
    EXPECT_EQ(0, view.GetLineCount());
    view.PageUp();
    view.ScrollDown(3);
    Settle();
    EXPECT_EQ(132, view.AddLine(Line(L"numbers go on"), false).lineNumber);
}

// Which lines of the view show a colour somewhere in their band.
std::vector<bool> LinesShowing(TLogView& view, const TMemoryCanvas& canvas, COLORREF color)
{
    std::vector<bool> shown;
    int y = 2;
    for (int i = view.GetTopPosition().line; i < view.GetLineCount() && y < canvas.height; i++) {
        TLogLine& line = view.GetLine(i);
        const int height = line.composition.GetRowsHeight(0, line.GetRowCount());
        shown.push_back(canvas.Count(RECT{0, y, canvas.width, y + height}, color) > 0);
        y += height;
    }
    return shown;
}

TEST_F(LogViewWindowTest, SearchHighlightsEveryOccurrenceAndStepsThroughThem)
{
    const wchar_t* texts[] = {L"nothing here", L"a needle", L"NEEDLE and needle", L"hay", L"ｎｅｅｄｌｅ full width",
                              L"more hay",     L"needle"};
    for (const wchar_t* text : texts)
        view.AddLine(Line(text), false);
    view.SetSearchWords({L"Needle", L"ＮＥＥＤＬＥ"}); // full-width capitals fold too
    Settle();
    const auto canvas = CaptureView();
    canvas->SavePng(ScreenshotPath(L"logview-search.png"));
    const std::vector<bool> highlighted = LinesShowing(view, *canvas, theme.text.hilightBackColor);
    const std::vector<bool> selected = LinesShowing(view, *canvas, theme.text.selectBackColor);
    // The first occurrence is selected, the others only highlighted.
    ASSERT_EQ((std::vector<bool>{false, false, true, false, true, false, true}), highlighted);
    EXPECT_TRUE(selected[1]);

    std::vector<TLogTextPos> stops = {view.GetSelection().start};
    while (view.FindNextMatch(true, false) && !(view.GetSelection().start == stops[0]))
        stops.push_back(view.GetSelection().start);
    const std::vector<TLogTextPos> all = {{1, 2}, {2, 0}, {2, 11}, {4, 0}, {6, 0}};
    EXPECT_EQ(all, stops);

    view.SetSearchWords({});
    Settle();
    EXPECT_EQ(std::vector<bool>(7, false), LinesShowing(view, *CaptureView(), theme.text.hilightBackColor));
}

} // namespace

namespace {

TEST_F(LogViewWindowTest, EndingASearchReturnsToTheSameTextAfterOldLinesWent)
{
    view.maxLines = 100;
    AddLines(100);
    view.ScrollToTop();
    view.ScrollDown(50);
    const CString before = view.GetLine(view.GetTopPosition().line).model.text;
    view.SetSearchWords({L"line 099"});
    AddLines(30); // drops the 30 oldest lines while the search is on
    view.SetSearchWords({});
    EXPECT_STREQ(before, view.GetLine(view.GetTopPosition().line).model.text);
}

TEST_F(LogViewWindowTest, KeysScrollSelectAndCopyAndTheRestGoToTheListener)
{
    struct TKeys : ILogViewKeyListener {
        std::vector<UINT> keys;
        bool OnKeyDown(TLogView*, UINT key) override
        {
            keys.push_back(key);
            return key == 'Q';
        }
        bool OnSysKeyDown(TLogView*, UINT key) override
        {
            keys.push_back(key + 0x1000);
            return false;
        }
    } listener;
    view.keyListener = &listener;
    AddLines(100);
    FocusForInput(view);
    PressKey(VK_HOME);
    EXPECT_EQ(TLogRowPos(), view.GetTopPosition());
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ((TLogRowPos{2, 0}), view.GetTopPosition());
    PressKey(VK_UP);
    EXPECT_EQ((TLogRowPos{1, 0}), view.GetTopPosition());
    const TLogRowPos bottom = view.GetBottomPosition();
    PressKey(VK_NEXT);
    EXPECT_EQ(bottom, view.GetTopPosition());
    PressKey(VK_PRIOR);
    EXPECT_EQ((TLogRowPos{1, 0}), view.GetTopPosition());
    PressKey(VK_END);
    EXPECT_TRUE(view.IsAtEnd());
    EXPECT_TRUE(listener.keys.empty());

    PressKey('A', {VK_CONTROL});
    EXPECT_STREQ(view.GetAllText(), view.GetSelectedText());
    PressKey('C', {VK_CONTROL});
    EXPECT_FALSE(view.HasSelection());
    EXPECT_STREQ(view.GetAllText(), ClipboardText());

    PressKey('Q');
    PressKey(VK_F5);
    PressKey(VK_SHIFT); // never reported
    const std::vector<UINT> expected = {'Q', VK_F5};
    EXPECT_EQ(expected, listener.keys);
}

} // namespace
