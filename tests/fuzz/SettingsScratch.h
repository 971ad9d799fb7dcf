#pragma once
// What the settings and the old-version fuzz programs share: scratch folders that stand in for
// the settings folder and the old installation, and the words ".ini" readers give meaning to.

#include "settings/Config.h"
#include "tests/fuzz/FuzzDriver.h"

// Made once: creating folders for every input would cost more than most loads.
inline const std::wstring& ScratchSubfolder(const wchar_t* name)
{
    static std::wstring settings, old;
    std::wstring& folder = wcscmp(name, L"old") == 0 ? old : settings;
    if (folder.empty()) {
        folder = FuzzFolder() + name + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"Config").c_str(), nullptr);
    }
    return folder;
}

// A configuration whose settings and old-version folders are the scratch folders.
struct TScratchConfig : TConfig {
    TScratchConfig()
    {
        settingsFolder = ScratchSubfolder(L"settings").c_str();
        SetLegacyFolder(ScratchSubfolder(L"old").c_str());
        legacyProfileName = L"jim";
    }
    std::wstring Settings(const wchar_t* name) const { return std::wstring(settingsFolder) + name; }
};

inline const std::vector<std::string> kIniTokens = {"Encoding=UTF-8\r\n",
                                                    "[",
                                                    "]",
                                                    "=",
                                                    "\r\n",
                                                    ".Count=",
                                                    "Count=",
                                                    "*****DEFAULT*****",
                                                    "%%%%%%DEFAULT%%%%%%",
                                                    "***DEFAULT***",
                                                    "2147483647",
                                                    "-2147483648",
                                                    "99999999999",
                                                    "\"",
                                                    "\x81",
                                                    "\xEF\xBB\xBF",
                                                    "Unit.00.",
                                                    "Channel.00.",
                                                    "true",
                                                    "clRed",
                                                    "\t",
                                                    "\\t"};
