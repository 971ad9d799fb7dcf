#pragma once
// What a "word" is in mixed Latin and Japanese text: Unicode blocks, word classes, the word
// bounds of a double click and a letter test, all as of Unicode 5.0.

#include "classlib/String.h"

// Block numbers the word search relies on.
const int BLOCK_NONE = 0;
const int BLOCK_BASIC_LATIN = 1;
const int BLOCK_LATIN_1_SUPPLEMENT = 2;
const int BLOCK_CJK_SYMBOLS = 91;
const int BLOCK_HIRAGANA = 92;
const int BLOCK_KATAKANA = 93;
const int BLOCK_CJK_UNIFIED_IDEOGRAPHS = 104;
const int BLOCK_CJK_COMPATIBILITY_IDEOGRAPHS = 116;
const int BLOCK_HALFWIDTH_FULLWIDTH_FORMS = 125;
const int BLOCK_SURROGATES = 127;

enum TLatinWordClass { LATIN_BLANK = 0, LATIN_WORD = 1, LATIN_OTHER = 2 };

enum TJapaneseWordClass {
    JAPANESE_DIGIT = 0,
    JAPANESE_LETTER = 1,
    JAPANESE_HIRAGANA = 2,
    JAPANESE_KATAKANA = 3,
    JAPANESE_HALFWIDTH_KATAKANA = 4,
    JAPANESE_KANJI = 5,
    JAPANESE_PROLONGED_SOUND = 6,
    JAPANESE_OTHER = 7,
};

// 1-127 for the Unicode 5.0 blocks of the Basic Multilingual Plane, 0 for the gaps between them.
int GetUnicodeBlock(wchar_t c);
int GetLatinWordClass(wchar_t c);
int GetJapaneseWordClass(wchar_t c);
// The word around pos: start inclusive, end exclusive. False when pos lies outside the text.
bool FindWordBounds(const CString& text, int pos, int& start, int& end);
bool IsLetterCodePoint(unsigned int codePoint);
// A surrogate pair is combined; -1 for an empty string or an unpaired surrogate at that end.
int GetFirstCodePoint(const CString& text);
int GetLastCodePoint(const CString& text);
// The same for length characters at text, without a copy.
int GetFirstCodePoint(const wchar_t* text, int length);
int GetLastCodePoint(const wchar_t* text, int length);
bool IsAsciiLetter(wchar_t c);
