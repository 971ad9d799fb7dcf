#include "settings/Config.h"

#include "foundation/File.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class ServerTreeTest : public ::testing::Test {
protected:
    ServerTreeTest() { config.settingsFolder = temp.path + L"settings\\"; }

    CString TreePath() const { return config.settingsFolder + L"tree.ini"; }

    void LoadTree(const char* body)
    {
        CreateDirectoryW(config.settingsFolder, nullptr);
        ASSERT_TRUE(WriteFileBytes(TreePath(), CStringA("Encoding=UTF-8\r\n") + body));
        config.LoadServerTree();
    }

    TTempFolder temp;
    TConfig config;
};

class TRandom {
public:
    CString Text(int minLength = 0)
    {
        static const wchar_t pool[] = L"aZ09 #&=[]!@*?;\"'.\\/\tあ日é";
        CString text;
        for (int n = minLength + (int)(engine() % 10); n > 0; n--)
            text += pool[engine() % (sizeof pool / sizeof pool[0] - 1)];
        return engine() % 8 ? text : text + L"\U0001F600";
    }
    // Non-empty items: empty ones are dropped on loading, as documented.
    std::vector<CString> List()
    {
        std::vector<CString> items(engine() % 4);
        for (CString& item : items)
            item = Text(1);
        return items;
    }
    bool Flag() { return engine() % 2; }
    int Number() { return (int)engine(); }
    int Below(int limit) { return (int)(engine() % limit); }

    std::mt19937 engine{20261207};
};

TUnitConfig RandomUnit(TRandom& r)
{
    TUnitConfig u;
    u.Name = r.Text(), u.Hostname = r.Text(), u.Port = r.Number(), u.UseSSL = r.Flag();
    for (int n = r.Below(3); n > 0; n--)
        u.AltServers.push_back({r.Text(), r.Number()});
    u.EnablePassword = r.Flag(), u.Password = r.Text(), u.Nick = r.Text(), u.Username = r.Text();
    u.Realname = r.Text(), u.PartMessage = r.Text(), u.QuitMessage = r.Text(), u.AwayMessage = r.Text();
    u.SetAltNicks(r.Text());
    u.UserInfo = r.Text(), u.AutoConnect = r.Flag(), u.Update = r.Flag(), u.Console = r.Flag();
    u.Keyword = r.Flag(), u.Invisible = r.Flag(), u.AutoAway = r.Flag(), u.Codepage = r.Number() & 0xFFFF;
    u.EnableNickLen = r.Flag(), u.NickLen = r.Number(), u.LoginCommands = r.List(), u.AutoOpMasks = r.List();
    u.MacroFiles = r.List(), u.MacroHeaderWidth = r.Number(), u.ScriptFiles = r.List();
    u.ScriptHeaderWidth = r.Number(), u.EnableSocks = r.Flag(), u.SocksHostname = r.Text();
    u.SocksPort = r.Number(), u.SocksVersion = r.Number(), u.EnableSocksAuth = r.Flag();
    u.SocksUsername = r.Text(), u.SocksPassword = r.Text(), u.ExtraFlag = r.Flag();
    u.Channels.resize(r.Below(4));
    for (TChannelConfig& c : u.Channels) {
        c.Name = r.Text(), c.Password = r.Text(), c.Mode = r.Text(), c.Topic = r.Text(), c.ExtraText = r.Text();
        c.AutoJoin = r.Flag(), c.Update = r.Flag(), c.Console = r.Flag(), c.Keyword = r.Flag();
        c.AutoOpMasks = r.List(), c.ExtraFlag = r.Flag();
    }
    return u;
}

} // namespace

TEST_F(ServerTreeTest, RandomTreesSurviveSaveAndLoad)
{
    TRandom random;
    for (int round = 0; round < 8; round++) {
        config.world = TWorldConfig();
        config.world.AutoOpMasks = random.List();
        config.world.IgnoreMasks = random.List();
        config.world.Units.resize(random.Below(5) + (round == 7 ? 101 : 0)); // three-digit indexes too
        for (TUnitConfig& unit : config.world.Units)
            unit = RandomUnit(random);
        TWorldConfig original = config.world;
        ASSERT_TRUE(config.SaveServerTree());
        CStringA first = ReadFileBytes(TreePath());
        config.world = TWorldConfig();
        config.LoadServerTree();
        // Every stored field came back if saving the loaded tree writes the same bytes.
        ASSERT_TRUE(config.SaveServerTree());
        EXPECT_EQ(ReadFileBytes(TreePath()), first);
        ASSERT_EQ(config.world.Units.size(), original.Units.size());
        for (size_t i = 0; i < original.Units.size(); i++) {
            EXPECT_EQ(config.world.Units[i].AltNickList, original.Units[i].AltNickList);
            EXPECT_FALSE(config.world.Units[i].ExtraFlag);
        }
    }
}

TEST_F(ServerTreeTest, MissingKeysReadAsTheFileDefaults)
{
    LoadTree("[World]\r\nUnit.Count=2\r\n"
             "[Unit.00]\r\nChannel.Count=1\r\nAltServer.Count=1\r\n"
             "LoginCommand.Count=3\r\nLoginCommand.00=first\r\nLoginCommand.01=\r\nLoginCommand.02=third\r\n");
    ASSERT_EQ(config.world.Units.size(), 2u);
    const TUnitConfig& first = config.world.Units[0];
    ASSERT_EQ(first.Channels.size(), 1u);
    EXPECT_EQ(first.Channels[0].Mode, L""); // not the record's "+sn" and auto-join
    EXPECT_FALSE(first.Channels[0].AutoJoin);
    EXPECT_TRUE(first.Channels[0].Update && first.Channels[0].Console && first.Channels[0].Keyword);
    ASSERT_EQ(first.AltServers.size(), 1u);
    EXPECT_EQ(first.AltServers[0].Port, 6667);
    EXPECT_EQ(first.LoginCommands, (std::vector<CString>{L"first", L"third"}));
    const TUnitConfig& second = config.world.Units[1];
    EXPECT_EQ(second.Port, 6667);
    EXPECT_EQ(second.Codepage, 50221);
    EXPECT_EQ(second.AwayMessage, L"Gone");
}

TEST_F(ServerTreeTest, PasswordDecodesOnlyUnderVersionOne)
{
    LoadTree("[World]\r\nUnit.Count=4\r\n"
             "[Unit.00]\r\nPassword=plain\r\n"
             "[Unit.01]\r\nPasswordVersion=0\r\nPassword=\r\nEnablePassword=true\r\n"
             "[Unit.02]\r\nPasswordVersion=1\r\nPassword=GDHC\r\n"
             "[Unit.03]\r\nPasswordVersion=2\r\nPassword=GDHC\r\nEnablePassword=false\r\n");
    const std::vector<TUnitConfig>& units = config.world.Units;
    ASSERT_EQ(units.size(), 4u);
    EXPECT_TRUE(units[0].Password == L"plain" && units[0].EnablePassword);
    EXPECT_FALSE(units[1].EnablePassword);
    EXPECT_TRUE(units[2].Password == L"ap" && !units[2].EnablePassword);
    EXPECT_TRUE(units[3].Password == L"GDHC" && units[3].EnablePassword);
    ASSERT_TRUE(config.SaveServerTree());
    CStringA saved = ReadFileBytes(TreePath());
    EXPECT_LT(saved.Find("=plain"), 0);
    EXPECT_GE(saved.Find("PasswordVersion=1\r\nPassword=HCGOGDGLGQ\r\n"), 0);
}

TEST_F(ServerTreeTest, CodePageFallsBackToTheOldEncodingKey)
{
    LoadTree("[World]\r\nUnit.Count=5\r\n[Unit.00]\r\nEncoding=1\r\n[Unit.01]\r\nEncoding=0\r\n"
             "[Unit.03]\r\nCodepage=0\r\nEncoding=1\r\n[Unit.04]\r\nCodepage=-5\r\nEncoding=1\r\n");
    std::vector<int> pages;
    for (const TUnitConfig& unit : config.world.Units)
        pages.push_back(unit.Codepage);
    EXPECT_EQ(pages, (std::vector<int>{65001, 50221, 50221, 0, 65001}));
    ASSERT_TRUE(config.SaveServerTree());
    EXPECT_LT(ReadFileBytes(TreePath()).Find("Encoding=1"), 0);
}

TEST_F(ServerTreeTest, FileLayoutOfAServer)
{
    config.LoadServerTree(); // no file: an empty tree
    EXPECT_TRUE(config.world.Units.empty());
    config.world.Units.resize(1);
    config.world.Units[0].Channels.resize(1);
    ASSERT_TRUE(config.SaveServerTree()); // creates the settings folder too
    EXPECT_EQ(ReadFileBytes(TreePath()),
              "Encoding=UTF-8\r\n\r\n[World]\r\n\r\nAutoOp.Count=0\r\nIgnore.Count=0\r\nUnit.Count=1\r\n\r\n"
              "[Unit.00]\r\n\r\nName=\r\nHostname=\r\nPort=6667\r\nUseSSL=false\r\nEnablePassword=false\r\n"
              "PasswordVersion=1\r\nPassword=\r\nNick=\r\nUsername=\r\nRealname=\r\nAltNicks=\r\n"
              "PartMessage=Leaving...\r\nQuitMessage=Leaving...\r\nAwayMessage=Gone\r\nUserInfo=\r\n"
              "AutoConnect=false\r\nUpdate=true\r\nConsole=true\r\nKeyword=true\r\nInvisible=true\r\n"
              "AutoAway=false\r\nEnableNickLen=false\r\nNickLen=9\r\nCodepage=50221\r\nMacroHeaderWidth=60\r\n"
              "ScriptHeaderWidth=60\r\nEnableSocks=false\r\nSocksHostname=\r\nSocksPort=1080\r\nSocksVersion=4\r\n"
              "EnableSocksAuth=false\r\nSocksUsername=\r\nSocksPassword=\r\nAltServer.Count=0\r\n"
              "LoginCommand.Count=0\r\nAutoOp.Count=0\r\nMacroFile.Count=0\r\nScriptFile.Count=0\r\n"
              "Channel.Count=1\r\nChannel.00.Name=\r\nChannel.00.Password=\r\nChannel.00.Mode=+sn\r\n"
              "Channel.00.Topic=\r\nChannel.00.AutoJoin=true\r\nChannel.00.Update=true\r\n"
              "Channel.00.Console=true\r\nChannel.00.Keyword=true\r\nChannel.00.AutoOp.Count=0\r\n");
}

TEST_F(ServerTreeTest, AbsurdCountsInADamagedFileStayBounded)
{
    LoadTree("[World]\r\nUnit.Count=2000000000\r\nAutoOp.Count=2000000000\r\n"
             "[Unit.00]\r\nName=real\r\nChannel.Count=2000000000\r\nChannel.00.Name=#c\r\n"
             "Channel.00.AutoOp.Count=2000000000\r\nLoginCommand.Count=2000000000\r\n"
             "LoginCommand.1999999999=far\r\n");
    ASSERT_FALSE(config.world.Units.empty());
    EXPECT_LT(config.world.Units.size(), 100u);
    EXPECT_EQ(config.world.Units[0].Name, L"real");
    ASSERT_FALSE(config.world.Units[0].Channels.empty());
    EXPECT_EQ(config.world.Units[0].Channels[0].Name, L"#c");
    EXPECT_LT(config.world.Units[0].Channels.size(), 100u);
    EXPECT_EQ(config.world.Units[0].LoginCommands, (std::vector<CString>{L"far"}));
}

TEST_F(ServerTreeTest, ItemsFarBehindAGapInTheNumberingAreKept)
{
    LoadTree("[World]\r\nUnit.Count=40\r\nIgnore.Count=60\r\nIgnore.59.Mask=*!*@late\r\n"
             "[Unit.00]\r\nName=first\r\n"
             "[Unit.39]\r\nName=last\r\nLoginCommand.Count=50\r\nLoginCommand.45=/join #x\r\nLoginCommand.5=odd\r\n"
             "Channel.Count=30\r\nChannel.29.Name=#late\r\nAltServer.Count=25\r\nAltServer.24.Port=7000\r\n");
    ASSERT_EQ(config.world.Units.size(), 40u);
    EXPECT_EQ(config.world.IgnoreMasks, (std::vector<CString>{L"*!*@late"}));
    const TUnitConfig& last = config.world.Units[39];
    EXPECT_EQ(last.Name, L"last");
    EXPECT_EQ(last.LoginCommands, (std::vector<CString>{L"/join #x"})); // "5" is not how index 5 is written
    ASSERT_EQ(last.Channels.size(), 30u);
    EXPECT_EQ(last.Channels[29].Name, L"#late");
    ASSERT_EQ(last.AltServers.size(), 25u);
    EXPECT_EQ(last.AltServers[24].Port, 7000);
}

TEST_F(ServerTreeTest, InterruptedSaveLeavesThePreviousTree)
{
    config.world.Units.resize(1);
    ASSERT_TRUE(config.SaveServerTree());
    CStringA previous = ReadFileBytes(TreePath());
    config.world.Units[0].Name = L"new";
    for (int budget = 0;; budget += 5) {
        SimulateWriteFailureAfter(budget);
        bool saved = config.SaveServerTree();
        SimulateWriteFailureAfter(-1);
        if (saved)
            break;
        ASSERT_EQ(ReadFileBytes(TreePath()), previous) << budget;
    }
    config.LoadServerTree();
    EXPECT_EQ(config.world.Units.at(0).Name, L"new");
    EXPECT_EQ(CountEntries(config.settingsFolder), 1);
}
