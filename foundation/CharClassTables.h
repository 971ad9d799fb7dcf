#pragma once
// Range tables behind the character classes (generated into CharClassTables.cpp).

#include <vector>

struct TCodePointRange {
    unsigned int low;
    unsigned int high; // inclusive
};

struct TUnicodeBlockRange {
    unsigned short first;
    unsigned short last;
    unsigned char number;
};

// Each letter table ends in a (0, 0) pair.
struct TLetterWindow {
    unsigned int first;
    unsigned int last;
    const TCodePointRange* table;
};

const int LETTER_TABLE_COUNT = 7;

extern const TUnicodeBlockRange UNICODE_BLOCKS[];
extern const int UNICODE_BLOCK_COUNT;
extern const TLetterWindow LETTER_WINDOWS[LETTER_TABLE_COUNT];

// Fills the sorted range vectors once; the letter test calls it on first use.
void LoadLetterRangeTable(const TCodePointRange* table, std::vector<TCodePointRange>& ranges);
void InitLetterRangeTables();
