// "tree.ini": the section "World" with the world-wide masks, then one section per server
// ("Unit.00", "Unit.01", ...) holding the server's settings and its channels.

#include "settings/Config.h"

#include "settings/IniExchange.h"
#include "settings/ServerPassword.h"

namespace {

const wchar_t TreeFileName[] = L"tree.ini";

void ExchangeMasks(TIniExchange& io, const CString& prefix, const wchar_t* listName, std::vector<CString>& masks)
{
    CString name = prefix + listName;
    io.List(name + L".Count", name + L".", L"%02d", L".Mask", masks);
}

void ExchangeChannel(TIniExchange& io, TChannelConfig& channel, int index)
{
    CString prefix = NumberedKey(L"Channel.%02d.", index);
    io.String(prefix + L"Name", channel.Name, L"");
    io.String(prefix + L"Password", channel.Password, L"");
    // The file's own defaults, not a new record's "+sn" and auto-join.
    io.String(prefix + L"Mode", channel.Mode, L"");
    io.String(prefix + L"Topic", channel.Topic, L"");
    io.Bool(prefix + L"AutoJoin", channel.AutoJoin, false);
    io.Bool(prefix + L"Update", channel.Update, true);
    io.Bool(prefix + L"Console", channel.Console, true);
    io.Bool(prefix + L"Keyword", channel.Keyword, true);
    ExchangeMasks(io, prefix, L"AutoOp", channel.AutoOpMasks);
}

// Older files hold the password in plain text and no version key.
void ExchangePassword(TIniExchange& io, TUnitConfig& unit)
{
    bool enable = unit.EnablePassword;
    int version = 1;
    CString stored = io.IsLoading() ? CString() : EncodeServerPassword(unit.Password);
    io.Bool(L"EnablePassword", enable, false);
    io.Int(L"PasswordVersion", version, 0);
    io.String(L"Password", stored, L"");
    if (!io.IsLoading())
        return;
    unit.Password = version == 1 ? DecodeServerPassword(stored) : stored;
    unit.EnablePassword = version == 1 ? enable : !stored.IsEmpty();
}

void ExchangeAltServers(TIniExchange& io, std::vector<TAltServer>& servers)
{
    servers.resize(io.Records(L"AltServer.Count", L"AltServer.", (int)servers.size()));
    for (size_t i = 0; i < servers.size(); i++) {
        CString prefix = NumberedKey(L"AltServer.%02d", (int)i);
        io.String(prefix + L".Hostname", servers[i].Hostname, L"");
        io.Int(prefix + L".Port", servers[i].Port, 6667);
    }
}

void ExchangeUnit(TIniExchange& io, TUnitConfig& unit)
{
    io.String(L"Name", unit.Name, L"");
    io.String(L"Hostname", unit.Hostname, L"");
    io.Int(L"Port", unit.Port, 6667);
    io.Bool(L"UseSSL", unit.UseSSL, false);
    ExchangePassword(io, unit);
    io.String(L"Nick", unit.Nick, L"");
    io.String(L"Username", unit.Username, L"");
    io.String(L"Realname", unit.Realname, L"");
    CString altNicks = unit.AltNicks;
    io.String(L"AltNicks", altNicks, L"");
    if (io.IsLoading())
        unit.SetAltNicks(altNicks);
    io.String(L"PartMessage", unit.PartMessage, L"Leaving...");
    io.String(L"QuitMessage", unit.QuitMessage, L"Leaving...");
    io.String(L"AwayMessage", unit.AwayMessage, L"Gone");
    io.String(L"UserInfo", unit.UserInfo, L"");
    io.Bool(L"AutoConnect", unit.AutoConnect, false);
    io.Bool(L"Update", unit.Update, true);
    io.Bool(L"Console", unit.Console, true);
    io.Bool(L"Keyword", unit.Keyword, true);
    io.Bool(L"Invisible", unit.Invisible, true);
    io.Bool(L"AutoAway", unit.AutoAway, false);
    io.Bool(L"EnableNickLen", unit.EnableNickLen, false);
    io.Int(L"NickLen", unit.NickLen, 9);
    io.Int(L"Codepage", unit.Codepage, -1);
    // An older form of the file chose between UTF-8 (1) and ISO-2022-JP only.
    if (io.IsLoading() && unit.Codepage < 0)
        unit.Codepage = io.ReadOld(L"Encoding", -1) == 1 ? 65001 : 50221;
    io.Int(L"MacroHeaderWidth", unit.MacroHeaderWidth, 60);
    io.Int(L"ScriptHeaderWidth", unit.ScriptHeaderWidth, 60);
    io.Bool(L"EnableSocks", unit.EnableSocks, false);
    io.String(L"SocksHostname", unit.SocksHostname, L"");
    io.Int(L"SocksPort", unit.SocksPort, 1080);
    io.Int(L"SocksVersion", unit.SocksVersion, 4);
    io.Bool(L"EnableSocksAuth", unit.EnableSocksAuth, false);
    io.String(L"SocksUsername", unit.SocksUsername, L"");
    io.String(L"SocksPassword", unit.SocksPassword, L"");

    ExchangeAltServers(io, unit.AltServers);
    io.List(L"LoginCommand.Count", L"LoginCommand.", L"%02d", L"", unit.LoginCommands);
    ExchangeMasks(io, L"", L"AutoOp", unit.AutoOpMasks);
    io.List(L"MacroFile.Count", L"MacroFile.", L"%02d", L"", unit.MacroFiles);
    io.List(L"ScriptFile.Count", L"ScriptFile.", L"%02d", L"", unit.ScriptFiles);

    unit.Channels.resize(io.Records(L"Channel.Count", L"Channel.", (int)unit.Channels.size()));
    for (size_t i = 0; i < unit.Channels.size(); i++)
        ExchangeChannel(io, unit.Channels[i], (int)i);
}

void ExchangeTree(TIniExchange& io, TWorldConfig& world)
{
    io.Section(L"World");
    ExchangeMasks(io, L"", L"AutoOp", world.AutoOpMasks);
    ExchangeMasks(io, L"", L"Ignore", world.IgnoreMasks);
    world.Units.resize(io.SectionRecords(L"Unit.Count", L"Unit.", (int)world.Units.size()));
    for (size_t i = 0; i < world.Units.size(); i++) {
        io.Section(NumberedKey(L"Unit.%02d", (int)i));
        ExchangeUnit(io, world.Units[i]);
    }
}

} // namespace

CString TConfig::GetServerTreePath() const { return GetSettingsFolder() + TreeFileName; }

void TConfig::LoadServerTree()
{
    world.Units.clear();
    LoadIniFile(
        GetServerTreePath(), [this](TIniExchange& io) { ExchangeTree(io, world); }, &treeLoadError);
}

bool TConfig::SaveServerTree()
{
    if (IsUnreadableFileError(treeLoadError))
        return false;
    return SaveIniFile(GetServerTreePath(), [this](TIniExchange& io) { ExchangeTree(io, world); });
}

std::vector<TConfig::TUnreadableFile> TConfig::GetUnreadableFiles() const
{
    std::vector<TUnreadableFile> files;
    if (IsUnreadableFileError(treeLoadError))
        files.push_back({GetServerTreePath(), treeLoadError});
    if (IsUnreadableFileError(preference.loadError))
        files.push_back({TPreference::GetFilePath(GetSettingsFolder()), preference.loadError});
    if (IsUnreadableFileError(view.loadError))
        files.push_back({TViewConfig::GetFilePath(*this), view.loadError});
    return files;
}
