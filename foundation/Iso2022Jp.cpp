#include "foundation/Iso2022Jp.h"

#include "foundation/CodePage.h"

namespace {

const char ESC = 0x1B;
const char SO = 0x0E;
const char SI = 0x0F;
const unsigned short GETA_CODE = 0x81AC;

// Encoder states; the decoder uses the same numbers for its designations.
enum { STATE_ASCII = 0, STATE_KANJI = 1, STATE_ROMAN = 2, STATE_KANA = 3 };

void AppendEscape(CStringA& out, char intermediate, char final)
{
    char seq[3] = {ESC, intermediate, final};
    out.Append(seq, 3);
}

void AppendCode(CStringA& out, unsigned short code)
{
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Leaving 7-bit katakana entered through SO needs SI before the next designation.
void LeaveKana(CStringA& out, int state, int kanaMode)
{
    if (state == STATE_KANA && kanaMode == KANA_MODE_ROMAN_7)
        out += SI;
}

void EnterKanji(CStringA& out, int& state, int kanaMode)
{
    if (state == STATE_KANJI)
        return;
    LeaveKana(out, state, kanaMode);
    AppendEscape(out, '$', 'B');
    state = STATE_KANJI;
}

// Full-width forms of U+FF61-U+FF9F; the two marks become the spacing ones.
const wchar_t FULL_WIDTH_KANA[] = L"。「」、・ヲァィゥェォャュョッー"
                                  L"アイウエオカキクケコサシスセソタチツテトナニヌネノ"
                                  L"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
const wchar_t VOICED_KA_TO[] = L"ガギグゲゴザジズゼゾダヂヅデド"; // U+FF76-U+FF84
const wchar_t VOICED_HA[] = L"バビブベボ";                        // U+FF8A-U+FF8E
const wchar_t SEMI_VOICED_HA[] = L"パピプペポ";                   // U+FF8A-U+FF8E

} // namespace

CStringA EncodeIso2022Jp(const CString& text, int kanaMode) { return ShiftJisToJis(ConvertToShiftJis(text), kanaMode); }

CStringA EncodeIso2022JpByKanaMethod(const CString& text, int kanaEncodingMethod)
{
    switch (kanaEncodingMethod) {
    case KANA_METHOD_FULL_WIDTH:
        return EncodeIso2022Jp(ConvertHalfWidthKanaToFullWidth(text), KANA_MODE_KANA);
    case KANA_METHOD_ROMAN_8:
        return EncodeIso2022Jp(text, KANA_MODE_ROMAN_8);
    case KANA_METHOD_ROMAN_7:
        return EncodeIso2022Jp(text, KANA_MODE_ROMAN_7);
    default:
        return EncodeIso2022Jp(text, KANA_MODE_KANA);
    }
}

CString DecodeIso2022Jp(const CStringA& bytes) { return ConvertFromShiftJis(JisToShiftJis(bytes)); }

void AppendJisRomanEscape(CStringA& out) { AppendEscape(out, '(', 'J'); }

unsigned short ShiftJisCodeToJisCode(unsigned short code)
{
    int high = code >> 8;
    int low = code & 0xFF;
    int row = (high - (high > 0x9F ? 0xB1 : 0x71)) * 2 + 1;
    if (low > 0x7F)
        low--;
    int column;
    if (low >= 0x9E) {
        row++;
        column = low - 0x7D;
    } else {
        column = low - 0x1F;
    }
    return static_cast<unsigned short>(((row & 0xFF) << 8) | (column & 0xFF));
}

unsigned short MapIbmExtensionCode(unsigned short code)
{
    struct TShift {
        unsigned short first, last, minus;
    };
    static const TShift shifts[] = {
        {0xFA40, 0xFA49, 0x0B51}, {0xFA4A, 0xFA53, 0x72F6}, {0xFA55, 0xFA57, 0x0B5B}, {0xFA5C, 0xFA7E, 0x0D1C},
        {0xFA80, 0xFA9B, 0x0D1D}, {0xFA9C, 0xFAFC, 0x0D1C}, {0xFB40, 0xFB5B, 0x0D5F}, {0xFB5C, 0xFB7E, 0x0D1C},
        {0xFB80, 0xFB9B, 0x0D1D}, {0xFB9C, 0xFBFC, 0x0D1C}, {0xFC40, 0xFC4B, 0x0D5F},
    };
    for (const TShift& s : shifts)
        if (code >= s.first && code <= s.last)
            return static_cast<unsigned short>(code - s.minus);
    switch (code) {
    case 0xFA54:
        return 0x81CA;
    case 0xFA58:
        return 0x878A;
    case 0xFA59:
        return 0x8782;
    case 0xFA5A:
        return 0x8784;
    case 0xFA5B:
        return 0x81E6;
    }
    return GETA_CODE;
}

CStringA ShiftJisToJis(const CStringA& sjis, int kanaMode)
{
    CStringA out;
    int state = STATE_ASCII;
    int len = sjis.GetLength();
    for (int i = 0; i < len; i++) {
        unsigned char b = static_cast<unsigned char>(sjis[i]);
        bool pair = i + 1 < len && IsTrailByte(static_cast<unsigned char>(sjis[i + 1]));
        if (b >= 0xA1 && b <= 0xDF) {
            if (kanaMode == KANA_MODE_ROMAN_8) {
                if (state != STATE_ROMAN) {
                    AppendJisRomanEscape(out);
                    state = STATE_ROMAN;
                }
                out += static_cast<char>(b);
                continue;
            }
            if (state != STATE_KANA) {
                if (kanaMode == KANA_MODE_ROMAN_7) {
                    AppendJisRomanEscape(out);
                    out += SO;
                } else {
                    AppendEscape(out, '(', 'I');
                }
                state = STATE_KANA;
            }
            out += static_cast<char>(b & 0x7F);
        } else if (pair && IsLeadByte(b)) {
            EnterKanji(out, state, kanaMode);
            unsigned short code = static_cast<unsigned short>(b << 8 | static_cast<unsigned char>(sjis[i + 1]));
            if (b >= 0xF0)
                code = MapIbmExtensionCode(code);
            AppendCode(out, ShiftJisCodeToJisCode(code));
            i++;
        } else if (pair && b >= 0xFD) {
            EnterKanji(out, state, kanaMode);
            AppendCode(out, ShiftJisCodeToJisCode(GETA_CODE));
            i++;
        } else {
            if (state != STATE_ASCII) {
                LeaveKana(out, state, kanaMode);
                AppendEscape(out, '(', 'B');
                state = STATE_ASCII;
            }
            out += static_cast<char>(b);
        }
    }
    if (state != STATE_ASCII) {
        LeaveKana(out, state, kanaMode);
        AppendEscape(out, '(', 'B');
    }
    return out;
}

CStringA JisToShiftJis(const CStringA& jis)
{
    CStringA out;
    int state = STATE_ASCII;
    int savedState = STATE_ASCII; // where SI returns when no SO was seen
    int len = jis.GetLength();
    for (int i = 0; i < len; i++) {
        unsigned char b = static_cast<unsigned char>(jis[i]);
        if (b == ESC && i + 2 < len) {
            char c1 = jis[i + 1];
            char c2 = jis[i + 2];
            int designated = -1;
            if (c1 == '$' && (c2 == 'B' || c2 == 'b' || c2 == '@'))
                designated = STATE_KANJI;
            else if (c1 == '(' && (c2 == 'B' || c2 == 'b'))
                designated = STATE_ASCII;
            else if (c1 == '(' && (c2 == 'J' || c2 == 'j'))
                designated = STATE_ROMAN;
            else if (c1 == '(' && (c2 == 'I' || c2 == 'i'))
                designated = STATE_KANA;
            if (designated >= 0) {
                state = designated;
                i += 2;
                continue;
            }
        }
        switch (state) {
        case STATE_ROMAN:
            if (b == SO) {
                savedState = STATE_ROMAN;
                state = STATE_KANA;
            } else {
                out += static_cast<char>(b);
            }
            break;
        case STATE_KANA:
            if (b == SI)
                state = savedState;
            else if (b >= 0x21 && b <= 0x5F)
                out += static_cast<char>(b | 0x80);
            else
                out += static_cast<char>(b);
            break;
        case STATE_KANJI: {
            if (b <= 0x20 || b >= 0x80) {
                state = STATE_ASCII;
                out += static_cast<char>(b);
                break;
            }
            // A second byte outside 0x21-0x7F cannot be kanji: the first byte stands alone, so
            // an odd byte count before ESC or a line end does not swallow what follows.
            unsigned char b2 = i + 1 < len ? static_cast<unsigned char>(jis[i + 1]) : 0;
            if (b2 < 0x21 || b2 > 0x7F) {
                out += static_cast<char>(b);
                break;
            }
            int row = ((b - 0x21) >> 1) + 0x81;
            if (row > 0x9F)
                row += 0x40;
            int column = (b & 1) ? b2 + 0x1F : b2 + 0x7D;
            if (column >= 0x7F)
                column++;
            out += static_cast<char>(row);
            out += static_cast<char>(column);
            i++;
            break;
        }
        default:
            out += static_cast<char>(b);
            break;
        }
    }
    return out;
}

CString ConvertHalfWidthKanaToFullWidth(const CString& text)
{
    CString out;
    int len = text.GetLength();
    for (int i = 0; i < len; i++) {
        wchar_t c = text[i];
        if (c < 0xFF61 || c > 0xFF9F) {
            out += c;
            continue;
        }
        wchar_t next = i + 1 < len ? text[i + 1] : 0;
        if (next == 0xFF9E && c >= 0xFF76 && c <= 0xFF84) {
            out += VOICED_KA_TO[c - 0xFF76];
            i++;
        } else if (next == 0xFF9E && c >= 0xFF8A && c <= 0xFF8E) {
            out += VOICED_HA[c - 0xFF8A];
            i++;
        } else if (next == 0xFF9E && c == 0xFF73) {
            out += L'ヴ';
            i++;
        } else if (next == 0xFF9F && c >= 0xFF8A && c <= 0xFF8E) {
            out += SEMI_VOICED_HA[c - 0xFF8A];
            i++;
        } else {
            out += FULL_WIDTH_KANA[c - 0xFF61];
        }
    }
    return out;
}

int DetectJisOrUtf8(const CStringA& bytes)
{
    const char* p = bytes.GetString(); // up to the first NUL
    for (; *p; p++)
        if (*p == ESC && (p[1] == '(' || p[1] == '$'))
            return DETECTED_JIS;
    return DETECTED_UTF8;
}
