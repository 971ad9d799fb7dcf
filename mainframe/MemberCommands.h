#pragma once
// The plain parts of the member-list commands, apart from the window that runs them.

#include "classlib/String.h"

#include <vector>

class TIRCChannel;
class TIRCMember;

// nick!user@host as the ban list takes it; an unknown user name or host is written "*".
CString MakeBanMask(const CString& nick, const TIRCMember& member);
// The nicks whose mode letter ('o' or 'v') would change: members without it when giving, with it
// when taking, in the order given. Nicks that are not members are skipped.
void SplitModeTargets(const TIRCChannel* channel, const std::vector<CString>& nicks, wchar_t letter, bool give,
                      std::vector<CString>& changed);
