// The main window's commands as a user meets them: menus that follow the selected server, keys
// and action names that run only enabled commands, and the window switches.

#include "tests/mainframe/MainFrameFixture.h"

#include "classlib/Menu.h"

#include "controls/UpdateDialog.h"
#include "res/resource.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include <commctrl.h>

namespace {

using FrameCommands = MainFrameFixture;

struct TItem {
    UINT id;
    bool enabled;
};

// The server menu opened with the mouse: its items as the enable handlers left them, and the
// disconnect item's text.
void ExpectServerMenu(CMainFrame* frame, std::initializer_list<TItem> items, const wchar_t* disconnectText)
{
    RECT item;
    ::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), 1, &item);
    TShownMenu shown = ReadOpenedPopup([&] {
        ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    });
    ASSERT_TRUE(shown.shown);
    for (const TItem& expected : items)
        EXPECT_EQ(expected.enabled, !shown.Grayed(expected.id)) << "item " << expected.id;
    const TShownMenuItem* disconnect = shown.Find(ID_DISCONNECT);
    EXPECT_STREQ(disconnectText, disconnect ? disconnect->text : CString());
}

TEST_F(FrameCommands, ServerMenuFollowsTheSelectedServerAndItsReconnectWait)
{
    world->Select(net, nullptr);
    // The channel list needs a logged-in server.
    ExpectServerMenu(frame,
                     {{ID_CONNECT, true},
                      {ID_DISCONNECT, false},
                      {ID_FORCE_DISCONNECT, false},
                      {ID_CHANNEL_LIST, false},
                      {ID_PROTOCOL_LOG, true},
                      {ID_ADD_SERVER, true},
                      {ID_DELETE_SERVER, true}},
                     L"切断(&D)\tAlt+Shift+Q");

    // A server waiting to reconnect offers to cancel the wait under the same item.
    net->GetSession().reconnectArmed = true;
    net->GetSession().reconnectCountdown = 30;
    ExpectServerMenu(frame, {{ID_DISCONNECT, true}, {ID_FORCE_DISCONNECT, true}},
                     L"再接続をキャンセル(&D)\tAlt+Shift+Q");

    // Its key cancels the wait.
    FocusForInput(frame->GetInputLine()->m_hWnd);
    PressKey('Q', {VK_MENU, VK_SHIFT});
    EXPECT_FALSE(net->GetSession().reconnectArmed);
    // Nothing is left to cancel: the same key now does nothing and the item is greyed.
    EXPECT_TRUE(ItemState(TopMenu(1), ID_DISCONNECT) & MF_GRAYED);
}

TEST_F(FrameCommands, ChannelMenuNeedsALoggedInServerAndTheRightKindOfNode)
{
    HMENU channelMenu = TopMenu(2);
    world->Select(net, Channel(L"#alpha"));
    EXPECT_TRUE(ItemState(channelMenu, ID_JOIN) & MF_GRAYED); // not logged in
    EXPECT_FALSE(ItemState(channelMenu, ID_CHANNEL_PROPERTIES) & MF_GRAYED);
    EXPECT_FALSE(ItemState(channelMenu, ID_DELETE_CHANNEL) & MF_GRAYED);
    EXPECT_TRUE(ItemState(channelMenu, ID_PART_PROMPT) & MF_GRAYED);
    EXPECT_STREQ(L"メッセージを入力して出る(&Q)...\tAlt+P", ItemText(channelMenu, ID_PART_PROMPT));

    net->GetSession().state = TIRCUnit::StateLoggedIn;
    EXPECT_FALSE(ItemState(channelMenu, ID_JOIN) & MF_GRAYED);
    EXPECT_TRUE(ItemState(channelMenu, ID_PART) & MF_GRAYED); // not joined yet
    EXPECT_TRUE(ItemState(channelMenu, ID_TOPIC) & MF_GRAYED);

    // A talk is closed rather than parted, and has no properties.
    TChannelConfig talkConfig;
    talkConfig.Name = L"alice";
    TIRCChannel* talk = net->AddChannel(talkConfig, TIRCChannel::KindTalk);
    ASSERT_NE(nullptr, talk);
    world->InsertChannelTreeItem(world->FindUnitTreeItem(net), talk);
    world->Select(net, talk);
    EXPECT_FALSE(ItemState(channelMenu, ID_PART_PROMPT) & MF_GRAYED);
    EXPECT_STREQ(L"トークをやめる(&P)\tAlt+P", ItemText(channelMenu, ID_PART_PROMPT));
    EXPECT_TRUE(ItemState(channelMenu, ID_CHANNEL_PROPERTIES) & MF_GRAYED);
    net->GetSession().state = TIRCUnit::StateDisconnected;
}

TEST_F(FrameCommands, ActionNamesRunLaterAndOnlyWhileTheirItemIsEnabled)
{
    TPreference& preference = settings.preference;
    preference.EnableTrayIcon = false;
    bool balloons = preference.EnableBaloon;
    // "balloon" is greyed while the tray icon is off: by name it does nothing either.
    EXPECT_TRUE(frame->ExecuteAction(L"balloon"));
    PumpPendingMessages();
    EXPECT_EQ(balloons, preference.EnableBaloon);

    preference.EnableTrayIcon = true;
    EXPECT_TRUE(frame->ExecuteAction(L"BALLOON"));
    EXPECT_EQ(balloons, preference.EnableBaloon); // not yet: the command waits for the loop
    PumpPendingMessages();
    EXPECT_EQ(!balloons, preference.EnableBaloon);

    EXPECT_FALSE(frame->ExecuteAction(L"balloons"));
    // Stopping all macros twice turns them back on; the tray menu's item shows the state.
    CMenu tray;
    ASSERT_TRUE(tray.LoadMenu(IDR_TRAY_POPUP));
    for (bool expected : {true, false}) {
        frame->ExecuteAction(L"stopmacro");
        PumpPendingMessages();
        EXPECT_EQ(expected, frame->AreMacrosStopped());
        EXPECT_EQ(expected, (ItemState(tray.GetSubMenu(0), ID_STOP_MACROS) & MF_CHECKED) != 0);
    }
    int id = 0;
    EXPECT_TRUE(frame->LookupAction(L"KeywordForward", id));
    EXPECT_EQ(ID_KEYWORD_HISTORY, id);
    EXPECT_EQ(ID_KEYWORD_HISTORY, frame->FindActionCommand(L"keywordbackward"));
    EXPECT_EQ(0, frame->FindActionCommand(L"keyword"));
}

TEST_F(FrameCommands, AlwaysOnTopFlipsTheWindowAndIsKeptForTheNextStart)
{
    HMENU view = TopMenu(4);
    for (bool expected : {true, false}) {
        frame->ExecuteAction(L"topmost");
        PumpPendingMessages();
        EXPECT_EQ(expected, (::GetWindowLongW(frame->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        EXPECT_EQ(expected, frame->IsTopMost());
        EXPECT_EQ(expected, settings.topMost);
        EXPECT_EQ(expected, (ItemState(view, ID_TOPMOST) & MF_CHECKED) != 0);
    }
}

TEST_F(FrameCommands, HiddenMenuBarLeavesEveryCommandInTheSystemMenu)
{
    HMENU menu = ::GetMenu(frame->m_hWnd);
    HMENU tools = ::GetSubMenu(menu, 5);
    frame->ExecuteAction(L"mainmenu");
    PumpPendingMessages();
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
    EXPECT_FALSE(settings.menuVisible);

    // The system menu ends with the main menu's popups, the same menus as the bar had.
    HMENU system = ::GetSystemMenu(frame->m_hWnd, FALSE);
    int count = ::GetMenuItemCount(system);
    ASSERT_GE(count, 7);
    EXPECT_EQ(tools, ::GetSubMenu(system, count - 2));
    wchar_t text[64] = L"";
    ::GetMenuStringW(system, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"ヘルプ(&H)", text);

    // An item chosen there runs as the menu command, with its tick current.
    frame->SendMessageW(WM_SYSCOMMAND, ID_STOP_MACROS, 0);
    EXPECT_TRUE(frame->AreMacrosStopped());
    EXPECT_TRUE(ItemState(tools, ID_STOP_MACROS) & MF_CHECKED);
    EXPECT_FALSE(ItemState(::GetSubMenu(menu, 4), ID_TOGGLE_MAIN_MENU) & MF_CHECKED);

    frame->SendMessageW(WM_SYSCOMMAND, ID_TOGGLE_MAIN_MENU, 0);
    EXPECT_EQ(menu, ::GetMenu(frame->m_hWnd));
    EXPECT_TRUE(settings.menuVisible);
}

TEST_F(FrameCommands, SearchBarOpensWithItsKeysAndClosingGivesTheInputLineTheFocus)
{
    FocusForInput(frame->GetInputLine()->m_hWnd);
    PressKey('F', {VK_CONTROL});
    EXPECT_TRUE(frame->IsSearchBarShown());
    EXPECT_TRUE(ItemState(TopMenu(3), ID_FIND) & MF_CHECKED);
    EXPECT_EQ(frame->GetContentPanel().GetSearchBar().edit.m_hWnd, ::GetFocus());
    EXPECT_TRUE(::IsWindowVisible(frame->GetContentPanel().GetSearchBar().m_hWnd));
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-search-bar.png"));

    PressKey('F', {VK_CONTROL});
    EXPECT_FALSE(frame->IsSearchBarShown());
    EXPECT_EQ(frame->GetInputLine()->m_hWnd, ::GetFocus());

    // Finding the next match with the bar closed opens it first.
    PressKey(VK_F3);
    EXPECT_TRUE(frame->IsSearchBarShown());
    PressKey(VK_F3, {VK_SHIFT});
    EXPECT_TRUE(frame->IsSearchBarShown());
}

} // namespace

namespace {

TEST_F(FrameCommands, ToolBarButtonsFollowTheEnableRulesAndRunTheirCommands)
{
    HWND bar = frame->GetToolBar();
    ASSERT_TRUE(::IsWindowVisible(bar));
    std::vector<int> commands;
    int count = (int)::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        TBBUTTON button = {};
        ::SendMessageW(bar, TB_GETBUTTON, i, (LPARAM)&button);
        commands.push_back(button.idCommand);
    }
    EXPECT_EQ(commands,
              (std::vector<int>{ID_CONNECT, ID_DISCONNECT, 0, ID_JOIN, ID_PART, 0, ID_CHANGE_NICK, ID_TOGGLE_AWAY, 0,
                                ID_FIND, ID_PREFERENCES, ID_DCC_WINDOW, ID_SCRIPT_CONSOLE}));
    world->Select(net, nullptr);
    frame->SendMessageW(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_CONNECT, 0));
    EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_DISCONNECT, 0));
    EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_JOIN, 0));

    RECT find = {};
    ::SendMessageW(bar, TB_GETRECT, ID_FIND, (LPARAM)&find);
    ClickAt(ScreenPointOf(bar, (find.left + find.right) / 2, (find.top + find.bottom) / 2));
    EXPECT_TRUE(frame->IsSearchBarShown());
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-toolbar.png"));
}

} // namespace

TEST_F(FrameCommands, TextEffectsGoInAtTheCaretOverTheSelection)
{
    HWND input = frame->GetInputLine()->m_hWnd;
    FocusForInput(input);
    TypeText(L"ab");
    PressKey(VK_LEFT, {VK_SHIFT}); // "b" selected
    const struct {
        const wchar_t* action;
        const wchar_t* text;
    } steps[] = {{L"reverseeffect", L"a<reverse>"},
                 {L"boldeffect", L"a<reverse><bold>"},
                 {L"underlineeffect", L"a<reverse><bold><underline>"},
                 {L"stopeffect", L"a<reverse><bold><underline><stop>"}};
    for (const auto& step : steps) {
        EXPECT_TRUE(frame->ExecuteAction(step.action));
        PumpPendingMessages();
        SCOPED_TRACE(testing::Message() << "step " << (&step - steps));
        EXPECT_EQ(CString(step.text), GetControlText(input));
    }
}
