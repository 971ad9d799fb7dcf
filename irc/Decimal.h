#pragma once
// Numbers in server-supplied text: leading blanks, an optional sign, then digits, the way the C
// runtime reads them, but held to the int range instead of wrapping. No digits gives 0.

#include "classlib/String.h"

int ReadDecimal(const CString& text);
