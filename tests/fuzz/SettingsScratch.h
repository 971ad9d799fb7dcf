#pragma once
// What the settings and the old-version fuzz programs share: scratch folders that stand in for
// the settings folder and the old installation, and the words ".ini" readers give meaning to.

#include "foundation/File.h"
#include "settings/Config.h"
#include "tests/fuzz/FuzzDriver.h"

#include <map>

// The loaders read an input from memory under the path they look for: a file written and read
// back costs several calls into Wine's server per input, which bounded runs to a few thousand
// inputs a minute. Every 1000th input still goes through a real file, so the disk road is
// fuzzed too.
class TFuzzFileSource : public IFileBytesSource {
public:
    bool GetFileBytes(const CString& path, CStringA& bytes) override
    {
        auto found = files.find(std::wstring(path.GetString()));
        if (found == files.end())
            return false;
        bytes = CStringA(found->second.data(), (int)found->second.size());
        return true;
    }
    void Feed(const std::wstring& path, const std::string& bytes)
    {
        if (++fed % 1000 == 0) {
            files.erase(path);
            WriteFuzzFile(path, bytes);
            return;
        }
        files[path] = bytes;
    }

private:
    std::map<std::wstring, std::string> files;
    long long fed = 0;
};

// What the loader of path reads next.
inline void FeedFuzzFile(const std::wstring& path, const std::string& bytes)
{
    static TFuzzFileSource source;
    SetFileBytesSource(&source);
    source.Feed(path, bytes);
}

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
