#pragma once
// Every setting of the running program, held once by the application object. Each settings
// file has its own loader and saver; nothing is saved when the object is destroyed.

#include "classlib/String.h"
#include "settings/PopupFile.h"
#include "settings/Preference.h"
#include "settings/ServerConfig.h"
#include "settings/ViewConfig.h"
#include "settings/WindowGeometry.h"

#include <map>
#include <vector>

class TConfig {
public:
    TConfig() = default;
    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;
    virtual ~TConfig() = default;

    // "tree.ini" in the settings folder. A missing or unreadable file gives an empty tree.
    void LoadServerTree();
    // False when the file could not be written; the old file is then unchanged. A file that was
    // there but could not be read at the load is never written over.
    bool SaveServerTree();
    CString GetServerTreePath() const;
    // The settings files that were there at the load but could not be read, with the system's
    // reason; this run leaves them as they are.
    struct TUnreadableFile {
        CString path;
        DWORD error;
    };
    std::vector<TUnreadableFile> GetUnreadableFiles() const;

    CString GetWindowsUserName() const { return windowsUserName; }
    CString GetProgramFolder() const { return programFolder; }
    CString GetProgramThemeFolder() const { return programThemeFolder; }
    CString GetProgramImageFolder() const { return programImageFolder; }
    CString GetUserFolder() const { return userFolder; }
    CString GetSettingsFolder() const { return settingsFolder; }
    CString GetMacroFolder() const { return macroFolder; }
    CString GetFilesFolder() const { return filesFolder; }
    CString GetSoundsFolder() const { return soundsFolder; }
    CString GetScriptFolder() const { return scriptFolder; }
    CString GetScriptFilesFolder() const { return scriptFilesFolder; }
    CString GetUserThemeFolder() const { return userThemeFolder; }
    CString GetUserImageFolder() const { return userImageFolder; }
    void SetLegacyFolder(const CString& path) { legacyFolder = path; }

    // The start-up loads give these their values; the constructor only zeroes them.
    RECT mainWindowRect = {};
    bool minimized = false;
    bool maximized = false;
    int splitterLeft = 0;
    int splitterRoot = 0;
    int splitterLog = 0;
    int splitterInfo = 0;
    // The input line's history for the run; no file holds it.
    std::vector<CString> inputHistory;
    bool menuVisible = false;
    bool topMost = false;
    bool enableToolBar = false;
    TWorldConfig world;
    // Why the last tree load gave an empty tree (0: the file was read).
    DWORD treeLoadError = 0;

    // Folders end with a backslash.
    CString windowsUserName;
    CString profileName;
    CString legacyProfileName;
    CString programFolder;
    CString oldProgramThemeFolder;
    CString oldProgramImageFolder;
    CString programThemeFolder;
    CString programImageFolder;
    CString userFolder;
    CString settingsFolder;
    CString macroFolder;
    CString filesFolder;
    CString soundsFolder;
    CString scriptFolder;
    CString scriptFilesFolder;
    CString userThemeFolder;
    CString userImageFolder;
    // Filled only by the import of the previous version's settings.
    CString legacyUserName;
    CString legacyRealName;
    CString legacyPartMessage;
    CString legacyQuitMessage;
    CString legacyAwayMessage;
    CString legacyUserInfo;
    CString legacyUserMode;
    std::map<CString, CString> legacyChannelModes;
    CString legacyFolder;

    // View settings ("view.ini") and the fonts and pictures built from them.
    TViewConfig view;

    // Folders, window state, popup menu and preferences.
    // What the folder set-up asks of the system, replaceable so every branch can be tried.
    struct TFolderEnvironment {
        CString programFolder;
        CString programFilesFolder; // no trailing backslash
        CString appDataFolder;      // no trailing backslash
        CString windowsUserName;
        int windowsVersionCode = 0;
        bool setCurrentFolder = true;
    };
    static TFolderEnvironment GetSystemFolderEnvironment();
    // userOption: the command line's "USER" value, empty when absent. Creates every folder.
    void InitFolders(const CString& userOption);
    void InitFolders(const CString& userOption, const TFolderEnvironment& environment);
    // "window.ini"; a missing file gives the defaults.
    void LoadWindowSettings();
    bool SaveWindowSettings();
    // "popupmenu.kcf"; a file that cannot be read gives the default menu.
    void LoadPopupMenu();
    bool SavePopupMenu();

    TWindowGeometry geometry;
    TPopupFile popup;
    TPreference preference;
};
