// The popup menus of the main window as a user opens them with the right button: the tree's by
// what is under the pointer, the input line's, and a log view's by what the line shows there.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"

#include <cstdio>

namespace {

using PopupMenus = ServedFrameFixture;

std::vector<UINT> MenuIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(menu); i++) {
        UINT id = ::GetMenuItemID(menu, i);
        ids.push_back(id == (UINT)-1 ? 0 : id);
    }
    return ids;
}

TEST_F(PopupMenus, TreeShowsTheMenuOfTheNodeUnderThePointer)
{
    HWND tree = frame->GetServerTree()->m_hWnd;
    TIRCChannel* talk = net->OpenTalk(TIRCMember(L"zed", L"z", L"zed.host"));
    ASSERT_NE(nullptr, talk);
    HTREEITEM unitItem = world->FindUnitTreeItem(net);
    TreeView_Expand(tree, unitItem, TVE_EXPAND);
    PumpPendingMessages();
    RECT client;
    ::GetClientRect(tree, &client);
    HMENU bar = ::GetMenu(frame->m_hWnd);
    const std::vector<UINT> talkMenu = {ID_PART_PROMPT, 0, ID_SAVE_LOG, ID_CLEAR_LOG};
    const struct {
        const char* what;
        POINT at;
        std::vector<UINT> ids;
        TIRCChannel* selected;
    } cases[] = {
        {"no item", ScreenPointOf(tree, 20, client.bottom - 6), {ID_ADD_SERVER, ID_EDIT_SERVER_TREE}, alpha},
        {"server", ItemPoint(tree, unitItem), MenuIds(::GetSubMenu(bar, 1)), nullptr},
        {"channel", ItemPoint(tree, world->FindChannelTreeItem(unitItem, alpha)), MenuIds(::GetSubMenu(bar, 2)), alpha},
        {"talk", ItemPoint(tree, world->FindChannelTreeItem(unitItem, talk)), talkMenu, talk},
    };
    for (const auto& c : cases) {
        TShownMenu menu = ReadOpenedPopup([&] { ClickAt(c.at, true); });
        ASSERT_TRUE(menu.shown) << c.what;
        EXPECT_EQ(c.ids, menu.Ids()) << c.what;
        // The node is selected before its menu opens, so its items act on it.
        EXPECT_TRUE(world->IsSelected(net, c.selected)) << c.what;
    }
    // The talk's first item says what it does for a talk and is enabled.
    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(cases[3].at, true); });
    ASSERT_TRUE(menu.Find(ID_PART_PROMPT));
    EXPECT_STREQ(L"トークをやめる(&P)\tAlt+P", menu.Find(ID_PART_PROMPT)->text);
    EXPECT_FALSE(menu.Grayed(ID_PART_PROMPT));
}

TEST_F(PopupMenus, InputLineMenuFollowsItsTextAndSelection)
{
    HWND input = frame->GetInputLine()->m_hWnd;
    EmptyClipboard();
    FocusForInput(input);
    TypeText(L"hello");
    POINT at = ScreenPointOf(input);
    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(at, true); });
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ((std::vector<UINT>{ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, 0,
                                 ID_EDIT_SELECT_ALL}),
              menu.Ids());
    ASSERT_TRUE(menu.Find(ID_EDIT_CUT));
    EXPECT_STREQ(L"切り取り(&T)\tCtrl+X", menu.Find(ID_EDIT_CUT)->text);
    EXPECT_TRUE(menu.Grayed(ID_EDIT_COPY)); // nothing selected
    EXPECT_TRUE(menu.Grayed(ID_EDIT_CUT));
    EXPECT_TRUE(menu.Grayed(ID_EDIT_PASTE)); // the clipboard holds no text
    EXPECT_FALSE(menu.Grayed(ID_EDIT_UNDO));
    EXPECT_FALSE(menu.Grayed(ID_EDIT_SELECT_ALL));

    // Select all from the menu, then the menu again: copy and cut are offered.
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(at, true); }, {'A'}));
    menu = ReadOpenedPopup([&] { ClickAt(at, true); }, ScreenshotPath(L"mainframe-input-popup.png"));
    EXPECT_FALSE(menu.Grayed(ID_EDIT_COPY));
    EXPECT_FALSE(menu.Grayed(ID_EDIT_CLEAR));
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(at, true); }, {'C'}));
    EXPECT_STREQ(L"hello", GetClipboardText());

    // With the focus elsewhere the right click gives it to the input line first: the menu's
    // commands act on the text the user right-clicked.
    for (HWND before : {frame->GetServerTree()->m_hWnd, world->GetCurrentLogView()->m_hWnd}) {
        EmptyClipboard();
        FocusForInput(before);
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(at, true); }, {'C'}));
        EXPECT_STREQ(L"hello", GetClipboardText());
        EXPECT_EQ(input, ::GetFocus());
    }
}

TEST_F(PopupMenus, LogViewOffersTheUserItemsOnTextAndItsOwnMenusOnUrlsAndAddresses)
{
    // The user's popup items as "popupmenu.kcf" holds them: a main-window command by name, a
    // separator, a submenu with one command and a line to send.
    FILE* file = _wfopen(settings.GetSettingsFolder() + L"popupmenu.kcf", L"wb");
    ASSERT_TRUE(file);
    fputs("#Encoding=UTF-8\r\n"
          "0\t\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC\\tCtrl+C\tmenu\t\tcopy\r\n" // コピー
          "0\t-\t\t\t\r\n"
          "0\t\xE6\xA4\x9C\xE7\xB4\xA2\t\t\t\r\n" // 検索
          "1\tfind\tmenu\t\tfind\r\n"
          "0\thello\tsend\t\thello\r\n",
          file);
    fclose(file);
    settings.LoadPopupMenu();
    ASSERT_EQ(5u, settings.popup.items.size());
    peer->Send(":alice!a@alice.host PRIVMSG #alpha :see https://example.com/page now\r\n"
               ":bob!b@bob.host PRIVMSG #alpha :server irc.example.net.jp today\r\n");
    TLogView* view = alpha->logView;
    ASSERT_TRUE(view);
    ASSERT_NO_FATAL_FAILURE(WaitLinePainted(view, L"today"));

    TShownMenu menu =
        ReadOpenedPopup([&] { ClickAt(TextPoint(view, L"now"), true); }, ScreenshotPath(L"mainframe-log-popup.png"));
    ASSERT_TRUE(menu.shown);
    ASSERT_EQ(4u, menu.items.size()) << "the placeholder gave way to the user's items";
    EXPECT_EQ((UINT)ID_EDIT_COPY, menu.items[0].id);
    EXPECT_STREQ(L"コピー\tCtrl+C", menu.items[0].text);
    EXPECT_TRUE(menu.items[1].separator);
    EXPECT_TRUE(menu.items[2].popup);
    EXPECT_STREQ(L"検索", menu.items[2].text);
    EXPECT_STREQ(L"hello", menu.items[3].text);

    menu = ReadOpenedPopup([&] { ClickAt(TextPoint(view, L"example.com"), true); },
                           ScreenshotPath(L"mainframe-url-popup.png"));
    EXPECT_EQ((std::vector<UINT>{ID_COPY_URL, ID_OPEN_URL}), menu.Ids());
    ASSERT_TRUE(menu.Find(ID_OPEN_URL));
    EXPECT_STREQ(L"URLを開く(&O)", menu.Find(ID_OPEN_URL)->text);
    menu = ReadOpenedPopup([&] { ClickAt(TextPoint(view, L"irc.example"), true); });
    EXPECT_EQ((std::vector<UINT>{ID_COPY_ADDRESS}), menu.Ids());

    // Copying takes the text under the pointer, whatever else the line holds.
    CopyTextToClipboard(L"");
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"example.com"), true); }, {'C'}));
    EXPECT_STREQ(L"https://example.com/page", GetClipboardText());
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"irc.example"), true); }, {'C'}));
    EXPECT_STREQ(L"irc.example.net.jp", GetClipboardText());
}

TEST_F(PopupMenus, NickInALogLineHeadsTheMemberMenuAndIsItsOnlyTarget)
{
    peer->Send(":alice!a@alice.host PRIVMSG #alpha :hi there\r\n");
    TLogView* view = alpha->logView;
    ASSERT_NO_FATAL_FAILURE(WaitLinePainted(view, L"hi there"));
    // Rows picked in the member list do not count while the pointer names a nick.
    SelectMembers({L"bob", L"dave"});
    POINT nick = TextPoint(view, L"alice", L"hi there");
    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(nick, true); }, ScreenshotPath(L"mainframe-nick-popup.png"));
    ASSERT_TRUE(menu.shown);
    ASSERT_GE(menu.items.size(), 3u);
    EXPECT_STREQ(L"alice", menu.items[0].text);
    EXPECT_TRUE(menu.items[0].grayed);
    EXPECT_TRUE(menu.items[1].separator);
    EXPECT_EQ((UINT)ID_USER_INFO, menu.items[2].id);
    EXPECT_FALSE(menu.items[2].grayed);

    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(nick, true); }, {'W'}));
    EXPECT_TRUE(peer->WaitFor("WHOIS alice", 3000));
    RoundTrip();
    for (const std::string& line : peer->Lines())
        EXPECT_EQ(std::string::npos, line.find("WHOIS bob")) << line;
}

} // namespace
