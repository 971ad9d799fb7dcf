#pragma once
// The display half of a log line: rows wrapped for a width, painted with the theme's fonts and
// colours into any device context, and points mapped back to characters.

#include "log/LogLineData.h"

#include <windows.h>

#include <vector>

class TFont;
class TFontWidths;
class TLogLineModel;
struct TLogDrawContext;
struct TRunFontMemo;

struct TLogPiece {
    int start = 0;
    int end = 0;
    int kind = 0;
    unsigned char flags = 0;
    unsigned char foreground = 0;
    unsigned char background = 0;
    int width = 0;
    int height = 0;
};

struct TLogRow {
    int start = 0;
    int end = 0;
    int height = 0;
    std::vector<TLogPiece> pieces;
};

class TLogLineComposition {
public:
    explicit TLogLineComposition(TLogDrawContext* context) : context(context) {}
    virtual ~TLogLineComposition() = default;

    // Wraps again only when the context's layout generation moved since the last layout.
    void Layout(const TLogLineModel& model, HDC dc, int width);
    // Selection indexes below 0 mean no selection. The view sets bottom text alignment.
    void Paint(const TLogLineModel& model, HDC dc, int firstRow, int selectionStart, int selectionEnd,
               const RECT& rect);
    // x from the line's left edge, y from the top of firstRow.
    int HitTest(const TLogLineModel& model, HDC dc, int firstRow, int x, int y, bool nearest);
    int GetRowsHeight(int firstRow, int lastRow) const;
    int RowIndexOf(int index, bool endExclusive) const;
    int MeasurePrefix(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int count);

    TLogDrawContext* context;
    int height = 0;
    std::vector<TLogRow> rows;
    int layoutStamp = 0;

private:
    // Piece buffers of rows a shorter layout dropped, for the rows of the next one.
    std::vector<std::vector<TLogPiece>> sparePieces;
    // The rows a layout under way has closed; -1 outside a layout.
    int closedRows = -1;
    TLogRow& StartRow(int& count, int start);
    void FinishRows(int count, int end);
    TFont* ChooseRunFont(const TLogLineModel& model, int kind, unsigned char flags) const;
    void SetPaintColor(HDC dc, COLORREF color);
    static COLORREF GetRunColor(const TFont* font, const TLogPiece& piece);
    static unsigned GetTextLines(const TFont* font);
    // The overhang of an italic font grows with the rows laid out so far.
    int GetItalicAllowance(const TFont* font) const;
    int MeasureRange(const TLogLineModel& model, HDC dc, const TFont* font, int from, int to);
    const TFont* GetRunFont(const TLogLineModel& model, const TLogRun& run, TRunFontMemo* memo,
                            TFontWidths*& widths) const;
    int FitPiece(const TLogLineModel& model, HDC dc, const TLogRun& run, int available, int start, int onRow, bool wrap,
                 SIZE& size, TRunFontMemo* memo);
    int HitTestRow(const TLogLineModel& model, HDC dc, const TLogRow& row, int left, int x, bool nearest);
    void PaintRow(const TLogLineModel& model, HDC dc, const TLogRow& row, int left, int bottom, int selStart,
                  int selEnd, const std::vector<TLogRange>& hits);
    void FindSearchHits(const TLogLineModel& model, std::vector<TLogRange>& hits) const;
    void PaintHighlights(const TLogLineModel& model, HDC dc, const TLogRow& row, const std::vector<int>& xs, int bottom,
                         int selStart, int selEnd, const std::vector<TLogRange>& hits);
    void DrawPart(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom, int from, int to,
                  int color, int dx, int dy);
    // Adds the part to the row's text batches, or draws it at once when it cannot join them.
    void QueuePart(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom, int from, int to,
                   bool selected);
    RECT PartRect(const TLogLineModel& model, HDC dc, const TLogPiece& piece, int x, int bottom, int from, int to);
};
