#pragma once
// The world attached to a test main window: servers added to the settings, then built as the
// program builds them at start.

#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/TestWorldFrame.h"

#include "world/IRCWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

class TWorldWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareConfig(config, folder.path);
        ASSERT_TRUE(frame.Create(config));
    }
    void TearDown() override
    {
        if (world)
            world->Shutdown();
        world.reset();
        frame.DestroyWindow();
    }
    TUnitConfig& AddServer(const wchar_t* name, std::initializer_list<const wchar_t*> channels = {})
    {
        TUnitConfig unit;
        unit.Name = name;
        unit.Nick = L"kvself";
        for (const wchar_t* channel : channels) {
            unit.Channels.emplace_back();
            unit.Channels.back().Name = channel;
        }
        config.world.Units.push_back(unit);
        return config.world.Units.back();
    }
    TIRCWorld& Build(const TLogAddressFinder* finder = nullptr)
    {
        world = std::make_unique<TIRCWorld>(&config, &frame, finder);
        world->Attach(&frame);
        world->CreateUnitsFromSettings();
        PumpPendingMessages();
        return *world;
    }
    // The server's unit registered as kvself and welcomed, without a socket: what it sends stays
    // queued.
    TIRCUnit* LogInOffline(const wchar_t* server)
    {
        TIRCUnit* unit = world->FindUnit(server);
        unit->GetConnection().transport.active = true;
        TIRCUnitSession& session = unit->GetSession();
        session.currentNick = session.firstNick = session.secondNick = session.wantedNick = L"kvself";
        session.state = TIRCUnit::StateConnecting;
        unit->OnConnect(&unit->GetConnection());
        FeedLine(*unit, ":irc.example 001 kvself :Welcome");
        return unit;
    }
    HTREEITEM Item(TIRCUnit* unit, TIRCChannel* channel = nullptr)
    {
        HTREEITEM item = world->FindUnitTreeItem(unit);
        return channel ? world->FindChannelTreeItem(item, channel) : item;
    }
    POINT ItemPoint(HTREEITEM item) { return ::ItemPoint(frame.tree.m_hWnd, item); }
    void ClickItem(HTREEITEM item) { ClickAt(ItemPoint(item)); }
    std::vector<CString> Children(HTREEITEM parent)
    {
        std::vector<CString> names;
        for (HTREEITEM item = parent == TVI_ROOT ? frame.tree.GetRootItem() : frame.tree.GetChildItem(parent); item;
             item = frame.tree.GetNextSiblingItem(item))
            names.push_back(frame.tree.GetItemText(item));
        return names;
    }
    CWnd* ShownLog() { return frame.chat.cards.GetCurrentCard(); }
    CWnd* ShownMemberList() { return frame.members.GetCurrentCard(); }
    using TNode = std::pair<TIRCUnit*, TIRCChannel*>;
    // The selected unit and channel; no channel when the unit itself is selected.
    TNode Selected()
    {
        TNode node;
        world->GetSelection(node.first, node.second);
        return node;
    }

    TTempFolder folder;
    TConfig config;
    TTestWorldFrame frame;
    std::unique_ptr<TIRCWorld> world;
};

// Two servers: "net" with #alpha and #beta, "home" with #gamma. Prepare builds the world.
class TTwoServersTest : public TWorldWindowTest {
protected:
    void SetUp() override
    {
        TWorldWindowTest::SetUp();
        AddServer(L"net", {L"#alpha", L"#beta"});
        AddServer(L"home", {L"#gamma"});
    }
    void Prepare(const TLogAddressFinder* finder = nullptr)
    {
        Build(finder);
        net = world->FindUnit(L"net");
        home = world->FindUnit(L"home");
        alpha = net->FindChannel(L"#alpha");
        beta = net->FindChannel(L"#beta");
        gamma = home->FindChannel(L"#gamma");
    }

    TIRCUnit* net = nullptr;
    TIRCUnit* home = nullptr;
    TIRCChannel* alpha = nullptr;
    TIRCChannel* beta = nullptr;
    TIRCChannel* gamma = nullptr;
};
