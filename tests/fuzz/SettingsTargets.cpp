// Fuzz targets of the settings files: each input is put where the loader looks and loaded.
// Seeds are the files our own savers write.

#include "foundation/StringList.h"
#include "settings/IniFile.h"
#include "settings/ServerList.h"
#include "tests/fuzz/SettingsScratch.h"

namespace {

void FuzzIni(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"any.ini";
    FeedFuzzFile(path, input);
    for (bool stripQuotes : {false, true}) {
        TIniFile ini(stripQuotes);
        ini.Load(path.c_str());
        for (const wchar_t* section : {L"", L"a", L"World", L"Unit.00", L"Application", L"Window"}) {
            ini.SetSection(section);
            for (const CString& key : ini.GetKeys(L"")) {
                ini.ReadColor(key, 0), ini.ReadInt(key, 0), ini.ReadBool(key, false);
                ini.TakeRecords(ini.ReadCount(key, key + L"."));
            }
        }
    }
}

void FuzzWindow(const std::string& input)
{
    TScratchConfig config;
    FeedFuzzFile(config.Settings(L"window.ini"), input);
    config.LoadWindowSettings();
}

void FuzzTree(const std::string& input)
{
    TScratchConfig config;
    FeedFuzzFile(config.Settings(L"tree.ini"), input);
    config.LoadServerTree();
}

void FuzzPreference(const std::string& input)
{
    TScratchConfig config;
    FeedFuzzFile(config.Settings(L"preference.ini"), input);
    config.preference.Load(config.settingsFolder);
}

void FuzzView(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"view.ini";
    FeedFuzzFile(path, input);
    TViewSettings settings;
    settings.LoadFile(path.c_str());
}

void FuzzServerList(const std::string& input)
{
    TScratchConfig config;
    FeedFuzzFile(config.Settings(L"servers.txt"), input);
    TStringList list;
    LoadServerList(config.settingsFolder, list);
}

void FuzzPopup(const std::string& input)
{
    TScratchConfig config;
    FeedFuzzFile(config.Settings(L"popupmenu.kcf"), input);
    config.LoadPopupMenu();
}

// Our own savers' files, with a server and some lists in them.
std::vector<std::string> OwnFiles()
{
    // The seeds are what the savers wrote to disk, whatever inputs ran before.
    SetFileBytesSource(nullptr);
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
    config.popup.SetDefault();
    config.SavePopupMenu();
    TViewSettings view;
    view.SetDefaults();
    std::wstring viewPath = FuzzFolder() + L"seed-view.ini";
    view.SaveFile(viewPath.c_str());
    return {ReadFuzzFile(config.Settings(L"window.ini")), ReadFuzzFile(config.Settings(L"preference.ini")),
            ReadFuzzFile(config.Settings(L"tree.ini")), ReadFuzzFile(viewPath),
            ReadFuzzFile(config.Settings(L"popupmenu.kcf"))};
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
        {"popup", FuzzPopup, OwnSeeds, kIniTokens, 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
