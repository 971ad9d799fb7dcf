// The kept picture: after lines arrive or the view scrolls, the rows moved in the picture plus
// the rows drawn anew must show exactly what drawing every row again shows.

#include "LogViewFixture.h"

#include "tests/common/MessagePump.h"

#include <functional>

namespace {

struct TPictureCase {
    const char* name;
    // Brings the view into the state whose picture is then moved by new lines.
    std::function<void(TLogView&)> before;
    int added;
};

// The first pixel where two captures differ, or (-1, -1).
POINT FirstDifference(const TMemoryCanvas& a, const TMemoryCanvas& b)
{
    for (int y = 0; y < a.height; y++)
        for (int x = 0; x < a.width; x++)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return {x, y};
    return {-1, -1};
}

} // namespace

TEST_F(LogViewWindowTest, MovedRowsShowWhatAFullRepaintShows)
{
    const TPictureCase cases[] = {
        {"following the end", [](TLogView&) {}, 3},
        {"following after one line", [](TLogView&) {}, 1},
        {"scrolled back", [](TLogView& v) { v.ScrollUp(12); }, 4},
        {"scrolled back, then down by rows", [](TLogView& v) { v.ScrollUp(12); }, 0},
        {"a selection, scrolled back", [](TLogView& v) { v.FindText(L"line 07", true, false, true); }, 2},
        {"a selection, following", [](TLogView& v) { v.FindText(L"line 38", true, false, true); }, 2},
        {"search highlights, following",
         [](TLogView& v) {
             v.SetSearchWords({L"2", L"http"});
             v.ScrollToEnd();
         },
         3},
    };
    for (const TPictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        view.RemoveHeadLines(-1);
        view.EndSearch();
        view.ClearSelection();
        view.ScrollToEnd();
        for (int i = 0; i < 40; i++) {
            CString body;
            body.Format(L"line %02d \x03" L"4,8colour\x03 http://example.org/%d \x02" L"bold\x02 keyword"
                        L" \u65e5\u672c\u8a9e%s",
                        i, i, i % 7 == 0 ? L" and a long tail that wraps onto the next row of the view, twice over "
                                           L"when the view is narrow enough to need it"
                                         : L"");
            view.AddLine(Line(body, L"<nick> ", L"nick"), true);
        }
        c.before(view);
        Settle();
        for (int i = 0; i < c.added; i++)
            view.AddLine(Line(i == 1 ? L"new \x1freverse\x1f line wrapping well past the right edge of the view "
                                       L"so that it takes more than one row of the picture"
                                     : L"new line"),
                         true);
        if (c.added == 0)
            view.ScrollDown(5);
        Settle();
        const auto moved = CaptureView();
        view.ShowWindow(SW_HIDE);
        view.ShowWindow(SW_SHOW);
        Settle();
        const auto full = CaptureView();
        const POINT at = FirstDifference(*moved, *full);
        EXPECT_EQ(-1, at.x) << "first differing pixel at (" << at.x << ", " << at.y << ")";
        if (at.x >= 0)
            moved->SavePng(ScreenshotPath(L"logview-moved-rows.png"));
    }
}
