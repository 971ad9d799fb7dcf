// The world's server tree on a real tree control: items for units, channels and talks, and a
// click on an item that makes its node the world's selection.

#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/WorldWindowTest.h"

namespace {

class WorldTreeTest : public TWorldWindowTest {
protected:
    void SetUp() override
    {
        TWorldWindowTest::SetUp();
        AddServer(L"net", {L"#alpha", L"#beta"});
        AddServer(L"home", {L"#gamma"});
        Build();
    }
};

TEST_F(WorldTreeTest, ServersAndTheirChannelsBecomeItemsWithTheFirstServerSelected)
{
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"net", L"home"}));
    TIRCUnit* net = world->FindUnit(L"net");
    HTREEITEM netItem = world->FindUnitTreeItem(net);
    EXPECT_EQ(Children(netItem), (std::vector<CString>{L"#alpha", L"#beta"}));
    TIRCUnit* unit;
    TIRCChannel* channel;
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, net);
    EXPECT_EQ(channel, nullptr);
}

TEST_F(WorldTreeTest, ChannelsGoBeforeTalksAndTalksGoLast)
{
    TIRCUnit* home = world->FindUnit(L"home");
    HTREEITEM homeItem = world->FindUnitTreeItem(home);
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
    TIRCUnit* home = world->FindUnit(L"home");
    HTREEITEM homeItem = world->FindUnitTreeItem(home);
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
    } rows[] = {{nullptr, 1}, {home->FindChannel(L"#gamma"), 3}, {manual, 4}, {talk, 5}};
    for (const auto& row : rows) {
        world->RefreshTreeItem(home, row.channel);
        HTREEITEM item = row.channel ? world->FindChannelTreeItem(homeItem, row.channel) : homeItem;
        EXPECT_EQ(ItemImage(frame.tree, item), row.image) << "expected image " << row.image;
    }
}

TEST_F(WorldTreeTest, ClickOnAChannelItemSelectsItsNodeAndClearsItsMarks)
{
    TIRCUnit* home = world->FindUnit(L"home");
    TIRCChannel* gamma = home->FindChannel(L"#gamma");
    gamma->keywordMark = gamma->updateMark = true;
    ClickItem(Item(home, gamma));
    TIRCUnit* unit;
    TIRCChannel* channel;
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, home);
    EXPECT_EQ(channel, gamma);
    EXPECT_FALSE(gamma->keywordMark);
    EXPECT_FALSE(gamma->updateMark);
    SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"world-tree.png"));
}

TEST_F(WorldTreeTest, SelectFromCodeMovesTheTreeAndGoneNodesSelectNothing)
{
    TIRCUnit* net = world->FindUnit(L"net");
    TIRCChannel* beta = net->FindChannel(L"#beta");
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
    TIRCUnit* home = world->FindUnit(L"home");
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
