#include "foundation/CharClass.h"
#include "foundation/CharClassTables.h"

#include <gtest/gtest.h>

namespace {

// The word selected by a double click at pos.
CString WordAt(const CString& text, int pos)
{
    int start = -1, end = -1;
    if (!FindWordBounds(text, pos, start, end))
        return L"<none>";
    return text.Mid(start, end - start);
}

} // namespace

TEST(WordBounds, LatinWordsBlanksAndPunctuation)
{
    CString text(L"hello, world");
    EXPECT_EQ(WordAt(text, 1), L"hello");
    EXPECT_EQ(WordAt(text, 5), L",");
    EXPECT_EQ(WordAt(text, 11), L"world");
    EXPECT_EQ(WordAt(L"a  b", 1), L"  ");
    EXPECT_EQ(WordAt(L"a \t b", 3), L" \t ");
    EXPECT_EQ(WordAt(L"snake_case99 x", 3), L"snake_case99");
    // é lies in another block than a.
    EXPECT_EQ(WordAt(L"café", 1), L"caf");
    EXPECT_EQ(WordAt(L"café", 3), L"é");
    EXPECT_EQ(WordAt(L"über", 0), L"ü");
}

TEST(WordBounds, JapaneseRunsByClass)
{
    CString mixed(L"ひらがなカタカナ");
    EXPECT_EQ(WordAt(mixed, 1), L"ひらがな");
    EXPECT_EQ(WordAt(mixed, 6), L"カタカナ");
    // The prolonged sound mark joins katakana on both sides.
    CString curtain(L"カーテン");
    EXPECT_EQ(WordAt(curtain, 0), L"カーテン");
    EXPECT_EQ(WordAt(curtain, 1), L"カーテン");
    EXPECT_EQ(WordAt(L"漢字かな", 0), L"漢字");
    EXPECT_EQ(WordAt(L"ｶﾀｶﾅと", 1), L"ｶﾀｶﾅ");
    EXPECT_EQ(WordAt(L"ＡＢＣ１２３", 1), L"ＡＢＣ");
    EXPECT_EQ(WordAt(L"ＡＢＣ１２３", 4), L"１２３");
    EXPECT_EQ(WordAt(L"あ！い", 1), L"！");
    // CJK punctuation is one block of its own.
    EXPECT_EQ(WordAt(L"です。「はい」", 2), L"。「");
}

TEST(WordBounds, OtherBlocksAndOutsideTheText)
{
    EXPECT_EQ(WordAt(L"abc Привет!", 6), L"Привет");
    EXPECT_EQ(WordAt(L"→←x", 0), L"→←");
    EXPECT_EQ(WordAt(CString(L"a\x0800\x0801"), 1), CString(L"\x0800")); // no block
    EXPECT_EQ(WordAt(L"abc", 3), L"<none>");
    EXPECT_EQ(WordAt(L"abc", -1), L"<none>");
    EXPECT_EQ(WordAt(L"", 0), L"<none>");
    // A lone surrogate is a word of the surrogate block.
    EXPECT_EQ(WordAt(CString(L"a\xD800\xDC00\xDBFFz"), 2), CString(L"\xD800\xDC00\xDBFF"));
}

TEST(CharClasses, BlocksAndClassesTheWordSearchUses)
{
    EXPECT_EQ(GetUnicodeBlock(0x3002), BLOCK_CJK_SYMBOLS);
    EXPECT_EQ(GetUnicodeBlock(0xAC00), 111);
    EXPECT_EQ(GetUnicodeBlock(0xDBFF), BLOCK_SURROGATES);
    EXPECT_EQ(GetUnicodeBlock(0xE000), 115);
    EXPECT_EQ(GetUnicodeBlock(0xFFFF), 126);
    // Gaps, and blocks that came after Unicode 5.0.
    EXPECT_EQ(GetUnicodeBlock(0x0800), BLOCK_NONE);
    EXPECT_EQ(GetUnicodeBlock(0xA4D0), BLOCK_NONE);
    for (int i = 1; i < UNICODE_BLOCK_COUNT; i++)
        EXPECT_GT(UNICODE_BLOCKS[i].first, UNICODE_BLOCKS[i - 1].last);
    // The prolonged sound mark is tested before katakana, the iteration mark counts as kanji.
    EXPECT_EQ(GetJapaneseWordClass(L'ー'), JAPANESE_PROLONGED_SOUND);
    EXPECT_EQ(GetJapaneseWordClass(L'々'), JAPANESE_KANJI);
    EXPECT_EQ(GetLatinWordClass(0x02B0), LATIN_OTHER);
    EXPECT_FALSE(IsAsciiLetter(L'['));
}

TEST(LetterTables, RangeCountsAndTheFirstTable)
{
    const size_t expected[LETTER_TABLE_COUNT] = {11, 134, 70, 34, 7, 18, 56};
    size_t total = 0;
    for (int t = 0; t < LETTER_TABLE_COUNT; t++) {
        std::vector<TCodePointRange> ranges;
        LoadLetterRangeTable(LETTER_WINDOWS[t].table, ranges);
        EXPECT_EQ(ranges.size(), expected[t]) << t;
        EXPECT_EQ(ranges.front().low, LETTER_WINDOWS[t].first);
        EXPECT_EQ(ranges.back().high, LETTER_WINDOWS[t].last);
        for (size_t i = 1; i < ranges.size(); i++)
            EXPECT_GT(ranges[i].low, ranges[i - 1].high + 1) << t << " " << i;
        total += ranges.size();
    }
    EXPECT_EQ(total, 330u);
    const TCodePointRange first[] = {{0x41, 0x5A},   {0x61, 0x7A},   {0xAA, 0xAA},  {0xB5, 0xB5},
                                     {0xBA, 0xBA},   {0xC0, 0xD6},   {0xD8, 0xF6},  {0xF8, 0x2C1},
                                     {0x2C6, 0x2D1}, {0x2E0, 0x2E4}, {0x2EE, 0x2EE}};
    for (size_t i = 0; i < 11; i++) {
        EXPECT_EQ(LETTER_WINDOWS[0].table[i].low, first[i].low);
        EXPECT_EQ(LETTER_WINDOWS[0].table[i].high, first[i].high);
    }
}

TEST(LetterTables, LettersAsOfUnicode5)
{
    EXPECT_TRUE(IsLetterCodePoint(0x41));
    EXPECT_TRUE(IsLetterCodePoint(0xE9));
    EXPECT_FALSE(IsLetterCodePoint(0x30));
    EXPECT_FALSE(IsLetterCodePoint(0x3042));
    EXPECT_FALSE(IsLetterCodePoint(0x4E00));
    EXPECT_FALSE(IsLetterCodePoint(0xAC00));
    EXPECT_TRUE(IsLetterCodePoint(0xFF21));
    EXPECT_TRUE(IsLetterCodePoint(0xFF5A));
    EXPECT_FALSE(IsLetterCodePoint(0xFF66));
    EXPECT_FALSE(IsLetterCodePoint(0x1100)); // Hangul Jamo are left out
    EXPECT_TRUE(IsLetterCodePoint(0x10400));
    EXPECT_TRUE(IsLetterCodePoint(0x1D7CB));
    EXPECT_FALSE(IsLetterCodePoint(0x1D7CC));
    EXPECT_FALSE(IsLetterCodePoint(0x20000));
    // Categories as Unicode 5.0 had them, not as they are today.
    EXPECT_FALSE(IsLetterCodePoint(0x02EC));
    EXPECT_FALSE(IsLetterCodePoint(0x0CF1));
    EXPECT_TRUE(IsLetterCodePoint(0x1885));
    EXPECT_FALSE(IsLetterCodePoint(0x19B0));
    EXPECT_TRUE(IsLetterCodePoint(0x19C1));
    // Characters added after 5.0 are not letters yet.
    EXPECT_FALSE(IsLetterCodePoint(0x0370));
    EXPECT_FALSE(IsLetterCodePoint(0x1E9E));
}

TEST(CodePoints, SurrogatePairsAtEitherEnd)
{
    EXPECT_EQ(GetFirstCodePoint(CString(L"\xD83D\xDE00x")), 0x1F600);
    EXPECT_EQ(GetLastCodePoint(CString(L"x\xD83D\xDE00")), 0x1F600);
    EXPECT_EQ(GetFirstCodePoint(CString(L"\xDE00x")), -1);
    EXPECT_EQ(GetFirstCodePoint(CString(L"\xD83D")), -1);
    EXPECT_EQ(GetLastCodePoint(CString(L"x\xD83D")), -1);
    EXPECT_EQ(GetLastCodePoint(L""), -1);
    EXPECT_EQ(GetFirstCodePoint(L"あい"), 0x3042);
}
