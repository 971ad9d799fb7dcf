#pragma once
// One macro rule: the conditions an event must meet and the action that then runs.

#include "classlib/String.h"

struct TMacroItem {
    bool disabled = false;
    CString user;    // sender prefix nick!user@host
    CString command; // event name
    CString channel;
    CString message;
    int ownState = 0;    // 0 any, 1 I am operator, 2 I am not, 3 away, 4 not away
    int senderState = 0; // 0 any, 1 sender is operator, 2 sender is not
    CString action;
    CString target;
    CString argument;
    bool stop = false; // no further rule of the same file after this one ran
};
