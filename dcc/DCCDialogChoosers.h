#pragma once
// The system's choosers and the question box as the transfer window's commands use them; each
// counts as an open modal dialog while it shows.

#include "classlib/String.h"

#include <windows.h>

#include <commdlg.h>

struct TDCCFileChoice {
    CString fileName; // initial name, then the chosen full path
    CString folder;   // initial folder
    CString title;
    CString filter; // "desc|pattern|"
    DWORD flags = 0;
    bool save = false;
};
// False when the user cancelled.
bool ChooseDCCFile(HWND owner, TDCCFileChoice& choice);
// The chosen folder with a closing backslash; false when cancelled.
bool ChooseDCCFolder(HWND owner, const CString& title, const CString& startFolder, CString& folder);
// OK and Cancel with the question icon; true for OK.
bool ConfirmDCC(HWND owner, const CString& text, const CString& caption);
