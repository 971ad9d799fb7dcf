// Fuzz targets of the settings files and of the previous version's files: each input is written
// where the loader looks and loaded. Seeds are the files our own savers write, and samples of
// the old version's files.

#include "foundation/StringList.h"
#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/LegacyView.h"
#include "settings/ServerList.h"
#include "tests/fuzz/FuzzDriver.h"

namespace {

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// Made once: creating folders for every input would cost more than most loads.
const std::wstring& SettingsFolder()
{
    static const std::wstring folder = [] {
        std::wstring path = FuzzFolder() + L"settings\\";
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }();
    return folder;
}

const std::wstring& OldFolder()
{
    static const std::wstring folder = [] {
        std::wstring path = FuzzFolder() + L"old\\";
        CreateDirectoryW(path.c_str(), nullptr);
        CreateDirectoryW((path + L"Config").c_str(), nullptr);
        return path;
    }();
    return folder;
}

// A configuration whose settings and old-version folders are the scratch folders.
struct TScratchConfig : TConfig {
    TScratchConfig()
    {
        settingsFolder = SettingsFolder().c_str();
        SetLegacyFolder(OldFolder().c_str());
        legacyProfileName = L"jim";
    }
    std::wstring Settings(const wchar_t* name) const { return std::wstring(settingsFolder) + name; }
    std::wstring Old(const wchar_t* suffix) const { return std::wstring(GetLegacyConfigPath(suffix)); }
};

void FuzzIni(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"any.ini";
    WriteFuzzFile(path, input);
    for (bool stripQuotes : {false, true}) {
        TIniFile ini(stripQuotes);
        ini.Load(path.c_str());
        for (const auto& section : ini.sections) {
            ini.SetSection(section.first);
            for (const auto& key : section.second)
                ini.ReadColor(key.first, 0), ini.ReadInt(key.first, 0), ini.ReadBool(key.first, false);
        }
    }
}

void FuzzWindow(const std::string& input)
{
    TScratchConfig config;
    WriteFuzzFile(config.Settings(L"window.ini"), input);
    config.LoadWindowSettings();
}

void FuzzTree(const std::string& input)
{
    TScratchConfig config;
    WriteFuzzFile(config.Settings(L"tree.ini"), input);
    config.LoadServerTree();
}

void FuzzPreference(const std::string& input)
{
    TScratchConfig config;
    WriteFuzzFile(config.Settings(L"preference.ini"), input);
    config.preference.Load(config.settingsFolder);
}

void FuzzView(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"view.ini";
    WriteFuzzFile(path, input);
    TViewSettings settings;
    settings.LoadFile(path.c_str());
}

void FuzzServerList(const std::string& input)
{
    TScratchConfig config;
    WriteFuzzFile(config.Settings(L"servers.txt"), input);
    TStringList list;
    LoadServerList(config.settingsFolder, list);
}

void FuzzLegacyFile(const std::string& input, const wchar_t* suffix, void (TConfig::*import)())
{
    TScratchConfig config;
    WriteFuzzFile(config.Old(suffix), input);
    (config.*import)();
}

void FuzzLegacyGeneral(const std::string& input) { FuzzLegacyFile(input, L"-general.ini", &TConfig::ImportLegacyGeneral); }
void FuzzLegacyProfile(const std::string& input) { FuzzLegacyFile(input, L"-profile.ini", &TConfig::ImportLegacyProfiles); }
void FuzzLegacyViewIni(const std::string& input) { FuzzLegacyFile(input, L"-view.ini", &TConfig::ImportLegacyView); }
void FuzzLegacyNicks(const std::string& input) { FuzzLegacyFile(input, L"-nicks.kcf", &TConfig::ImportLegacyNicks); }
void FuzzLegacyIgnore(const std::string& input) { FuzzLegacyFile(input, L"-ignore.kcf", &TConfig::ImportLegacyIgnore); }
void FuzzLegacyAutoOp(const std::string& input) { FuzzLegacyFile(input, L"-autoop.kcf", &TConfig::ImportLegacyAutoOp); }

void FuzzLegacyKvf(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"old.kvf";
    WriteFuzzFile(path, input);
    TViewSettings settings;
    TPreference preference;
    ImportLegacyViewFile(path.c_str(), settings, &preference);
}

// Our own savers' files, with a server and some lists in them.
std::vector<std::string> OwnFiles()
{
    TScratchConfig config;
    config.LoadWindowSettings();
    config.SaveWindowSettings();
    config.preference.Load(config.settingsFolder);
    config.preference.Save(config.settingsFolder);
    TUnitConfig unit;
    unit.Name = L"ＩＲＣネット";
    unit.Hostname = L"irc.example.jp";
    TChannelConfig channel;
    channel.Name = L"#日本語";
    unit.Channels.push_back(channel);
    config.world.Units.push_back(unit);
    config.world.IgnoreMasks.push_back(L"*!*@*.example.net");
    config.SaveServerTree();
    TViewSettings view;
    view.SetDefaults();
    std::wstring viewPath = FuzzFolder() + L"seed-view.ini";
    view.SaveFile(viewPath.c_str());
    return {ReadBytes(config.Settings(L"window.ini")), ReadBytes(config.Settings(L"preference.ini")),
            ReadBytes(config.Settings(L"tree.ini")), ReadBytes(viewPath)};
}

std::vector<std::string> OwnSeeds()
{
    static std::vector<std::string> seeds = OwnFiles();
    return seeds;
}

std::vector<std::string> ServerListSeeds()
{
    return {"irc.example.jp:6667\r\nirc2.example.net:6668,6669 #comment\r\n\r\n[Group]\r\nhost.jp\r\n"};
}

// The old version wrote code page 932 ".ini" files and plain lists.
std::vector<std::string> LegacySeeds()
{
    return {"[Action]\r\nTopMost=true\r\nNickInitType=0\r\nOpenURLType=3\r\n[User]\r\nAwayMes=\x97\xa3\x90\xc8\r\n"
            "[Mode]\r\nCount=2\r\nChanName0=#a\r\nMode0=+nt\r\n[Keyword]\r\nKeyCount=2\r\nKeyItem0=a\r\n"
            "[Logging]\r\nLogChannelsCount=3\r\n[SpecialUser]\r\nCount=1\r\nItem0=*!*@friend.jp\r\n",
            "[Root]\r\nProfileCount=2\r\nName0=net\r\nName1=other\r\n[net]\r\nServer=irc.example.jp\r\nPort=6668\r\n"
            "Password=\"\"secret\"\"\r\nAutoJoinChCount=2\r\nAutoJoinChItem0=#a key\r\nAutoJoinChItem1=!!new\r\n"
            "[other]\r\nPassword=ABCDEF\r\nPasswordVersion=2\r\n",
            "[LogBackground]\r\nTextType=1\r\n[BkColor]\r\nLogBkColor=clBlack\r\nMemBkSelColor=\"00E0E0E0\"\r\n"
            "[ChImageFile]\r\nCount=1\r\nChanName0=a\r\nDrawType0=9\r\nImageFile0=b.jpg\r\n[Format]\r\n"
            "TimeFormat=hh:nn:ss\r\n[Font_Text]\r\nName=Arial\r\nSize=9\r\nColor=clRed\r\nStyle=BU\r\n",
            "nick1\r\nnick2\r\n*!*@host.jp\r\n#chan\t*!*@op.jp\r\n"};
}

const std::vector<std::string> kIniTokens = {"Encoding=UTF-8\r\n", "[", "]", "=", "\r\n", ".Count=", "Count=",
                                             "*****DEFAULT*****", "%%%%%%DEFAULT%%%%%%", "***DEFAULT***",
                                             "2147483647", "-2147483648", "99999999999", "\"", "\x81", "\xEF\xBB\xBF",
                                             "Unit.00.", "Channel.00.", "true", "clRed"};

} // namespace

int main(int argc, char** argv)
{
    std::vector<TFuzzTarget> targets = {
        {"ini", FuzzIni, OwnSeeds, kIniTokens, 16384},
        {"window_ini", FuzzWindow, OwnSeeds, kIniTokens, 16384},
        {"tree_ini", FuzzTree, OwnSeeds, kIniTokens, 16384},
        {"preference_ini", FuzzPreference, OwnSeeds, kIniTokens, 32768},
        {"view_ini", FuzzView, OwnSeeds, kIniTokens, 32768},
        {"servers_txt", FuzzServerList, ServerListSeeds, kIniTokens, 8192},
        {"old_general", FuzzLegacyGeneral, LegacySeeds, kIniTokens, 16384},
        {"old_profile", FuzzLegacyProfile, LegacySeeds, kIniTokens, 16384},
        {"old_view_ini", FuzzLegacyViewIni, LegacySeeds, kIniTokens, 16384},
        {"old_nicks", FuzzLegacyNicks, LegacySeeds, kIniTokens, 8192},
        {"old_ignore", FuzzLegacyIgnore, LegacySeeds, kIniTokens, 8192},
        {"old_autoop", FuzzLegacyAutoOp, LegacySeeds, kIniTokens, 8192},
        {"old_kvf", FuzzLegacyKvf, LegacySeeds, kIniTokens, 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
