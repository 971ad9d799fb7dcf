#pragma once
// One macro rule: the conditions an event must meet and the action that then runs.

#include "classlib/String.h"

// The states a rule asks of the user and of the sender, by the numbers the macro file holds.
enum TMacroOwnState { OwnAny = 0, OwnOperator = 1, OwnNotOperator = 2, OwnAway = 3, OwnNotAway = 4 };
enum TMacroSenderState { SenderAny = 0, SenderOperator = 1, SenderNotOperator = 2 };

struct TMacroItem {
    bool disabled = false;
    CString user;    // sender prefix nick!user@host
    CString command; // event name
    CString channel;
    CString message;
    int ownState = OwnAny;
    int senderState = SenderAny;
    CString action;
    CString target;
    CString argument;
    bool stop = false; // no further rule of the same file after this one ran
};
