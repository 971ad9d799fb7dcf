// The view's short cuts: rows moved in the kept picture plus the rows drawn anew must show exactly
// what drawing every row again shows, and a view following a flood must end where following
// line by line ends.

#include "LogViewFixture.h"

#include "tests/common/MessagePump.h"

#include <functional>
#include <iterator>

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

// A shown picture must equal what drawing every row again shows; a differing one is kept.
void ExpectSameAsFullRepaint(const TMemoryCanvas& shown, const TMemoryCanvas& full, const wchar_t* differs)
{
    const POINT at = FirstDifference(shown, full);
    EXPECT_EQ(-1, at.x) << "first differing pixel at (" << at.x << ", " << at.y << ")";
    if (at.x >= 0 && differs)
        shown.SavePng(ScreenshotPath(differs));
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
            body.Format(L"line %02d \x03"
                        L"4,8colour\x03 http://example.org/%d \x02"
                        L"bold\x02 keyword"
                        L" \u65e5\u672c\u8a9e%s",
                        i, i,
                        i % 7 == 0 ? L" and a long tail that wraps onto the next row of the view, twice over "
                                     L"when the view is narrow enough to need it"
                                   : L"");
            view.AddLine(Line(body, L"<nick> ", L"nick"), true);
        }
        c.before(view);
        Settle();
        for (int i = 0; i < c.added; i++)
            view.AddLine(Line(i == 1 ? L"new \x16reverse\x16 line wrapping well past the right edge of the view "
                                       L"so that it takes more than one row of the picture"
                                     : L"new line"),
                         true);
        if (c.added == 0)
            view.ScrollDown(5);
        Settle();
        const auto moved = CaptureView();
        ExpectSameAsFullRepaint(*moved, *CaptureFullRepaint(), L"logview-moved-rows-differ.png");
        if (&c == &cases[std::size(cases) - 1])
            moved->SavePng(ScreenshotPath(L"logview-moved-rows.png"));
    }
}

TEST_F(LogViewWindowTest, FollowingAFloodEndsWhereFollowingEachLineEnds)
{
    struct TFloodCase {
        int leading;
        int maxLines;
        int lines;
    };
    const TFloodCase cases[] = {{0, 0, 7}, {0, 0, 90}, {3, 0, 90}, {7, 25, 90}, {1, 5, 12}};
    for (const TFloodCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "leading " << c.leading << ", limit " << c.maxLines << ", " << c.lines
                                        << " lines");
        TLogView lineByLine;
        ASSERT_TRUE(lineByLine.Create(&theme.text, &theme.channelLogBack, frame, 70002, &keyword, &finder, false));
        RECT rect;
        view.GetClientRect(&rect);
        lineByLine.MoveWindow(0, 0, rect.right + GetSystemMetrics(SM_CXVSCROLL), rect.bottom);
        view.RemoveHeadLines(-1);
        view.ScrollToEnd();
        for (TLogView* v : {&view, &lineByLine}) {
            v->SetLineLeading(c.leading);
            v->maxLines = c.maxLines;
            v->ResetLayout();
            v->RefreshView();
        }
        for (int i = 0; i < c.lines; i++) {
            CString body;
            body.Format(L"%d %s", i, (LPCWSTR)CString(i % 3 == 0 ? L'\u65e5' : L'w', (i * 37) % 160));
            for (TLogView* v : {&view, &lineByLine})
                v->AddLine(Line(body, L"<n> ", L"n", i % 4), true);
            lineByLine.GetTopPosition(); // works the top out after every line
        }
        EXPECT_EQ(lineByLine.GetTopPosition(), view.GetTopPosition());
        EXPECT_EQ(lineByLine.GetBottomPosition(), view.GetBottomPosition());
        EXPECT_TRUE(view.IsAtEnd());
    }
}

// Lines arriving in a flood are painted at most once a display frame, by the message loop: after
// the last read the view must show the last line, exactly as a full repaint shows it.
TEST_F(LogViewWindowTest, AFloodShowsItsLastLineOnceTheLoopRuns)
{
    struct TFloodCase {
        const char* name;
        int batches;
        int perBatch;
        int maxLines;
    };
    const TFloodCase cases[] = {
        {"one line", 1, 1, 0}, {"reads of 40 lines", 12, 40, 100}, {"reads of 3 lines", 30, 3, 60}};
    for (const TFloodCase& c : cases) {
        SCOPED_TRACE(c.name);
        view.RemoveHeadLines(-1);
        view.maxLines = c.maxLines;
        Settle();
        for (int b = 0; b < c.batches; b++) {
            for (int i = 0; i < c.perBatch; i++) {
                CString body;
                body.Format(L"read %d line %d \x03"
                            L"4colour\x03 http://example.org/%d%s",
                            b, i, i,
                            i % 9 == 0 ? L" with a tail long enough to wrap onto a second row of the view" : L"");
                view.AddLine(Line(body, L"<nick> ", L"nick"), true);
            }
            PumpMessagesFor(0);
        }
        ASSERT_TRUE(PumpMessagesUntil([&] { return !view.IsPaintDue(); }, 2000));
        EXPECT_EQ(view.GetLineCount(), view.GetBottomPosition().line);
        const auto shown = CaptureView();
        ExpectSameAsFullRepaint(*shown, *CaptureFullRepaint(), L"logview-flood-differs.png");
        if (&c == &cases[std::size(cases) - 1])
            shown->SavePng(ScreenshotPath(L"logview-flood-last-line.png"));
    }
    view.maxLines = 1000;
}

// Posted messages (socket reads) come before WM_PAINT: when they keep the queue full the view
// paints by itself once a paint is two frames late, instead of showing nothing until the end.
TEST_F(LogViewWindowTest, AFloodThatStarvesThePaintMessageIsStillPainted)
{
    AddLines(30);
    Settle();
    // Just painted: the next line waits for the frame timer, which the flood starves as well.
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    view.AddLine(Line(L"asked to be painted"), false);
    ASSERT_TRUE(view.IsPaintDue());
    Sleep(80); // the loop never got to WM_PAINT
    view.AddLine(Line(L"the paint is late"), false);
    EXPECT_FALSE(view.IsPaintDue());
    EXPECT_FALSE(GetUpdateRect(view, nullptr, FALSE));
    const auto shown = CaptureView();
    ExpectSameAsFullRepaint(*shown, *CaptureFullRepaint(), nullptr);
}

// Lines held for the next frame are painted by the first paint that comes, whatever it was for:
// a strip uncovered by a closing menu must not leave the rest of the view without them.
TEST_F(LogViewWindowTest, APartialPaintInsideAFrameShowsTheHeldLinesEverywhere)
{
    AddLines(30);
    Settle();
    RECT client;
    GetClientRect(view, &client);
    const RECT strip = {0, 0, client.right, 12};
    bool held = false;
    for (int attempt = 0; attempt < 5 && !held; attempt++) {
        // Just painted: both lines wait for the frame timer rather than asking for a paint.
        ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        view.AddLine(Line(L"first held line"), false);
        view.AddLine(Line(L"second held line"), false);
        held = view.IsPaintDue() && !GetUpdateRect(view, nullptr, FALSE);
        if (!held)
            Settle();
    }
    ASSERT_TRUE(held) << "the lines never came inside one frame";
    ::RedrawWindow(view, &strip, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    const auto shown = CaptureView();
    ExpectSameAsFullRepaint(*shown, *CaptureFullRepaint(), L"logview-partial-paint-differs.png");
}
