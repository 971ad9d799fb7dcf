#pragma once
// A macro file: its rules, one TAB-separated line each, in the macro folder under its base name.

#include "macro/MacroItem.h"

#include <vector>

class TMacroFile {
public:
    TMacroFile() = default;
    TMacroFile(const CString& folder, const CString& name) : folder(folder), name(name) {}
    TMacroFile(const TMacroFile&) = delete;
    TMacroFile& operator=(const TMacroFile&) = delete;
    virtual ~TMacroFile() { Clear(); }

    void Clear();
    // False when the name is empty, names no plain file of the folder, or cannot be opened.
    bool Read();
    bool Write() const;
    static CString GetFileExtension() { return L".kmf"; }
    // Empty for a name that is not a bare file name: no folder part, no way out of the folder.
    // Read and Write refuse the empty name, although it has a path.
    CString GetFilePath(const CString& fileName) const;

    CString folder; // the macro folder, ending with a backslash
    CString name;
    std::vector<TMacroItem*> items;
    // Why the last Read could not open or read the file whole (GetLastError); 0 after a good one.
    DWORD readError = 0;
};

// The line of one rule, without its line end; and back. Fields past the thirteenth are ignored.
CString FormatMacroLine(const TMacroItem& item);
void ParseMacroLine(CString line, TMacroItem& item);
