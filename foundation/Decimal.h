#pragma once
// Numbers in stored or received text: leading blanks, an optional sign, then digits, the way the C
// runtime reads them, but held to the type's range instead of wrapping. No digits gives 0.

#include "classlib/String.h"

int ReadDecimal(const CString& text);
int ReadDecimal(const CStringA& text);
long long ReadDecimal64(const CString& text);
// No sign and no leading blanks: the digits from the start, up to 4294967295.
unsigned long ReadUnsignedDecimal(const CString& text);
// 0 to 15 for a hexadecimal digit, -1 for anything else.
int HexDigitValue(wchar_t c);
// The unsigned digits starting at from, as in the index of a numbered key; -1 when there are none
// or they go beyond the int range.
int ReadIndex(const CString& text, int from);
