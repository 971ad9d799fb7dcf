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
        if (item.IsEmpty())
            continue;
        TChannelConfig channel;
        channel.Name = NormalizeLegacyChannelName(CutFirstWord(item));
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
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (!IsSafeFileNamePart(name))
            continue;
        if (skipBuiltInTemplates && IsBuiltInTemplate(name))
            continue;
        CopyFileW(sourceFolder + name, targetFolder + name, FALSE);
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

} // namespace

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

void ImportLegacyAutoOp(TConfig& config)
{
    // Raw bytes: the file is ISO-2022-JP, whatever a text reader would make of it.
    TStringAList lines;
    if (!lines.LoadFromFile(GetLegacyConfigPath(config, L"-autoop.kcf")))
        return;
    CString header;
    std::vector<CString> masks;
    auto applyGroup = [&]() {
        if (header.IsEmpty() || masks.empty())
            return;
        if (EqualsAsciiNoCase(header, L"all")) {
            config.world.AutoOpMasks = masks;
            return;
        }
        bool found = false;
        for (TUnitConfig& unit : config.world.Units) {
            for (TChannelConfig& channel : unit.Channels) {
                if (EqualsAsciiNoCase(channel.Name, header)) {
                    channel.AutoOpMasks = masks;
                    found = true;
                    break;
                }
            }
        }
        if (found)
            return;
        TChannelConfig channel;
        channel.Name = header;
        channel.AutoOpMasks = masks;
        channel.Mode = ChooseLegacyChannelMode(config.legacyChannelModes, header);
        for (TUnitConfig& unit : config.world.Units)
            unit.Channels.push_back(channel);
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
