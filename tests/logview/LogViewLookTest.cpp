#include "LogViewFixture.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <windowsx.h>

namespace {

const wchar_t kColoured[] = L"\x03"
                            L"4red \x03"
                            L"3green \x03"
                            L"12blue\x03 \x02"
                            L"bold\x02 \x1Funder\x1F \x16reverse\x16";

void AddSampleLines(TLogView& view)
{
    TLogLineData data;
    data.timeText = L"12:34:56 ";
    data.placePrefix = L"<#日本語> ";
    data.nickPrefix = L"<たろう> ";
    data.nick = L"たろう";
    data.body = L"こんにちは、今日はいい天気ですね。漢字とかなとカタカナ、ｈａｌｆ ﾊﾝｶｸ.";
    view.AddLine(data, true);
    data.body = kColoured;
    view.AddLine(data, true);
    data.body = L"see https://example.org/ページ?q=1 and irc.example.net.jp";
    view.AddLine(data, true);
    data.body = L"this line has a keyword in it, キーワード too";
    view.AddLine(data, true);
    for (int i = 0; i < 3; i++) {
        data.body = L"長い行が折り返されます。The long line wraps across the width of the view and keeps going "
                    L"with more and more text so that several rows are needed to show it whole.";
        data.lineType = i == 2 ? 14 : i;
        view.AddLine(data, true);
    }
}

TEST_F(LogViewWindowTest, ScreenshotShowsJapaneseColoursUrlsKeywordsAndASelection)
{
    keyword.Like.push_back(L"キーワード");
    AddSampleLines(view);
    Settle();
    DragMouse(PointOfChar(3, 20), PointOfChar(4, 40));
    Settle();
    ASSERT_TRUE(view.HasSelection());
    const auto canvas = CaptureView();
    canvas->SavePng(ScreenshotPath(L"logview.png"));
    const RECT all = {0, 0, canvas->width, canvas->height};
    EXPECT_GT(canvas->Count(all, theme.text.selectBackColor), 100);
    EXPECT_GT(canvas->Count(all, RGB(255, 0, 0)), 10); // the red text
    EXPECT_GT(canvas->Count(all, theme.text.lineFonts[14].color), 10);
}

// Lines, sizes and fonts at their extremes: every step must come back, no read may leave a buffer.
TEST_F(LogViewWindowTest, ExtremeLinesSizesAndFontsNeitherHangNorBreak)
{
    CString huge;
    wchar_t* p = huge.GetBufferSetLength(100000);
    for (int i = 0; i < 100000; i++)
        p[i] = i % 97 == 0 ? L' ' : i % 13 == 0 ? 0x3042 : (i % 5 == 0 ? 0x03 : L'a' + i % 26);
    huge.ReleaseBuffer(100000);
    view.AddLine(Line(huge), true);
    view.AddLine(Line(CString(L'x', 100000)), true);
    CString shaped; // Arabic, shaped as whole strings
    for (int i = 0; i < 30000; i++)
        shaped += i % 7 == 6 ? L' ' : (wchar_t)(0x0628 + i % 5);
    view.AddLine(Line(shaped), true);
    AddSampleLines(view);

    const int sizes[] = {10, 1, 500};
    const SIZE views[] = {{600, 400}, {0, 400}, {1, 1}, {600, 0}, {30, 800}};
    for (int size : sizes) {
        for (TViewFont& font : settings.logText.lineFonts)
            font.size = size;
        theme.text.Apply(settings.logText);
        for (SIZE s : views) {
            SetViewSize(s.cx, s.cy);
            view.ResetLayout();
            view.RefreshView();
            Settle();
            view.ScrollToTop();
            view.PageDown();
            view.ScrollDown(50);
            view.ShowLine(0);
            POINT points[] = {{-5, -5}, {3, 3}, {s.cx / 2, s.cy / 2}, {s.cx + 10, s.cy + 10}};
            for (POINT point : points) {
                TLogTextPos pos;
                view.HitTest(point, pos, true);
                EXPECT_LE(pos.line, view.GetLineCount());
            }
            view.SelectAll();
            EXPECT_TRUE(view.GetSelectedText() == view.GetAllText());
            view.SetSearchWords({L"a", L"x"});
            view.FindNextMatch(false, false);
            view.SetSearchWords({});
            view.ClearSelection();
            Settle();
        }
    }
    view.RemoveHeadLines(-1);
    EXPECT_EQ(0, view.GetLineCount());
}

} // namespace
