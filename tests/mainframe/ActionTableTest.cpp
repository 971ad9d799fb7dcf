// The action names macros, scripts and popup items use, and the command table behind them.

#include "classlib/Menu.h"
#include "mainframe/ActionNames.h"
#include "mainframe/MainCommands.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct TNamedCommand {
    const wchar_t* name;
    int id;
};

// Written out from the published list of names, not from the table in the program.
const TNamedCommand kPublishedNames[] = {
    {L"connect", 32783},
    {L"disconnect", 32918},
    {L"connectcancel", 32784},
    {L"quickquit", 32784},
    {L"quit", 32878},
    {L"join", 32786},
    {L"joinframe", 32786},
    {L"talk", 32879},
    {L"nick", 32789},
    {L"away", 32799},
    {L"setawaymes", 32800},
    {L"setawaymessage", 32800},
    {L"dccsend", 32827},
    {L"dcc", 32827},
    {L"list", 32872},
    {L"part", 32877},
    {L"deleteframepart", 32787},
    {L"keepframepart", 32787},
    {L"quickpart", 32787},
    {L"topic", 32793},
    {L"invite", 32794},
    {L"mode", 32792},
    {L"mode-b", 32796},
    {L"mode-e", 32797},
    {L"mode-i", 32798},
    {L"mode-r", 32926},
    {L"member", 32871},
    {L"resetmember", 32870},
    {L"copy", 57634},
    {L"paste", 57637},
    {L"selectall", 57642},
    {L"myaddress", 32805},
    {L"boldeffect", 32863},
    {L"reverseeffect", 32865},
    {L"underlineeffect", 32864},
    {L"coloreffect", 32867},
    {L"stopeffect", 32866},
    {L"find", 32822},
    {L"findforward", 32848},
    {L"findbackward", 32849},
    {L"keywordhistory", 32852},
    {L"keywordbackward", 32852},
    {L"keywordforward", 32852},
    {L"urlhistory", 32853},
    {L"scriptconsole", 32935},
    {L"savelog", 32876},
    {L"clearlog", 32897},
    {L"ignore", 32851},
    {L"operatorlist", 32846},
    {L"popupmenu", 32892},
    {L"script", 32936},
    {L"macro", 32881},
    {L"view", 32788},
    {L"setup", 32788},
    {L"topmost", 32869},
    {L"togglemainmenu", 32824},
    {L"mainmenu", 32824},
    {L"trayicon", 32898},
    {L"balloon", 32931},
    {L"stopmacro", 32899},
    {L"minimize", 32880},
    {L"addserver", 32778},
    {L"copyserver", 32855},
    {L"deleteserver", 32772},
    {L"addchannel", 32779},
    {L"deletechannel", 32777},
    {L"protocol", 32785},
    {L"serveroperatorlist", 32868},
    {L"serverproperty", 32781},
    {L"channeloperatorlist", 32850},
    {L"channelproperty", 32782},
    {L"sendmultiline", 32895},
    {L"group", 32856},
    {L"tree", 32854},
    {L"toolbar", 59392},
    {L"whois", 32929},
    {L"sendaction", 32928},
};

TEST(ActionNames, EveryPublishedNameLeadsToItsCommandAndNoOtherNameExists)
{
    std::set<int> ids;
    for (const TNamedCommand& entry : kPublishedNames) {
        int id = 0;
        EXPECT_TRUE(LookupActionName(entry.name, id)) << entry.name;
        EXPECT_EQ(entry.id, id) << entry.name;
        ids.insert(entry.id);
    }
    EXPECT_EQ(77u, sizeof kPublishedNames / sizeof kPublishedNames[0]);
    EXPECT_EQ(67u, ids.size());

    // The table holds no name beyond the published ones.
    size_t count = 0, names = 0;
    const TMainCommand* rows = GetMainCommands(count);
    for (size_t i = 0; i < count; i++)
        for (const wchar_t* name : rows[i].names)
            names += name != nullptr;
    EXPECT_EQ(77u, names);
}

TEST(ActionNames, OnlyAsciiLettersAreFoldedAndNothingIsTrimmed)
{
    int id = 0;
    for (const wchar_t* name : {L"Connect", L"CONNECT", L"cOnNeCt"}) {
        id = 0;
        EXPECT_TRUE(LookupActionName(name, id)) << name;
        EXPECT_EQ(32783, id) << name;
    }
    EXPECT_TRUE(LookupActionName(L"MODE-B", id));
    EXPECT_EQ(32796, id);
    for (const wchar_t* name :
         {L" connect", L"connect ", L"conn", L"connects", L"", L"mode_b", L"\xFF23onnect" /* full-width C */}) {
        id = -1;
        EXPECT_FALSE(LookupActionName(name, id)) << name;
        EXPECT_EQ(-1, id) << name;
    }
    EXPECT_STREQ(L"abc\xC4\x0130-z", LowerActionName(L"ABC\xC4\x0130-Z"));
}

// An item whose id no row carries would be greyed for good; a row reached twice would hide one;
// the routing calls every row's handler without asking.
TEST(CommandTable, EveryMenuItemHasOneRowAndRowsNeverOverlap)
{
    size_t count = 0;
    const TMainCommand* rows = GetMainCommands(count);
    for (size_t i = 0; i < count; i++) {
        EXPECT_LE(rows[i].first, rows[i].last);
        EXPECT_TRUE(rows[i].run != nullptr) << rows[i].first;
        for (size_t j = i + 1; j < count; j++)
            EXPECT_TRUE(rows[j].last < rows[i].first || rows[j].first > rows[i].last)
                << rows[i].first << " and " << rows[j].first;
    }
    int items = 0;
    std::function<void(HMENU)> walk = [&](HMENU menu) {
        for (int i = 0; i < ::GetMenuItemCount(menu); i++) {
            if (HMENU sub = ::GetSubMenu(menu, i)) {
                walk(sub);
                continue;
            }
            UINT id = ::GetMenuItemID(menu, i);
            if (id == 0)
                continue; // separator
            items++;
            EXPECT_NE(nullptr, FindMainCommand(id)) << id;
        }
    };
    for (UINT resource : {IDR_MAINFRAME, IDR_MEMBER_POPUP, IDR_TRAY_POPUP}) {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(resource)) << resource;
        walk(menu);
    }
    EXPECT_GT(items, 100);
    EXPECT_EQ(FindMainCommand(ID_USER_POPUP_FIRST), FindMainCommand(ID_USER_POPUP_LAST));
    EXPECT_EQ(nullptr, FindMainCommand(ID_USER_POPUP_LAST + 1));
}

} // namespace
