#include "foundation/Iso2022Jp.h"
#include "foundation/CodePage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct TJisVector {
    unsigned short jis;
    wchar_t reference; // what an independent iso2022_jp decoder gives
    wchar_t cp932;     // what code page 932 gives for the same Shift_JIS code
};
struct TJisLine {
    const wchar_t* text;
    const char* bytes;
    int length;
};
struct TKanaVector {
    wchar_t half;
    const char* bytes;
    int length;
    wchar_t nfkc;
};
struct TKanaPair {
    wchar_t half;
    wchar_t mark;
    wchar_t combined;
};
struct TIbmVector {
    unsigned short code;
    unsigned short sameCharacter;
    unsigned short jis;
};

#include "data/Iso2022JpVectors.inc"

CStringA Bytes(const char* s, int n) { return CStringA(s, n); }

CStringA KanjiBytes(unsigned short jis)
{
    char b[8] = {0x1B, '$', 'B', static_cast<char>(jis >> 8), static_cast<char>(jis & 0xFF), 0x1B, '(', 'B'};
    return CStringA(b, 8);
}

CString Char(wchar_t c) { return CString(c); }

} // namespace

TEST(Iso2022JpReference, EveryJisX0208CharacterRoundTrips)
{
    int differing = 0;
    for (const TJisVector& v : JIS_X0208_VECTORS) {
        SCOPED_TRACE(testing::Message() << "JIS " << std::hex << v.jis);
        CStringA bytes = KanjiBytes(v.jis);
        EXPECT_EQ(EncodeIso2022Jp(Char(v.cp932), KANA_MODE_KANA), bytes);
        EXPECT_EQ(DecodeIso2022Jp(bytes), Char(v.cp932));
        if (v.reference != v.cp932)
            differing++;
    }
    EXPECT_EQ(sizeof(JIS_X0208_VECTORS) / sizeof(JIS_X0208_VECTORS[0]), 6879u);
    // The codec goes through code page 932, which has its own characters for six codes
    // (wave dash, double vertical line, minus, cent, pound, not); decoding gives those.
    EXPECT_EQ(differing, 6);
}

TEST(Iso2022JpReference, WholeLinesMatchTheReferenceBothWays)
{
    for (const TJisLine& line : JIS_LINES) {
        SCOPED_TRACE(testing::Message() << line.bytes);
        EXPECT_EQ(EncodeIso2022Jp(line.text, KANA_MODE_KANA), Bytes(line.bytes, line.length));
        EXPECT_EQ(DecodeIso2022Jp(Bytes(line.bytes, line.length)), CString(line.text));
    }
    for (const TJisLine& line : JIS_DECODE_ONLY)
        EXPECT_EQ(DecodeIso2022Jp(Bytes(line.bytes, line.length)), CString(line.text));
}

TEST(Iso2022JpReference, HalfWidthKanaInKanaModeMatchesTheExtendedReference)
{
    for (const TKanaVector& v : HALF_WIDTH_KANA) {
        SCOPED_TRACE(testing::Message() << std::hex << (int)v.half);
        CStringA bytes = EncodeIso2022Jp(Char(v.half), KANA_MODE_KANA);
        EXPECT_EQ(bytes, Bytes(v.bytes, v.length));
        EXPECT_EQ(DecodeIso2022Jp(bytes), Char(v.half));
    }
}

TEST(Iso2022JpReference, HalfWidthKanaBecomeTheirCompatibilityForms)
{
    for (const TKanaVector& v : HALF_WIDTH_KANA) {
        CString full = ConvertHalfWidthKanaToFullWidth(Char(v.half));
        // The lone marks become the spacing marks, not the combining ones NFKC gives.
        if (v.half == 0xFF9E)
            EXPECT_EQ(full, L"゛");
        else if (v.half == 0xFF9F)
            EXPECT_EQ(full, L"゜");
        else
            EXPECT_EQ(full, Char(v.nfkc)) << std::hex << (int)v.half;
    }
    for (const TKanaPair& p : VOICED_KANA) {
        CString pair(p.half);
        pair += p.mark;
        CString full = ConvertHalfWidthKanaToFullWidth(pair);
        // ｦﾞ and ﾜﾞ stay two characters: only カ-ト, ハ-ホ and ウ are combined.
        if (p.half == 0xFF66 || p.half == 0xFF9C)
            EXPECT_EQ(full.GetLength(), 2);
        else
            EXPECT_EQ(full, Char(p.combined)) << std::hex << (int)p.half;
    }
}

TEST(Iso2022JpReference, IbmExtendedCharactersTravelAsTheirTwins)
{
    for (const TIbmVector& v : IBM_EXTENSIONS) {
        SCOPED_TRACE(testing::Message() << std::hex << v.code);
        EXPECT_EQ(MapIbmExtensionCode(v.code), v.sameCharacter);
        CStringA sjis = Bytes("\0\0", 2);
        sjis.SetAt(0, static_cast<char>(v.code >> 8));
        sjis.SetAt(1, static_cast<char>(v.code & 0xFF));
        EXPECT_EQ(ShiftJisToJis(sjis, KANA_MODE_KANA), KanjiBytes(v.jis));
        EXPECT_EQ(DecodeIso2022Jp(KanjiBytes(v.jis)), ConvertFromShiftJis(sjis));
    }
    EXPECT_EQ(sizeof(IBM_EXTENSIONS) / sizeof(IBM_EXTENSIONS[0]), 388u);
}

TEST(Iso2022Jp, EscapeSequencesAndKanaModes)
{
    EXPECT_EQ(EncodeIso2022Jp(L"hello, world", KANA_MODE_KANA), "hello, world");
    EXPECT_EQ(EncodeIso2022Jp(L"あ", KANA_MODE_KANA), Bytes("\x1B\x24\x42\x24\x22\x1B\x28\x42", 8));
    EXPECT_EQ(EncodeIso2022Jp(L"ｱ", KANA_MODE_ROMAN_7), Bytes("\x1B\x28\x4A\x0E\x31\x0F\x1B\x28\x42", 9));
    EXPECT_EQ(EncodeIso2022Jp(L"ｱ", KANA_MODE_KANA), Bytes("\x1B\x28\x49\x31\x1B\x28\x42", 7));
    EXPECT_EQ(EncodeIso2022Jp(L"ｱ", KANA_MODE_ROMAN_8), Bytes("\x1B\x28\x4A\xB1\x1B\x28\x42", 7));
    // SI closes the SO section before the kanji designation.
    EXPECT_EQ(EncodeIso2022Jp(L"ｱあ", KANA_MODE_ROMAN_7),
              Bytes("\x1B\x28\x4A\x0E\x31\x0F\x1B\x24\x42\x24\x22\x1B\x28\x42", 14));
    EXPECT_EQ(EncodeIso2022Jp(L"ｱあ", KANA_MODE_KANA), Bytes("\x1B\x28\x49\x31\x1B\x24\x42\x24\x22\x1B\x28\x42", 12));
    for (int mode : {KANA_MODE_KANA, KANA_MODE_ROMAN_7, KANA_MODE_ROMAN_8})
        EXPECT_EQ(DecodeIso2022Jp(EncodeIso2022Jp(L"aｱｲあｳb", mode)), L"aｱｲあｳb") << mode;
}

TEST(Iso2022Jp, EveryStoredKanaChoiceSendsItsOwnBytes)
{
    struct {
        int method;
        CStringA bytes;
    } cases[] = {
        {KANA_METHOD_FULL_WIDTH, Bytes("\x1B\x24\x42\x25\x2C\x1B\x28\x42", 8)}, // ｶﾞ as full-width ガ
        {KANA_METHOD_ROMAN_8, Bytes("\x1B\x28\x4A\xB6\xDE\x1B\x28\x42", 8)},
        {KANA_METHOD_ROMAN_7, Bytes("\x1B\x28\x4A\x0E\x36\x5E\x0F\x1B\x28\x42", 10)},
        {KANA_METHOD_KANA, Bytes("\x1B\x28\x49\x36\x5E\x1B\x28\x42", 8)},
        // Choices of another version: kana, the way every server takes them.
        {4, Bytes("\x1B\x28\x49\x36\x5E\x1B\x28\x42", 8)},
        {-1, Bytes("\x1B\x28\x49\x36\x5E\x1B\x28\x42", 8)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeIso2022JpByKanaMethod(L"ｶﾞ", c.method), c.bytes) << c.method;
}

TEST(Iso2022Jp, CharactersJisCannotCarryBecomeTheGetaMark)
{
    EXPECT_EQ(ShiftJisToJis(Bytes("\xF0\x40", 2), KANA_MODE_KANA), KanjiBytes(0x222E));
    EXPECT_EQ(ShiftJisToJis(Bytes("\xFD\x40", 2), KANA_MODE_KANA), KanjiBytes(0x222E));
    EXPECT_EQ(MapIbmExtensionCode(0xFC4C), 0x81AC);
    EXPECT_EQ(ShiftJisCodeToJisCode(0x82A0), 0x2422);
    EXPECT_EQ(ShiftJisCodeToJisCode(0x889F), 0x3021);
    CStringA out("x");
    AppendJisRomanEscape(out);
    EXPECT_EQ(out, "x\x1B(J");
}

TEST(Iso2022Jp, DecoderToleratesSendersShortcuts)
{
    // No ESC ( B at the end, and a blank returns to ASCII by itself.
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B$B\x24\x22\x24\x24", 7)), L"あい");
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B$B\x24\x22 ab", 8)), L"あ ab");
    // SO inside Roman shifts to 7-bit katakana, SI back.
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B(J\x0E\x31\x0F"
                                    "a",
                                    7)),
              L"ｱa");
    // SI without an SO before it returns to ASCII.
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B(I\x31\x0F"
                                    "a",
                                    6)),
              L"ｱa");
}

TEST(Iso2022JpBadInput, BrokenEscapesAreCopiedAsText)
{
    EXPECT_EQ(JisToShiftJis(Bytes("ab\x1B$", 4)), Bytes("ab\x1B$", 4));
    EXPECT_EQ(JisToShiftJis(Bytes("\x1B", 1)), Bytes("\x1B", 1));
    EXPECT_EQ(JisToShiftJis(Bytes("\x1B(Zq", 4)), Bytes("\x1B(Zq", 4));
    EXPECT_EQ(DetectJisOrUtf8(Bytes("abc\x1B", 4)), DETECTED_UTF8);
    EXPECT_EQ(DetectJisOrUtf8(Bytes("a\x1B(Bb", 5)), DETECTED_JIS);
    EXPECT_EQ(DetectJisOrUtf8(Bytes("a\x1B$Bb", 5)), DETECTED_JIS);
    EXPECT_EQ(DetectJisOrUtf8(ConvertToUtf8(L"日本語")), DETECTED_UTF8);
    EXPECT_EQ(DetectJisOrUtf8(Bytes("a\0\x1B(B", 5)), DETECTED_UTF8); // only up to the first NUL
}

TEST(Iso2022JpBadInput, OddKanjiByteDoesNotSwallowWhatFollows)
{
    EXPECT_EQ(JisToShiftJis(Bytes("\x1B$B\x24\x22\x24", 6)), Bytes("\x82\xA0\x24", 3));
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B$B\x24\x22\x24\x1B(Babc", 12)), L"あ$abc");
    EXPECT_EQ(DecodeIso2022Jp(Bytes("\x1B$B\x24\r\n", 6)), L"$\r\n");
    // An 8-bit byte ends kanji mode and passes through unchanged.
    EXPECT_EQ(JisToShiftJis(Bytes("\x1B$B\x24\x22\xB1z", 7)), Bytes("\x82\xA0\xB1z", 4));
    // A lead byte at the end of Shift_JIS input is sent as it is.
    EXPECT_EQ(ShiftJisToJis(Bytes("a\x82", 2), KANA_MODE_KANA), Bytes("a\x82", 2));
    EXPECT_EQ(ShiftJisToJis(Bytes("\x82\x0A", 2), KANA_MODE_KANA), Bytes("\x82\x0A", 2));
}

TEST(Iso2022JpBadInput, RandomBytesNeverGrowOrCrash)
{
    std::mt19937 random(5);
    const char alphabet[] = {0x1B, '$', '(', 'B', 'J', 'I', '@', 0x0E, 0x0F, 0x24, 0x22, 0x21, 0x7F, ' ', 'a'};
    for (int round = 0; round < 2000; round++) {
        int length = random() % 24;
        CStringA bytes;
        for (int i = 0; i < length; i++)
            bytes += (random() % 3 == 0) ? static_cast<char>(random()) : alphabet[random() % sizeof(alphabet)];
        EXPECT_LE(JisToShiftJis(bytes).GetLength(), bytes.GetLength());
        CString text = DecodeIso2022Jp(bytes);
        EXPECT_LE(text.GetLength(), bytes.GetLength());
        for (int mode : {KANA_MODE_KANA, KANA_MODE_ROMAN_7, KANA_MODE_ROMAN_8})
            ShiftJisToJis(bytes, mode);
    }
}

TEST(Iso2022JpBadInput, LoneSurrogatesDoNotStopTheLine)
{
    CStringA bytes = EncodeIso2022Jp(CString(L"a\xD800"
                                             L"bあ"),
                                     KANA_MODE_KANA);
    CString back = DecodeIso2022Jp(bytes);
    EXPECT_EQ(back.Left(1), L"a");
    EXPECT_EQ(back.Right(2), L"bあ");
}
