#include "tests/log/LogDrawFixture.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kShadow = RGB(255, 160, 0);
const COLORREF kLavender = RGB(230, 230, 250);

class LogPaintTest : public LogDrawFixture {
protected:
    LogPaintTest() { theme.shadowColor = kShadow; }

    // Adds a line and paints it below the one painted before; top is where it begins.
    TLogLine& PaintNext(const CString& body, const CString& timeText)
    {
        TLogLine& line = AddLine(body, timeText);
        top = y;
        y = Paint(line, y) + 6;
        return line;
    }

    // Where a piece of a line painted from top y lies.
    RECT PieceRect(const TLogLine& line, int top, int rowIndex, int pieceIndex) const
    {
        const TLogRow& row = line.GetRow(rowIndex);
        int bottom = top + line.composition.GetRowsHeight(0, rowIndex) + context.leading / 2 + row.height;
        int x = rowIndex > 0 ? context.indent : 0;
        for (int k = 0; k < pieceIndex; k++)
            x += row.pieces[k].width;
        const TLogPiece& piece = row.pieces[pieceIndex];
        return RECT{x, bottom - piece.height, x + piece.width, bottom};
    }

    // The first piece that starts at the index.
    int PieceAt(const TLogLine& line, int rowIndex, int start) const
    {
        const TLogRow& row = line.GetRow(rowIndex);
        for (size_t k = 0; k < row.pieces.size(); k++)
            if (row.pieces[k].start == start)
                return (int)k;
        ADD_FAILURE() << "no piece at " << start;
        return 0;
    }

    int y = 4, top = 0;
};

TEST_F(LogPaintTest, ThemedLinesPaintTheirColoursRunsAndHighlights)
{
    keyword.Like = {L"keyword"};
    context.searchWords = {L"FIND"};

    TLogLine& colours = PaintNext(L"\x03"
                                  L"4,8 RED \x03 \x02"
                                  L"bold\x02 \x1F"
                                  L"under\x1F \x16"
                                  L"rev\x16 end",
                                  L"12:00 ");
    RECT red = PieceRect(colours, top, 0, PieceAt(colours, 0, 6));
    EXPECT_GT(canvas.Count(red, kYellow), (red.right - red.left) * (red.bottom - red.top) / 3);
    EXPECT_GT(canvas.Count(red, kRed), 5);
    EXPECT_EQ(canvas.Count(RECT{0, top, canvas.width, red.top}, kYellow), 0);
    EXPECT_GT(canvas.Count(PieceRect(colours, top, 0, 0), kTimeColor), 5);
    int revAt = colours.model.text.Find(L"rev");
    RECT rev = PieceRect(colours, top, 0, PieceAt(colours, 0, revAt));
    // Reverse video inverts the white ground to black.
    EXPECT_GT(canvas.Count(rev, RGB(0, 0, 0)), (rev.right - rev.left) * (rev.bottom - rev.top) / 2);

    // Without its own font a URL is the line font, underlined.
    theme.useUrlFont = false;
    TLogLine& marks = PaintNext(L"see http://a.org/x or keyword, find it", L"12:01 ");
    EXPECT_TRUE(marks.model.keyword);
    RECT url = PieceRect(marks, top, 0, PieceAt(marks, 0, marks.model.text.Find(L"http")));
    int underlined = 0;
    for (int row = url.top; row < url.bottom; row++)
        underlined +=
            canvas.Count(RECT{url.left, row, url.right, row + 1}, kLineColor) > (url.right - url.left) * 3 / 4;
    EXPECT_GE(underlined, 1);
    RECT word = PieceRect(marks, top, 0, PieceAt(marks, 0, marks.model.text.Find(L"keyword")));
    EXPECT_GT(canvas.Count(word, kKeywordColor), 10);
    RECT hit = PieceRect(marks, top, 0, PieceAt(marks, 0, marks.model.text.Find(L", find")));
    EXPECT_GT(canvas.Count(hit, theme.hilightBackColor), 10);

    TLogLine& selected = AddLine(L"select me please", L"12:02 ");
    int selectedTop = y;
    int meAt = selected.model.text.Find(L"me ");
    y = Paint(selected, y, meAt, meAt + 2) + 6;
    RECT me = CharRect(selected, selectedTop, meAt, meAt + 2);
    EXPECT_GT(canvas.Count(me, theme.selectBackColor), 10);
    EXPECT_GT(canvas.Count(me, theme.selectTextColor), 3);
    EXPECT_EQ(canvas.Count(RECT{0, selectedTop, me.left, me.bottom}, theme.selectBackColor), 0);

    CString longText;
    for (int i = 0; i < 24; i++)
        longText += L"wrapping words ";
    TLogLine& wrapped = PaintNext(longText + L"\u65e5\u672c\u8a9e\u306e\u6587\u7ae0", L"12:03 ");
    ASSERT_GT(wrapped.GetRowCount(), 2);
    RECT second = PieceRect(wrapped, top, 1, 0);
    EXPECT_EQ(second.left, context.indent);
    EXPECT_EQ(canvas.Count(RECT{0, second.top, context.indent, second.bottom}, kLineColor), 0);
    EXPECT_GT(canvas.Count(second, kLineColor), 20);

    theme.useUrlFont = true;
    TLogLine& ownFont = PaintNext(L"http://own.font/", L"12:04 ");
    EXPECT_GT(canvas.Count(PieceRect(ownFont, top, 0, 1), kUrlColor), 10);

    theme.shadowKind = 3;
    back.color = kLavender;
    TLogLine& backed = PaintNext(L"backed \x03"
                                 L"1,8yellow",
                                 L"12:05 ");
    RECT plain = PieceRect(backed, top, 0, 1);
    RECT yellow = PieceRect(backed, top, 0, 2);
    EXPECT_GT(canvas.Count(plain, kLavender), 10);
    EXPECT_EQ(canvas.Count(yellow, kLavender), 0);
    EXPECT_GT(canvas.Count(yellow, kYellow), 10);

    theme.shadowKind = 1;
    keyword.WholeLine = true;
    TLogLine& shadowed = PaintNext(L"keyword \x03"
                                   L"4red",
                                   L"12:06 ");
    EXPECT_GT(canvas.Count(PieceRect(shadowed, top, 0, 1), kShadow), 5);
    EXPECT_GT(canvas.Count(PieceRect(shadowed, top, 0, PieceAt(shadowed, 0, 14)), kRed), 5);
    EXPECT_GT(canvas.Count(PieceRect(shadowed, top, 0, 1), kKeywordColor), 5);
    EXPECT_GT(canvas.Count(PieceRect(shadowed, top, 0, 0), kTimeColor), 5);

    EXPECT_LT(y, canvas.height);
    canvas.SavePng(ScreenshotPath(L"log_lines.png"));
}

} // namespace
