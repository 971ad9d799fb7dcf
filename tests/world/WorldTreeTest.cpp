// The world's server tree on a real tree control: items for units, channels and talks, and a
// click on an item that makes its node the world's selection.

#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/WorldWindowTest.h"

namespace {

class WorldTreeTest : public TTwoServersTest {
protected:
    void SetUp() override
    {
        TTwoServersTest::SetUp();
        Prepare();
    }
};

TEST_F(WorldTreeTest, ServersAndTheirChannelsBecomeItemsWithTheFirstServerSelected)
{
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"net", L"home"}));
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#alpha", L"#beta"}));
    EXPECT_EQ(Selected(), TNode(net, nullptr));
}

TEST_F(WorldTreeTest, ChannelsGoBeforeTalksAndTalksGoLast)
{
    HTREEITEM homeItem = Item(home);
    TChannelConfig record;
    record.Name = L"peer";
    world->InsertChannelTreeItem(homeItem, home->AddChannel(record, TIRCChannel::KindTalk));
    record.Name = L"#delta";
    world->InsertChannelTreeItem(homeItem, home->AddChannel(record, TIRCChannel::KindChannel));
    record.Name = L"other";
    world->InsertChannelTreeItem(homeItem, home->AddChannel(record, TIRCChannel::KindTalk));
    EXPECT_EQ(Children(homeItem), (std::vector<CString>{L"#gamma", L"#delta", L"peer", L"other"}));
}

int ItemImage(const TTreeView& tree, HTREEITEM item)
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    tree.GetItem(&tv);
    return tv.iImage;
}

TEST_F(WorldTreeTest, ItemImagesFollowTheNodeState)
{
    HTREEITEM homeItem = Item(home);
    TChannelConfig record;
    record.Name = L"#manual";
    record.AutoJoin = false;
    TIRCChannel* manual = home->AddChannel(record, TIRCChannel::KindChannel);
    world->InsertChannelTreeItem(homeItem, manual);
    record.Name = L"peer";
    TIRCChannel* talk = home->AddChannel(record, TIRCChannel::KindTalk);
    world->InsertChannelTreeItem(homeItem, talk);
    struct {
        TIRCChannel* channel;
        int image;
    } rows[] = {{nullptr, 1}, {gamma, 3}, {manual, 4}, {talk, 5}};
    for (const auto& row : rows) {
        world->RefreshTreeItem(home, row.channel);
        HTREEITEM item = row.channel ? world->FindChannelTreeItem(homeItem, row.channel) : homeItem;
        EXPECT_EQ(ItemImage(frame.tree, item), row.image) << "expected image " << row.image;
    }
}

TEST_F(WorldTreeTest, ClickOnAChannelItemSelectsItsNodeAndClearsItsMarks)
{
    gamma->keywordMark = gamma->updateMark = true;
    ClickItem(Item(home, gamma));
    EXPECT_EQ(Selected(), TNode(home, gamma));
    EXPECT_FALSE(gamma->keywordMark);
    EXPECT_FALSE(gamma->updateMark);
    SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"world-tree.png"));
}

TEST_F(WorldTreeTest, SelectFromCodeMovesTheTreeAndGoneNodesSelectNothing)
{
    world->Select(net, beta);
    EXPECT_EQ(frame.tree.GetItemText(frame.tree.GetSelectedItem()), CString(L"#beta"));
    // A pointer kept from an earlier event that no longer names a unit.
    world->Select((TIRCUnit*)&config, nullptr);
    world->RefreshTreeItem((TIRCUnit*)&config, nullptr);
    EXPECT_EQ(frame.tree.GetSelectedItem(), nullptr);
}

// The server names a channel as the tree's alias "%jp" (the node of "#jp:*.jp"): the own JOIN
// finds no node to enter and can make none, and then only stores the tree.
TEST_F(WorldTreeTest, AnOwnJoinThatMakesNoNodeOnlyStoresTheTree)
{
    TChannelConfig record;
    record.Name = L"%jp";
    world->AddChannelNode(home, record, TIRCChannel::KindChannel);
    CString treeFile = config.GetSettingsFolder() + L"tree.ini";
    DeleteFileW(treeFile);
    FeedLine(*home, ":irc.example 001 kvself :Welcome");
    FeedLine(*home, ":kvself!u@h JOIN :%jp");
    EXPECT_EQ(Children(Item(home)), (std::vector<CString>{L"#gamma", L"%jp"}));
    EXPECT_NE(ReadFileString(treeFile).find("%jp"), std::string::npos) << "the tree was stored";
}

} // namespace
