#include "LogViewFixture.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <algorithm>
#include <climits>

namespace {

// "Hello world" in Arabic: joined, its letters are much narrower than each alone.
const wchar_t kArabic[] = L"\x0645\x0631\x062d\x0628\x0627 \x0628\x0627\x0644\x0639\x0627\x0644\x0645";
const wchar_t kUrl[] = L"http://example.org/";
const COLORREF kTextColor = RGB(0, 0, 0);
const COLORREF kUrlColor = RGB(0, 0, 255);

// Client columns where a row's text and its URL have ink.
struct TInk {
    int textLeft = INT_MAX, textRight = -1;
    int urlLeft = INT_MAX, urlRight = -1;
};

class ShapedTextTest : public LogViewWindowTest {
protected:
    void SetUp() override
    {
        LogViewWindowTest::SetUp();
        // A face that holds the Arabic letters, so that they are shaped, not boxes.
        for (TViewFont& font : settings.logText.lineFonts)
            UseFace(font, kTextColor);
        UseFace(settings.logText.urlFont, kUrlColor);
        settings.logText.useUrlFont = true;
        theme.text.Apply(settings.logText);
        view.ResetLayout();
        view.RefreshView();
        Settle();
    }

    static void UseFace(TViewFont& font, COLORREF color)
    {
        font.family = L"DejaVu Sans";
        font.charset = DEFAULT_CHARSET;
        font.size = 120;
        font.color = color;
        font.bold = font.italic = font.underline = false;
    }

    // Smoothed text: grey is the text's ink, blue the URL's.
    TInk FindInk(const TMemoryCanvas& canvas, int line, int row)
    {
        POINT center = PointOfRow(line, row, 0);
        ScreenToClient(view, &center);
        const int half = view.GetLine(line).GetRow(row).height / 2;
        TInk ink;
        for (int y = center.y - half; y < center.y + half; y++)
            for (int x = 0; x < canvas.width; x++) {
                COLORREF p = canvas.Pixel(x, y);
                int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
                if (b - r > 60 && b - g > 60) {
                    ink.urlLeft = std::min(ink.urlLeft, x);
                    ink.urlRight = std::max(ink.urlRight, x);
                } else if (r < 160 && abs(r - g) < 16 && abs(g - b) < 16) {
                    ink.textLeft = std::min(ink.textLeft, x);
                    ink.textRight = std::max(ink.textRight, x);
                }
            }
        return ink;
    }

    int SpaceWidth()
    {
        HDC dc = GetDC(view);
        HGDIOBJ old = SelectObject(dc, theme.text.lineFonts[0].handle);
        SIZE size = {};
        GetTextExtentPoint32W(dc, L" ", 1, &size);
        SelectObject(dc, old);
        ReleaseDC(view, dc);
        return size.cx;
    }
};

// Arabic is the script the test font both holds and joins: drawn, its letters take far less room
// than each measured alone.
TEST_F(ShapedTextTest, UrlAfterShapedTextStartsWhereTheDrawnTextEnds)
{
    view.AddLine(Line(CString(kArabic) + L" " + kUrl), false);
    Settle();
    const auto canvas = CaptureView();
    canvas->SavePng(ScreenshotPath(L"logview-shaped.png"));
    const TInk ink = FindInk(*canvas, 0, 0);
    ASSERT_GE(ink.textRight, 0);
    ASSERT_GE(ink.urlRight, 0);
    // Only the blank and the glyphs' bearings lie between them.
    EXPECT_LE(ink.urlLeft - ink.textRight, SpaceWidth() + 4) << ink.textRight << " " << ink.urlLeft;
    EXPECT_GT(ink.urlLeft, ink.textRight);
}

TEST_F(ShapedTextTest, ArabicWrapsWhereItsDrawnWidthSays)
{
    CString words;
    for (int i = 0; i < 24; i++)
        words += CString(kArabic) + L" ";
    view.AddLine(Line(words), false);
    Settle();
    TLogLine& line = view.GetLine(0);
    ASSERT_GE(line.GetRowCount(), 2);
    const auto canvas = CaptureView();
    canvas->SavePng(ScreenshotPath(L"logview-shaped-wrap.png"));
    // Each full row reaches the right edge, less than a word and a blank short of it.
    const int word = ClientWidth() / 6;
    for (int row = 0; row + 1 < line.GetRowCount(); row++) {
        const TInk ink = FindInk(*canvas, 0, row);
        EXPECT_LT(ink.textRight, ClientWidth() - 1) << row;
        EXPECT_GT(ink.textRight, ClientWidth() - word) << row;
    }
}

TEST_F(ShapedTextTest, DragToTheEndOfTheDrawnArabicSelectsAllOfIt)
{
    view.AddLine(Line(CString(kArabic) + L" " + kUrl), false);
    Settle();
    const TInk ink = FindInk(*CaptureView(), 0, 0);
    ASSERT_GE(ink.textRight, 0);

    DragMouse(PointOfRow(0, 0, 2), PointOfRow(0, 0, ink.textRight + 1));
    EXPECT_STREQ(kArabic, view.GetSelectedText());
    // and the selection's backing ends with the drawn glyphs.
    Settle();
    const auto selected = CaptureView();
    selected->SavePng(ScreenshotPath(L"logview-shaped-selection.png"));
    POINT middle = PointOfRow(0, 0, 0);
    ScreenToClient(view, &middle);
    int backRight = -1;
    for (int x = 0; x < selected->width; x++)
        if (selected->Pixel(x, middle.y) == theme.text.selectBackColor)
            backRight = x;
    EXPECT_NEAR(ink.textRight, backRight, 3);

    // The URL is where its glyphs are drawn.
    struct TRecorder : ILogViewContextPopupListener {
        CString url;
        void OnUrlDoubleClick(TLogView*, const CString& text) override { url = text; }
        void OnContextPopup(TLogView*, int, int) override {}
        void OnUrlContextPopup(TLogView*, int, int) override {}
        void OnAddressContextPopup(TLogView*, int, int) override {}
    } recorder;
    view.contextPopupListener = &recorder;
    DoubleClickAt(PointOfRow(0, 0, ink.urlLeft + 2));
    EXPECT_STREQ(kUrl, recorder.url);
    view.contextPopupListener = nullptr;
}

} // namespace
