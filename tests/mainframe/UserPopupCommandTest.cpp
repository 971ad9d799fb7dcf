// The user's own popup items chosen from a log view's menu with real input: the item's action
// runs through the selected server's macro engine and its line reaches the server.

#include "tests/mainframe/ServedFrameFixture.h"

#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"

#include <cstdio>

namespace {

using UserPopupCommands = ServedFrameFixture;

} // namespace

TEST_F(UserPopupCommands, AnItemChosenFromTheLogMenuSendsItsLine)
{
    FILE* file = _wfopen(settings.GetSettingsFolder() + L"popupmenu.kcf", L"wb");
    ASSERT_TRUE(file);
    fputs("#Encoding=UTF-8\r\n"
          "0\t&Greet\tsend\t%n\thello from %n\r\n"
          "0\t-\t\t\t\r\n"
          "0\t&Join\tjoin\t\t#beta\r\n",
          file);
    fclose(file);
    settings.LoadPopupMenu();
    // What the popup editor's OK does after it changed the items.
    frame->AssignPopupCommandIds();
    ASSERT_EQ(3u, settings.popup.items.size());
    EXPECT_EQ(ID_USER_POPUP_FIRST + 2, settings.popup.items[2]->commandId);

    TLogView* view = Say("some words to click");

    TShownMenu menu =
        ReadOpenedPopup([&] { ClickAt(TextPoint(view, L"words"), true); }, ScreenshotPath(L"macro-user-popup.png"));
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ((std::vector<UINT>{ID_USER_POPUP_FIRST, 0, ID_USER_POPUP_FIRST + 2}), menu.Ids());
    EXPECT_FALSE(menu.Grayed(ID_USER_POPUP_FIRST));

    size_t mark = peer->LineCount();
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"words"), true); }, {'G'}));
    ASSERT_TRUE(peer->WaitFor("NOTICE kvme :hello from kvme"));
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"words"), true); }, {'J'}));
    ASSERT_TRUE(peer->WaitFor("JOIN #beta"));
    std::vector<std::string> lines = peer->Lines();
    EXPECT_EQ((std::vector<std::string>(lines.begin() + mark, lines.end())),
              (std::vector<std::string>{"NOTICE kvme :hello from kvme", "JOIN #beta"}));
}
