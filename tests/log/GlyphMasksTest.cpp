// Text written straight into a picture's pixels must be what GDI draws there, whichever way the
// picture's rows run and whatever the DC would do to text; where it cannot be, GDI draws.

#include "log/GlyphMasks.h"
#include "log/TextBatches.h"
#include "log/TextWidthCache.h"
#include "settings/Font.h"

#include "tests/common/Screenshot.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

struct TTargetCase {
    const char* name;
    bool topDown;
    int x, y;
    std::function<void(HDC)> prepare; // what else the DC does to text
    bool direct;                      // whether the pixels may be written straight
};

} // namespace

TEST(GlyphMasks, DirectTextIsWhatGdiDrawsAndOtherwiseGdiDraws)
{
    TFont font;
    font.SetFaceName(L"IPAGothic");
    font.size = 120;
    font.CreateHandle();
    TFontWidths widths(font);
    const CString text = L"Sample \u65e5\u672c\u8a9e text, (ok)!";
    const COLORREF color = RGB(10, 120, 200);
    auto clip = [](HDC dc) {
        HRGN region = CreateRectRgn(20, 5, 90, 30);
        SelectClipRgn(dc, region);
        DeleteObject(region);
    };
    const TTargetCase cases[] = {
        {"top-down", true, 10, 30, nullptr, true},
        {"bottom-up", false, 10, 30, nullptr, true},
        {"over the left and bottom edges", true, -25, 44, nullptr, true},
        {"over the top edge", false, 60, 6, nullptr, true},
        {"clipped", true, 10, 30, clip, false},
        {"moved origin", true, 10, 30, [](HDC dc) { SetViewportOrgEx(dc, 7, 3, nullptr); }, false},
        {"opaque text", true, 10, 30, [](HDC dc) { SetBkMode(dc, OPAQUE); }, false},
    };
    for (const TTargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryCanvas ours(160, 48, kWhite, c.topDown), gdi(160, 48, kWhite, c.topDown);
        for (TMemoryCanvas* canvas : {&ours, &gdi}) {
            SetBkMode(canvas->dc, TRANSPARENT);
            SetTextAlign(canvas->dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
            if (c.prepare)
                c.prepare(canvas->dc);
        }

        TTextBatches batches;
        batches.SetTarget(ours.dc);
        ASSERT_TRUE(batches.Add(ours.dc, widths, 0, color, c.x, c.y, text, text.GetLength()));
        HFONT selected = nullptr;
        COLORREF textColor = CLR_INVALID;
        batches.Draw(ours.dc, selected, textColor);

        HGDIOBJ old = SelectObject(gdi.dc, font.handle);
        SetTextColor(gdi.dc, color);
        ExtTextOutW(gdi.dc, c.x, c.y, 0, nullptr, text, text.GetLength(), nullptr);
        SelectObject(gdi.dc, old);

        TPixelTarget target;
        EXPECT_EQ(c.direct, target.Attach(ours.dc));
        EXPECT_EQ(0, ours.Differing(gdi));
        EXPECT_LT(gdi.Count(RECT{0, 0, gdi.width, gdi.height}, kWhite), gdi.width * gdi.height - 40);
    }
    // The font of the cases above is drawn in one colour, so the direct path was taken.
    EXPECT_TRUE(widths.GetMasks()->CanDraw(text, text.GetLength()));
}
