#include "log/ShapedText.h"

#include "log/TextBatches.h"

#include <usp10.h>

#include <algorithm>
#include <vector>

bool IsShapedChar(wchar_t c) { return c >= 0x20 && (c < 0xD800 || c > 0xDFFF) && !TTextBatches::IsPlacedAlone(c); }

TShapedText::TShapedText(HDC dc, HFONT font, const wchar_t* text, int count) : dc(dc), text(text), count(count)
{
    if (font)
        oldFont = SelectObject(dc, font);
    SCRIPT_STRING_ANALYSIS made = nullptr;
    // Glyph room as the script processor's documentation advises.
    if (count > 0 && SUCCEEDED(ScriptStringAnalyse(dc, text, count, count * 3 / 2 + 16, -1, SSA_GLYPHS | SSA_FALLBACK,
                                                   0, nullptr, nullptr, nullptr, nullptr, nullptr, &made)))
        analysis = made;
}

TShapedText::~TShapedText()
{
    if (analysis) {
        SCRIPT_STRING_ANALYSIS made = analysis;
        ScriptStringFree(&made);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

int TShapedText::GetWidth() const
{
    if (analysis) {
        const SIZE* size = ScriptString_pSize(analysis);
        return size ? size->cx : 0;
    }
    SIZE size = {0, 0};
    return count > 0 && GetTextExtentPoint32W(dc, text, count, &size) ? size.cx : 0;
}

int TShapedText::Fit(int maxWidth, int& width) const
{
    width = 0;
    if (count <= 0)
        return 0;
    std::vector<int> widths(count);
    if (!analysis || FAILED(ScriptStringGetLogicalWidths(analysis, widths.data()))) {
        int fit = 0;
        SIZE size = {0, 0};
        if (!GetTextExtentExPointW(dc, text, count, maxWidth, &fit, widths.data(), &size) || fit <= 0)
            return 0;
        width = widths[fit - 1];
        return fit;
    }
    const SCRIPT_LOGATTR* attrs = ScriptString_pLogAttr(analysis);
    int fit = 0, sum = 0;
    for (int i = 0; i < count; i++) {
        sum += widths[i];
        if (sum > maxWidth)
            break;
        if (i + 1 == count || !attrs || attrs[i + 1].fCharStop) {
            fit = i + 1;
            width = sum;
        }
    }
    if (fit == count)
        width = GetWidth();
    return fit;
}

void TShapedText::Draw(int x, int y) const
{
    if (analysis)
        ScriptStringOut(analysis, x, y, 0, nullptr, 0, 0, FALSE);
    else if (count > 0)
        ExtTextOutW(dc, x, y, 0, nullptr, text, (UINT)count, nullptr);
}

int FitShapedText(HDC dc, HFONT font, const wchar_t* text, int count, int maxWidth, int& width)
{
    // The script processor's time grows faster than the string, so a long text is shaped in
    // growing heads: most shaped characters are wider than 4 pixels. Past the cap a row ends
    // even though more would fit (thousands of marks of no width).
    const int kMaxShaped = 4096;
    int head = std::min(count, maxWidth / 4 + 32);
    for (;;) {
        const int fit = TShapedText(dc, font, text, head).Fit(maxWidth, width);
        if (fit < head || head == count || head >= kMaxShaped)
            return fit;
        head = std::min({count, head * 2, kMaxShaped});
    }
}
