#include "foundation/Path.h"

#include "foundation/SafeFileName.h"

#include <shlobj.h>

#include <algorithm>

namespace {

const int MaxPart = 255;

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

} // namespace

void SplitPath(const CString& path, CString& drive, CString& folder, CString& title, CString& extension)
{
    drive.Empty();
    folder.Empty();
    title.Empty();
    extension.Empty();
    int len = path.GetLength();
    int start = len >= 2 && path[1] == L':' ? 2 : 0;
    int nameStart = start;
    for (int i = start; i < len; i++)
        if (IsSlash(path[i]))
            nameStart = i + 1;
    int dot = len;
    for (int i = len - 1; i >= nameStart; i--)
        if (path[i] == L'.') {
            dot = i;
            break;
        }
    // Like the runtime's splitter, refuse parts beyond its buffers rather than cut them.
    if (nameStart - start > MaxPart || dot - nameStart > MaxPart || len - dot > MaxPart)
        return;
    drive = path.Left(start);
    folder = path.Mid(start, nameStart - start);
    title = path.Mid(nameStart, dot - nameStart);
    extension = path.Mid(dot);
}

CString ExtractDrive(const CString& path)
{
    CString drive, folder, title, extension;
    SplitPath(path, drive, folder, title, extension);
    return drive;
}

CString ExtractFolder(const CString& path)
{
    CString drive, folder, title, extension;
    SplitPath(path, drive, folder, title, extension);
    return drive + folder;
}

CString ExtractFileTitle(const CString& path)
{
    CString drive, folder, title, extension;
    SplitPath(path, drive, folder, title, extension);
    return title;
}

CString ExtractFileName(const CString& path)
{
    CString drive, folder, title, extension;
    SplitPath(path, drive, folder, title, extension);
    return title + extension;
}

CString ExtractFileExtension(const CString& path)
{
    CString drive, folder, title, extension;
    SplitPath(path, drive, folder, title, extension);
    return extension;
}

CString GetProgramFilePath()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return CString(buffer);
}

CString GetProgramFolder() { return ExtractFolder(GetProgramFilePath()); }

CString GetSpecialFolder(int folderId)
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return CString();
    CString result;
    LPITEMIDLIST location = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, folderId, &location)) && location) {
        wchar_t buffer[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListW(location, buffer))
            result = buffer;
        allocator->Free(location);
    }
    allocator->Release();
    return result;
}

CString GetProgramFilesFolder() { return GetSpecialFolder(CSIDL_PROGRAM_FILES); }

CString GetAppDataFolder() { return GetSpecialFolder(CSIDL_APPDATA); }

CString GetDesktopFolder() { return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY); }

CString GetMyDocumentsFolder() { return GetSpecialFolder(CSIDL_PERSONAL); }

CString GetCurrentFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD len = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return len > 0 && len <= MAX_PATH ? CString(buffer) : CString();
}

void SetCurrentFolder(const CString& path) { SetCurrentDirectoryW(path); }

void ReplaceInvalidPathChars(CString& path)
{
    for (int i = ExtractDrive(path).GetLength(); i < path.GetLength(); i++)
        if (IsReservedFileNameChar(path[i]) && !IsSlash(path[i]))
            path.SetAt(i, L'_');
}

void ReplaceDoubleDots(CString& path)
{
    for (int i = 0; i + 1 < path.GetLength(); i++)
        if (path[i] == L'.' && path[i + 1] == L'.')
            path.SetAt(i, L'_');
}

void TrimTrailingBackslashes(CString& path) { path.TrimRight(L'\\'); }

bool IsAbsolutePath(const CString& path)
{
    if (path.IsEmpty())
        return false;
    if (IsSlash(path[0]))
        return true;
    return path.GetLength() >= 3 && IsLetter(path[0]) && path[1] == L':' && IsSlash(path[2]);
}

bool PathExists(const CString& path)
{
    if (path.IsEmpty() || path.GetLength() >= MAX_PATH || IsSlash(path[path.GetLength() - 1]))
        return false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(path, &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

bool CreateFolderTree(const CString& path)
{
    CString bare = path;
    if (!bare.IsEmpty() && bare[bare.GetLength() - 1] == L'\\')
        bare = bare.Left(bare.GetLength() - 1);
    if (PathExists(bare))
        return true;
    CString working = path;
    if (working.IsEmpty() || working[working.GetLength() - 1] != L'\\')
        working += L'\\';
    bool result = false;
    int scan = 0;
    CString prefix;
    while (prefix + L'\\' != working) {
        int next = working.Find(L'\\', scan + 1);
        if (next < 0)
            break;
        prefix = working.Left(next);
        scan = next;
        bool bareDrive = prefix.GetLength() == 2 && prefix[1] == L':';
        if (!bareDrive && !PathExists(prefix))
            result = CreateDirectoryW(prefix, nullptr) != 0;
    }
    return result;
}

void DeleteFolderTree(const CString& path)
{
    CString trimmed = path;
    TrimTrailingBackslashes(trimmed);
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(trimmed + L"\\*.*", &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        CString name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        CString full = trimmed + L"\\" + name;
        // A linked folder is removed as a link: its target's contents are not ours to delete.
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            RemoveDirectoryW(full);
        else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DeleteFolderTree(full);
        else
            DeleteFileW(full);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    RemoveDirectoryW(path);
}

void FindFileNames(std::vector<CString>& names, const CString& pattern)
{
    names.clear();
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        names.push_back(data.cFileName);
    while (FindNextFileW(search, &data));
    FindClose(search);
}

void FindFileNamesWithExtension(std::vector<CString>& names, const CString& folder, const CString& extension)
{
    FindFileNames(names, folder + L"*" + extension);
    auto longer = [&](const CString& name) {
        int cut = name.GetLength() - extension.GetLength();
        return cut < 0 || name.Mid(cut).CompareNoCase(extension) != 0;
    };
    names.erase(std::remove_if(names.begin(), names.end(), longer), names.end());
}

void CopyFiles(const CString& sourceFolder, const CString& pattern, const CString& targetFolder)
{
    std::vector<CString> names;
    FindFileNames(names, sourceFolder + pattern);
    for (const CString& name : names)
        CopyFileW(sourceFolder + name, targetFolder + name, FALSE);
}
