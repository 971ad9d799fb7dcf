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

namespace {

RECT LineRect(int x, int endX, int top, int height) { return RECT{x, top, endX, top + height}; }

} // namespace

bool TTextBatches::Add(HDC dc, TFontWidths& widths, unsigned lines, COLORREF color, int x, int y, const wchar_t* text,
                       int count)
{
    for (int i = 0; i < count; i++)
        if (!IsPlacedAlone(text[i]))
            return false;
    HFONT font = widths.GetPlainFont();
    if (!font)
        return false;
    size_t b = m_used;
    while (b > 0 && !(m_batches[b - 1].font == font && m_batches[b - 1].color == color && m_batches[b - 1].y == y &&
                      m_batches[b - 1].endX == x))
        b--;
    if (b > 0) {
        b--;
    } else {
        b = m_used;
        if (m_used == m_batches.size())
            m_batches.emplace_back();
        TBatch& fresh = m_batches[m_used++];
        fresh.font = font;
        fresh.widths = &widths;
        fresh.color = color;
        fresh.x = fresh.endX = x;
        fresh.y = y;
        fresh.text.clear();
        fresh.advances.clear();
    }
    TBatch& batch = m_batches[b];
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
    if (lines && end > x) {
        const TFontLines& metrics = widths.GetLines(dc);
        if (lines & TEXT_UNDERLINE)
            AddLine(LineRect(x, end, y + metrics.underlineTop, metrics.underlineHeight), color);
        if (lines & TEXT_STRIKEOUT)
            AddLine(LineRect(x, end, y + metrics.strikeTop, metrics.strikeHeight), color);
    }
    return true;
}

// A line that goes on where one of its kind and colour ended grows instead.
void TTextBatches::AddLine(const RECT& rect, COLORREF color)
{
    for (TLine& line : m_lines)
        if (line.color == color && line.rect.right == rect.left && line.rect.top == rect.top &&
            line.rect.bottom == rect.bottom) {
            line.rect.right = rect.right;
            return;
        }
    m_lines.push_back(TLine{rect, color});
}

void TTextBatches::Draw(HDC dc, HFONT& selectedFont, COLORREF& textColor)
{
    bool flushed = false;
    for (size_t b = 0; b < m_used; b++) {
        const TBatch& batch = m_batches[b];
        const int count = (int)batch.text.size();
        TGlyphMasks* masks = dc == m_targetDC && !(batch.color & 0xFF000000) ? batch.widths->GetMasks() : nullptr;
        if (masks && masks->CanDraw(batch.text.data(), count)) {
            if (!flushed) // what GDI still holds back lands first
                GdiFlush();
            flushed = true;
            masks->Draw(m_target, batch.text.data(), count, batch.advances.data(), batch.x, batch.y, batch.color);
            continue;
        }
        if (batch.font != selectedFont) {
            SelectObject(dc, batch.font);
            selectedFont = batch.font;
        }
        if (batch.color != textColor) {
            SetTextColor(dc, batch.color);
            textColor = batch.color;
        }
        ExtTextOutW(dc, batch.x, batch.y, 0, nullptr, batch.text.data(), (UINT)batch.text.size(), nullptr);
    }
    m_used = 0;
    if (m_lines.empty())
        return;
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_BRUSH));
    for (const TLine& line : m_lines) {
        SetDCBrushColor(dc, line.color);
        PatBlt(dc, line.rect.left, line.rect.top, line.rect.right - line.rect.left, line.rect.bottom - line.rect.top,
               PATCOPY);
    }
    SelectObject(dc, old);
    m_lines.clear();
}

void TTextBatches::DrawLines(HDC dc, const TFontLines& metrics, unsigned lines, COLORREF color, int x, int endX, int y)
{
    if (!lines || endX <= x)
        return;
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, color);
    if (lines & TEXT_UNDERLINE)
        PatBlt(dc, x, y + metrics.underlineTop, endX - x, metrics.underlineHeight, PATCOPY);
    if (lines & TEXT_STRIKEOUT)
        PatBlt(dc, x, y + metrics.strikeTop, endX - x, metrics.strikeHeight, PATCOPY);
    SelectObject(dc, old);
}
