#pragma once
// Glyph shapes of one font exactly as GDI draws them, each captured once, for writing text
// straight into a 32-bit picture: under Wine every ExtTextOutW costs some fifty characters'
// worth before it draws anything. Only glyphs GDI draws in one solid colour are kept; a font
// drawn with shades (anti-aliased) is left to GDI.

#include "log/PixelCanvas.h"

#include <windows.h>

#include <memory>
#include <vector>

// A 32-bit picture whose pixels may be written directly, rows from the top.
struct TPixelTarget {
    DWORD* top = nullptr; // the first pixel of the top row
    int stride = 0;       // pixels from one row to the next, negative for bottom-up pictures
    int width = 0;
    int height = 0;

    // Set only when dc draws into a 32-bit DIB section without clipping, mapping, an origin or
    // anything else that GDI would apply to text; with TA_BOTTOM and transparent text.
    bool Attach(HDC dc);
};

class TGlyphMasks {
public:
    explicit TGlyphMasks(HFONT font) : m_font(font) {}
    TGlyphMasks(const TGlyphMasks&) = delete;
    TGlyphMasks& operator=(const TGlyphMasks&) = delete;

    // True when every character has a solid shape; captures those not seen yet.
    bool CanDraw(const wchar_t* text, int count);
    // Draws characters CanDraw accepted, the first one's cell bottom-left at (x, bottom), each
    // advancing by its width.
    void Draw(const TPixelTarget& target, const wchar_t* text, int count, const int* advances, int x, int bottom,
              COLORREF color) const;

private:
    // One horizontal stretch of a glyph's pixels, relative to the cell's bottom-left corner.
    struct TSpan {
        short dy, dx, length;
    };
    struct TGlyph {
        int first = 0; // into m_spans
        int count = 0;
    };
    static const int kUnknown = -1;
    static const int kShaded = -2;
    static const int kMaxGlyphs = 16384;
    static const int kMaxSpans = 1 << 20;
    // Larger text is rare and few characters fill a view: GDI draws it.
    static const int kMaxEm = 96;

    int Capture(wchar_t c);
    bool PrepareScratch();

    HFONT m_font;
    TPixelCanvas m_scratch; // where glyphs are captured, made on first use
    bool m_tried = false;
    int m_size = 0;
    std::unique_ptr<int[]> m_pages[256]; // character to glyph index, kUnknown or kShaded
    std::vector<TGlyph> m_glyphs;
    std::vector<TSpan> m_spans;
};
