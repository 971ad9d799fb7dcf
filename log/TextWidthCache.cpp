#include "log/TextWidthCache.h"

#include "settings/Font.h"

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

TFontWidths::TFontWidths(const TFont& font)
    : face(font.faceName), height(font.logFont.lfHeight), weight(font.logFont.lfWeight), italic(font.logFont.lfItalic),
      charset(font.logFont.lfCharSet)
{
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
    if (IsHighSurrogate(c) || IsLowSurrogate(c))
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
