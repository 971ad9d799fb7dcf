#pragma once
// Dropped files in the main window: who gets them.

#include "foundation/DroppedFiles.h"

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
