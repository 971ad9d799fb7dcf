#include "tests/log/LogDrawFixture.h"

#include "tests/common/StringPrinter.h"

namespace {

class LogLayoutTest : public LogDrawFixture {
protected:
    // The rows' texts joined with "|".
    static CString RowTexts(const TLogLine& line)
    {
        CString out;
        for (int i = 0; i < line.GetRowCount(); i++)
            out +=
                (i ? L"|" : L"") + line.model.text.Mid(line.GetRow(i).start, line.GetRow(i).end - line.GetRow(i).start);
        return out;
    }
};

TEST_F(LogLayoutTest, WrapsAtWordsAndCutsOnlyWhatCannotMove)
{
    int w = TextWidth(L"x");
    struct {
        const wchar_t* body;
        int columns; // width of the view in characters; continuation rows lose the indent
        const wchar_t* rows;
    } cases[] = {
        {L"abcdefghij", 4, L"abcd|efgh|ij"},
        {L"ab abcdefghij", 6, L"ab |abcdef|ghij"},
        {L"ab cd ef gh", 6, L"ab cd |ef gh"},
        {L"see http://a.org/abcdefgh", 10, L"see http:/|/a.org/abc|defgh"},
        {L"\u65e5\u672c\u8a9e\u306e\u6587\u7ae0", 6, L"\u65e5\u672c\u8a9e|\u306e\u6587\u7ae0"},
    };
    context.indent = 0;
    for (const auto& c : cases) {
        context.layoutGeneration++;
        TLogLine& line = AddLine(c.body, L"", c.columns * w + w / 2);
        EXPECT_EQ(RowTexts(line), CString(c.rows)) << ::testing::PrintToString(CString(c.body));
    }
}

TEST_F(LogLayoutTest, ContinuationRowsLoseTheIndent)
{
    int w = TextWidth(L"x");
    context.indent = 2 * w;
    EXPECT_EQ(RowTexts(AddLine(L"aaaaaaaaaaaa", L"", 6 * w + 1)), CString(L"aaaaaa|aaaa|aa"));
    context.indent = 6 * w;
    EXPECT_EQ(RowTexts(AddLine(L"aaaaaaaaaaaa", L"", 6 * w + 1)), CString(L"aaaaaa"));
    TLogLine& empty = AddLine(L"");
    ASSERT_EQ(empty.GetRowCount(), 1);
    EXPECT_EQ(empty.composition.height, 10);
    EXPECT_EQ(AddLine(L"abc", L"", 0).composition.height, 10);
}

TEST_F(LogLayoutTest, LaysOutAgainOnlyWhenTheGenerationMoves)
{
    int w = TextWidth(L"x");
    context.indent = 0;
    TLogLine& line = AddLine(L"aaaa bbbb", L"", 20 * w);
    EXPECT_EQ(line.GetRowCount(), 1);
    line.Layout(canvas.dc, 5 * w);
    EXPECT_EQ(line.GetRowCount(), 1);
    context.layoutGeneration++;
    line.Layout(canvas.dc, 5 * w);
    EXPECT_EQ(line.GetRowCount(), 2);
    EXPECT_EQ(line.composition.RowIndexOf(5, true), 1);
    EXPECT_EQ(line.composition.RowIndexOf(5, false), 0);
    EXPECT_EQ(line.composition.RowIndexOf(99, true), 1);
    context.leading = 4;
    EXPECT_EQ(line.composition.GetRowsHeight(-3, 9), line.composition.height + 8);
}

// Rows and pieces as their text measures in the one monospaced font, joined with "|".
CString DescribeRows(const TLogLine& line, int w)
{
    CString out;
    for (int i = 0; i < line.GetRowCount(); i++)
        for (const TLogPiece& piece : line.GetRow(i).pieces)
            out.AppendFormat(L"%s%d:%d-%d=%d", out.IsEmpty() ? L"" : L"|", i, piece.start, piece.end,
                             piece.width - (piece.end - piece.start) * w);
    return out;
}

TEST_F(LogLayoutTest, LayingOutAgainGivesTheRowsOfAFreshLayout)
{
    context.indent = 0;
    const wchar_t* body = L"aaaa bbbb cccccccc dd http://a.org/xyz";
    // An italic font's pieces take room for its slant over the leading of the rows closed before
    // theirs: none on the first row, whatever the line's rows were before.
    const struct {
        bool italic;
        int leading;
        int columns;
    } cases[] = {
        {false, 0, 7}, {false, 0, 40}, {false, 0, 5}, {false, 0, 12}, {false, 0, 3},
        {true, 10, 7}, {true, 10, 40}, {true, 10, 5}, {true, 10, 12}, {true, 10, 3},
    };
    TLogLine* line = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.italic ? "italic " : "") << c.columns);
        if (!line || context.leading != c.leading) {
            ApplyTheme(c.italic);
            context.leading = c.leading;
            line = &AddLine(body, L"", 40 * TextWidth(L"x"));
        }
        int w = TextWidth(L"x");
        context.layoutGeneration++;
        line->Layout(canvas.dc, c.columns * w + w / 2);
        TLogLine& fresh = AddLine(body, L"", c.columns * w + w / 2);
        EXPECT_EQ(RowTexts(*line), RowTexts(fresh));
        EXPECT_EQ(DescribeRows(*line, w), DescribeRows(fresh, w));
        // Every piece as wide as its characters and, in an italic font (not the URL's), the
        // allowance of its row; also where a word moved to the next row.
        for (int i = 0; i < line->GetRowCount(); i++)
            for (const TLogPiece& piece : line->GetRow(i).pieces) {
                int allowance = c.italic && piece.kind != RUN_URL ? (int)(c.leading * i * 0.414214) : 0;
                EXPECT_EQ(piece.width, (piece.end - piece.start) * w + allowance) << "row " << i;
            }
    }
}

TEST_F(LogLayoutTest, HitTestingMapsPointsToCharacters)
{
    int w = TextWidth(L"x");
    context.indent = 2 * w;
    TLogLine& line = AddLine(L"abcdef ghijkl", L"t ", 9 * w + 1);
    ASSERT_EQ(line.GetRowCount(), 2); // "t abcdef " and "ghijkl"
    int h = line.GetRow(0).height;
    struct {
        int x, y;
        bool nearest;
        int index;
    } cases[] = {
        {-5, 1, false, 0},
        {3 * w + w / 4, 1, false, 3},
        {3 * w + w / 4, 1, true, 3},
        {3 * w + 3 * w / 4, 1, true, 4},
        {0, 1, false, 0},
        {50 * w, 1, false, 9},
        {0, h + 1, false, 9},
        {2 * w + w / 4, h + 1, false, 9},
        {4 * w + 3 * w / 4, h + 1, true, 12},
        {50 * w, h + 1, true, 15},
        {5, 10 * h, false, 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(line.HitTest(canvas.dc, 0, c.x, c.y, c.nearest), c.index) << c.x << "," << c.y;
    EXPECT_EQ(line.model.RunKindAt(line.HitTest(canvas.dc, 0, 0, 1, false)), RUN_TIME);
    EXPECT_EQ(line.HitTest(canvas.dc, 1, 3 * w + w / 4, 1, false), 10);
}

// Any mix of codes, surrogates and widths lays out rows that tile the text, and painting and hit
// testing stay inside it.
TEST_F(LogLayoutTest, CodeSoupOfAnyLengthWrapsAndPaints)
{
    const wchar_t alphabet[] = {2,    3,    15,   22,   31,   9,    L' ', L'0',   L'4',   L',',   L'a',
                                L'W', L'.', L'/', L':', L'h', L't', L'p', 0x3042, 0xD83D, 0xDE00, 0xD800};
    unsigned seed = 11;
    auto next = [&seed] { return (seed = seed * 1103515245 + 12345) >> 16; };
    for (int round = 0; round < 120; round++) {
        CString body;
        int length = round < 100 ? (int)(next() % 200) : 3000 + (int)(next() % 3000);
        for (int i = 0; i < length; i++)
            body += alphabet[next() % (sizeof alphabet / sizeof alphabet[0])];
        if (round % 7 == 0)
            body = L"http://" + body;
        int width = (int)(next() % 400) - 10;
        context.indent = (int)(next() % 40);
        context.leading = (int)(next() % 5);
        TLogLine& line = AddLine(body, round % 3 ? L"12:00 " : L"", width);
        int at = 0;
        for (int i = 0; i < line.GetRowCount(); i++) {
            const TLogRow& row = line.GetRow(i);
            EXPECT_EQ(row.start, at);
            for (const TLogPiece& piece : row.pieces) {
                EXPECT_EQ(piece.start, at);
                EXPECT_GT(piece.end, piece.start);
                at = piece.end;
            }
            EXPECT_EQ(row.end, at);
        }
        EXPECT_LE(at, line.model.length);
        canvas.Fill(RECT{0, 0, canvas.width, canvas.height}, kBackColor);
        Paint(line, 0, (int)(next() % 50), (int)(next() % 80));
        for (int probe = 0; probe < 5; probe++) {
            int index = line.HitTest(canvas.dc, (int)(next() % 3) - 1, (int)(next() % 700) - 50,
                                     (int)(next() % 500) - 20, probe % 2 == 0);
            EXPECT_GE(index, 0);
            EXPECT_LE(index, line.model.length);
        }
        lines.clear();
    }
}

} // namespace
