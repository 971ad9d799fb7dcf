#include "log/TextWidthCache.h"

#include "log/GlyphMasks.h"
#include "log/ShapedText.h"
#include "settings/Font.h"

#include <vector>

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

TFontWidths::TFontWidths(const TFont& font)
    : face(font.faceName), height(font.logFont.lfHeight), weight(font.logFont.lfWeight), italic(font.logFont.lfItalic),
      charset(font.logFont.lfCharSet), plainLogFont(font.logFont)
{
    plainLogFont.lfUnderline = FALSE;
    plainLogFont.lfStrikeOut = FALSE;
    lstrcpynW(plainLogFont.lfFaceName, font.faceName, LF_FACESIZE);
}

TFontWidths::~TFontWidths()
{
    masks.reset(); // lets go of the font first
    if (plainFont)
        DeleteObject(plainFont);
}

HFONT TFontWidths::GetPlainFont()
{
    if (!plainFont)
        plainFont = CreateFontIndirectW(&plainLogFont);
    return plainFont;
}

TGlyphMasks* TFontWidths::GetMasks()
{
    if (!masks && GetPlainFont())
        masks = std::make_unique<TGlyphMasks>(plainFont);
    return masks.get();
}

// The lines go where GDI puts them: the given distance above the baseline, centred on it, as
// thick as the font says; a font without outline metrics gets GDI's rule for raster fonts.
const TFontLines& TFontWidths::GetLines(HDC dc)
{
    if (linesKnown)
        return lines;
    linesKnown = true;
    HFONT font = GetPlainFont();
    if (!font)
        return lines;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    int underlinePos = 0, underlineWidth = tm.tmAscent / 20;
    int strikePos = tm.tmAscent / 2, strikeWidth = underlineWidth;
    const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size >= sizeof(OUTLINETEXTMETRICW)) {
        std::vector<BYTE> buffer(size);
        OUTLINETEXTMETRICW* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, otm)) {
            underlinePos = otm->otmsUnderscorePosition;
            underlineWidth = otm->otmsUnderscoreSize > 0 ? (int)otm->otmsUnderscoreSize : 1;
            strikePos = (int)otm->otmsStrikeoutPosition;
            strikeWidth = otm->otmsStrikeoutSize > 0 ? (int)otm->otmsStrikeoutSize : 1;
        }
    }
    SelectObject(dc, old);
    lines.underlineTop = -tm.tmDescent - (underlinePos + underlineWidth / 2);
    lines.underlineHeight = underlineWidth;
    lines.strikeTop = -tm.tmDescent - (strikePos + strikeWidth / 2);
    lines.strikeHeight = strikeWidth;
    return lines;
}

// Underline does not change widths, so the underlined variants share the plain font's table.
bool TFontWidths::Matches(const TFont& font) const
{
    return font.logFont.lfHeight == height && font.logFont.lfWeight == weight && font.logFont.lfItalic == italic &&
           font.logFont.lfCharSet == charset && font.faceName == face;
}

int TFontWidths::Measure(HDC dc, HFONT font, const wchar_t* text, int count)
{
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32W(dc, text, count, &size))
        size.cx = 0;
    if (textHeight < 0)
        textHeight = size.cy;
    SelectObject(dc, old);
    return size.cx;
}

int TFontWidths::GetHeight(HDC dc, HFONT font)
{
    if (textHeight < 0)
        Measure(dc, font, L"x", 1);
    return textHeight;
}

int TFontWidths::MeasureFirst(HDC dc, HFONT font, const wchar_t* text, int i, int end, int& units)
{
    wchar_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < end && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return Measure(dc, font, text + i, 2);
    }
    units = 1;
    // Shaped text is measured in its string only (and known widths then mean placed alone).
    if (IsHighSurrogate(c) || IsLowSurrogate(c) || IsShapedChar(c))
        return Measure(dc, font, &c, 1);
    std::unique_ptr<unsigned short[]>& page = pages[c >> 8];
    if (!page) {
        page.reset(new unsigned short[256]);
        for (int k = 0; k < 256; k++)
            page[k] = kUnknownWidth;
    }
    unsigned short& width = page[c & 0xFF];
    if (width == kUnknownWidth) {
        int measured = Measure(dc, font, &c, 1);
        width = (unsigned short)(measured >= 0 && measured < kUnknownWidth ? measured : 0);
    }
    return width;
}

TFontWidths& TTextWidthCache::Get(const TFont& font)
{
    for (const std::unique_ptr<TFontWidths>& widths : fonts)
        if (widths->Matches(font))
            return *widths;
    fonts.push_back(std::make_unique<TFontWidths>(font));
    return *fonts.back();
}
