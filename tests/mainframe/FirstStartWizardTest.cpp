// The server the first start's beginner path makes from what was typed on its pages.

#include "mainframe/FirstStartWizard.h"

#include "dialogs/InstallDialogs.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(FirstStartWizardTest, ServerTextAndNickMakeTheServer)
{
    const struct {
        const wchar_t* nick;
        const wchar_t* server;
        int random;
        const wchar_t* name;
        int port;
        int codePage;
        const wchar_t* userName;
    } cases[] = {
        {L"Taro", L"irc.example.net", 3, L"Taro", 6667, 50221, L"taro"},
        {L"Taro", L"irc.example.net (Example)", 3, L"Example", 6667, 50221, L"taro"},
        {L"Taro", L"irc.example.net ()", 3, L"Taro", 6667, 50221, L"taro"},
        {L"Taro", L"irc.example.net )(", 3, L"Taro", 6667, 50221, L"taro"},
        {L"Taro", L"irc.tokyo.wide.ad.jp (IRCnet)", 12, L"IRCnet", 6665, 50221, L"taro"},
        {L"Taro", L"irc.ircnet.ne.jp (IRCnet)", 7, L"IRCnet", 6660, 50221, L"taro"},
        {L"Taro", L"irc.libera.chat (Libera.Chat)", 5, L"Libera.Chat", 6667, 65001, L"taro"},
        {L"Taro", L"irc.oftc.net (OFTC)", 5, L"OFTC", 6667, 65001, L"taro"},
        {L"Ab日本", L"irc.example.net", 0, L"Ab日本", 6667, 50221, L"ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.random << " " << c.port);
        TUnitConfig unit = MakeWizardServer(c.nick, c.server, {L"#a", L"%b"}, false, c.random);
        EXPECT_EQ(unit.Name, CString(c.name));
        EXPECT_EQ(unit.Hostname, CString(c.server)) << "the host is kept as typed";
        EXPECT_EQ(unit.Port, c.port);
        EXPECT_EQ(unit.Codepage, c.codePage);
        EXPECT_EQ(unit.Nick, CString(c.nick));
        EXPECT_EQ(unit.Realname, CString(c.nick));
        EXPECT_EQ(unit.Username, CString(c.userName));
        EXPECT_FALSE(unit.AutoConnect);
        ASSERT_EQ(unit.Channels.size(), 2u);
        EXPECT_EQ(unit.Channels[0].Name, CString(L"#a"));
        EXPECT_EQ(unit.Channels[1].Name, CString(L"%b"));
        EXPECT_EQ(unit.Channels[1].Mode, TChannelConfig().Mode) << "channels take their defaults";
    }
    EXPECT_TRUE(MakeWizardServer(L"n", L"h", {}, true, 0).AutoConnect);
}

TEST(FirstStartWizardTest, ServerPageGoesOnOnlyWithAValidNickAndAServer)
{
    const struct {
        const wchar_t* nick;
        const wchar_t* server;
        bool admitted;
    } cases[] = {
        {L"taro", L"irc.example.net", true},
        {L"_taro`^-9", L"irc.example.net (Net)", true},
        {L"taro", L"-", false},
        {L"taro", L"", false},
        {L"", L"irc.example.net", false},
        {L"ta ro", L"irc.example.net", false},
        {L"ta\x01ro", L"irc.example.net", false},
        {L"9taro", L"irc.example.net", false},
        {L"太郎", L"irc.example.net", false},
        {L"taro", L"--", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CanLeaveServerPage(c.nick, c.server), c.admitted) << testing::PrintToString(CString(c.nick));
}
