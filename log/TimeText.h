#pragma once
// strftime patterns that the user writes: a conversion the C run-time does not know prints as
// text instead of reaching it, and characters from U+0080 up are copied around the expansion.

#include "classlib/String.h"

#include <ctime>

// A stretch of ASCII whose expansion does not fit 127 characters is left out, and only that
// stretch: a pattern of ASCII alone then gives nothing.
CString FormatTimePattern(const CString& pattern, const tm& when);
// The local time of that instant; false when the clock cannot be broken down.
bool BreakDownLocalTime(time_t now, tm& out);
