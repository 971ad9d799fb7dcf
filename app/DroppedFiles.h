#pragma once
// Paths of files dropped from the shell, each read at its own length: long paths ("\\?\" names,
// deep folders) reach the program whole instead of cut at MAX_PATH, which could name another file.

#include "classlib/String.h"

#include <shellapi.h>
#include <windows.h>

#include <vector>

std::vector<CString> ReadDroppedFiles(HDROP drop);
// The first-column texts of a list view's selected rows, in list order: the nicks of a member list.
std::vector<CString> GetSelectedListNicks(HWND list);

class TIRCUnit;

// Where the main window sends dropped files: the DCC manager offers each file to a nick.
class IDroppedFileSender {
public:
    virtual void AddSendItem(TIRCUnit* unit, const CString& nick, const CString& path) = 0;

protected:
    ~IDroppedFileSender() = default;
};
