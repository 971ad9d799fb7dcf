#include "log/LogComposition.h"

#include "log/LogLine.h"
#include "log/ShapedText.h"
#include "settings/Font.h"
#include "settings/LogKeyword.h"
#include "settings/ViewConfig.h"

namespace {

// Latin, Greek, Cyrillic and the other alphabets up to U+10FF keep their words whole; every other
// character (blanks, CJK, controls) may break on either side.
bool IsWrapWordChar(wchar_t c) { return (c >= 0x21 && c <= 0x10FF) || (c >= 0x1E00 && c <= 0x1FFF); }

bool InAnyRange(const std::vector<TLogRange>& ranges, int index)
{
    for (const TLogRange& r : ranges)
        if (r.start <= index && index < r.end)
            return true;
    return false;
}

TLogRun RunOfPiece(const TLogPiece& piece)
{
    TLogRun run;
    run.start = piece.start;
    run.end = piece.end;
    run.kind = piece.kind;
    run.flags = piece.flags;
    run.foreground = piece.foreground;
    run.background = piece.background;
    return run;
}

} // namespace

TFont* TLogLineComposition::ChooseRunFont(const TLogLineModel& model, int kind, unsigned char flags) const
{
    TLogTextTheme& theme = *context->textTheme;
    bool keywordLine = context->keyword && context->keyword->WholeLine && model.keyword;
    bool bold = (flags & STYLE_BOLD) != 0;
    switch (kind) {
    case RUN_TIME:
        return &theme.timeFont;
    case RUN_NICK:
        return &theme.nickFonts[model.nickStyle >= 0 && model.nickStyle < kNickFontCount ? model.nickStyle : 0];
    case RUN_PLACE:
        return &theme.channelFont;
    case RUN_URL:
        return keywordLine        ? theme.GetUnderlinedKeywordFont()
               : theme.useUrlFont ? &theme.urlFont
                                  : theme.GetLineFont(model.lineType, bold, true);
    case RUN_ADDRESS:
        return keywordLine             ? theme.GetUnderlinedKeywordFont()
               : theme.useHostnameFont ? &theme.hostnameFont
                                       : theme.GetLineFont(model.lineType, bold, true);
    case RUN_KEYWORD:
        return &theme.keywordFont;
    default:
        return keywordLine ? &theme.keywordFont
                           : theme.GetLineFont(model.lineType, bold, (flags & STYLE_UNDERLINE) != 0);
    }
}

COLORREF TLogLineComposition::GetRunColor(const TFont* font, const TLogPiece& piece)
{
    return piece.flags & STYLE_FOREGROUND ? kIrcPalette[piece.foreground % IRC_PALETTE_SIZE] : font->color;
}

void TLogLineComposition::SetPaintColor(HDC dc, COLORREF color)
{
    if (color != context->paintColor) {
        SetTextColor(dc, color);
        context->paintColor = color;
    }
}

// Room an italic font's overhang needs; grows with the rows laid out so far. During a layout only
// the rows it has closed count (the height is still 0), not the row being filled nor the rows
// the buffer kept from the layout before.
int TLogLineComposition::GetItalicAllowance(const TFont* font) const
{
    if (!font->logFont.lfItalic)
        return 0;
    int rowCount = closedRows >= 0 ? closedRows : (int)rows.size();
    return (int)((context->leading * rowCount + height) * 0.414214);
}

// The font and widths of each run style a layout has seen: fonts stay as they are during one
// layout, and looking them up per run was a good part of its cost. One slot per kind and the
// two flags that choose a font; a bit per slot tells the filled ones.
struct TRunFontMemo {
    static const int kKinds = 8;
    const TFont* fonts[kKinds * 4];
    TFontWidths* widths[kKinds * 4];
    unsigned filled = 0;
};

const TFont* TLogLineComposition::GetRunFont(const TLogLineModel& model, const TLogRun& run, TRunFontMemo* memo,
                                             TFontWidths*& widths) const
{
    // Colours do not choose the font: runs that differ only in them share a slot.
    unsigned char flags = run.flags & (STYLE_BOLD | STYLE_UNDERLINE);
    int slot = run.kind >= 0 && run.kind < TRunFontMemo::kKinds ? run.kind * 4 + flags : -1;
    if (memo && slot >= 0 && (memo->filled >> slot & 1)) {
        widths = memo->widths[slot];
        return memo->fonts[slot];
    }
    const TFont* font = ChooseRunFont(model, run.kind, flags);
    widths = &context->widths.Get(*font);
    if (memo && slot >= 0) {
        memo->fonts[slot] = font;
        memo->widths[slot] = widths;
        memo->filled |= 1u << slot;
    }
    return font;
}

int TLogLineComposition::FitPiece(const TLogLineModel& model, HDC dc, const TLogRun& run, int available, int start,
                                  int onRow, bool wrap, SIZE& size, TRunFontMemo* memo)
{
    size.cx = size.cy = 0;
    TFontWidths* widths;
    const TFont* font = GetRunFont(model, run, memo, widths);
    int allowance = GetItalicAllowance(font);
    available -= allowance / 2;
    if (available <= 0 || run.end <= start)
        return 0;
    const wchar_t* s = model.text.GetString();
    // Known widths without a call, and pointers and the room left instead of indexes and the
    // width so far: the loop then keeps all it needs in the few registers there are.
    const wchar_t* p = s + start;
    const wchar_t* const stop = s + run.end;
    int room = available;
    bool shaped = false;
    while (p < stop) {
        int step = 1;
        int w = widths->KnownWidth(*p);
        if (w < 0) {
            // Shaped text never gets a width of its own, so the known widths cost no test.
            if (IsShapedChar(*p)) {
                shaped = true;
                break;
            }
            int units;
            w = widths->Width(dc, font->handle, s, (int)(p - s), run.end, units);
            step = units;
        }
        if (w > room)
            break;
        room -= w;
        p += step;
    }
    const int rest = run.end - start;
    int n = (int)(p - s) - start, width = available - room;
    if (shaped)
        n = FitShapedText(dc, widths->GetPlainFont(), s + start, rest, available, width);
    if (n <= 0)
        return 0;
    if (wrap && n < rest && IsWrapWordChar(s[start + n]) && !InAnyRange(model.urls, start + n) &&
        !InAnyRange(model.addresses, start + n)) {
        int k = start + n - 1;
        while (k >= start && IsWrapWordChar(s[k]))
            k--;
        if (k < start && onRow > 0)
            return 0; // the word moves whole to the next row
        if (k >= start) {
            // Only the word that moves to the next row is measured again.
            if (!shaped)
                width -= MeasureRange(model, dc, font, k + 1, start + n);
            n = k - start + 1;
        }
    }
    // A shaped string cut short is shaped anew at its end.
    if (shaped && n < rest)
        width = TShapedText(dc, widths->GetPlainFont(), s + start, n).GetWidth();
    size.cx = width + allowance;
    size.cy = widths->GetHeight(dc, font->handle);
    return n;
}

int TLogLineComposition::MeasureRange(const TLogLineModel& model, HDC dc, const TFont* font, int from, int to)
{
    TFontWidths& widths = context->widths.Get(*font);
    const wchar_t* s = model.text.GetString();
    int width = 0, units = 1;
    for (int i = from; i < to; i += units) {
        int w = widths.KnownWidth(s[i]);
        units = 1;
        if (w < 0) {
            if (IsShapedChar(s[i]))
                return TShapedText(dc, widths.GetPlainFont(), s + from, to - from).GetWidth();
            w = widths.Width(dc, font->handle, s, i, to, units);
        }
        width += w;
    }
    return width;
}

// Rows are filled in place, so a line laid out again keeps their piece buffers.
TLogRow& TLogLineComposition::StartRow(int& count, int start)
{
    if (count == (int)rows.size())
        rows.emplace_back();
    TLogRow& row = rows[count++];
    row.start = row.end = start;
    row.height = 0;
    row.pieces.clear();
    if (row.pieces.capacity() == 0 && !sparePieces.empty()) {
        row.pieces.swap(sparePieces.back());
        sparePieces.pop_back();
    }
    return row;
}

void TLogLineComposition::Layout(const TLogLineModel& model, HDC dc, int width)
{
    if (layoutStamp == context->layoutGeneration)
        return;
    height = 0;
    layoutStamp = context->layoutGeneration;
    int count = 0;
    if (model.text.IsEmpty() || width < 1) {
        StartRow(count, 0).height = 10;
        rows.resize(count);
        height = 10;
        return;
    }
    const int length = model.text.GetLength();
    int p = 0, available = width, onRow = 0;
    size_t r = 0;
    StartRow(count, 0).pieces.reserve(model.runs.size());
    TRunFontMemo memo;
    while (p < length) {
        while (r < model.runs.size() && model.runs[r].end <= p)
            r++;
        if (r == model.runs.size())
            break;
        const TLogRun& run = model.runs[r];
        SIZE size;
        closedRows = count - 1;
        int n = FitPiece(model, dc, run, available, p, onRow, true, size, &memo);
        TLogRow* row = &rows[count - 1];
        if (n == 0) {
            if (row->pieces.empty())
                break; // not even one character fits: the rest is not shown
            row->end = p;
            StartRow(count, p);
            available = width - context->indent;
            onRow = 0;
            continue;
        }
        row->pieces.push_back(
            TLogPiece{p, p + n, run.kind, run.flags, run.foreground, run.background, (int)size.cx, (int)size.cy});
        available -= size.cx;
        if (size.cy > row->height)
            row->height = size.cy;
        if (n < run.end - p) {
            row->end = p + n;
            StartRow(count, p + n);
            available = width - context->indent;
            onRow = 0;
        } else {
            onRow += n;
        }
        p += n;
    }
    closedRows = -1;
    FinishRows(count, p);
}

// Ends the last row at end (drops it when empty), keeps the buffers of rows no longer used and
// sums the height.
void TLogLineComposition::FinishRows(int count, int end)
{
    if (rows[count - 1].pieces.empty())
        count--;
    else
        rows[count - 1].end = end;
    for (size_t i = count; i < rows.size(); i++) {
        rows[i].pieces.clear();
        sparePieces.push_back(std::move(rows[i].pieces));
    }
    rows.resize(count);
    for (const TLogRow& done : rows)
        height += done.height;
}

int TLogLineComposition::GetRowsHeight(int firstRow, int lastRow) const
{
    if (firstRow < 0)
        firstRow = 0;
    if (lastRow > (int)rows.size())
        lastRow = (int)rows.size();
    int sum = 0;
    for (int i = firstRow; i < lastRow; i++)
        sum += rows[i].height + context->leading;
    return sum;
}

int TLogLineComposition::RowIndexOf(int index, bool endExclusive) const
{
    if (rows.empty())
        return 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const TLogRow& row = rows[i];
        if (row.start <= index && (endExclusive ? index < row.end : index <= row.end))
            return (int)i;
    }
    return (int)rows.size() - 1;
}

int TLogLineComposition::MeasurePrefix(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int count)
{
    if (count <= 0)
        return 0;
    const TFont* font = ChooseRunFont(model, piece.kind, piece.flags);
    int allowance = GetItalicAllowance(font);
    return MeasureRange(model, dc, font, piece.start, piece.start + count) +
           (count >= piece.end - piece.start ? allowance : allowance / 2);
}

int TLogLineComposition::HitTest(const TLogLineModel& model, HDC dc, int firstRow, int x, int y, bool nearest)
{
    if (y >= height + context->leading * (int)rows.size())
        return model.text.GetLength();
    if (x < 0)
        x = 0;
    if (firstRow < 0)
        firstRow = 0;
    int result = 0, top = 0;
    for (int i = firstRow; i < (int)rows.size(); i++) {
        const TLogRow& row = rows[i];
        result = row.end;
        top += context->leading / 2;
        if (y < top) {
            result = row.start;
            break;
        }
        top += row.height;
        if (y < top) {
            result = HitTestRow(model, dc, row, i > 0 ? context->indent : 0, x, nearest);
            break;
        }
        top += context->leading - context->leading / 2;
        if (y < top)
            break;
    }
    return result;
}

int TLogLineComposition::HitTestRow(const TLogLineModel& model, HDC dc, const TLogRow& row, int left, int x,
                                    bool nearest)
{
    int pieceLeft = left;
    for (size_t k = 0; k < row.pieces.size(); k++) {
        const TLogPiece& piece = row.pieces[k];
        int right = pieceLeft + piece.width;
        if (right < x) {
            pieceLeft = right;
            continue;
        }
        SIZE size;
        int n = x > pieceLeft
                    ? FitPiece(model, dc, RunOfPiece(piece), x - pieceLeft, piece.start, 0, false, size, nullptr)
                    : 0;
        int i = piece.start + n;
        if (!nearest || i >= model.text.GetLength())
            return i;
        int charLength = model.text[i] >= 0xD800 && model.text[i] <= 0xDBFF ? 2 : 1;
        if (i + charLength > model.text.GetLength())
            return i; // a lone high surrogate at the end
        int leftEdge = pieceLeft + MeasurePrefix(model, dc, piece, i - piece.start);
        int rightEdge;
        if (i + charLength <= piece.end) {
            rightEdge = pieceLeft + MeasurePrefix(model, dc, piece, i + charLength - piece.start);
        } else {
            if (k + 1 >= row.pieces.size() || row.pieces[k + 1].start == row.pieces[k + 1].end)
                return i;
            const TLogPiece& next = row.pieces[k + 1];
            rightEdge = right + MeasurePrefix(model, dc, next, i + charLength - next.start);
        }
        return rightEdge - x <= x - leftEdge ? i + charLength : i;
    }
    return row.end;
}
