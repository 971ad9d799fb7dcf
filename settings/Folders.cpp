// Where the user's files live: a profile folder below the program folder, or the
// application-data folder when the program sits under Program Files on a newer Windows.

#include "settings/Config.h"

#include "foundation/Path.h"
#include "foundation/SafeFileName.h"
#include "foundation/WindowsVersion.h"

#include <shlobj.h>

namespace {

// The "USER" value names one profile folder below "users\", never a path or a device. A name of
// dots alone, which Windows would resolve to "users\" itself or the folder above, keeps one
// folder of its own as underscores.
CString SafeProfileName(CString name)
{
    CString bare = name;
    if (!bare.Trim(L". ").IsEmpty())
        return MakeSafeFileNamePart(name);
    for (int i = 0; i < name.GetLength(); i++)
        if (IsReservedFileNameChar(name[i]) || name[i] == L'.')
            name.SetAt(i, L'_');
    return name;
}

bool MoveFolder(const CString& from, const CString& to) { return MoveFileW(from, to) != FALSE; }

// Renames below the user root never overwrite what is already there.
void RenameIfNew(const CString& root, const wchar_t* from, const wchar_t* to)
{
    if (PathExists(root + from) && !PathExists(root + to))
        MoveFolder(root + from, root + to);
}

void MoveFirstExisting(const CString& oldRoot, const wchar_t* name, const wchar_t* olderName, const CString& target)
{
    if (PathExists(oldRoot + L"\\" + name))
        MoveFolder(oldRoot + L"\\" + name, target);
    else if (PathExists(oldRoot + L"\\" + olderName))
        MoveFolder(oldRoot + L"\\" + olderName, target);
}

std::vector<CString> FileNames(const CString& folder, const wchar_t* pattern)
{
    std::vector<CString> names, files;
    FindFileNames(names, folder + pattern);
    for (const CString& name : names)
        if (name != L"." && name != L"..")
            files.push_back(name);
    return files;
}

void CopyAll(const CString& fromFolder, const wchar_t* pattern, const CString& toFolder)
{
    for (const CString& name : FileNames(fromFolder, pattern))
        CopyFileW(fromFolder + name, toFolder + name, FALSE);
}

// Names already present at the target stay where they are.
void MoveAll(const CString& fromFolder, const wchar_t* pattern, const CString& toFolder)
{
    for (const CString& name : FileNames(fromFolder, pattern))
        if (!PathExists(toFolder + name))
            MoveFolder(fromFolder + name, toFolder + name);
}

void RemoveFolderIfEmpty(const CString& folder)
{
    CString path = folder;
    TrimTrailingBackslashes(path);
    RemoveDirectoryW(path);
}

} // namespace

TConfig::TFolderEnvironment TConfig::GetSystemFolderEnvironment()
{
    TFolderEnvironment environment;
    environment.programFolder = ::GetProgramFolder();
    environment.programFilesFolder = GetProgramFilesFolder();
    environment.appDataFolder = GetAppDataFolder();
    wchar_t name[257 + 1] = {};
    DWORD size = 257;
    if (GetUserNameW(name, &size))
        environment.windowsUserName = name;
    // Without a name every Windows user still needs a folder of their own to fall back to.
    if (environment.windowsUserName.IsEmpty())
        environment.windowsUserName = L"default";
    environment.windowsVersionCode = TWindowsVersion::GetInstance().GetVersionCode();
    return environment;
}

void TConfig::InitFolders(const CString& userOption) { InitFolders(userOption, GetSystemFolderEnvironment()); }

void TConfig::InitFolders(const CString& userOption, const TFolderEnvironment& environment)
{
    programFolder = environment.programFolder;
    windowsUserName = environment.windowsUserName;
    ReplaceInvalidPathChars(windowsUserName);
    if (!userOption.IsEmpty()) {
        profileName = SafeProfileName(userOption);
        legacyProfileName = profileName;
    } else if (PathExists(programFolder + L"multiuser.ini")) {
        // The Windows user name keeps its own folder separators out of the way too.
        profileName = SafeProfileName(windowsUserName);
        legacyProfileName = windowsUserName;
    } else {
        profileName = L"default";
        legacyProfileName = windowsUserName;
    }

    oldProgramThemeFolder = programFolder + L"theme\\";
    oldProgramImageFolder = oldProgramThemeFolder + L"image\\";
    programThemeFolder = programFolder + L"themes\\";
    programImageFolder = programThemeFolder + L"images\\";

    const CString& programFiles = environment.programFilesFolder;
    bool useAppData = environment.windowsVersionCode >= WINDOWS_VISTA && !programFiles.IsEmpty() &&
                      programFolder.Left(programFiles.GetLength()) == programFiles;
    CString oldRoot = programFolder + L"users\\" + profileName;
    if (useAppData) {
        CString appRoot = environment.appDataFolder + L"\\Ketroval2";
        if (PathExists(oldRoot) && !PathExists(appRoot)) {
            CreateFolderTree(appRoot + L"\\");
            MoveFirstExisting(oldRoot, L"settings", L"config", appRoot + L"\\settings");
            MoveFirstExisting(oldRoot, L"themes", L"theme", appRoot + L"\\themes");
            MoveFolder(appRoot + L"\\themes\\image", appRoot + L"\\themes\\images");
            MoveFirstExisting(oldRoot, L"macros", L"macro", appRoot + L"\\macros");
            MoveFolder(appRoot + L"\\macros\\file", appRoot + L"\\macros\\files");
            MoveFolder(appRoot + L"\\macros\\sound", appRoot + L"\\macros\\sounds");
            CreateFolderTree(programImageFolder);
            CopyAll(oldProgramImageFolder, L"*.*", programImageFolder);
            CopyAll(oldProgramThemeFolder, L"*.theme", programThemeFolder);
        }
        userFolder = appRoot + L"\\";
    } else {
        userFolder = oldRoot + L"\\";
        if (!PathExists(userFolder + L"settings")) {
            CreateFolderTree(programImageFolder);
            MoveAll(oldProgramImageFolder, L"*.*", programImageFolder);
            MoveAll(oldProgramThemeFolder, L"*.theme", programThemeFolder);
            // Only what was moved goes: files left behind keep their folders.
            RemoveFolderIfEmpty(oldProgramImageFolder);
            RemoveFolderIfEmpty(oldProgramThemeFolder);
        }
        RenameIfNew(userFolder, L"config", L"settings");
        RenameIfNew(userFolder, L"theme\\image", L"theme\\images");
        RenameIfNew(userFolder, L"theme", L"themes");
        RenameIfNew(userFolder, L"macro\\file", L"macro\\files");
        RenameIfNew(userFolder, L"macro\\sound", L"macro\\sounds");
        RenameIfNew(userFolder, L"macro", L"macros");
    }

    settingsFolder = userFolder + L"settings\\";
    macroFolder = userFolder + L"macros\\";
    filesFolder = macroFolder + L"files\\";
    soundsFolder = macroFolder + L"sounds\\";
    scriptFolder = userFolder + L"scripts\\";
    scriptFilesFolder = scriptFolder + L"files\\";
    userThemeFolder = userFolder + L"themes\\";
    userImageFolder = userThemeFolder + L"images\\";
    for (const CString* folder :
         {&settingsFolder, &filesFolder, &soundsFolder, &scriptFolder, &scriptFilesFolder, &userImageFolder})
        CreateFolderTree(*folder);

    legacyFolder = programFolder;
    if (environment.setCurrentFolder)
        SetCurrentDirectoryW(programFolder);
}
