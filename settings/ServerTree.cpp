// "tree.ini": the section "World" with the world-wide masks, then one section per server
// ("Unit.00", "Unit.01", ...) holding the server's settings and its channels.

#include "settings/Config.h"

#include "foundation/Path.h"
#include "settings/IniFile.h"
#include "settings/ServerPassword.h"

#include <algorithm>
#include <climits>
#include <map>

namespace {

const wchar_t TreeFileName[] = L"tree.ini";

CString Numbered(const wchar_t* format, int index)
{
    CString text;
    text.Format(format, index);
    return text;
}

// Reads the lists of the file. A damaged file may claim counts in the billions, so a count
// is held to the highest item index present (or the number of keys or sections that could belong
// to its items) plus a small slack, and the records made for missing items to the file's size.
// No file this program wrote comes near. Lists that drop missing items walk the keys present.
class TTreeReader {
public:
    explicit TTreeReader(TIniFile& ini) : ini(ini)
    {
        for (const auto& section : ini.sections)
            recordBudget += (long long)section.second.size();
    }

    // itemPrefix: what the keys of the list's items (and its count key) begin with.
    int ReadCount(const CString& countKey, const CString& itemPrefix)
    {
        auto section = ini.sections.find(ini.currentSection);
        if (section == ini.sections.end())
            return 0;
        return Clamp(ini.ReadInt(countKey, 0), CountWithPrefix(section->second, itemPrefix));
    }

    // For lists whose missing items still become records.
    int ReadRecordCount(int count)
    {
        if (count > recordBudget)
            count = (int)recordBudget;
        recordBudget -= count;
        return count;
    }

    int ReadUnitCount()
    {
        return ReadRecordCount(Clamp(ini.ReadInt(L"Unit.Count", 0), CountWithPrefix(ini.sections, L"Unit.")));
    }

    // Empty items are dropped; the key of item i is prefix + the index in itemFormat + suffix.
    std::vector<CString> ReadList(const CString& countKey, const CString& prefix, const wchar_t* itemFormat,
                                  const wchar_t* suffix)
    {
        std::map<int, CString> found;
        auto section = ini.sections.find(ini.currentSection);
        int count = ini.ReadInt(countKey, 0);
        if (section != ini.sections.end() && count > 0) {
            const auto& keys = section->second;
            for (auto it = keys.lower_bound(prefix); it != keys.end() && HasPrefix(it->first, prefix); ++it) {
                int index = LeadingIndex(it->first, prefix.GetLength());
                if (index < 0 || index >= count || it->first != prefix + Numbered(itemFormat, index) + suffix)
                    continue;
                CString item = ini.ReadString(it->first, L"");
                if (!item.IsEmpty())
                    found[index] = item;
            }
        }
        std::vector<CString> items;
        for (const auto& item : found)
            items.push_back(item.second);
        return items;
    }

    std::vector<CString> ReadMasks(const CString& prefix, const wchar_t* listName)
    {
        CString name = prefix + listName;
        return ReadList(name + L".Count", name + L".", L"%02d", L".Mask");
    }

    TChannelConfig ReadChannel(int index);
    TUnitConfig ReadUnit();

    TIniFile& ini;

private:
    static const int Slack = 16;

    static int Clamp(int count, long long present)
    {
        if (count <= 0)
            return 0;
        return count - Slack > present ? (int)present + Slack : count;
    }

    static bool HasPrefix(const CString& name, const CString& prefix)
    {
        return name.Left(prefix.GetLength()) == prefix;
    }

    // The decimal number at the given position, or -1 when there is none or it overflows.
    static int LeadingIndex(const CString& name, int from)
    {
        long long value = -1;
        for (int i = from; i < name.GetLength() && name[i] >= L'0' && name[i] <= L'9'; i++) {
            value = (value < 0 ? 0 : value * 10) + (name[i] - L'0');
            if (value > INT_MAX)
                return -1;
        }
        return (int)value;
    }

    // How many items the names with the prefix can stand for: at least one per name, and at least
    // up to the highest index among them, so a gap in the numbering loses nothing behind it.
    template <typename Map> static long long CountWithPrefix(const Map& map, const CString& prefix)
    {
        long long count = 0;
        long long extent = 0;
        for (auto it = map.lower_bound(prefix); it != map.end() && HasPrefix(it->first, prefix); ++it) {
            count++;
            extent = std::max(extent, (long long)LeadingIndex(it->first, prefix.GetLength()) + 1);
        }
        return std::max(count, extent);
    }

    long long recordBudget = 1024;
};

void WriteList(TIniFileWriter& writer, const CString& countKey, const CString& prefix, const wchar_t* itemFormat,
               const wchar_t* suffix, const std::vector<CString>& items)
{
    writer.WriteInt(countKey, (int)items.size());
    for (size_t i = 0; i < items.size(); i++)
        writer.WriteString(prefix + Numbered(itemFormat, (int)i) + suffix, items[i]);
}

void WriteMasks(TIniFileWriter& writer, const CString& prefix, const wchar_t* listName,
                const std::vector<CString>& masks)
{
    CString name = prefix + listName;
    WriteList(writer, name + L".Count", name + L".", L"%02d", L".Mask", masks);
}

TChannelConfig TTreeReader::ReadChannel(int index)
{
    CString prefix = Numbered(L"Channel.%02d.", index);
    TChannelConfig channel;
    channel.Name = ini.ReadString(prefix + L"Name", L"");
    channel.Password = ini.ReadString(prefix + L"Password", L"");
    // The file's own defaults, not a new record's "+sn" and auto-join.
    channel.Mode = ini.ReadString(prefix + L"Mode", L"");
    channel.Topic = ini.ReadString(prefix + L"Topic", L"");
    channel.AutoJoin = ini.ReadBool(prefix + L"AutoJoin", false);
    channel.Update = ini.ReadBool(prefix + L"Update", true);
    channel.Console = ini.ReadBool(prefix + L"Console", true);
    channel.Keyword = ini.ReadBool(prefix + L"Keyword", true);
    channel.AutoOpMasks = ReadMasks(prefix, L"AutoOp");
    return channel;
}

void WriteChannel(TIniFileWriter& writer, const TChannelConfig& channel, int index)
{
    CString prefix = Numbered(L"Channel.%02d.", index);
    writer.WriteString(prefix + L"Name", channel.Name);
    writer.WriteString(prefix + L"Password", channel.Password);
    writer.WriteString(prefix + L"Mode", channel.Mode);
    writer.WriteString(prefix + L"Topic", channel.Topic);
    writer.WriteBool(prefix + L"AutoJoin", channel.AutoJoin);
    writer.WriteBool(prefix + L"Update", channel.Update);
    writer.WriteBool(prefix + L"Console", channel.Console);
    writer.WriteBool(prefix + L"Keyword", channel.Keyword);
    WriteMasks(writer, prefix, L"AutoOp", channel.AutoOpMasks);
}

TUnitConfig TTreeReader::ReadUnit()
{
    TUnitConfig unit;
    unit.Name = ini.ReadString(L"Name", L"");
    unit.Hostname = ini.ReadString(L"Hostname", L"");
    unit.Port = ini.ReadInt(L"Port", 6667);
    unit.UseSSL = ini.ReadBool(L"UseSSL", false);

    // Older files hold the password in plain text and no version key.
    int passwordVersion = ini.ReadInt(L"PasswordVersion", 0);
    CString password = ini.ReadString(L"Password", L"");
    if (passwordVersion == 1) {
        unit.Password = DecodeServerPassword(password);
        unit.EnablePassword = ini.ReadBool(L"EnablePassword", false);
    } else {
        unit.Password = password;
        unit.EnablePassword = !password.IsEmpty();
    }

    unit.Nick = ini.ReadString(L"Nick", L"");
    unit.Username = ini.ReadString(L"Username", L"");
    unit.Realname = ini.ReadString(L"Realname", L"");
    unit.SetAltNicks(ini.ReadString(L"AltNicks", L""));
    unit.PartMessage = ini.ReadString(L"PartMessage", L"Leaving...");
    unit.QuitMessage = ini.ReadString(L"QuitMessage", L"Leaving...");
    unit.AwayMessage = ini.ReadString(L"AwayMessage", L"Gone");
    unit.UserInfo = ini.ReadString(L"UserInfo", L"");
    unit.AutoConnect = ini.ReadBool(L"AutoConnect", false);
    unit.Update = ini.ReadBool(L"Update", true);
    unit.Console = ini.ReadBool(L"Console", true);
    unit.Keyword = ini.ReadBool(L"Keyword", true);
    unit.Invisible = ini.ReadBool(L"Invisible", true);
    unit.AutoAway = ini.ReadBool(L"AutoAway", false);
    unit.EnableNickLen = ini.ReadBool(L"EnableNickLen", false);
    unit.NickLen = ini.ReadInt(L"NickLen", 9);
    unit.MacroHeaderWidth = ini.ReadInt(L"MacroHeaderWidth", 60);
    unit.ScriptHeaderWidth = ini.ReadInt(L"ScriptHeaderWidth", 60);
    unit.EnableSocks = ini.ReadBool(L"EnableSocks", false);
    unit.SocksHostname = ini.ReadString(L"SocksHostname", L"");
    unit.SocksPort = ini.ReadInt(L"SocksPort", 1080);
    unit.SocksVersion = ini.ReadInt(L"SocksVersion", 4);
    unit.EnableSocksAuth = ini.ReadBool(L"EnableSocksAuth", false);
    unit.SocksUsername = ini.ReadString(L"SocksUsername", L"");
    unit.SocksPassword = ini.ReadString(L"SocksPassword", L"");

    // An older form of the file chose between UTF-8 (1) and ISO-2022-JP only.
    int codePage = ini.ReadInt(L"Codepage", -1);
    if (codePage < 0)
        codePage = ini.ReadInt(L"Encoding", -1) == 1 ? 65001 : 50221;
    unit.Codepage = codePage;

    int altCount = ReadRecordCount(ReadCount(L"AltServer.Count", L"AltServer."));
    for (int i = 0; i < altCount; i++) {
        CString prefix = Numbered(L"AltServer.%02d", i);
        TAltServer server;
        server.Hostname = ini.ReadString(prefix + L".Hostname", L"");
        server.Port = ini.ReadInt(prefix + L".Port", 6667);
        unit.AltServers.push_back(server);
    }

    unit.LoginCommands = ReadList(L"LoginCommand.Count", L"LoginCommand.", L"%02d", L"");
    unit.AutoOpMasks = ReadMasks(L"", L"AutoOp");
    unit.MacroFiles = ReadList(L"MacroFile.Count", L"MacroFile.", L"%02d", L"");
    unit.ScriptFiles = ReadList(L"ScriptFile.Count", L"ScriptFile.", L"%02d", L"");

    int channelCount = ReadRecordCount(ReadCount(L"Channel.Count", L"Channel."));
    for (int i = 0; i < channelCount; i++)
        unit.Channels.push_back(ReadChannel(i));
    return unit;
}

void WriteUnit(TIniFileWriter& writer, const TUnitConfig& unit)
{
    writer.WriteString(L"Name", unit.Name);
    writer.WriteString(L"Hostname", unit.Hostname);
    writer.WriteInt(L"Port", unit.Port);
    writer.WriteBool(L"UseSSL", unit.UseSSL);
    writer.WriteBool(L"EnablePassword", unit.EnablePassword);
    writer.WriteInt(L"PasswordVersion", 1);
    writer.WriteString(L"Password", EncodeServerPassword(unit.Password));
    writer.WriteString(L"Nick", unit.Nick);
    writer.WriteString(L"Username", unit.Username);
    writer.WriteString(L"Realname", unit.Realname);
    writer.WriteString(L"AltNicks", unit.AltNicks);
    writer.WriteString(L"PartMessage", unit.PartMessage);
    writer.WriteString(L"QuitMessage", unit.QuitMessage);
    writer.WriteString(L"AwayMessage", unit.AwayMessage);
    writer.WriteString(L"UserInfo", unit.UserInfo);
    writer.WriteBool(L"AutoConnect", unit.AutoConnect);
    writer.WriteBool(L"Update", unit.Update);
    writer.WriteBool(L"Console", unit.Console);
    writer.WriteBool(L"Keyword", unit.Keyword);
    writer.WriteBool(L"Invisible", unit.Invisible);
    writer.WriteBool(L"AutoAway", unit.AutoAway);
    writer.WriteBool(L"EnableNickLen", unit.EnableNickLen);
    writer.WriteInt(L"NickLen", unit.NickLen);
    writer.WriteInt(L"Codepage", unit.Codepage);
    writer.WriteInt(L"MacroHeaderWidth", unit.MacroHeaderWidth);
    writer.WriteInt(L"ScriptHeaderWidth", unit.ScriptHeaderWidth);
    writer.WriteBool(L"EnableSocks", unit.EnableSocks);
    writer.WriteString(L"SocksHostname", unit.SocksHostname);
    writer.WriteInt(L"SocksPort", unit.SocksPort);
    writer.WriteInt(L"SocksVersion", unit.SocksVersion);
    writer.WriteBool(L"EnableSocksAuth", unit.EnableSocksAuth);
    writer.WriteString(L"SocksUsername", unit.SocksUsername);
    writer.WriteString(L"SocksPassword", unit.SocksPassword);

    writer.WriteInt(L"AltServer.Count", (int)unit.AltServers.size());
    for (size_t i = 0; i < unit.AltServers.size(); i++) {
        CString prefix = Numbered(L"AltServer.%02d", (int)i);
        writer.WriteString(prefix + L".Hostname", unit.AltServers[i].Hostname);
        writer.WriteInt(prefix + L".Port", unit.AltServers[i].Port);
    }

    WriteList(writer, L"LoginCommand.Count", L"LoginCommand.", L"%02d", L"", unit.LoginCommands);
    WriteMasks(writer, L"", L"AutoOp", unit.AutoOpMasks);
    WriteList(writer, L"MacroFile.Count", L"MacroFile.", L"%02d", L"", unit.MacroFiles);
    WriteList(writer, L"ScriptFile.Count", L"ScriptFile.", L"%02d", L"", unit.ScriptFiles);

    writer.WriteInt(L"Channel.Count", (int)unit.Channels.size());
    for (size_t i = 0; i < unit.Channels.size(); i++)
        WriteChannel(writer, unit.Channels[i], (int)i);
}

} // namespace

void TConfig::LoadServerTree()
{
    TIniFile ini(false);
    ini.Load(GetSettingsFolder() + TreeFileName);

    TTreeReader reader(ini);
    world.Units.clear();
    ini.SetSection(L"World");
    world.AutoOpMasks = reader.ReadMasks(L"", L"AutoOp");
    world.IgnoreMasks = reader.ReadMasks(L"", L"Ignore");
    int unitCount = reader.ReadUnitCount();
    for (int i = 0; i < unitCount; i++) {
        ini.SetSection(Numbered(L"Unit.%02d", i));
        world.Units.push_back(reader.ReadUnit());
    }
}

bool TConfig::SaveServerTree()
{
    CreateFolderTree(GetSettingsFolder());
    TIniFileWriter writer;
    if (!writer.Open(GetSettingsFolder() + TreeFileName))
        return false;
    writer.WriteSection(L"World");
    WriteMasks(writer, L"", L"AutoOp", world.AutoOpMasks);
    WriteMasks(writer, L"", L"Ignore", world.IgnoreMasks);
    writer.WriteInt(L"Unit.Count", (int)world.Units.size());
    for (size_t i = 0; i < world.Units.size(); i++) {
        writer.WriteSection(Numbered(L"Unit.%02d", (int)i));
        WriteUnit(writer, world.Units[i]);
    }
    return writer.Close();
}
