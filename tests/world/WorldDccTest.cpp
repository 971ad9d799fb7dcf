// The world's one DCC manager: every unit hands it offers and nick changes, and a unit the user
// removed no longer prints the results of its transfers.

#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"
#include "tests/world/common/NoWorldHost.h"

#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WorldDccTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        config.preference.Load(folder.path);
        config.preference.DCCRootDir = downloads.path;
        config.preference.DCCReceiveAction = 1;
        config.preference.HideFileInReceiving = false;
        config.view.Load(config);
        for (const wchar_t* name : {L"one", L"two"}) {
            TUnitConfig unit;
            unit.Name = name;
            unit.Hostname = L"127.0.0.1";
            unit.Nick = L"me";
            config.world.Units.push_back(unit);
        }
        world = std::make_unique<TIRCWorld>(&config, &host);
        world->CreateUnitsFromSettings();
    }
    void Offer(TIRCUnit* unit, const char* file, int port, int size)
    {
        FeedLine(*unit, ":alice!user@127.0.0.1 PRIVMSG me :\x01"
                        "DCC SEND " +
                            std::string(file) + " 2130706433 " + std::to_string(port) + " " + std::to_string(size) +
                            "\x01");
    }

    TTempFolder folder, downloads;
    TConfig config;
    TNoHost host;
    std::unique_ptr<TIRCWorld> world;
};

TEST_F(WorldDccTest, OffersOfEveryUnitReachTheOneManager)
{
    TIRCUnit* one = world->FindUnit(L"one");
    TIRCUnit* two = world->FindUnit(L"two");
    Offer(one, "a.bin", 5000, 100);
    Offer(two, "b.bin", 5000, 100);
    // The item keeps a path's steps in one safe name inside the download folder.
    Offer(two, "..\\..\\evil.exe", 5001, 100);
    const std::vector<TDCCReceiveItem*>& items = world->GetDCCManager().GetReceiveItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->GetUnit(), one);
    EXPECT_EQ(items[1]->GetUnit(), two);
    EXPECT_EQ(items[2]->GetFileName(), L".._.._evil.exe");
    EXPECT_EQ(items[2]->GetFolder(), downloads.path);

    // A nick change seen on one server leaves the other server's item alone.
    FeedLine(*one, ":alice!user@127.0.0.1 NICK :alice2");
    EXPECT_EQ(items[0]->GetNick(), L"alice2");
    EXPECT_EQ(items[1]->GetNick(), L"alice");
}

TEST_F(WorldDccTest, AnOfferedPathIsSavedAsOneNameInTheDownloadFolder)
{
    TPeer peer;
    peer.Send("0123456789").Drain(1000).Run();
    Offer(world->FindUnit(L"one"), "dir/a?b.txt", peer.Port(), 10);
    ASSERT_EQ(world->GetDCCManager().GetReceiveItems().size(), 1u);
    TDCCReceiveItem* item = world->GetDCCManager().GetReceiveItems().back();
    item->StartReceive();
    ASSERT_TRUE(PumpMessagesUntil([&] { return item->GetState() == DCC_STATE_COMPLETE; }, 10000))
        << "state " << item->GetState();
    EXPECT_EQ(ReadFileString(downloads.File(L"dir_a_b.txt")), "0123456789");
    EXPECT_EQ(CountEntries(downloads.path), 1);
}

TEST_F(WorldDccTest, ARemovedUnitsTransferStillEndsSafely)
{
    TIRCUnit* one = world->FindUnit(L"one");
    TPeer peer;
    peer.Send(std::string(300, 'x')).Run();
    Offer(one, "cut.bin", peer.Port(), 1000);
    TDCCReceiveItem* item = world->GetDCCManager().GetReceiveItems().back();
    world->DeleteUnit(one);
    EXPECT_FALSE(world->HasUnit(one));
    EXPECT_EQ(item->GetUnit(), nullptr) << "a unit made later at the same address must not own it";
    item->StartReceive();
    ASSERT_TRUE(PumpMessagesUntil([&] { return item->GetState() == DCC_STATE_ERROR; }, 10000));
    EXPECT_EQ(item->GetPosition(), 300);
}

} // namespace
