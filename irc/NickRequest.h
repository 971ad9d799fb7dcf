#pragma once
// A refused nick put to the user: what the nick dialog shows and what it hands back.

#include "classlib/String.h"

#include <vector>

struct TNickRequest {
    CString nick;
    CString serverName;
    int nickLength = 9;
    bool away = false;
    // The preferences' nick list: "+" (away) or "-", then the nick.
    std::vector<CString> nickList;
};
