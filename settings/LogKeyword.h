#pragma once
// Keyword highlighting options and patterns; a new record starts with the stored defaults.

#include "classlib/String.h"

#include <vector>

class TLogKeyword {
public:
    virtual ~TLogKeyword() = default;

    bool ExactWordMatch = false;
    bool BlinkTitleOnKeyword = true;
    bool WholeLine = false;
    bool Case = false;
    bool IgnoreURL = true;
    bool IgnoreNotice = true;
    std::vector<CString> Like;
    std::vector<CString> Dislike;
    bool EnableGroup1 = true;
    bool EnableGroup2 = true;
    bool EnableGroup3 = true;
    bool EnableGroup4 = true;
    bool EnableGroup5 = true;
    bool EnableNormal = true;
};
