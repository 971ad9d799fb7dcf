// The world's server tree on a real tree control: items for units, channels and talks, and a
// click on an item that makes its node the world's selection.

#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"

#include "irc/IRCWorld.h"
#include "settings/Preference.h"
#include "settings/ServerConfig.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TNoHost : public IIRCWorldHost {
public:
    void CopyTextToClipboard(const CString&) override {}
    int FindActionCommand(const CString&) override { return 0; }
};

// A frame whose message map hands the tree its reflected notifications.
class TTreeFrame : public CWnd {};

class WorldTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        preference.Load(folder.path);
        ASSERT_TRUE(frame.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_WINDOW + 1)),
                                   L"tree", WS_POPUP | WS_VISIBLE, 20, 20, 260, 300, nullptr, nullptr));
        ASSERT_TRUE(tree.CreateEx(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_SHOWSELALWAYS,
                                  0, 0, 260, 300, frame.m_hWnd, (HMENU)1));
        AddServer(L"net", {L"#alpha", L"#beta"});
        AddServer(L"home", {L"#gamma"});
        world = std::make_unique<TIRCWorld>(&preference, &config, nullptr, &host);
        world->Attach(&tree);
        world->CreateUnitsFromSettings();
        PumpMessagesFor(100);
    }
    void TearDown() override
    {
        world.reset();
        frame.DestroyWindow();
    }
    void AddServer(const wchar_t* name, std::vector<const wchar_t*> channels)
    {
        TUnitConfig unit;
        unit.Name = name;
        for (const wchar_t* channel : channels) {
            unit.Channels.emplace_back();
            unit.Channels.back().Name = channel;
        }
        config.Units.push_back(unit);
    }
    std::vector<CString> Children(HTREEITEM parent)
    {
        std::vector<CString> names;
        for (HTREEITEM item = tree.GetNextItem(parent, parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD); item;
             item = tree.GetNextSiblingItem(item))
            names.push_back(tree.GetItemText(item));
        return names;
    }
    void ClickItem(HTREEITEM item)
    {
        RECT rect;
        tree.GetItemRect(item, &rect, TRUE);
        ClickAt(ScreenPointOf(tree.m_hWnd, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        PumpMessagesFor(100);
    }

    TTempFolder folder;
    TPreference preference;
    TWorldConfig config;
    TNoHost host;
    TTreeFrame frame;
    TTreeView tree;
    std::unique_ptr<TIRCWorld> world;
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
        EXPECT_EQ(ItemImage(tree, item), row.image) << "expected image " << row.image;
    }
}

TEST_F(WorldTreeTest, ClickOnAChannelItemSelectsItsNodeAndClearsItsMarks)
{
    TIRCUnit* home = world->FindUnit(L"home");
    TIRCChannel* gamma = home->FindChannel(L"#gamma");
    gamma->keywordMark = gamma->updateMark = true;
    ClickItem(world->FindChannelTreeItem(world->FindUnitTreeItem(home), gamma));
    TIRCUnit* unit;
    TIRCChannel* channel;
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, home);
    EXPECT_EQ(channel, gamma);
    EXPECT_FALSE(gamma->keywordMark);
    EXPECT_FALSE(gamma->updateMark);
    EXPECT_TRUE(SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"world-tree.png")));
}

TEST_F(WorldTreeTest, SelectFromCodeMovesTheTreeAndGoneNodesSelectNothing)
{
    TIRCUnit* net = world->FindUnit(L"net");
    TIRCChannel* beta = net->FindChannel(L"#beta");
    world->Select(net, beta);
    EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), CString(L"#beta"));
    // A pointer kept from an earlier event that no longer names a unit.
    world->Select((TIRCUnit*)&config, nullptr);
    world->RefreshTreeItem((TIRCUnit*)&config, nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
}

} // namespace
