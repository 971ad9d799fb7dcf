#include "foundation/StringUtils.h"
#include "log/LogComposition.h"
#include "log/LogLine.h"
#include "log/ShapedText.h"
#include "log/TextWidthCache.h"
#include "settings/Font.h"
#include "settings/ViewConfig.h"

#include <algorithm>

namespace {

// Restores everything painting changes in the caller's device context.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc(dc), id(SaveDC(dc)) {}
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC() { RestoreDC(dc, id); }

private:
    HDC dc;
    int id;
};

enum TPartColor { PART_NORMAL, PART_SHADOW, PART_SELECTED };

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

TLogRange Intersect(const TLogPiece& piece, int start, int end)
{
    return TLogRange{start > piece.start ? start : piece.start, end < piece.end ? end : piece.end};
}

// What is left of the piece after taking the covered ranges away, in order.
std::vector<TLogRange> SubtractRanges(const TLogPiece& piece, const std::vector<TLogRange>& covered)
{
    std::vector<TLogRange> left{{piece.start, piece.end}};
    for (const TLogRange& c : covered) {
        std::vector<TLogRange> next;
        for (const TLogRange& r : left) {
            if (c.end <= r.start || c.start >= r.end) {
                next.push_back(r);
                continue;
            }
            if (c.start > r.start)
                next.push_back({r.start, c.start});
            if (c.end < r.end)
                next.push_back({c.end, r.end});
        }
        left.swap(next);
    }
    return left;
}

const POINT kLowerRightShadow[] = {{0, 1}, {1, 0}, {1, 1}};
const POINT kOutlineShadow[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

} // namespace

void TLogLineComposition::FindSearchHits(const TLogLineModel& model, std::vector<TLogRange>& hits) const
{
    if (context->searchWords.empty())
        return;
    CString text = model.text;
    MakeLowerFullWidth(text);
    for (CString word : context->searchWords) {
        if (word.IsEmpty())
            continue;
        MakeLowerFullWidth(word);
        // Overlapping occurrences all count.
        for (int pos = text.Find(word, 0); pos >= 0; pos = text.Find(word, pos + 1))
            hits.push_back(TLogRange{pos, pos + word.GetLength()});
    }
}

unsigned TLogLineComposition::GetTextLines(const TFont* font)
{
    return (font->logFont.lfUnderline ? TEXT_UNDERLINE : 0) | (font->logFont.lfStrikeOut ? TEXT_STRIKEOUT : 0);
}

void TLogLineComposition::DrawPart(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom,
                                   int from, int to, int color, int dx, int dy)
{
    if (from >= to)
        return;
    const int partX = x + MeasurePrefix(model, dc, piece, from - piece.start);
    const TFont* font = ChooseRunFont(model, piece.kind, piece.flags);
    TFontWidths& widths = context->widths.Get(*font);
    HFONT plain = widths.GetPlainFont();
    if (plain && plain != context->paintFont) {
        SelectObject(dc, plain);
        context->paintFont = plain;
    }
    const COLORREF textColor = color == PART_SHADOW     ? context->textTheme->shadowColor
                               : color == PART_SELECTED ? context->textTheme->selectTextColor
                                                        : GetRunColor(font, piece);
    SetPaintColor(dc, textColor);
    const wchar_t* text = model.text.GetString() + from;
    if (std::any_of(text, text + (to - from), IsShapedChar))
        TShapedText(dc, nullptr, text, to - from).Draw(partX + dx, bottom + dy);
    else
        ExtTextOutW(dc, partX + dx, bottom + dy, 0, nullptr, text, to - from, nullptr);
    if (const unsigned lines = GetTextLines(font)) {
        const int endX = partX + MeasureRange(model, dc, font, from, to);
        TTextBatches::DrawLines(dc, widths.GetLines(dc), lines, textColor, partX + dx, endX + dx, bottom + dy);
    }
}

void TLogLineComposition::QueuePart(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom,
                                    int from, int to, bool selected)
{
    if (from >= to)
        return;
    const TFont* font = ChooseRunFont(model, piece.kind, piece.flags);
    const COLORREF color = selected ? context->textTheme->selectTextColor : GetRunColor(font, piece);
    const int partX = x + MeasurePrefix(model, dc, piece, from - piece.start);
    TTextBatches& batches = context->paintBatches;
    if (context->joinParts && font->handle &&
        batches.Add(dc, context->widths.Get(*font), GetTextLines(font), color, partX, bottom,
                    model.text.GetString() + from, to - from))
        return;
    // Drawn where it comes, after what came before it.
    batches.Draw(dc, context->paintFont, context->paintColor);
    DrawPart(model, dc, piece, x, bottom, from, to, selected ? PART_SELECTED : PART_NORMAL, 0, 0);
}

RECT TLogLineComposition::PartRect(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom,
                                   int from, int to)
{
    RECT rect = {x + MeasurePrefix(model, dc, piece, from - piece.start), bottom - piece.height,
                 x + MeasurePrefix(model, dc, piece, to - piece.start), bottom};
    return rect;
}

void TLogLineComposition::Paint(const TLogLineModel& model, HDC dc, int firstRow, int selectionStart, int selectionEnd,
                                const RECT& rect)
{
    TSavedDC saved(dc);
    context->paintFont = nullptr;
    context->paintColor = CLR_INVALID;
    std::vector<TLogRange>& hits = context->paintHits;
    hits.clear();
    FindSearchHits(model, hits);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
    context->paintBatches.SetTarget(dc);
    bool selection = selectionStart >= 0 && selectionEnd >= 0;
    int y = rect.top;
    for (int i = firstRow < 0 ? 0 : firstRow; i < (int)rows.size() && y < rect.bottom; i++) {
        int top = y + context->leading / 2;
        int bottom = top + rows[i].height;
        int left = rect.left + (i > 0 ? context->indent : 0);
        PaintRow(model, dc, rows[i], left, bottom, selection ? selectionStart : -1, selection ? selectionEnd : -1,
                 hits);
        y = bottom + context->leading - context->leading / 2;
    }
}

void TLogLineComposition::PaintRow(const TLogLineModel& model, HDC dc, const TLogRow& row, int left, int bottom,
                                   int selStart, int selEnd, const std::vector<TLogRange>& hits)
{
    const TLogTextTheme& theme = *context->textTheme;
    std::vector<int>& xs = context->paintXs;
    xs.clear();
    for (const TLogPiece& piece : row.pieces) {
        xs.push_back(left);
        left += piece.width;
    }
    if (theme.shadowKind == 1 || theme.shadowKind == 2) {
        const POINT* offsets = theme.shadowKind == 1 ? kLowerRightShadow : kOutlineShadow;
        int count = theme.shadowKind == 1 ? 3 : 8;
        for (size_t k = 0; k < row.pieces.size(); k++) {
            const TLogPiece& piece = row.pieces[k];
            TLogRange sel = selStart >= 0 ? Intersect(piece, selStart, selEnd) : TLogRange{piece.end, piece.end};
            std::vector<TLogRange> outside =
                sel.start < sel.end ? SubtractRanges(piece, {sel}) : std::vector<TLogRange>{{piece.start, piece.end}};
            for (const TLogRange& part : outside)
                for (int o = 0; o < count; o++)
                    DrawPart(model, dc, piece, xs[k], bottom, part.start, part.end, PART_SHADOW, offsets[o].x,
                             offsets[o].y);
        }
    }
    for (size_t k = 0; k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        RECT whole = {xs[k], bottom - piece.height, xs[k] + piece.width, bottom};
        if (piece.flags & STYLE_BACKGROUND)
            FillSolid(dc, whole, kIrcPalette[piece.background % IRC_PALETTE_SIZE]);
        else if (theme.shadowKind == 3 && context->backTheme)
            FillSolid(dc, whole, context->backTheme->color);
    }
    PaintHighlights(model, dc, row, xs, bottom, selStart, selEnd, hits);
}

void TLogLineComposition::PaintHighlights(const TLogLineModel& model, HDC dc, const TLogRow& row,
                                          const std::vector<int>& xs, int bottom, int selStart, int selEnd,
                                          const std::vector<TLogRange>& hits)
{
    const TLogTextTheme& theme = *context->textTheme;
    std::vector<TLogRange> covered;
    for (size_t k = 0; k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        for (const TLogRange& h : hits) {
            TLogRange part = Intersect(piece, h.start, h.end);
            if (part.start < part.end)
                FillSolid(dc, PartRect(model, dc, piece, xs[k], bottom, part.start, part.end), theme.hilightBackColor);
        }
    }
    for (size_t k = 0; selStart >= 0 && k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        TLogRange part = Intersect(piece, selStart, selEnd);
        if (part.start < part.end)
            FillSolid(dc, PartRect(model, dc, piece, xs[k], bottom, part.start, part.end), theme.selectBackColor);
    }
    context->paintBatches.Clear();
    for (size_t k = 0; k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        TLogRange sel = selStart >= 0 ? Intersect(piece, selStart, selEnd) : TLogRange{piece.end, piece.end};
        if (sel.start >= sel.end) {
            QueuePart(model, dc, piece, xs[k], bottom, piece.start, piece.end, false);
            continue;
        }
        QueuePart(model, dc, piece, xs[k], bottom, piece.start, sel.start, false);
        QueuePart(model, dc, piece, xs[k], bottom, sel.start, sel.end, true);
        QueuePart(model, dc, piece, xs[k], bottom, sel.end, piece.end, false);
    }
    context->paintBatches.Draw(dc, context->paintFont, context->paintColor);
    for (size_t k = 0; k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        if (!(piece.flags & STYLE_REVERSE))
            continue;
        covered = hits;
        if (selStart >= 0)
            covered.push_back(TLogRange{selStart, selEnd});
        for (const TLogRange& part : SubtractRanges(piece, covered)) {
            RECT rect = PartRect(model, dc, piece, xs[k], bottom, part.start, part.end);
            InvertRect(dc, &rect);
        }
    }
}
