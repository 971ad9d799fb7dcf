#pragma once
// Reading a command line the user, a macro or a script gives to a unit: the command word, its
// target and its text, before any name is looked up.

#include "classlib/String.h"

#include <vector>

struct TUserCommand {
    CString command; // upper-cased, aliases applied
    CString target;
    CString text;
};

// False for an empty line or one of blanks. currentTarget is the channel or talk "ME" goes to.
bool ParseUserCommand(const CString& line, const CString& currentTarget, TUserCommand& command);
// KICK weighs like a MODE with one letter per nick: 1 + 3 per nick, at most 10.
int CountKickPenalty(const CString& nickList);
// Whom a channel text addresses: "nick: text", "@nick text", "text >nick", in that order.
std::vector<CString> GetAddressedNicks(const CString& text);
// A program line as the macro action gives it: a quoted program, then its arguments.
void SplitProgramLine(const CString& line, CString& program, CString& arguments);
// A CR, LF or NUL would end the line on the wire; nothing after one is sent.
CString CutAtLineBreak(const CString& text);
