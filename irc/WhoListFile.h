#pragma once
// The WHO window's saved member list: one line per member, tab-separated.

#include "classlib/String.h"

#include <vector>

class TIRCMember;

// "<channel>-members.txt" with every character a file name cannot hold made '_', so a channel
// name can never reach outside the folder it is saved in.
CString MakeWhoListFileName(const CString& channel);
// Nick, login name, address, server and real name per row, in the given code page. Written
// beside the target and put in place only when complete; false leaves any old file untouched.
bool SaveWhoList(const CString& path, const std::vector<const TIRCMember*>& rows, unsigned codePage);
