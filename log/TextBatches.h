#pragma once
// The text of one display row gathered by font and colour, each batch drawn with one ExtTextOutW:
// under Wine a call costs as much as some forty characters. A batch that steps over parts of
// other styles passes the advances of its characters, so every character lands where drawing
// the parts one by one put it.

#include <windows.h>

#include <vector>

class TFontWidths;

class TTextBatches {
public:
    void Clear() { m_used = 0; }
    // False, with nothing added, when a character could be placed differently in a longer
    // string (right-to-left and shaped scripts, combining marks, surrogates, controls). A font
    // with lines (underline, strike-out) draws them over gaps too: its parts join only where
    // one ends where the next begins.
    bool Add(HDC dc, HFONT font, bool lined, COLORREF color, TFontWidths& widths, int x, int y, const wchar_t* text,
             int count);
    // Draws the batches in the order they were started and clears them. The caller's memo of the
    // selected font and colour is kept up to date.
    void Draw(HDC dc, HFONT& selectedFont, COLORREF& textColor);

    static bool IsPlacedAlone(wchar_t c);

private:
    struct TBatch {
        HFONT font = nullptr;
        COLORREF color = 0;
        int x = 0;
        int y = 0;
        int endX = 0;
        // Only a batch with gaps needs its advances, which cost more per character under Wine.
        bool gaps = false;
        std::vector<wchar_t> text;
        std::vector<int> advances;
    };
    // Kept across rows so that drawing allocates nothing once warmed up.
    std::vector<TBatch> m_batches;
    size_t m_used = 0;
};
