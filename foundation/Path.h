#pragma once
// Path splitting, program and shell folders, safe paths, and folder trees. Paths use the
// backslash; nothing here folds case. Folder results end with a backslash unless noted.

#include "classlib/String.h"

#include <vector>

void SplitPath(const CString& path, CString& drive, CString& folder, CString& title, CString& extension);
CString ExtractDrive(const CString& path);
CString ExtractFolder(const CString& path);
CString ExtractFileTitle(const CString& path);
CString ExtractFileName(const CString& path);
CString ExtractFileExtension(const CString& path);

CString GetProgramFilePath();
CString GetProgramFolder();
// No trailing backslash; empty when the shell cannot resolve the folder.
CString GetSpecialFolder(int folderId);
CString GetProgramFilesFolder();
CString GetAppDataFolder();
CString GetDesktopFolder();
CString GetMyDocumentsFolder();
CString GetCurrentFolder();
void SetCurrentFolder(const CString& path);

// One part of a path is made safe by foundation/SafeFileName.h. This keeps backslashes,
// slashes and the drive's colon, so the folder structure survives.
void ReplaceInvalidPathChars(CString& path);
void ReplaceDoubleDots(CString& path);
void TrimTrailingBackslashes(CString& path);
bool IsAbsolutePath(const CString& path);

bool PathExists(const CString& path);
bool CreateFolderTree(const CString& path);
// Read-only files are left in place, and so are the folders above them.
void DeleteFolderTree(const CString& path);
void FindFileNames(std::vector<CString>& names, const CString& pattern);
// The names in the folder that end with the extension, letter case aside. The system's pattern
// "*.ext" alone also gives names of longer extensions ("a.kmf~"), through their short names.
void FindFileNamesWithExtension(std::vector<CString>& names, const CString& folder, const CString& extension);
void CopyFiles(const CString& sourceFolder, const CString& pattern, const CString& targetFolder);
