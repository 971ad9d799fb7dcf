#pragma once
// A composed log line: its visible text with styled runs from the IRC control codes, URL,
// address and keyword marks, and its wrapping into rows for one view.

#include "log/LogComposition.h"
#include "log/LogLineData.h"
#include "log/TextBatches.h"
#include "log/TextWidthCache.h"

#include <vector>

class TLogAddressFinder;
class TLogBkTheme;
class TLogKeyword;
class TLogTextTheme;

const int IRC_PALETTE_SIZE = 16;
extern const COLORREF kIrcPalette[IRC_PALETTE_SIZE];

// Shared by all lines of one view; the view owns it and everything it points to outlives it.
struct TLogDrawContext {
    TLogTextTheme* textTheme = nullptr;
    const TLogBkTheme* backTheme = nullptr;
    const TLogKeyword* keyword = nullptr;
    const TLogAddressFinder* addressFinder = nullptr;
    // Lines lay themselves out again when this differs from their stamp; 0 is never used.
    int layoutGeneration = 1;
    int indent = 6;
    int leading = 0;
    // Shows control codes as characters and marks nothing.
    bool rawText = false;
    std::vector<CString> searchWords;
    // Character widths of the theme's fonts, kept across lines and layouts.
    TTextWidthCache widths;
    // What a line's paint last set in the device context, so runs of one style set it once;
    // and its scratch buffers, kept so painting allocates nothing.
    HFONT paintFont = nullptr;
    COLORREF paintColor = CLR_INVALID;
    std::vector<int> paintXs;
    std::vector<TLogRange> paintHits;
    TTextBatches paintBatches;
    // Parts of one style on a row are drawn together; false draws each alone, as a reference.
    bool joinParts = true;
};

class TLogLineModel {
public:
    virtual ~TLogLineModel() = default;

    void Compose(const TLogLineData& data, const TLogDrawContext& context, bool checkKeywords);
    void BuildPrefix(const TLogLineData& data);
    void ParseText(const CString& body, const TLogDrawContext& context, bool checkKeywords);

    CString GetText() const { return text; }
    CString GetNick() const { return nick; }
    int RunKindAt(int index) const;
    CString GetUrlAt(int index) const;
    CString GetAddressAt(int index) const;

    CString text;
    int length = 0;
    std::vector<TLogRun> runs;
    int lineType = 0;
    int nickStyle = 0;
    CString nick;
    CString eventData;
    bool keyword = false;
    std::vector<TLogRange> urls;
    std::vector<TLogRange> addresses;
    int lineNumber = 0;
};

class TLogLine {
public:
    explicit TLogLine(TLogDrawContext* context) : composition(context) {}
    TLogLine(const TLogLine&) = delete;
    TLogLine& operator=(const TLogLine&) = delete;
    virtual ~TLogLine() = default;

    CString GetUrlAt(int index) const { return model.GetUrlAt(index); }
    CString GetAddressAt(int index) const { return model.GetAddressAt(index); }
    CString GetText() const { return model.GetText(); }
    CString GetNick() const { return model.GetNick(); }
    bool IsMessageLine() const { return IsMessageLineType(model.lineType); }
    int GetRowCount() const { return (int)composition.rows.size(); }
    const TLogRow& GetRow(int index) const { return composition.rows[index]; }

    // Layout, painting and hit testing against this line's model.
    void Layout(HDC dc, int width) { composition.Layout(model, dc, width); }
    void Paint(HDC dc, int firstRow, int selectionStart, int selectionEnd, const RECT& rect)
    {
        composition.Paint(model, dc, firstRow, selectionStart, selectionEnd, rect);
    }
    int HitTest(HDC dc, int firstRow, int x, int y, bool nearest)
    {
        return composition.HitTest(model, dc, firstRow, x, y, nearest);
    }

    TLogLineModel model;
    TLogLineComposition composition;
};

// A position in a view: line index, then character index.
struct TLogTextPosition {
    int line = 0;
    int index = 0;
};
bool IsTextPositionBefore(const TLogTextPosition& a, const TLogTextPosition& b);
