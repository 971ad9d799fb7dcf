#include "foundation/CharClass.h"

#include "foundation/CharClassTables.h"

#include <vector>

namespace {

bool loaded = false; // UI thread only
std::vector<TCodePointRange> letterRanges[LETTER_TABLE_COUNT];

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int CombineSurrogates(wchar_t high, wchar_t low) { return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00); }

bool IsInsideText(const CString& text, int pos) { return pos >= 0 && pos < text.GetLength(); }

template <typename Same> void ExtendWord(const CString& text, int& start, int& end, Same same)
{
    while (start > 0 && same(text[start - 1]))
        start--;
    while (end < text.GetLength() && same(text[end]))
        end++;
}

} // namespace

void LoadLetterRangeTable(const TCodePointRange* table, std::vector<TCodePointRange>& ranges)
{
    ranges.clear();
    for (; table->low || table->high; table++)
        ranges.push_back(*table);
}

void InitLetterRangeTables()
{
    if (loaded)
        return;
    for (int i = 0; i < LETTER_TABLE_COUNT; i++)
        LoadLetterRangeTable(LETTER_WINDOWS[i].table, letterRanges[i]);
    loaded = true;
}

int GetUnicodeBlock(wchar_t c)
{
    int low = 0;
    int high = UNICODE_BLOCK_COUNT - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        if (c < UNICODE_BLOCKS[mid].first)
            high = mid - 1;
        else if (c > UNICODE_BLOCKS[mid].last)
            low = mid + 1;
        else
            return UNICODE_BLOCKS[mid].number;
    }
    return BLOCK_NONE;
}

int GetLatinWordClass(wchar_t c)
{
    if (c == L' ' || c == L'\t')
        return LATIN_BLANK;
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
        (c >= 0x00C0 && c <= 0x02AF) || (c >= 0x1E00 && c <= 0x1EFF))
        return LATIN_WORD;
    return LATIN_OTHER;
}

int GetJapaneseWordClass(wchar_t c)
{
    if (c >= 0xFF10 && c <= 0xFF19)
        return JAPANESE_DIGIT;
    if ((c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A))
        return JAPANESE_LETTER;
    if (c == 0x30FC)
        return JAPANESE_PROLONGED_SOUND;
    if (c >= 0x3041 && c <= 0x309E)
        return JAPANESE_HIRAGANA;
    if (c >= 0x30A1 && c <= 0x30FE)
        return JAPANESE_KATAKANA;
    if (c >= 0xFF66 && c <= 0xFF9F)
        return JAPANESE_HALFWIDTH_KATAKANA;
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005)
        return JAPANESE_KANJI;
    return JAPANESE_OTHER;
}

bool FindWordBounds(const CString& text, int pos, int& start, int& end)
{
    start = end = pos;
    if (!IsInsideText(text, pos))
        return false;
    wchar_t c = text[pos];
    int block = GetUnicodeBlock(c);
    end = pos + 1;
    if (c <= 0x02AF || (c >= 0x1E00 && c <= 0x1EFF)) {
        int k = GetLatinWordClass(c);
        if (k != LATIN_OTHER)
            ExtendWord(text, start, end,
                       [&](wchar_t x) { return GetUnicodeBlock(x) == block && GetLatinWordClass(x) == k; });
        return true;
    }
    if (block == BLOCK_HIRAGANA || block == BLOCK_KATAKANA || block == BLOCK_CJK_UNIFIED_IDEOGRAPHS ||
        block == BLOCK_CJK_COMPATIBILITY_IDEOGRAPHS || block == BLOCK_HALFWIDTH_FULLWIDTH_FORMS) {
        int j = GetJapaneseWordClass(c);
        switch (j) {
        case JAPANESE_OTHER:
            break;
        case JAPANESE_PROLONGED_SOUND:
            ExtendWord(text, start, end, [](wchar_t x) {
                int k = GetJapaneseWordClass(x);
                return k == JAPANESE_PROLONGED_SOUND || k == JAPANESE_HIRAGANA || k == JAPANESE_KATAKANA;
            });
            break;
        case JAPANESE_HIRAGANA:
        case JAPANESE_KATAKANA:
            ExtendWord(text, start, end, [j](wchar_t x) {
                int k = GetJapaneseWordClass(x);
                return k == j || k == JAPANESE_PROLONGED_SOUND;
            });
            break;
        default:
            ExtendWord(text, start, end, [j](wchar_t x) { return GetJapaneseWordClass(x) == j; });
            break;
        }
        return true;
    }
    if (block != BLOCK_NONE)
        ExtendWord(text, start, end, [block](wchar_t x) { return GetUnicodeBlock(x) == block; });
    return true;
}

bool IsLetterCodePoint(unsigned int codePoint)
{
    InitLetterRangeTables();
    for (int t = 0; t < LETTER_TABLE_COUNT; t++) {
        if (codePoint < LETTER_WINDOWS[t].first || codePoint > LETTER_WINDOWS[t].last)
            continue;
        const std::vector<TCodePointRange>& ranges = letterRanges[t];
        int low = 0;
        int high = static_cast<int>(ranges.size()) - 1;
        while (low <= high) {
            int mid = (low + high) / 2;
            if (codePoint < ranges[mid].low)
                high = mid - 1;
            else if (codePoint > ranges[mid].high)
                low = mid + 1;
            else
                return true;
        }
        return false;
    }
    return false;
}

int GetFirstCodePoint(const CString& text) { return GetFirstCodePoint(text.GetString(), text.GetLength()); }

int GetLastCodePoint(const CString& text) { return GetLastCodePoint(text.GetString(), text.GetLength()); }

int GetFirstCodePoint(const wchar_t* text, int len)
{
    if (len <= 0)
        return -1;
    wchar_t c = text[0];
    if (c < 0xD800 || c > 0xDFFF)
        return c;
    if (IsHighSurrogate(c) && len > 1 && IsLowSurrogate(text[1]))
        return CombineSurrogates(c, text[1]);
    return -1;
}

int GetLastCodePoint(const wchar_t* text, int len)
{
    if (len <= 0)
        return -1;
    wchar_t c = text[len - 1];
    if (c < 0xD800 || c > 0xDFFF)
        return c;
    if (IsLowSurrogate(c) && len > 1 && IsHighSurrogate(text[len - 2]))
        return CombineSurrogates(text[len - 2], c);
    return -1;
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
