#pragma once
// User groups: group 0 is the user's own, groups 1 to 5 are the user's to name.

#include "classlib/String.h"

#include <vector>

struct TUserGroup {
    CString name;
    std::vector<CString> masks;
};

struct TUserGroupList {
    static const int GroupCount = 6;
    TUserGroup groups[GroupCount];
};
