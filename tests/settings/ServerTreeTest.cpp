#include "settings/Config.h"

#include "foundation/File.h"
#include "tests/common/TempFolder.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class ServerTreeTest : public ::testing::Test {
  protected:
    ServerTreeTest() { config.settingsFolder = temp.path + L"settings\\"; }

    CString TreePath() const { return config.settingsFolder + L"tree.ini"; }

    // Loads "tree.ini" made of the marker line and the given lines.
    void LoadTree(const char* body)
    {
        CreateDirectoryW(config.settingsFolder, nullptr);
        ASSERT_TRUE(WriteFileBytes(TreePath(), CStringA("Encoding=UTF-8\r\n") + body));
        config.LoadServerTree();
    }

    TTempFolder temp;
    TConfig config;
};

CString RandomText(std::mt19937& random, bool allowEmpty = true)
{
    static const wchar_t pool[] = L"abcXYZ019 #&=[]!@*?;\"'.\\/\tあ日本é";
    int length = (int)(random() % 12) + (allowEmpty ? 0 : 1);
    CString text;
    for (int i = 0; i < length; i++)
        text += pool[random() % (sizeof pool / sizeof pool[0] - 1)];
    if (random() % 8 == 0)
        text += L"\U0001F600";
    return text;
}

std::vector<CString> RandomList(std::mt19937& random)
{
    std::vector<CString> items;
    for (int n = (int)(random() % 4); n > 0; n--)
        items.push_back(RandomText(random, false));
    return items;
}

bool Flag(std::mt19937& random)
{
    return random() % 2 == 0;
}

int Number(std::mt19937& random)
{
    return (int)random() - (int)(random() % 3 == 0 ? 0x7FFFFFFF : 0);
}

TUnitConfig RandomUnit(std::mt19937& random)
{
    TUnitConfig unit;
    unit.Name = RandomText(random);
    unit.Hostname = RandomText(random);
    unit.Port = Number(random);
    unit.UseSSL = Flag(random);
    for (int n = (int)(random() % 3); n > 0; n--)
        unit.AltServers.push_back({RandomText(random), Number(random)});
    unit.EnablePassword = Flag(random);
    unit.Password = RandomText(random);
    unit.Nick = RandomText(random);
    unit.Username = RandomText(random);
    unit.Realname = RandomText(random);
    unit.SetAltNicks(RandomText(random));
    unit.PartMessage = RandomText(random);
    unit.QuitMessage = RandomText(random);
    unit.AwayMessage = RandomText(random);
    unit.UserInfo = RandomText(random);
    unit.AutoConnect = Flag(random);
    unit.Update = Flag(random);
    unit.Console = Flag(random);
    unit.Keyword = Flag(random);
    unit.Invisible = Flag(random);
    unit.AutoAway = Flag(random);
    unit.Codepage = (int)(random() % 70000);
    unit.EnableNickLen = Flag(random);
    unit.NickLen = Number(random);
    unit.LoginCommands = RandomList(random);
    unit.AutoOpMasks = RandomList(random);
    unit.MacroFiles = RandomList(random);
    unit.MacroHeaderWidth = Number(random);
    unit.ScriptFiles = RandomList(random);
    unit.ScriptHeaderWidth = Number(random);
    unit.EnableSocks = Flag(random);
    unit.SocksHostname = RandomText(random);
    unit.SocksPort = Number(random);
    unit.SocksVersion = Number(random);
    unit.EnableSocksAuth = Flag(random);
    unit.SocksUsername = RandomText(random);
    unit.SocksPassword = RandomText(random);
    for (int n = (int)(random() % 4); n > 0; n--) {
        TChannelConfig channel;
        channel.Name = RandomText(random);
        channel.Password = RandomText(random);
        channel.Mode = RandomText(random);
        channel.Topic = RandomText(random);
        channel.AutoJoin = Flag(random);
        channel.Update = Flag(random);
        channel.Console = Flag(random);
        channel.Keyword = Flag(random);
        channel.AutoOpMasks = RandomList(random);
        unit.Channels.push_back(channel);
    }
    return unit;
}

void ExpectSameChannel(const TChannelConfig& a, const TChannelConfig& b)
{
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Password, b.Password);
    EXPECT_EQ(a.Mode, b.Mode);
    EXPECT_EQ(a.Topic, b.Topic);
    EXPECT_EQ(a.AutoJoin, b.AutoJoin);
    EXPECT_EQ(a.Update, b.Update);
    EXPECT_EQ(a.Console, b.Console);
    EXPECT_EQ(a.Keyword, b.Keyword);
    EXPECT_EQ(a.AutoOpMasks, b.AutoOpMasks);
}

void ExpectSameUnit(const TUnitConfig& a, const TUnitConfig& b)
{
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Hostname, b.Hostname);
    EXPECT_EQ(a.Port, b.Port);
    EXPECT_EQ(a.UseSSL, b.UseSSL);
    ASSERT_EQ(a.AltServers.size(), b.AltServers.size());
    for (size_t i = 0; i < a.AltServers.size(); i++) {
        EXPECT_EQ(a.AltServers[i].Hostname, b.AltServers[i].Hostname);
        EXPECT_EQ(a.AltServers[i].Port, b.AltServers[i].Port);
    }
    EXPECT_EQ(a.EnablePassword, b.EnablePassword);
    EXPECT_EQ(a.Password, b.Password);
    EXPECT_EQ(a.Nick, b.Nick);
    EXPECT_EQ(a.Username, b.Username);
    EXPECT_EQ(a.Realname, b.Realname);
    EXPECT_EQ(a.AltNicks, b.AltNicks);
    EXPECT_EQ(a.AltNickList, b.AltNickList);
    EXPECT_EQ(a.PartMessage, b.PartMessage);
    EXPECT_EQ(a.QuitMessage, b.QuitMessage);
    EXPECT_EQ(a.AwayMessage, b.AwayMessage);
    EXPECT_EQ(a.UserInfo, b.UserInfo);
    EXPECT_EQ(a.AutoConnect, b.AutoConnect);
    EXPECT_EQ(a.Update, b.Update);
    EXPECT_EQ(a.Console, b.Console);
    EXPECT_EQ(a.Keyword, b.Keyword);
    EXPECT_EQ(a.Invisible, b.Invisible);
    EXPECT_EQ(a.AutoAway, b.AutoAway);
    EXPECT_EQ(a.Codepage, b.Codepage);
    EXPECT_EQ(a.EnableNickLen, b.EnableNickLen);
    EXPECT_EQ(a.NickLen, b.NickLen);
    EXPECT_EQ(a.LoginCommands, b.LoginCommands);
    EXPECT_EQ(a.AutoOpMasks, b.AutoOpMasks);
    EXPECT_EQ(a.MacroFiles, b.MacroFiles);
    EXPECT_EQ(a.MacroHeaderWidth, b.MacroHeaderWidth);
    EXPECT_EQ(a.ScriptFiles, b.ScriptFiles);
    EXPECT_EQ(a.ScriptHeaderWidth, b.ScriptHeaderWidth);
    EXPECT_EQ(a.EnableSocks, b.EnableSocks);
    EXPECT_EQ(a.SocksHostname, b.SocksHostname);
    EXPECT_EQ(a.SocksPort, b.SocksPort);
    EXPECT_EQ(a.SocksVersion, b.SocksVersion);
    EXPECT_EQ(a.EnableSocksAuth, b.EnableSocksAuth);
    EXPECT_EQ(a.SocksUsername, b.SocksUsername);
    EXPECT_EQ(a.SocksPassword, b.SocksPassword);
    ASSERT_EQ(a.Channels.size(), b.Channels.size());
    for (size_t i = 0; i < a.Channels.size(); i++)
        ExpectSameChannel(a.Channels[i], b.Channels[i]);
}

} // namespace

TEST_F(ServerTreeTest, RandomTreesSurviveSaveAndLoad)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 8; round++) {
        TWorldConfig original;
        original.AutoOpMasks = RandomList(random);
        original.IgnoreMasks = RandomList(random);
        for (int n = (int)(random() % 5) + (round == 7 ? 101 : 0); n > 0; n--)
            original.Units.push_back(RandomUnit(random));
        if (!original.Units.empty()) {
            original.Units[0].ExtraFlag = true;
            if (!original.Units[0].Channels.empty())
                original.Units[0].Channels[0].ExtraText = L"not stored";
        }
        config.world = original;
        ASSERT_TRUE(config.SaveServerTree());
        config.world = TWorldConfig();
        config.LoadServerTree();
        EXPECT_EQ(config.world.AutoOpMasks, original.AutoOpMasks);
        EXPECT_EQ(config.world.IgnoreMasks, original.IgnoreMasks);
        ASSERT_EQ(config.world.Units.size(), original.Units.size());
        for (size_t i = 0; i < original.Units.size(); i++)
            ExpectSameUnit(config.world.Units[i], original.Units[i]);
        if (!original.Units.empty()) {
            EXPECT_FALSE(config.world.Units[0].ExtraFlag);
            if (!original.Units[0].Channels.empty()) {
                EXPECT_EQ(config.world.Units[0].Channels[0].ExtraText, L"");
            }
        }
    }
}

TEST_F(ServerTreeTest, EmptyItemsOfNamedListsAreDroppedOnLoad)
{
    TUnitConfig unit;
    unit.LoginCommands = {L"", L"/join #x", L""};
    unit.AltServers.push_back({L"", 7000});
    TChannelConfig unnamed;
    unnamed.AutoOpMasks = {L"", L"m"};
    unit.Channels.push_back(unnamed);
    config.world.IgnoreMasks = {L"", L"i"};
    config.world.Units.push_back(unit);
    ASSERT_TRUE(config.SaveServerTree());
    config.LoadServerTree();
    const TUnitConfig& loaded = config.world.Units.at(0);
    EXPECT_EQ(loaded.LoginCommands, (std::vector<CString>{L"/join #x"}));
    ASSERT_EQ(loaded.AltServers.size(), 1u);
    EXPECT_EQ(loaded.AltServers[0].Port, 7000);
    ASSERT_EQ(loaded.Channels.size(), 1u);
    EXPECT_EQ(loaded.Channels[0].AutoOpMasks, (std::vector<CString>{L"m"}));
    EXPECT_EQ(config.world.IgnoreMasks, (std::vector<CString>{L"i"}));
}

TEST_F(ServerTreeTest, MissingKeysReadAsTheFileDefaults)
{
    LoadTree("[World]\r\nUnit.Count=2\r\n"
             "[Unit.00]\r\nName=a\r\nChannel.Count=1\r\nAltServer.Count=1\r\n"
             "LoginCommand.Count=3\r\nLoginCommand.00=first\r\nLoginCommand.02=third\r\n");
    ASSERT_EQ(config.world.Units.size(), 2u);
    const TUnitConfig& first = config.world.Units[0];
    ASSERT_EQ(first.Channels.size(), 1u);
    // Not the record's "+sn" and auto-join.
    EXPECT_EQ(first.Channels[0].Mode, L"");
    EXPECT_FALSE(first.Channels[0].AutoJoin);
    EXPECT_TRUE(first.Channels[0].Update && first.Channels[0].Console && first.Channels[0].Keyword);
    ASSERT_EQ(first.AltServers.size(), 1u);
    EXPECT_EQ(first.AltServers[0].Hostname, L"");
    EXPECT_EQ(first.AltServers[0].Port, 6667);
    EXPECT_EQ(first.LoginCommands, (std::vector<CString>{L"first", L"third"}));
    const TUnitConfig& second = config.world.Units[1];
    EXPECT_EQ(second.Name, L"");
    EXPECT_EQ(second.Port, 6667);
    EXPECT_EQ(second.Codepage, 50221);
    EXPECT_EQ(second.AwayMessage, L"Gone");
    EXPECT_TRUE(second.Invisible);
}

TEST_F(ServerTreeTest, PasswordFormsByVersion)
{
    LoadTree("[World]\r\nUnit.Count=5\r\n"
             "[Unit.00]\r\nPassword=plain\r\n"
             "[Unit.01]\r\nPasswordVersion=0\r\nPassword=\r\nEnablePassword=true\r\n"
             "[Unit.02]\r\nPasswordVersion=1\r\nPassword=GDGEGF\r\n"
             "[Unit.03]\r\nPasswordVersion=2\r\nPassword=GDGEGF\r\nEnablePassword=false\r\n"
             "[Unit.04]\r\nPasswordVersion=1\r\nPassword=GDGEGF\r\nEnablePassword=true\r\n");
    const std::vector<TUnitConfig>& units = config.world.Units;
    ASSERT_EQ(units.size(), 5u);
    EXPECT_EQ(units[0].Password, L"plain");
    EXPECT_TRUE(units[0].EnablePassword);
    EXPECT_FALSE(units[1].EnablePassword);
    EXPECT_EQ(units[2].Password, L"abc");
    EXPECT_FALSE(units[2].EnablePassword);
    EXPECT_EQ(units[3].Password, L"GDGEGF");
    EXPECT_TRUE(units[3].EnablePassword);
    EXPECT_EQ(units[4].Password, L"abc");
    EXPECT_TRUE(units[4].EnablePassword);

    ASSERT_TRUE(config.SaveServerTree());
    CStringA saved = ReadFileBytes(TreePath());
    EXPECT_LT(saved.Find("Password=plain"), 0);
    EXPECT_GE(saved.Find("PasswordVersion=1\r\nPassword=HCGOGDGLGQ\r\n"), 0);
    config.LoadServerTree();
    EXPECT_EQ(config.world.Units[0].Password, L"plain");
}

TEST_F(ServerTreeTest, CodePageFallsBackToTheOldEncodingKey)
{
    LoadTree("[World]\r\nUnit.Count=6\r\n"
             "[Unit.00]\r\nEncoding=1\r\n"
             "[Unit.01]\r\nEncoding=0\r\n"
             "[Unit.02]\r\n"
             "[Unit.03]\r\nCodepage=0\r\nEncoding=1\r\n"
             "[Unit.04]\r\nCodepage=-5\r\nEncoding=1\r\n"
             "[Unit.05]\r\nCodepage=932\r\n");
    const std::vector<TUnitConfig>& units = config.world.Units;
    ASSERT_EQ(units.size(), 6u);
    EXPECT_EQ(units[0].Codepage, 65001);
    EXPECT_EQ(units[1].Codepage, 50221);
    EXPECT_EQ(units[2].Codepage, 50221);
    EXPECT_EQ(units[3].Codepage, 0);
    EXPECT_EQ(units[4].Codepage, 65001);
    EXPECT_EQ(units[5].Codepage, 932);
    ASSERT_TRUE(config.SaveServerTree());
    EXPECT_LT(ReadFileBytes(TreePath()).Find("Encoding=1"), 0);
}

TEST_F(ServerTreeTest, EmptyTreeFileAndMissingFile)
{
    config.world.AutoOpMasks = {L"x"};
    config.LoadServerTree(); // no folder, no file: an empty tree
    EXPECT_TRUE(config.world.AutoOpMasks.empty());
    EXPECT_TRUE(config.world.Units.empty());
    ASSERT_TRUE(config.SaveServerTree()); // creates the settings folder
    EXPECT_EQ(ReadFileBytes(TreePath()),
              "Encoding=UTF-8\r\n\r\n[World]\r\n\r\nAutoOp.Count=0\r\nIgnore.Count=0\r\nUnit.Count=0\r\n");
}

TEST_F(ServerTreeTest, ServerSectionKeysInOrder)
{
    TUnitConfig unit;
    unit.Name = L"n";
    unit.Channels.push_back(TChannelConfig());
    config.world.Units.push_back(unit);
    ASSERT_TRUE(config.SaveServerTree());
    CStringA saved = ReadFileBytes(TreePath());
    int section = saved.Find("\r\n\r\n[Unit.00]\r\n\r\n");
    ASSERT_GT(section, 0);
    EXPECT_EQ(saved.Mid(section + 17),
              "Name=n\r\nHostname=\r\nPort=6667\r\nUseSSL=false\r\nEnablePassword=false\r\nPasswordVersion=1\r\n"
              "Password=\r\nNick=\r\nUsername=\r\nRealname=\r\nAltNicks=\r\nPartMessage=Leaving...\r\n"
              "QuitMessage=Leaving...\r\nAwayMessage=Gone\r\nUserInfo=\r\nAutoConnect=false\r\nUpdate=true\r\n"
              "Console=true\r\nKeyword=true\r\nInvisible=true\r\nAutoAway=false\r\nEnableNickLen=false\r\n"
              "NickLen=9\r\nCodepage=50221\r\nMacroHeaderWidth=60\r\nScriptHeaderWidth=60\r\nEnableSocks=false\r\n"
              "SocksHostname=\r\nSocksPort=1080\r\nSocksVersion=4\r\nEnableSocksAuth=false\r\nSocksUsername=\r\n"
              "SocksPassword=\r\nAltServer.Count=0\r\nLoginCommand.Count=0\r\nAutoOp.Count=0\r\n"
              "MacroFile.Count=0\r\nScriptFile.Count=0\r\nChannel.Count=1\r\nChannel.00.Name=\r\n"
              "Channel.00.Password=\r\nChannel.00.Mode=+sn\r\nChannel.00.Topic=\r\nChannel.00.AutoJoin=true\r\n"
              "Channel.00.Update=true\r\nChannel.00.Console=true\r\nChannel.00.Keyword=true\r\n"
              "Channel.00.AutoOp.Count=0\r\n");
}

TEST_F(ServerTreeTest, AbsurdCountsInADamagedFileStayBounded)
{
    LoadTree("[World]\r\nUnit.Count=2000000000\r\nAutoOp.Count=2000000000\r\n"
             "[Unit.00]\r\nName=real\r\nChannel.Count=2000000000\r\nChannel.00.Name=#c\r\n"
             "Channel.00.AutoOp.Count=2000000000\r\nMacroFile.Count=-3\r\n");
    ASSERT_FALSE(config.world.Units.empty());
    EXPECT_LT(config.world.Units.size(), 2000u);
    EXPECT_EQ(config.world.Units[0].Name, L"real");
    ASSERT_FALSE(config.world.Units[0].Channels.empty());
    EXPECT_EQ(config.world.Units[0].Channels[0].Name, L"#c");
    EXPECT_LT(config.world.Units[0].Channels.size(), 2000u);
}

TEST_F(ServerTreeTest, InterruptedSaveLeavesThePreviousTree)
{
    config.world.Units.push_back(TUnitConfig());
    config.world.Units[0].Name = L"old";
    ASSERT_TRUE(config.SaveServerTree());
    CStringA previous = ReadFileBytes(TreePath());

    config.world.Units[0].Name = L"new";
    config.world.Units[0].Channels.resize(2);
    for (int budget = 0;; budget += 7) {
        SimulateWriteFailureAfter(budget);
        bool saved = config.SaveServerTree();
        SimulateWriteFailureAfter(-1);
        if (saved)
            break;
        ASSERT_EQ(ReadFileBytes(TreePath()), previous) << budget;
    }
    config.LoadServerTree();
    EXPECT_EQ(config.world.Units.at(0).Name, L"new");
    EXPECT_EQ(CountFiles(config.settingsFolder), 1);
}
