#pragma once
// The text of one display row gathered by font and colour, each batch written straight into a
// picture's pixels where that gives what GDI draws, else drawn with one ExtTextOutW: under Wine a
// call costs as much as some fifty characters. Only parts that touch join: passing advances to
// step over parts of other styles costs more per character than the call saved.
// Underline and strike-out are drawn apart, over text of the plain font, so lined and plain
// parts of one font and colour join as well.

#include "log/GlyphMasks.h"

#include <windows.h>

#include <vector>

class TFontWidths;
struct TFontLines;

enum TTextLines { TEXT_UNDERLINE = 1, TEXT_STRIKEOUT = 2 };

class TTextBatches {
public:
    // Text drawn into dc afterwards goes straight into its pixels where that gives what GDI
    // would draw. Set again whenever the DC or its state may have changed.
    void SetTarget(HDC dc) { m_targetDC = m_target.Attach(dc) ? dc : nullptr; }
    void Clear()
    {
        m_used = 0;
        m_lines.clear();
    }
    // False, with nothing added, when a character could be placed differently in a longer
    // string (right-to-left and shaped scripts, combining marks, surrogates, controls). Text is
    // drawn with the widths' plain font; lines is a set of TTextLines.
    bool Add(HDC dc, TFontWidths& widths, unsigned lines, COLORREF color, int x, int y, const wchar_t* text, int count);
    // Draws the batches in the order they were started, then their lines, and clears them. The
    // caller's memo of the selected font and colour is kept up to date.
    void Draw(HDC dc, HFONT& selectedFont, COLORREF& textColor);

    static bool IsPlacedAlone(wchar_t c);
    // The lines of text drawn from x to endX with its bottom at y.
    static void DrawLines(HDC dc, const TFontLines& metrics, unsigned lines, COLORREF color, int x, int endX, int y);

private:
    struct TBatch {
        HFONT font = nullptr;
        TFontWidths* widths = nullptr;
        COLORREF color = 0;
        int x = 0;
        int y = 0;
        int endX = 0;
        std::vector<wchar_t> text;
        std::vector<int> advances;
    };
    struct TLine {
        RECT rect;
        COLORREF color;
    };
    void AddLine(const RECT& rect, COLORREF color);

    // Kept across rows so that drawing allocates nothing once warmed up.
    std::vector<TBatch> m_batches;
    size_t m_used = 0;
    std::vector<TLine> m_lines;
    TPixelTarget m_target;
    HDC m_targetDC = nullptr;
};
