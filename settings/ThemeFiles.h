#pragma once
// Theme files: view settings kept under a name in the program's themes folder or the user's. A
// theme is loaded whole, as its appearance only or as its message formats only; the user's
// themes are saved and deleted. A previous version's view file is read by a reader the caller
// gives, as the settings library cannot read that format itself.

#include "classlib/String.h"
#include "settings/ViewSettings.h"

enum class TThemePart { All, Appearance, Formats };

// Reads the part of a previous version's view file into the settings; false when it cannot.
using TOldViewFileReader = bool (*)(const CString& path, TViewSettings& settings, TThemePart part);

class TThemeFiles {
public:
    // Folders end in a backslash; an empty folder holds no themes.
    TThemeFiles(const CString& programFolder, const CString& userFolder, TOldViewFileReader oldViewReader = nullptr)
        : programFolder(programFolder), userFolder(userFolder), oldViewReader(oldViewReader)
    {
    }

    const CString& GetFolder(bool user) const { return user ? userFolder : programFolder; }
    // File names are taken inside the folders only (one that would lead out is refused, false).
    // The settings change only when the file was read: one that is missing, too large or
    // unreadable changes nothing. An empty name resets the part to the defaults.
    bool Load(TViewSettings& view, const CString& fileName, bool fromUserFolder, bool oldViewFile,
              TThemePart part) const;
    // Into the user's folder; an existing theme of that name is replaced.
    bool Save(const TViewSettings& view, const CString& fileName) const;
    bool Delete(const CString& fileName) const;

private:
    // The file's path, or empty when the name or the folder cannot be used.
    CString PathOf(const CString& fileName, bool user) const;

    CString programFolder;
    CString userFolder;
    TOldViewFileReader oldViewReader;
};
