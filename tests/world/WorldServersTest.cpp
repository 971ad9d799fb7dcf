// Two units from a prepared "tree.ini" on two real servers, driven through the main window's
// controls with real clicks and key presses: the tree and its marks, the views a click shows,
// Enter and Tab in the input line, and a lost connection that the tick brings back.

#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"
#include "tests/world/common/WorldWindowTest.h"

#include <cstdio>

namespace {

const char kTreeFile[] = "Encoding=UTF-8\r\n"
                         "[World]\r\n"
                         "Unit.Count=2\r\n"
                         "[Unit.00]\r\n"
                         "Name=first\r\n"
                         "Hostname=127.0.0.1\r\n"
                         "Port=%d\r\n"
                         "Nick=kvworld1\r\n"
                         "Username=kvworld\r\n"
                         "Realname=Ketroval World\r\n"
                         "AutoConnect=1\r\n"
                         "Codepage=65001\r\n"
                         "Channel.Count=2\r\n"
                         "Channel.00.Name=#kvw-one\r\n"
                         "Channel.00.AutoJoin=1\r\n"
                         "Channel.01.Name=#kvw-two\r\n"
                         "Channel.01.AutoJoin=1\r\n"
                         "[Unit.01]\r\n"
                         "Name=second\r\n"
                         "Hostname=127.0.0.1\r\n"
                         "Port=%d\r\n"
                         "Nick=kvworld2\r\n"
                         "Username=kvworld\r\n"
                         "Realname=Ketroval World\r\n"
                         "AutoConnect=1\r\n"
                         "Codepage=65001\r\n"
                         "Channel.Count=1\r\n"
                         "Channel.00.Name=#kvw-three\r\n"
                         "Channel.00.AutoJoin=1\r\n";

time_t Tomorrow(time_t*) { return time(nullptr) + 24 * 60 * 60; }

int ItemImage(TTreeView& tree, HTREEITEM item)
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    tree.GetItem(&tv);
    return tv.iImage;
}

class WorldServersTest : public TWorldWindowTest {
protected:
    bool WriteTree(int firstPort, int secondPort)
    {
        char text[2048];
        snprintf(text, sizeof text, kTreeFile, firstPort, secondPort);
        FILE* file = _wfopen(folder.File(L"tree.ini"), L"wb");
        if (!file)
            return false;
        fputs(text, file);
        fclose(file);
        return true;
    }
    bool Joined(TIRCUnit* unit, const wchar_t* name)
    {
        TIRCChannel* channel = unit->FindChannel(name);
        return unit->GetState() == TIRCUnit::StateLoggedIn && channel && channel->IsJoined();
    }
    void TypeAndEnter(const wchar_t* text)
    {
        FocusForInput(frame.chat.input.m_hWnd);
        TypeText(text);
        PressKey(VK_RETURN);
    }
};

TEST_F(WorldServersTest, TwoServersThroughTheMainWindow)
{
    REQUIRE_PEER_PORT(firstPort, "IRC_PORT");
    REQUIRE_PEER_PORT(secondPort, "IRC_SECOND_PORT");
    ASSERT_TRUE(WriteTree(firstPort, secondPort));
    config.LoadServerTree();
    ASSERT_EQ(config.world.Units.size(), 2u);
    config.preference.CompleteNickOnTab = true;
    config.preference.ReconnectTime = 2;
    config.preference.LogRootDir = folder.path + L"logs\\";
    config.preference.EnableUnitLog = true;
    Build();
    TIRCUnit* first = world->FindUnit(L"first");
    TIRCUnit* second = world->FindUnit(L"second");
    ASSERT_TRUE(first && second);

    // The first connects at once, the second three ticks of the world's timer later.
    world->AutoConnect({}, false);
    EXPECT_NE(first->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_EQ(second->GetState(), TIRCUnit::StateDisconnected);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Joined(first, L"#kvw-one") && Joined(first, L"#kvw-two"); }, 15000));
    ASSERT_TRUE(PumpMessagesUntil([&] { return Joined(second, L"#kvw-three"); }, 15000));
    TIRCChannel* one = first->FindChannel(L"#kvw-one");
    TIRCChannel* three = second->FindChannel(L"#kvw-three");
    EXPECT_EQ(ItemImage(frame.tree, Item(first)), 0);
    EXPECT_EQ(ItemImage(frame.tree, Item(first, one)), 2);
    EXPECT_EQ(ItemImage(frame.tree, Item(second, three)), 2);

    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(firstPort, "kvpeer");
    std::unique_ptr<TLineSocket> peer2 = ConnectIrcClient(secondPort, "kvpeer2");
    ASSERT_TRUE(peer && peer2);
    peer->Send("JOIN #kvw-one\r\n");
    peer2->Send("JOIN #kvw-three\r\n");
    ASSERT_TRUE(peer->WaitFor(" 366 ") && peer2->WaitFor(" 366 "));
    ASSERT_TRUE(PumpMessagesUntil([&] { return one->GetMembers().GetCount() == 2; }, 5000));

    // Lines into nodes that are not shown mark them; a private message opens a talk.
    ClickItem(Item(second, three));
    peer->Send("PRIVMSG #kvw-one :news for the channel\r\n");
    peer->Send("PRIVMSG kvworld1 :just for you\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return first->FindChannel(L"kvpeer") != nullptr; }, 5000));
    TIRCChannel* talk = first->FindChannel(L"kvpeer");
    ASSERT_TRUE(PumpMessagesUntil([&] { return one->updateMark; }, 5000));
    EXPECT_EQ(Children(Item(first)), (std::vector<CString>{L"#kvw-one", L"#kvw-two", L"kvpeer"}));
    EXPECT_EQ(ItemImage(frame.tree, Item(first, talk)), 5);
    EXPECT_TRUE(talk->newTalkMark || talk->updateMark);

    // A real click shows the channel's log and its two members and answers its mark.
    ClickItem(Item(first, one));
    EXPECT_FALSE(one->updateMark);
    EXPECT_EQ(ShownLog(), one->logView);
    auto* members = static_cast<TListView*>(ShownMemberList());
    EXPECT_EQ(members->GetItemCount(), 2);
    // The channel's creator is its operator, and its row shows the operator's image.
    TIRCMember* own = one->FindMember(L"kvworld1");
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(own->o);
    EXPECT_EQ(members->GetItemImage(members->FindItemByData((LPARAM)own)), 0);
    // The title follows within a frame of the last one shown.
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame.GetTitle().Find(L"#kvw-one") != -1; }, kWaitBoundMs))
        << frame.GetTitle().GetString();

    // Enter sends the line to the selected channel on its own server; Tab completes the nick.
    TypeAndEnter(L"hello from the window");
    EXPECT_TRUE(peer->WaitFor("PRIVMSG #kvw-one :hello from the window"));
    EXPECT_EQ(TEdit::GetText(frame.chat.input.m_hWnd), CString());
    TypeText(L"kvp");
    PressKey(VK_TAB);
    EXPECT_EQ(TEdit::GetText(frame.chat.input.m_hWnd), CString(L"kvpeer: "));
    PressKey(VK_RETURN);
    EXPECT_TRUE(peer->WaitFor("PRIVMSG #kvw-one :kvpeer:"));
    ClickItem(Item(second, three));
    TypeAndEnter(L"hello second");
    EXPECT_TRUE(peer2->WaitFor("PRIVMSG #kvw-three :hello second"));
    EXPECT_FALSE(peer->WaitFor("hello second", 300));

    ClickItem(Item(first, one));
    SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"world-two-servers.png"));

    // A lost connection comes back on the world's tick and rejoins its channels.
    second->GetConnection().Close();
    second->Disconnect(false, false);
    EXPECT_EQ(ItemImage(frame.tree, Item(second)), 1);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Joined(second, L"#kvw-three"); }, 15000));
    EXPECT_EQ(ItemImage(frame.tree, Item(second)), 0);
    EXPECT_EQ(ItemImage(frame.tree, Item(second, three)), 2);
    // A new day moves the server logs to their new dated names on the next tick.
    TFileLogger& log = first->GetServerLog();
    ASSERT_TRUE(log.IsOpen());
    CString today = log.GetCurrentPath();
    log.clock = Tomorrow;
    SYSTEMTIME now;
    GetLocalTime(&now);
    world->TickOn(now.wDay % 28 + 1);
    EXPECT_NE(log.GetCurrentPath(), today);
    log.clock = time;

    first->QuitDefault(true);
    second->QuitDefault(true);
    PumpMessagesUntil([&] { return world->CountActiveUnits() == 0; }, 5000);
}

} // namespace
