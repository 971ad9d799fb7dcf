#include "settings/ThemeFiles.h"

#include "foundation/SafeFileName.h"

namespace {

// A theme holds some hundred keys in a few kilobytes; anything this large is no theme.
const LONGLONG kLargestThemeFile = 1 << 20;

bool IsThemeFileReadable(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    LONGLONG size = ((LONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return size <= kLargestThemeFile;
}

} // namespace

CString TThemeFiles::PathOf(const CString& fileName, bool user) const
{
    const CString& folder = GetFolder(user);
    if (folder.IsEmpty() || !IsSafeFileNamePart(fileName))
        return CString();
    return folder + fileName;
}

// Read into a copy, so a file that fails halfway leaves the settings as they were. The defaults
// reset only the part asked for: loading the messages of the defaults keeps the appearance.
bool TThemeFiles::Load(TViewSettings& view, const CString& fileName, bool fromUserFolder, bool oldViewFile,
                       TThemePart part) const
{
    const bool appearance = part != TThemePart::Formats;
    const bool formats = part != TThemePart::Appearance;
    if (fileName.IsEmpty()) {
        if (appearance)
            view.SetDefaults();
        if (formats)
            view.formats.SetDefaults();
        return true;
    }
    CString path = PathOf(fileName, fromUserFolder);
    if (path.IsEmpty() || !IsThemeFileReadable(path) || (oldViewFile && !oldViewReader))
        return false;
    TViewSettings read = view;
    if (!(oldViewFile ? oldViewReader(path, read, part) : read.ReadFile(path, appearance, formats)))
        return false;
    read.Bound();
    view = read;
    return true;
}

bool TThemeFiles::Save(const TViewSettings& view, const CString& fileName) const
{
    CString path = PathOf(fileName, true);
    return !path.IsEmpty() && view.SaveFile(path);
}

bool TThemeFiles::Delete(const CString& fileName) const
{
    CString path = PathOf(fileName, true);
    return !path.IsEmpty() && ::DeleteFileW(path) != FALSE;
}
