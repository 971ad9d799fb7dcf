// The previous major version's server profiles, list files and copied files.

#include "legacy/LegacyImport.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "foundation/SafeFileName.h"
#include "foundation/StringList.h"
#include "foundation/StringUtils.h"
#include "ircproto/Modes.h"
#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/ServerPassword.h"

#include <string>
#include <unordered_map>

namespace {

const wchar_t* const kBuiltInTemplates[] = {
    L"Deep.kvf",
    L"Red&Blue.kvf",
    L"Silver&Gold.kvf",
    L"SnowWhite.kvf",
    L"モモハウス.kvf",
    L"モモハウス大.kvf",
    L"英語メッセージ.kvf",
    L"簡潔メッセージ.kvf",
    L"金藍色.kvf",
    L"金藍色大.kvf",
    L"空.kvf",
    L"黒基調1.kvf",
    L"黒基調2.kvf",
    L"紺基調.kvf",
    L"深海.kvf",
    L"日本語メッセージ.kvf",
};

bool IsBuiltInTemplate(const CString& name)
{
    for (const wchar_t* builtIn : kBuiltInTemplates)
        if (name == builtIn)
            return true;
    return false;
}

// Letters A to Z fold; everything else must match exactly.
bool EqualsAsciiNoCase(const CString& a, const CString& b)
{
    if (a.GetLength() != b.GetLength())
        return false;
    for (int i = 0; i < a.GetLength(); i++) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z')
            x -= 32;
        if (y >= L'a' && y <= L'z')
            y -= 32;
        if (x != y)
            return false;
    }
    return true;
}

CString DecodeLegacyPassword(CString password, int version)
{
    if (password.IsEmpty())
        return password;
    int len = password.GetLength();
    if (version < 3 && len >= 2 && password[0] == L'"' && password[len - 1] == L'"')
        password = password.Mid(1, len - 2);
    if (version == 1) {
        CStringA bytes = ConvertToCodePage(password, CP_SHIFT_JIS);
        for (int i = 0; i < bytes.GetLength(); i++)
            bytes.SetAt(i, (char)(bytes[i] ^ 0x3C));
        return ConvertFromCodePage(bytes, CP_SHIFT_JIS);
    }
    if (version >= 2)
        return DecodeServerPassword(password);
    return password;
}

void ReadProfileChannels(const TIniFile& ini, const TConfig& config, TUnitConfig& unit)
{
    int count = ReadLegacyCount(ini, L"AutoJoinChCount", L"AutoJoinChItem");
    CString key;
    for (int j = 0; j < count; j++) {
        key.Format(L"AutoJoinChItem%d", j);
        CString item = ini.ReadString(key, L"");
        CString name = CutFirstWord(item);
        // An item of blanks only names no channel, as an empty one.
        if (name.IsEmpty())
            continue;
        TChannelConfig channel;
        channel.Name = NormalizeLegacyChannelName(name);
        channel.Password = CutFirstWord(item);
        channel.Mode = ChooseLegacyChannelMode(config.legacyChannelModes, channel.Name);
        unit.Channels.push_back(channel);
    }
}

// Only single names straight from the folder listing are copied, and only files: nothing the
// old folder holds can reach outside the target folder.
void CopyLegacyFiles(const CString& sourceFolder, const wchar_t* pattern, const CString& targetFolder,
                     bool skipBuiltInTemplates)
{
    if (targetFolder.IsEmpty())
        return;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(sourceFolder + pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        CString name = data.cFileName;
        if (IsLegacyFileToCopy(data.dwFileAttributes, name, skipBuiltInTemplates))
            CopyFileW(sourceFolder + name, targetFolder + name, FALSE);
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

// Where each group of the auto-op file goes: found by name at once, whatever the number of
// servers and groups, and within a bound on what the groups may make.
class TAutoOpTargets {
public:
    explicit TAutoOpTargets(TConfig& config) : config(config)
    {
        std::vector<TUnitConfig>& units = config.world.Units;
        for (size_t u = 0; u < units.size(); u++)
            for (size_t c = 0; c < units[u].Channels.size(); c++)
                Note(units[u].Channels[c].Name, u, c);
    }

    // False when the group would go past the bound; it is then left out whole.
    bool Apply(const CString& header, const std::vector<CString>& masks)
    {
        if (EqualsAsciiNoCase(header, L"all")) {
            if (!Spend((long long)masks.size()))
                return false;
            config.world.AutoOpMasks = masks;
            return true;
        }
        std::vector<TUnitConfig>& units = config.world.Units;
        auto found = places.find(Key(header));
        if (found != places.end()) {
            if (!Spend((long long)found->second.size() * (long long)masks.size()))
                return false;
            for (const TPlace& place : found->second)
                units[place.unit].Channels[place.channel].AutoOpMasks = masks;
            return true;
        }
        if (!Spend((long long)units.size() * (1 + (long long)masks.size())))
            return false;
        TChannelConfig channel;
        channel.Name = header;
        channel.AutoOpMasks = masks;
        channel.Mode = ChooseLegacyChannelMode(config.legacyChannelModes, header);
        for (size_t u = 0; u < units.size(); u++) {
            units[u].Channels.push_back(channel);
            Note(header, u, units[u].Channels.size() - 1);
        }
        return true;
    }

private:
    struct TPlace {
        size_t unit;
        size_t channel;
    };

    // Letters A to Z fold, as EqualsAsciiNoCase compares.
    static std::wstring Key(const CString& name)
    {
        std::wstring key(name.GetString(), name.GetLength());
        for (wchar_t& c : key)
            if (c >= L'a' && c <= L'z')
                c -= 32;
        return key;
    }

    // Only the first channel of that name in each server takes the masks.
    void Note(const CString& name, size_t unit, size_t channel)
    {
        std::vector<TPlace>& list = places[Key(name)];
        if (list.empty() || list.back().unit != unit)
            list.push_back({unit, channel});
    }

    bool Spend(long long records)
    {
        if (records > room)
            return false;
        room -= records;
        return true;
    }

    TConfig& config;
    std::unordered_map<std::wstring, std::vector<TPlace>> places;
    long long room = kMaxLegacyAutoOpRecords;
};

} // namespace

bool IsLegacyFileToCopy(unsigned long attributes, const CString& name, bool skipBuiltInTemplates)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    return IsSafeFileNamePart(name) && !(skipBuiltInTemplates && IsBuiltInTemplate(name));
}

void ImportLegacyProfiles(TConfig& config)
{
    TIniFile ini(true);
    if (!ini.Load(GetLegacyConfigPath(config, L"-profile.ini")))
        return;
    TUserMode userMode;
    userMode.ApplyModeChange(config.legacyUserMode);

    CString key;
    ini.SetSection(L"Root");
    int count = ReadLegacyCount(ini, L"ProfileCount", L"Name");
    for (int i = 0; i < count; i++) {
        ini.SetSection(L"Root");
        key.Format(L"Name%d", i);
        CString name = ini.ReadString(key, L"");
        if (name.IsEmpty())
            continue;
        key.Format(L"AutoConnect%d", i);
        bool autoConnect = ini.ReadBool(key, false);

        TUnitConfig unit;
        unit.Name = name;
        ini.SetSection(name);
        unit.Hostname = ini.ReadString(L"Server", L"");
        unit.Port = ini.ReadInt(L"Port", 6667);
        unit.Password = ini.ReadString(L"Password", L"");
        unit.Nick = ini.ReadString(L"Nick", L"");
        unit.EnableNickLen = ini.ReadBool(L"ExtendedServer", false);
        unit.NickLen = ini.ReadInt(L"ExtendedNickLen", 9);
        unit.Username = config.legacyUserName;
        unit.Realname = config.legacyRealName;
        unit.PartMessage = config.legacyPartMessage;
        unit.QuitMessage = config.legacyQuitMessage;
        unit.AwayMessage = config.legacyAwayMessage;
        unit.UserInfo = config.legacyUserInfo;
        unit.AutoConnect = autoConnect;
        unit.Invisible = userMode.invisible;
        unit.Password = DecodeLegacyPassword(unit.Password, ini.ReadInt(L"PasswordVersion", 0));

        int macroCount = ReadLegacyCount(ini, L"MacroFilesCount", L"MacroFiles");
        for (int j = 0; j < macroCount; j++) {
            key.Format(L"MacroFiles%d", j);
            CString file = ini.ReadString(key, L"");
            if (!file.IsEmpty())
                unit.MacroFiles.push_back(file);
        }
        ReadProfileChannels(ini, config, unit);
        config.world.Units.push_back(unit);
    }
}

int ImportLegacyAutoOp(TConfig& config)
{
    // Raw bytes: the file is ISO-2022-JP, whatever a text reader would make of it.
    TStringAList lines;
    if (!lines.LoadFromFile(GetLegacyConfigPath(config, L"-autoop.kcf")))
        return 0;
    TAutoOpTargets targets(config);
    int leftOut = 0;
    CString header;
    std::vector<CString> masks;
    auto applyGroup = [&]() {
        if (!header.IsEmpty() && !masks.empty() && !targets.Apply(header, masks))
            leftOut++;
    };
    for (const CStringA& bytes : lines.items) {
        if (bytes.IsEmpty())
            continue;
        CString line = DecodeIso2022Jp(bytes);
        if (!line.IsEmpty() && line[0] == L' ') {
            masks.push_back(line.Mid(1));
            continue;
        }
        applyGroup();
        header = NormalizeLegacyChannelName(line);
        masks.clear();
    }
    applyGroup();
    return leftOut;
}

void ImportLegacyNicks(TConfig& config)
{
    TStringList lines;
    if (!lines.LoadFromFile(GetLegacyConfigPath(config, L"-nicks.kcf")))
        return;
    config.preference.nickList.clear();
    for (const CString& line : lines.items)
        if (!line.IsEmpty())
            config.preference.nickList.push_back(line);
}

void ImportLegacyIgnore(TConfig& config)
{
    TStringList lines;
    if (!lines.LoadFromFile(GetLegacyConfigPath(config, L"-ignore.kcf")))
        return;
    config.world.IgnoreMasks.clear();
    for (const CString& line : lines.items)
        if (!line.IsEmpty())
            config.world.IgnoreMasks.push_back(line);
}

void ImportLegacyMacrosAndSounds(TConfig& config)
{
    CopyLegacyFiles(config.legacyFolder + L"Macro\\", L"*.kmf", config.macroFolder, false);
    CopyLegacyFiles(config.legacyFolder + L"Macro\\File\\", L"*.*", config.filesFolder, false);
    CopyLegacyFiles(config.legacyFolder + L"Sound\\", L"*.*", config.soundsFolder, false);
}

void ImportLegacyImagesAndTemplates(TConfig& config)
{
    CopyLegacyFiles(config.legacyFolder + L"Image\\", L"*.*", config.userImageFolder, false);
    CopyLegacyFiles(config.legacyFolder + L"Template\\", L"*.kvf", config.userThemeFolder, true);
}
