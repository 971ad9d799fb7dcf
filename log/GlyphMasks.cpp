#include "log/GlyphMasks.h"

#include <cstring>

bool TPixelTarget::Attach(HDC dc)
{
    top = nullptr;
    DIBSECTION dib;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectW(bitmap, sizeof dib, &dib) != (int)sizeof dib)
        return false;
    if (dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits || dib.dsBmih.biCompression != BI_RGB)
        return false;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetTextCharacterExtra(dc) != 0 ||
        GetBkMode(dc) != TRANSPARENT || GetTextAlign(dc) != (TA_LEFT | TA_BOTTOM | TA_NOUPDATECP))
        return false;
    POINT viewport, window;
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    if (viewport.x || viewport.y || window.x || window.y)
        return false;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    const int clipped = clip ? GetClipRgn(dc, clip) : -1;
    if (clip)
        DeleteObject(clip);
    if (clipped != 0)
        return false;
    width = dib.dsBm.bmWidth;
    height = dib.dsBm.bmHeight;
    DWORD* bits = static_cast<DWORD*>(dib.dsBm.bmBits);
    if (width <= 0 || height <= 0)
        return false;
    // Which way the rows run is not told reliably: a pixel set through GDI shows it.
    GdiFlush();
    DWORD* last = bits + (size_t)(height - 1) * width;
    const DWORD keptFirst = *bits, keptLast = *last;
    const DWORD probe = keptFirst == 0x010203 || keptLast == 0x010203 ? 0x040506 : 0x010203;
    SetPixelV(dc, 0, 0, RGB(probe >> 16, (probe >> 8) & 0xFF, probe & 0xFF));
    GdiFlush();
    const bool topDown = *bits == probe;
    *bits = keptFirst;
    *last = keptLast;
    top = topDown ? bits : last;
    stride = topDown ? width : -width;
    return true;
}

bool TGlyphMasks::CanDraw(const wchar_t* text, int count)
{
    for (int i = 0; i < count; i++) {
        std::unique_ptr<int[]>& page = m_pages[text[i] >> 8];
        if (!page) {
            page.reset(new int[256]);
            for (int k = 0; k < 256; k++)
                page[k] = kUnknown;
        }
        int& index = page[text[i] & 0xFF];
        if (index == kUnknown)
            index = Capture(text[i]);
        if (index == kShaded)
            return false;
    }
    return true;
}

void TGlyphMasks::Draw(const TPixelTarget& target, const wchar_t* text, int count, const int* advances, int x,
                       int bottom, COLORREF color) const
{
    const DWORD pixel = (DWORD)GetRValue(color) << 16 | (DWORD)GetGValue(color) << 8 | GetBValue(color);
    for (int i = 0; i < count; x += advances[i], i++) {
        const TGlyph& glyph = m_glyphs[m_pages[text[i] >> 8][text[i] & 0xFF]];
        for (int s = glyph.first; s < glyph.first + glyph.count; s++) {
            const TSpan& span = m_spans[s];
            const int y = bottom + span.dy;
            if (y < 0 || y >= target.height)
                continue;
            int from = x + span.dx, to = from + span.length;
            if (from < 0)
                from = 0;
            if (to > target.width)
                to = target.width;
            DWORD* row = target.top + (ptrdiff_t)y * target.stride;
            for (int px = from; px < to; px++)
                row[px] = pixel;
        }
    }
}

bool TGlyphMasks::PrepareScratch()
{
    if (m_tried)
        return m_scratch.GetDC() != nullptr;
    m_tried = true;
    LOGFONTW font = {};
    GetObjectW(m_font, sizeof font, &font);
    const int em = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight > 0 ? font.lfHeight : 16;
    if (em > kMaxEm)
        return false;
    // Room for a glyph's overhang on every side of its cell.
    m_size = em * 4 + 16;
    if (!m_scratch.Create(nullptr, m_size, m_size))
        return false;
    HDC dc = m_scratch.GetDC();
    SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
    SetTextColor(dc, RGB(0, 0, 0));
    return true;
}

// Draws the character alone on white and keeps its black pixels as spans; any other colour
// means GDI shades its edges, and such a font stays with GDI.
int TGlyphMasks::Capture(wchar_t c)
{
    if ((int)m_glyphs.size() >= kMaxGlyphs || (int)m_spans.size() >= kMaxSpans || !PrepareScratch())
        return kShaded;
    const DWORD white = 0xFFFFFF;
    DWORD* const pixels = m_scratch.GetPixels();
    for (int i = 0; i < m_size * m_size; i++)
        pixels[i] = white;
    const int originX = m_size / 4, originY = m_size * 5 / 8;
    ExtTextOutW(m_scratch.GetDC(), originX, originY, 0, nullptr, &c, 1, nullptr);
    GdiFlush();
    TGlyph glyph;
    glyph.first = (int)m_spans.size();
    for (int y = 0; y < m_size; y++) {
        const DWORD* row = pixels + (size_t)y * m_size;
        for (int x = 0; x < m_size;) {
            if (row[x] == white) {
                x++;
                continue;
            }
            if (row[x] != 0 || x == 0 || y == 0 || y == m_size - 1) {
                m_spans.resize(glyph.first); // shaded, or cut off at the edge
                return kShaded;
            }
            int end = x;
            while (end < m_size && row[end] == 0)
                end++;
            if (end == m_size) {
                m_spans.resize(glyph.first);
                return kShaded;
            }
            m_spans.push_back(TSpan{(short)(y - originY), (short)(x - originX), (short)(end - x)});
            x = end;
        }
    }
    glyph.count = (int)m_spans.size() - glyph.first;
    m_glyphs.push_back(glyph);
    return (int)m_glyphs.size() - 1;
}
