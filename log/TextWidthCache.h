#pragma once
// Advance widths of characters per font, each measured once with the same GDI call that lays
// out text: layout then adds widths instead of asking GDI for every piece of every line.

#include "classlib/String.h"

#include <windows.h>

#include <memory>
#include <vector>

class TFont;
class TGlyphMasks;

// Where a font's underline and strike-out lie, as offsets from the bottom of its text.
struct TFontLines {
    int underlineTop = 0;
    int underlineHeight = 1;
    int strikeTop = 0;
    int strikeHeight = 1;
};

class TFontWidths {
public:
    explicit TFontWidths(const TFont& font);
    TFontWidths(const TFontWidths&) = delete;
    TFontWidths& operator=(const TFontWidths&) = delete;
    ~TFontWidths();

    // Width of the character (or surrogate pair) at text[i] in that font; sets its length in
    // units. The font is selected into dc only to measure a character seen for the first time.
    int Width(HDC dc, HFONT font, const wchar_t* text, int i, int end, int& units)
    {
        wchar_t c = text[i];
        const unsigned short* page = pages[c >> 8].get();
        if (page && page[c & 0xFF] != kUnknownWidth) {
            units = 1;
            return page[c & 0xFF];
        }
        return MeasureFirst(dc, font, text, i, end, units);
    }
    // Width of a character measured before, or -1 (also for every surrogate).
    int KnownWidth(wchar_t c) const
    {
        const unsigned short* page = pages[c >> 8].get();
        return page && page[c & 0xFF] != kUnknownWidth ? page[c & 0xFF] : -1;
    }
    int GetHeight(HDC dc, HFONT font);
    bool Matches(const TFont& font) const;
    // The font without underline and strike-out. Text is drawn with it and the lines apart:
    // under Wine a call with a lined font asks for the outline metrics every time, which
    // costs three plain calls.
    HFONT GetPlainFont();
    const TFontLines& GetLines(HDC dc);
    // Shapes of the plain font's glyphs, or null when it has none.
    TGlyphMasks* GetMasks();

private:
    static const unsigned short kUnknownWidth = 0xFFFF;

    int MeasureFirst(HDC dc, HFONT font, const wchar_t* text, int i, int end, int& units);
    int Measure(HDC dc, HFONT font, const wchar_t* text, int count);

    CString face;
    LONG height, weight;
    BYTE italic, charset;
    LOGFONTW plainLogFont;
    HFONT plainFont = nullptr;
    std::unique_ptr<TGlyphMasks> masks;
    bool linesKnown = false;
    TFontLines lines;
    int textHeight = -1;
    // 256 pages of 256 characters, made on first use. Surrogates are never stored, so a pair
    // always reaches MeasureFirst.
    std::unique_ptr<unsigned short[]> pages[256];
};

class TTextWidthCache {
public:
    // Widths of that font; fonts with the same face, size, weight and slant share them.
    TFontWidths& Get(const TFont& font);
    void Clear() { fonts.clear(); }

private:
    std::vector<std::unique_ptr<TFontWidths>> fonts;
};
