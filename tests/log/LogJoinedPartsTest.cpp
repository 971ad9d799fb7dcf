// Parts of one style on a row are drawn with one call: the pixels must be those of drawing every
// part alone, whatever lies between them, with selections and search highlights over them.

#include "tests/log/LogDrawFixture.h"

#include "log/TextBatches.h"
#include "log/TextWidthCache.h"

namespace {

struct TJoinCase {
    const char* name;
    const wchar_t* body;
};

class LogJoinedPartsTest : public LogDrawFixture {
protected:
    LogJoinedPartsTest() { keyword.Like = {L"keyword", L"\u30c6\u30b9\u30c8"}; }

    // Paints the line from the top of a cleared canvas, its parts joined or each alone.
    void PaintOnClear(TLogLine& line, bool join, int selStart, int selEnd)
    {
        canvas.Fill(RECT{0, 0, canvas.width, canvas.height}, kBackColor);
        context.joinParts = join;
        Paint(line, 2, selStart, selEnd);
        context.joinParts = true;
    }
};

} // namespace

TEST_F(LogJoinedPartsTest, JoinedPartsPaintWhatEachPartAlonePaints)
{
    const TJoinCase cases[] = {
        {"colours without blanks between", L"a\x03"
                                           L"4b\x03"
                                           L"c\x03"
                                           L"4dd\x03"
                                           L"e\x03"
                                           L"4,1f\x03"
                                           L"g"},
        {"bold and plain in turns", L"\x02"
                                    L"bold\x02"
                                    L"plain\x02"
                                    L"bold\x02 plain keyword then keyword"},
        {"underlined parts with other text between", L"\x1F"
                                                     L"und\x1F"
                                                     L"x\x1F"
                                                     L"er\x1F y http://a.example/ z http://b.example/"},
        {"Japanese, keywords inside words", L"\u65e5\u672c\u8a9e\x03"
                                            L"4\u30c6\u30b9\u30c8\x03"
                                            L"\u3067\u3059 keyword\u65e5\u672ckeyword"},
        {"characters drawn alone between joined parts", L"abc \u05e9\u05dc\u05d5\u05dd def x\u0301y "
                                                        L"\U0001F600 z \u0627\u0644 end"},
        {"reversed parts", L"\x16"
                           L"rev\x16"
                           L"x\x16"
                           L"rev\x16 y"},
        {"a wrapped line of colours", L"one \x03"
                                      L"3two\x03 three \x03"
                                      L"3four\x03 five six seven eight nine ten eleven twelve thirteen "
                                      L"\x03"
                                      L"3fourteen\x03 fifteen sixteen seventeen eighteen nineteen twenty \x02"
                                      L"twenty-one\x02 twenty-two \x03"
                                      L"3twenty-three\x03 and the end"},
    };
    TMemoryCanvas alone(canvas.width, canvas.height);
    for (const TJoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        TLogLine& line = AddLine(c.body, L"12:00 ", 300);
        const int length = line.model.text.GetLength();
        struct TLook {
            const char* name;
            int selStart, selEnd;
            std::vector<CString> search;
        };
        const TLook looks[] = {{"plain", -1, -1, {}},
                               {"selected in the middle", 8, length - 3, {}},
                               {"search highlights", -1, -1, {L"e", L"\u672c"}}};
        for (const TLook& look : looks) {
            SCOPED_TRACE(look.name);
            context.searchWords = look.search;
            PaintOnClear(line, false, look.selStart, look.selEnd);
            BitBlt(alone.dc, 0, 0, canvas.width, canvas.height, canvas.dc, 0, 0, SRCCOPY);
            PaintOnClear(line, true, look.selStart, look.selEnd);
            const int differing = canvas.Differing(alone);
            EXPECT_EQ(0, differing);
            if (differing) {
                canvas.SavePng(ScreenshotPath(L"log-joined-parts-differ.png"));
                alone.SavePng(ScreenshotPath(L"log-parts-alone.png"));
            }
            // Something was painted at all: the comparison is not of two empty canvases.
            EXPECT_LT(canvas.Count(RECT{0, 0, canvas.width, canvas.height}, kBackColor), canvas.width * canvas.height);
        }
        context.searchWords.clear();
    }
    PaintOnClear(*lines[2], true, -1, -1);
    canvas.SavePng(ScreenshotPath(L"log-joined-parts.png"));
}

// Lines of underlined and struck-out text are drawn apart over the plain font: they must lie
// where GDI draws them for the lined font, in every size and weight.
TEST_F(LogJoinedPartsTest, DrawnLinesLieWhereGdiDrawsThem)
{
    struct TLineCase {
        const wchar_t* face;
        int tenths;
        bool bold, underline, strikeOut;
    };
    const TLineCase cases[] = {
        {L"IPAGothic", 90, false, true, false},      {L"IPAGothic", 120, true, true, true},
        {L"IPAGothic", 300, false, false, true},     {L"Liberation Sans", 100, false, true, false},
        {L"Liberation Sans", 240, true, true, true}, {L"Liberation Serif", 110, false, true, true},
    };
    const CString text = L"under line \u65e5\u672c\u8a9e";
    TMemoryCanvas gdi(canvas.width, canvas.height);
    for (const TLineCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases) << ", size " << c.tenths);
        TFont font;
        font.SetFaceName(c.face);
        font.size = c.tenths;
        font.logFont.lfWeight = c.bold ? FW_BOLD : FW_NORMAL;
        font.logFont.lfUnderline = c.underline;
        font.logFont.lfStrikeOut = c.strikeOut;
        font.CreateHandle();
        TFontWidths widths(font);
        const unsigned lines = (c.underline ? TEXT_UNDERLINE : 0) | (c.strikeOut ? TEXT_STRIKEOUT : 0);

        canvas.Fill(RECT{0, 0, canvas.width, canvas.height}, kBackColor);
        TTextBatches batches;
        ASSERT_TRUE(batches.Add(canvas.dc, widths, lines, RGB(0, 0, 200), 10, 60, text, text.GetLength()));
        HFONT selected = nullptr;
        COLORREF color = CLR_INVALID;
        SetBkMode(canvas.dc, TRANSPARENT);
        batches.Draw(canvas.dc, selected, color);

        gdi.Fill(RECT{0, 0, gdi.width, gdi.height}, kBackColor);
        SetBkMode(gdi.dc, TRANSPARENT);
        SetTextAlign(gdi.dc, TA_BOTTOM);
        SetTextColor(gdi.dc, RGB(0, 0, 200));
        HGDIOBJ old = SelectObject(gdi.dc, font.handle);
        ExtTextOutW(gdi.dc, 10, 60, 0, nullptr, text, text.GetLength(), nullptr);
        SelectObject(gdi.dc, old);

        const int differing = canvas.Differing(gdi);
        EXPECT_EQ(0, differing);
        if (differing) {
            canvas.SavePng(ScreenshotPath(L"log-drawn-lines.png"));
            gdi.SavePng(ScreenshotPath(L"log-gdi-lines.png"));
        }
        SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    }
}
