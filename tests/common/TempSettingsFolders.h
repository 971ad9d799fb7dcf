#pragma once
// A test's settings in its temporary folder, as a user's would lie in the program's own folder.

#include "settings/Config.h"
#include "tests/common/TempFolder.h"

// Every file starts missing, so defaults rule. With the application data in the folder too, a
// second configuration made the same way reads what the first wrote, as a later start does.
inline void UseTempFolders(TConfig& config, const TTempFolder& folder, bool appDataThere = false)
{
    TConfig::TFolderEnvironment environment;
    environment.programFolder = folder.path;
    if (appDataThere)
        environment.appDataFolder = folder.path.Left(folder.path.GetLength() - 1);
    environment.windowsUserName = L"tester";
    environment.setCurrentFolder = false;
    config.InitFolders(L"", environment);
}
