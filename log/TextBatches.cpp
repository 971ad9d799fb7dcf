#include "log/TextBatches.h"

#include "log/TextWidthCache.h"

// Characters whose glyph and advance do not depend on their neighbours: the alphabets written
// left to right without shaping, punctuation and symbols, CJK, kana and Hangul.
bool TTextBatches::IsPlacedAlone(wchar_t c)
{
    if (c < 0x20)
        return false;
    if (c < 0x0590)
        return c < 0x0300 || c > 0x036F; // combining marks attach to what precedes them
    if (c < 0x1E00)
        return false;
    if (c < 0x2000)
        return true;
    if (c < 0x2070)
        return c <= 0x200A || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205F); // no direction marks
    if (c < 0x2C00)
        return true;
    if (c >= 0x3000 && c <= 0x9FFF)
        return c != 0x3099 && c != 0x309A;
    return (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool TTextBatches::Add(HDC dc, HFONT font, bool lined, COLORREF color, TFontWidths& widths, int x, int y,
                       const wchar_t* text, int count)
{
    for (int i = 0; i < count; i++)
        if (!IsPlacedAlone(text[i]))
            return false;
    size_t b = m_used;
    while (b > 0 && !(m_batches[b - 1].font == font && m_batches[b - 1].color == color && m_batches[b - 1].y == y))
        b--;
    if (b > 0 && lined && m_batches[b - 1].endX != x)
        b = 0;
    if (b > 0) {
        b--;
    } else {
        b = m_used;
        if (m_used == m_batches.size())
            m_batches.emplace_back();
        TBatch& fresh = m_batches[m_used++];
        fresh.font = font;
        fresh.color = color;
        fresh.x = fresh.endX = x;
        fresh.y = y;
        fresh.text.clear();
        fresh.advances.clear();
        fresh.gaps = false;
    }
    TBatch& batch = m_batches[b];
    if (!batch.advances.empty() && x != batch.endX) {
        batch.advances.back() += x - batch.endX; // over the parts of other styles in between
        batch.gaps = true;
    }
    int end = x;
    for (int i = 0; i < count; i++) {
        int units = 1;
        int w = widths.KnownWidth(text[i]);
        if (w < 0)
            w = widths.Width(dc, font, text, i, count, units);
        batch.text.push_back(text[i]);
        batch.advances.push_back(w);
        end += w;
    }
    batch.endX = end;
    return true;
}

void TTextBatches::Draw(HDC dc, HFONT& selectedFont, COLORREF& textColor)
{
    for (size_t b = 0; b < m_used; b++) {
        const TBatch& batch = m_batches[b];
        if (batch.font != selectedFont) {
            SelectObject(dc, batch.font);
            selectedFont = batch.font;
        }
        if (batch.color != textColor) {
            SetTextColor(dc, batch.color);
            textColor = batch.color;
        }
        ExtTextOutW(dc, batch.x, batch.y, 0, nullptr, batch.text.data(), (UINT)batch.text.size(),
                    batch.gaps ? batch.advances.data() : nullptr);
    }
    m_used = 0;
}
