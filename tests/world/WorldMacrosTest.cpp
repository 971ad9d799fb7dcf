// Every unit of the world follows a change of the macro files: renamed and deleted files leave
// the servers' lists, and a reset makes each engine read its enabled files again.

#include "settings/Config.h"
#include "settings/Preference.h"
#include "settings/ServerConfig.h"
#include "tests/common/TempFolder.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/NoWorldHost.h"
#include "world/IRCWorld.h"

#include <gtest/gtest.h>

namespace {

class WorldMacros : public ::testing::Test {
protected:
    void SetUp() override
    {
        config.preference.Load(folder.path);
        config.view.Load(config);
        config.macroFolder = config.filesFolder = folder.path;
        for (const auto& [name, files] : {std::pair<const wchar_t*, std::vector<CString>>{L"one", {L"a", L"b"}},
                                          std::pair<const wchar_t*, std::vector<CString>>{L"two", {L"b"}}}) {
            TUnitConfig unit;
            unit.Name = name;
            unit.MacroFiles = files;
            config.world.Units.push_back(unit);
        }
        world = std::make_unique<TIRCWorld>(&config, &host);
        world->CreateUnitsFromSettings();
        ASSERT_EQ(2u, world->GetUnits().size());
    }
    // A rule that answers "!ver" in any channel by adding the text to "out.txt".
    bool WriteMacroFile(const wchar_t* name, const char* text)
    {
        return WriteFileBytes(folder.File(name), CStringA("1\tEncoding=UTF-8\r\n0\t\t\t*\tPRIVMSG\t*\t!ver\t0\t0\t"
                                                          "appendfile\tout.txt\t") +
                                                     text + "\t0\r\n");
    }
    std::vector<CString> Enabled(int unit) { return world->GetUnits()[unit]->GetSettings().MacroFiles; }
    std::vector<CString> Engine(int unit) { return world->GetUnits()[unit]->GetMacroManager().GetFileNames(); }

    TTempFolder folder;
    TConfig config;
    TNoHost host;
    std::unique_ptr<TIRCWorld> world;
};

} // namespace

TEST_F(WorldMacros, RenamesAndDeletionsReachEveryUnitAndItsEngine)
{
    using Names = std::vector<CString>;
    for (TIRCUnit* unit : world->GetUnits())
        EXPECT_EQ(config.GetFilesFolder(), unit->GetMacroManager().GetFilesFolder());
    EXPECT_EQ(Engine(0), (Names{L"a", L"b"}));

    world->RenameMacroFileInAllUnits(L"b", L"c");
    EXPECT_EQ(Enabled(0), (Names{L"a", L"c"}));
    EXPECT_EQ(Enabled(1), Names{L"c"});
    EXPECT_EQ(Engine(0), (Names{L"a", L"c"}));
    EXPECT_EQ(Engine(1), Names{L"c"});

    world->RemoveMacroFileFromAllUnits(L"a");
    EXPECT_EQ(Enabled(0), Names{L"c"});
    EXPECT_EQ(Engine(0), Names{L"c"});

    // A reset reads the lists again: an engine that dropped a file gets it back.
    TIRCUnit* unit = world->GetUnits()[1];
    unit->GetMacroManager().SetFileNames({});
    world->ResetAllMacros();
    EXPECT_EQ(Engine(1), Names{L"c"});
    EXPECT_FALSE(unit->GetMacroManager().IsLoaded());
}

TEST_F(WorldMacros, ServerPropertiesReadEveryMacroFileAgainEvenWhenTheListStaysTheSame)
{
    TIRCUnit* unit = world->GetUnits()[1];
    ASSERT_TRUE(WriteMacroFile(L"b.kmf", "first"));
    FeedLine(*unit, ":bob!b@h PRIVMSG #room :!ver");
    ASSERT_TRUE(unit->GetMacroManager().IsLoaded());

    // Edited outside the program, then the server's properties confirmed without a change.
    ASSERT_TRUE(WriteMacroFile(L"b.kmf", "second"));
    world->ApplyServerSettings(unit, config.world.Units[1], config.world.Units[1]);
    FeedLine(*unit, ":bob!b@h PRIVMSG #room :!ver");
    EXPECT_EQ(ReadFileLines(folder.File(L"out.txt")), (std::vector<std::string>{"first", "second"}));
}
