#include "log/LogComposition.h"

#include "app/Font.h"
#include "log/LogLine.h"
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

TFont* TLogLineComposition::SelectRunFont(const TLogLineModel& model, HDC dc, int kind, unsigned char flags,
                                          unsigned char foreground, bool shadow)
{
    TLogTextTheme& theme = *context->textTheme;
    bool keywordLine = context->keyword && context->keyword->WholeLine && model.keyword;
    bool bold = (flags & STYLE_BOLD) != 0;
    TFont* font;
    switch (kind) {
    case RUN_TIME:
        font = &theme.timeFont;
        break;
    case RUN_NICK:
        font = &theme.nickFonts[model.nickStyle >= 0 && model.nickStyle < kNickFontCount ? model.nickStyle : 0];
        break;
    case RUN_PLACE:
        font = &theme.channelFont;
        break;
    case RUN_URL:
        font = keywordLine        ? theme.GetUnderlinedKeywordFont()
               : theme.useUrlFont ? &theme.urlFont
                                  : theme.GetLineFont(model.lineType, bold, true);
        break;
    case RUN_ADDRESS:
        font = keywordLine             ? theme.GetUnderlinedKeywordFont()
               : theme.useHostnameFont ? &theme.hostnameFont
                                       : theme.GetLineFont(model.lineType, bold, true);
        break;
    case RUN_KEYWORD:
        font = &theme.keywordFont;
        break;
    default:
        font =
            keywordLine ? &theme.keywordFont : theme.GetLineFont(model.lineType, bold, (flags & STYLE_UNDERLINE) != 0);
    }
    if (font->handle)
        SelectObject(dc, font->handle);
    COLORREF color = shadow                     ? theme.shadowColor
                     : flags & STYLE_FOREGROUND ? kIrcPalette[foreground % IRC_PALETTE_SIZE]
                                                : font->color;
    SetTextColor(dc, color);
    selectedFont = font;
    return font;
}

// Room an italic font's overhang needs; grows with the rows laid out so far.
int TLogLineComposition::GetItalicAllowance() const
{
    if (!selectedFont || !selectedFont->logFont.lfItalic)
        return 0;
    return (int)((context->leading * (int)rows.size() + height) * 0.414214);
}

int TLogLineComposition::FitPiece(const TLogLineModel& model, HDC dc, const TLogRun& run, int available, int start,
                                  int onRow, bool wrap, SIZE& size)
{
    size.cx = size.cy = 0;
    SelectRunFont(model, dc, run.kind, run.flags, run.foreground, false);
    int allowance = GetItalicAllowance();
    available -= allowance / 2;
    int rest = run.end - start;
    if (available <= 0 || rest <= 0)
        return 0;
    const wchar_t* s = model.text.GetString();
    int n = 0;
    SIZE whole;
    if (!GetTextExtentExPointW(dc, s + start, rest, available, &n, nullptr, &whole) || n <= 0)
        return 0;
    if (n > rest)
        n = rest;
    if (wrap && n < rest && IsWrapWordChar(s[start + n]) && !InAnyRange(model.urls, start + n) &&
        !InAnyRange(model.addresses, start + n)) {
        int k = start + n - 1;
        while (k >= start && IsWrapWordChar(s[k]))
            k--;
        if (k >= start)
            n = k - start + 1;
        else if (onRow > 0)
            return 0; // the word moves whole to the next row
    }
    if (n < rest) {
        if (!GetTextExtentPoint32W(dc, s + start, n, &whole))
            return 0;
    }
    size = whole;
    size.cx += allowance;
    return n;
}

void TLogLineComposition::Layout(const TLogLineModel& model, HDC dc, int width)
{
    if (layoutStamp == context->layoutGeneration)
        return;
    rows.clear();
    height = 0;
    layoutStamp = context->layoutGeneration;
    if (model.text.IsEmpty() || width < 1) {
        rows.push_back(TLogRow{0, 0, 10, {}});
        height = 10;
        return;
    }
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const int length = model.text.GetLength();
    int p = 0, available = width, onRow = 0;
    size_t r = 0;
    TLogRow row;
    while (p < length) {
        while (r < model.runs.size() && model.runs[r].end <= p)
            r++;
        if (r == model.runs.size())
            break;
        const TLogRun& run = model.runs[r];
        SIZE size;
        int n = FitPiece(model, dc, run, available, p, onRow, true, size);
        if (n == 0) {
            if (row.pieces.empty())
                break; // not even one character fits: the rest is not shown
            row.end = p;
            rows.push_back(std::move(row));
            row = TLogRow{p, p, 0, {}};
            available = width - context->indent;
            onRow = 0;
            continue;
        }
        row.pieces.push_back(
            TLogPiece{p, p + n, run.kind, run.flags, run.foreground, run.background, (int)size.cx, (int)size.cy});
        available -= size.cx;
        if (size.cy > row.height)
            row.height = size.cy;
        if (n < run.end - p) {
            row.end = p + n;
            rows.push_back(std::move(row));
            row = TLogRow{p + n, p + n, 0, {}};
            available = width - context->indent;
            onRow = 0;
        } else {
            onRow += n;
        }
        p += n;
    }
    if (!row.pieces.empty()) {
        row.end = p;
        rows.push_back(std::move(row));
    }
    for (const TLogRow& done : rows)
        height += done.height;
    SelectObject(dc, oldFont);
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
    SelectRunFont(model, dc, piece.kind, piece.flags, piece.foreground, false);
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32W(dc, model.text.GetString() + piece.start, count, &size))
        return 0;
    int allowance = GetItalicAllowance();
    return size.cx + (count >= piece.end - piece.start ? allowance : allowance / 2);
}

int TLogLineComposition::HitTest(const TLogLineModel& model, HDC dc, int firstRow, int x, int y, bool nearest)
{
    if (y >= height + context->leading * (int)rows.size())
        return model.text.GetLength();
    if (x < 0)
        x = 0;
    if (firstRow < 0)
        firstRow = 0;
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
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
    SelectObject(dc, oldFont);
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
        int n = x > pieceLeft ? FitPiece(model, dc, RunOfPiece(piece), x - pieceLeft, piece.start, 0, false, size) : 0;
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
