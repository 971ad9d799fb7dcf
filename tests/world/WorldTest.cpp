// The world without windows: units from the server tree, automatic connects, the tick and its
// clipboard queue, and the request-dialog limits.

#include "tests/common/FreedMemory.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include "foundation/CodePage.h"
#include "settings/Config.h"
#include "settings/PopupFile.h"
#include "settings/Preference.h"
#include "settings/ServerConfig.h"
#include "world/IRCWorld.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <memory>
#include <utility>

namespace {

class TClipboardRecorder : public IIRCWorldHost {
public:
    void CopyTextToClipboard(const CString& text) override { copied.push_back(text); }
    int FindActionCommand(const CString& name) override { return name == L"Connect" ? 500 : 0; }
    std::vector<CString> copied;
};

using TNode = std::pair<TIRCUnit*, TIRCChannel*>;

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        preference.Load(folder.path);
        config.view.Load(config);
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        // A listener that never accepts: a connect to it only has to start.
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        ASSERT_EQ(bind(listener, (sockaddr*)&address, size), 0);
        ASSERT_EQ(listen(listener, 8), 0);
        getsockname(listener, (sockaddr*)&address, &size);
        port = ntohs(address.sin_port);
    }
    void TearDown() override
    {
        world.reset();
        closesocket(listener);
        WSACleanup();
    }
    void AddServer(const wchar_t* name, bool autoConnect, std::vector<const wchar_t*> channels = {})
    {
        TUnitConfig unit;
        unit.Name = name;
        unit.Hostname = L"127.0.0.1";
        unit.Port = port;
        unit.AutoConnect = autoConnect;
        for (const wchar_t* channel : channels) {
            unit.Channels.emplace_back();
            unit.Channels.back().Name = channel;
        }
        tree.Units.push_back(unit);
    }
    TIRCWorld& Build()
    {
        world = std::make_unique<TIRCWorld>(&config, &host);
        world->CreateUnitsFromSettings();
        return *world;
    }
    // -1 not started, 0 connecting now, else the seconds it waits.
    int Start(const wchar_t* name)
    {
        TIRCUnit* unit = world->FindUnit(name);
        if (unit->GetState() != TIRCUnit::StateDisconnected)
            return 0;
        const TIRCUnitSession& session = unit->GetSession();
        return session.delayedConnect ? session.delayedConnectCountdown : -1;
    }
    TNode Selected()
    {
        TNode node;
        world->GetSelection(node.first, node.second);
        return node;
    }

    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    TTempFolder folder;
    TConfig config;
    TPreference& preference = config.preference;
    TWorldConfig& tree = config.world;
    TNullUnitListener views;
    TClipboardRecorder host;
    std::unique_ptr<TIRCWorld> world;
};

TEST_F(WorldTest, UnitsComeFromTheServerTreeInOrder)
{
    AddServer(L"one", false, {L"#a", L"#b"});
    AddServer(L"two", false);
    Build();
    ASSERT_EQ(world->GetUnits().size(), 2u);
    EXPECT_EQ(world->GetUnits()[0]->GetName(), L"one");
    EXPECT_NE(world->GetUnits()[0]->FindChannel(L"#b"), nullptr);
    EXPECT_EQ(world->FindUnit(L"three"), nullptr);
    EXPECT_TRUE(world->HasUnit(world->FindUnit(L"two")));
    TIRCUnit stranger(&views, &preference, tree.Units[0]);
    EXPECT_FALSE(world->HasUnit(&stranger));
    EXPECT_FALSE(world->HasUnit(nullptr));
}

TEST_F(WorldTest, AutoConnectStartsServersThreeSecondsApart)
{
    const struct {
        const char* name;
        std::vector<CString> names;
        bool control;
        int a, b, c;
    } cases[] = {
        {"named servers, unknown names skipped", {L"a", L"nosuch", L"c"}, false, 0, -1, 3},
        {"no name falls back to the marked servers", {}, false, 0, 3, -1},
        {"unknown names only fall back too", {L"nosuch"}, false, 0, 3, -1},
        {"order of the names counts", {L"c", L"a"}, false, 3, -1, 0},
        {"Ctrl held connects nothing", {L"a"}, true, -1, -1, -1},
    };
    for (const auto& c : cases) {
        tree.Units.clear();
        AddServer(L"a", true), AddServer(L"b", true), AddServer(L"c", false);
        Build().AutoConnect(c.names, c.control);
        EXPECT_EQ(Start(L"a"), c.a) << c.name;
        EXPECT_EQ(Start(L"b"), c.b) << c.name;
        EXPECT_EQ(Start(L"c"), c.c) << c.name;
    }
}

TEST_F(WorldTest, TickCountsDownDelayedConnectsAndCopiesOneTextEach)
{
    AddServer(L"a", true), AddServer(L"b", true);
    Build().AutoConnect({});
    world->QueueClipboardText(L"first");
    world->QueueClipboardText(L"second");
    world->Tick();
    EXPECT_EQ(host.copied, (std::vector<CString>{L"first"}));
    EXPECT_EQ(Start(L"b"), 2);
    world->Tick();
    world->Tick();
    EXPECT_EQ(host.copied, (std::vector<CString>{L"first", L"second"}));
    EXPECT_EQ(Start(L"b"), 0);
}

// A unit whose transport counts as open, so that what it sends stays queued.
bool HasQueued(TIRCUnit* unit)
{
    TIRCConnection& connection = unit->GetConnection();
    return connection.writing || !connection.normal.empty();
}

// Event data names nodes by serial number, as the unit writes it.
CString EventData(const TIRCNode* unit, const TIRCNode* channel)
{
    CString data;
    data.Format(L"%08X %08X", unit->GetSerial(), channel ? channel->GetSerial() : 0u);
    return data;
}

TEST_F(WorldTest, EventLinesOfDeletedNodesDoNothing)
{
    AddServer(L"a", false, {L"#x", L"#y"});
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    TIRCChannel* x = unit->FindChannel(L"#x");
    TIRCChannel* y = unit->FindChannel(L"#y");
    TIRCUnit stranger(&views, &preference, tree.Units[0]);
    CString gone = EventData(&stranger, stranger.FindChannel(L"#x"));
    CString both = EventData(unit, x);
    CString channelGone = EventData(unit, y);
    // A talk opened since in the closed channel's memory is not the line's channel.
    TFreedMemoryTrap trap(y);
    unit->DeleteChannel(y);
    TChannelConfig peer;
    peer.Name = L"peer";
    TIRCChannel* talk = unit->AddChannel(peer, TIRCChannel::KindTalk);
    ASSERT_EQ((void*)talk, (void*)y) << "the talk in the freed memory";
    const struct {
        const char* name;
        CString data;
        TIRCUnit* unit;
        TIRCChannel* channel;
    } cases[] = {
        {"unit and channel", both, unit, x},
        {"server line", CString(L"00000000 0"), nullptr, nullptr},
        {"deleted channel selects its unit", channelGone, unit, nullptr},
        {"talk opened since", EventData(unit, talk), unit, talk},
        {"unit of another world", gone, nullptr, nullptr},
        {"not hexadecimal", CString(L"zz 12"), nullptr, nullptr},
        {"empty", CString(), nullptr, nullptr},
    };
    for (const auto& c : cases) {
        world->Select(nullptr, nullptr);
        world->OnEventLineClick(true, c.data);
        EXPECT_EQ(Selected(), TNode(c.unit, c.channel)) << c.name;
    }

    unit->GetConnection().transport.active = true;
    stranger.GetConnection().transport.active = true;
    CString invite;
    invite.Format(L"INVITE %08X #z", stranger.GetSerial());
    world->OnEventLineClick(false, invite);
    EXPECT_FALSE(HasQueued(&stranger));
    invite.Format(L"invite %08X #z", unit->GetSerial());
    world->OnEventLineClick(false, invite);
    EXPECT_TRUE(HasQueued(unit));
    unit->GetConnection().transport.active = false;
    stranger.GetConnection().transport.active = false;
}

TEST_F(WorldTest, EnterSendsToTheSelectedUnitOnly)
{
    AddServer(L"a", false, {L"#x"});
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    unit->GetConnection().transport.active = true;
    world->Select(nullptr, nullptr);
    EXPECT_FALSE(world->SendInputLine(L"/join #x", false, false, false, true));
    world->Select(unit, nullptr);
    EXPECT_FALSE(world->SendInputLine(L"", false, false, false, true));
    EXPECT_FALSE(HasQueued(unit));
    EXPECT_TRUE(world->SendInputLine(L"/join #x", false, false, false, true));
    EXPECT_TRUE(HasQueued(unit));
    unit->GetConnection().transport.active = false;
}

TEST_F(WorldTest, TabCompletesFromTheSelectedChannelAndEnterEndsTheCycle)
{
    AddServer(L"a", false, {L"#x"});
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    TIRCChannel* x = unit->FindChannel(L"#x");
    x->GetMembers().AddMember(TIRCMember(L"nick", L"u", L"h"), false);
    x->GetMembers().AddMember(TIRCMember(L"nils", L"u", L"h"), false);
    TNickCompletionEdit edit;
    EXPECT_FALSE(world->CompleteNick(L"ni", 2, 2, true, edit));
    world->Select(unit, x);
    ASSERT_TRUE(world->CompleteNick(L"ni", 2, 2, true, edit));
    EXPECT_EQ(edit.insert, L"nick: ");
    ASSERT_TRUE(world->CompleteNick(L"nick: ", 6, 6, true, edit));
    EXPECT_EQ(edit.insert, L"nils: ");
    // After Enter the word before the caret is empty again.
    world->SendInputLine(L"", false, false, false, true);
    EXPECT_FALSE(world->CompleteNick(L"nick: ", 6, 6, true, edit));
}

TEST_F(WorldTest, EditedServerSettingsReachTheRunningUnit)
{
    AddServer(L"a", false, {L"#keep", L"#drop"});
    AddServer(L"b", false);
    AddServer(L"b_", false);
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    TChannelConfig talk;
    talk.Name = L"peer";
    unit->AddChannel(talk, TIRCChannel::KindTalk);
    world->Select(unit, unit->FindChannel(L"#drop"));

    TUnitConfig edited = tree.Units[0];
    edited.Name = L"b";
    edited.Codepage = 65001;
    edited.Channels.erase(edited.Channels.begin() + 1);
    edited.Channels.emplace_back();
    edited.Channels.back().Name = L"#new";
    edited.Channels[0].Password = L"key";
    world->ApplyServerSettings(unit, tree.Units[0], edited);

    EXPECT_EQ(unit->GetName(), L"b__");
    EXPECT_EQ(unit->FindChannel(L"#drop"), nullptr);
    ASSERT_NE(unit->FindChannel(L"#new"), nullptr);
    EXPECT_EQ(unit->FindChannel(L"#keep")->GetConfig().Password, L"key");
    EXPECT_NE(unit->FindChannel(L"peer"), nullptr);
    EXPECT_EQ(unit->GetSession().codePage, 65001);
    // The renamed unit stays selected; its selected channel went, so the unit itself is.
    EXPECT_EQ(Selected(), TNode(unit, nullptr));

    TIRCUnit stranger(&views, &preference, tree.Units[1]);
    world->ApplyServerSettings(&stranger, tree.Units[1], edited);
    EXPECT_EQ(stranger.GetName(), L"b");
}

TEST_F(WorldTest, SelectionOfADeletedChannelFallsBackToItsServer)
{
    AddServer(L"a", false, {L"#x"});
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    world->Select(unit, unit->FindChannel(L"#x"));
    unit->DeleteChannel(unit->FindChannel(L"#x"));
    EXPECT_EQ(Selected(), TNode(unit, nullptr));
    EXPECT_FALSE(world->SendInputLine(L"hello", false, false, false, true));
}

time_t NextDay(time_t*) { return time(nullptr) + 24 * 60 * 60; }

TEST_F(WorldTest, NewDayMovesTheLogFilesToTheirNewNames)
{
    preference.LogRootDir = folder.path + L"logs\\";
    preference.EnableUnitLog = true;
    AddServer(L"a", false);
    Build();
    TIRCUnit* unit = world->FindUnit(L"a");
    unit->PrintReply(L"today");
    TFileLogger& log = unit->GetServerLog();
    ASSERT_TRUE(log.IsOpen());
    CString today = log.GetCurrentPath();
    log.clock = NextDay;
    SYSTEMTIME now;
    GetLocalTime(&now);
    world->TickOn(now.wDay);
    EXPECT_EQ(log.GetCurrentPath(), today);
    world->TickOn(now.wDay % 28 + 1);
    EXPECT_NE(log.GetCurrentPath(), today);
    EXPECT_TRUE(log.IsOpen());
    log.clock = time;
}

// "text=id" per item, a submenu as "text[...]".
std::string DescribeMenu(HMENU menu)
{
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        out += (i ? " " : "") + Narrow(text);
        if (HMENU sub = GetSubMenu(menu, i))
            out += "[" + DescribeMenu(sub) + "]";
        else
            out += "=" + std::to_string(GetMenuItemID(menu, i));
    }
    return out;
}

TEST_F(WorldTest, PopupItemLevelsBecomeSubmenus)
{
    Build();
    const struct {
        int level;
        const wchar_t* name;
        const wchar_t* action;
        const wchar_t* info;
    } rows[] = {
        {0, L"A", L"", L""},
        {1, L"B", L"command", L""},
        {1, L"C\\tF2", L"command", L""},
        {0, L"D", L"MENU", L"Connect"},
        {0, L"E", L"menu", L"NoSuch"},
        {-3, L"F", L"", L""},
        {5, L"G", L"command", L""},
        {0, L"-", L"", L""},
    };
    std::vector<std::unique_ptr<TPopupItem>> owned;
    std::vector<TPopupItem*> items;
    for (const auto& r : rows) {
        owned.push_back(std::make_unique<TPopupItem>());
        owned.back()->level = r.level, owned.back()->name = r.name, owned.back()->action = r.action;
        owned.back()->actionInfo = r.info, owned.back()->commandId = 100 + (int)items.size();
        items.push_back(owned.back().get());
    }
    HMENU menu = CreatePopupMenu();
    world->BuildUserPopupMenu(menu, items);
    EXPECT_EQ(DescribeMenu(menu), "A[B=101 C\tF2=102] D=500 F[G=106] =0");
    DestroyMenu(menu);
}

TEST_F(WorldTest, RequestDialogsStopAtTheirLimit)
{
    preference.LimitWhoisDialog = true;
    preference.WhoisDialogMax = 2;
    preference.LimitInviteDialog = false;
    preference.InviteDialogMax = 1;
    Build();
    EXPECT_TRUE(world->TryOpenWhoisDialog());
    EXPECT_TRUE(world->TryOpenWhoisDialog());
    EXPECT_FALSE(world->TryOpenWhoisDialog());
    world->OnWhoisDialogClosed();
    EXPECT_TRUE(world->TryOpenWhoisDialog());
    for (int i = 0; i < 3; i++)
        EXPECT_TRUE(world->TryOpenInviteDialog());
}

} // namespace
