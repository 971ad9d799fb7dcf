#pragma once
// Where the user's keywords occur in a line, under the keyword settings.

#include "log/LogLineData.h"

#include <vector>

class TLogKeyword;

// Occurrences pattern by pattern in the order found; urls are ranges of the same text.
std::vector<TLogRange> FindKeywords(const TLogKeyword& keyword, const CString& text,
                                    const std::vector<TLogRange>& urls);
