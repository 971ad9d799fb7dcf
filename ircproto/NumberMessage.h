#pragma once
// A string-table text used as a format with one number put in ("グループ%d" with 3).

#include "classlib/String.h"

CString FormatNumberMessage(UINT id, int number);
