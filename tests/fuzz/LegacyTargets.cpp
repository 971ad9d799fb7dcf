// Fuzz targets of the previous version's files, read once when its settings are taken over.

#include "legacy/LegacyImport.h"
#include "legacy/LegacyView.h"
#include "tests/fuzz/SettingsScratch.h"

#include <algorithm>

namespace {

void FuzzLegacyFile(const std::string& input, const wchar_t* suffix, void (*import)(TConfig&))
{
    TScratchConfig config;
    FeedFuzzFile(std::wstring(GetLegacyConfigPath(config, suffix)), input);
    import(config);
}

void FuzzLegacyGeneral(const std::string& input) { FuzzLegacyFile(input, L"-general.ini", ImportLegacyGeneral); }
void FuzzLegacyProfile(const std::string& input) { FuzzLegacyFile(input, L"-profile.ini", ImportLegacyProfiles); }
void FuzzLegacyViewIni(const std::string& input) { FuzzLegacyFile(input, L"-view.ini", ImportLegacyView); }
void FuzzLegacyNicks(const std::string& input) { FuzzLegacyFile(input, L"-nicks.kcf", ImportLegacyNicks); }
void FuzzLegacyIgnore(const std::string& input) { FuzzLegacyFile(input, L"-ignore.kcf", ImportLegacyIgnore); }
void ImportAutoOp(TConfig& config) { ImportLegacyAutoOp(config); }
void FuzzLegacyAutoOp(const std::string& input) { FuzzLegacyFile(input, L"-autoop.kcf", ImportAutoOp); }

long long CountRecords(const TConfig& config)
{
    long long records = (long long)config.world.AutoOpMasks.size();
    for (const TUnitConfig& unit : config.world.Units)
        for (const TChannelConfig& channel : unit.Channels)
            records += 1 + (long long)channel.AutoOpMasks.size();
    return records;
}

// The servers, then a NUL, then the auto-op groups: the groups meet the servers' channels.
void FuzzLegacyTakeOver(const std::string& input)
{
    size_t split = std::min(input.find('\0'), input.size());
    TScratchConfig config;
    FeedFuzzFile(std::wstring(GetLegacyConfigPath(config, L"-profile.ini")), input.substr(0, split));
    FeedFuzzFile(std::wstring(GetLegacyConfigPath(config, L"-autoop.kcf")),
                 split < input.size() ? input.substr(split + 1) : std::string());
    ImportLegacyProfiles(config);
    long long before = CountRecords(config);
    ImportLegacyAutoOp(config);
    FuzzCheck(CountRecords(config) <= before + kMaxLegacyAutoOpRecords, "the groups made too many records");
}

void FuzzLegacyKvf(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"old.kvf";
    FeedFuzzFile(path, input);
    TViewSettings settings;
    TPreference preference;
    ImportLegacyViewFile(path.c_str(), settings, &preference);
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

std::vector<std::string> TakeOverSeeds()
{
    return {std::string("[Root]\r\nProfileCount=2\r\nName0=net\r\nName1=other\r\n[net]\r\nAutoJoinChCount=2\r\n"
                        "AutoJoinChItem0=#a key\r\nAutoJoinChItem1=#B\r\n[other]\r\nAutoJoinChCount=1\r\n"
                        "AutoJoinChItem0=#b\r\n") +
            '\0' + "#a\r\n *!*@a.jp\r\n#b\r\n *!*@b.jp\r\n *!*@c.jp\r\nall\r\n *!*@d.jp\r\n#new\r\n *!*@e.jp\r\n"};
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> groupTokens = kIniTokens;
    for (const char* word : {"\r\n *!*@", "\r\nall\r\n", "\r\n#", "\r\n!!", "AutoJoinChItem0=", "Name0="})
        groupTokens.push_back(word);
    std::vector<TFuzzTarget> targets = {
        {"old_general", FuzzLegacyGeneral, LegacySeeds, kIniTokens, 16384},
        {"old_profile", FuzzLegacyProfile, LegacySeeds, kIniTokens, 16384},
        {"old_view_ini", FuzzLegacyViewIni, LegacySeeds, kIniTokens, 16384},
        {"old_nicks", FuzzLegacyNicks, LegacySeeds, kIniTokens, 8192},
        {"old_ignore", FuzzLegacyIgnore, LegacySeeds, kIniTokens, 8192},
        {"old_autoop", FuzzLegacyAutoOp, LegacySeeds, kIniTokens, 8192},
        {"old_takeover", FuzzLegacyTakeOver, TakeOverSeeds, groupTokens, 16384},
        {"old_kvf", FuzzLegacyKvf, LegacySeeds, kIniTokens, 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
