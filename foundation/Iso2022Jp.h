#pragma once
// The own ISO-2022-JP codec: text goes through Shift_JIS (code page 932) and is converted to and
// from JIS byte by byte. Each call handles one whole line and starts in ASCII.

#include "classlib/String.h"

// How half-width katakana are sent.
enum THalfWidthKanaMode {
    KANA_MODE_KANA = 0,    // ESC ( I, 7-bit
    KANA_MODE_ROMAN_7 = 1, // ESC ( J, then SO ... SI, 7-bit
    KANA_MODE_ROMAN_8 = 2, // ESC ( J, Shift_JIS bytes 0xA1-0xDF unchanged
};

// The user's choice of how half-width katakana are sent, numbered as the preference stores it.
enum TKanaEncodingMethod {
    KANA_METHOD_FULL_WIDTH = 0, // converted to full-width katakana first
    KANA_METHOD_ROMAN_8 = 1,
    KANA_METHOD_ROMAN_7 = 2,
    KANA_METHOD_KANA = 3,
};

enum TJisOrUtf8 {
    DETECTED_JIS = 1,
    DETECTED_UTF8 = 2,
};

CStringA EncodeIso2022Jp(const CString& text, int kanaMode);
// As the user's kana choice says; a choice this program does not know sends ESC ( I kana, so a
// value written by another version still gives a line every server can take.
CStringA EncodeIso2022JpByKanaMethod(const CString& text, int kanaEncodingMethod);
CString DecodeIso2022Jp(const CStringA& bytes);
CString ConvertHalfWidthKanaToFullWidth(const CString& text);
// DETECTED_JIS when any ESC is followed by "(" or "$", else DETECTED_UTF8.
int DetectJisOrUtf8(const CStringA& bytes);

CStringA ShiftJisToJis(const CStringA& sjis, int kanaMode);
CStringA JisToShiftJis(const CStringA& jis);
// Codes carry the lead byte in the high byte.
unsigned short ShiftJisCodeToJisCode(unsigned short code);
// IBM extended characters (lead 0xF0-0xFC) to the codes JIS can carry; anything else to the geta mark.
unsigned short MapIbmExtensionCode(unsigned short code);
void AppendJisRomanEscape(CStringA& out);
