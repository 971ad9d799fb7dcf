// The server property dialog's pages as a user meets them: each page typed into with real keys
// and clicks over a server of tree.ini, confirmed, and the file read back.

#include "tests/prefs/ServerDialogFixture.h"

#include "dialogs/ChannelDialog.h"
#include "res/resource.h"
#include "settings/ServerPassword.h"
#include "tests/common/ListViewCells.h"
#include "tests/common/Screenshot.h"
#include "tests/prefs/SheetSteps.h"

namespace {

enum Tab { TabConnection, TabDetail, TabChannel, TabProxy, TabMacro, TabScript };

// Typing into a field that no key types (Japanese, control characters) goes through the clipboard.
void PressIn(ServerDialogRun& run, int id, std::initializer_list<WORD> keys)
{
    ClickAt(ScreenPointOf(run.Control(id)));
    for (WORD key : keys)
        PressKey(key);
    run.Idle();
}

HWND List(ServerDialogRun& run, int id) { return run.Control(id); }

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

// The centre of a cell of a list view, on the screen.
POINT CellPoint(HWND list, int row, int column)
{
    RECT cell = {};
    ListView_GetSubItemRect(list, row, column, LVIR_BOUNDS, &cell);
    if (column == 0)
        ListView_GetItemRect(list, row, &cell, LVIR_LABEL);
    return ScreenPointOf(list, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
}

void ClickRow(ServerDialogRun& run, int id, int row)
{
    ClickAt(CellPoint(List(run, id), row, 0));
    run.Idle();
}

int g_channelDialogsBefore = 0;

// Answers the channel dialog the page opens: the steps run inside its loop, then Enter.
void AnswerChannelDialog(std::function<void(HWND)> steps)
{
    g_channelDialogsBefore = ShownWindowCount();
    WhenShown(HasControl(IDC_CHANNEL_MODE_BUTTON), [steps](HWND dialog) {
        steps(dialog);
        // Return as the user presses it, with the dialog in front.
        FocusForInput(::GetDlgItem(dialog, IDOK));
        PressKey(VK_RETURN);
    });
}

// The channel dialog the last step opened has been answered and is gone.
void ChannelDialogAnswered()
{
    WaitUntil(
        [] {
            return ShownWindowCount() > g_channelDialogsBefore && !FindShownWindow(HasControl(IDC_CHANNEL_MODE_BUTTON));
        },
        "the channel dialog answered");
}

// The same steps serve a plain dialog: its controls are found on the dialog itself.
void RetypeIn(HWND dialog, int id, const wchar_t* text) { TSheetInput(dialog).Retype(id, text); }

} // namespace

TEST(TServerPropertyDialog, EveryPageShownAndNothingChangedGivesBackTheSameTreeIniBytes)
{
    ServerDialogRun run(RichServer());
    const wchar_t* shots[] = {L"server-connection.png", L"server-detail.png", L"server-channel.png",
                              L"server-proxy.png",      L"server-macro.png",  L"server-script.png"};
    for (int tab = TabConnection; tab <= TabScript; tab++) {
        run.ShowTab(tab);
        // Buttons the idle pass has just greyed paint later; the picture waits for them.
        ::RedrawWindow(run.sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPendingMessages();
        SaveWindowPng(run.sheet, ScreenshotPath(shots[tab]));
    }
    run.ClickOk();
    ASSERT_TRUE(run.Closed());
    run.Save();
    EXPECT_EQ(run.treeBefore, ReadFileBytes(run.TreePath()));
}

TEST(TServerConnectionPage, EachEditedKeyLandsInTreeIniAndEachRuleRefuses)
{
    std::vector<TPageCase> cases = {
        {"name, host, port and TLS as typed",
         EditThenOk({{IDC_SERVER_NAME, L"home"},
                     {IDC_SERVER_HOST, L"irc.other.net"},
                     {IDC_SERVER_PORT, L"6668"},
                     {IDC_SERVER_USE_SSL, nullptr}}),
         {{L"Name", L"home"}, {L"Hostname", L"irc.other.net"}, {L"Port", L"6668"}, {L"UseSSL", L"false"}}},
        {"the host list's separator disables OK until a host is chosen",
         [](ServerDialogRun& r) {
             PressIn(r, IDC_SERVER_HOST, {VK_DOWN, VK_DOWN});
             EXPECT_EQ(CString(L"-"), r.Text(IDC_SERVER_HOST));
             EXPECT_FALSE(r.Enabled(IDOK));
             PressIn(r, IDC_SERVER_HOST, {VK_DOWN});
             EXPECT_TRUE(r.Enabled(IDOK));
             r.ClickOk();
         },
         {{L"Hostname", L"127.0.0.1"}}},
        {"a password is stored only in its letter form",
         EditThenOk({{IDC_SERVER_PASSWORD, L"newpass"}}),
         {{L"EnablePassword", L"true"}, {L"PasswordVersion", L"1"}},
         0,
         L"",
         [](ServerDialogRun& r) {
             EXPECT_EQ(CString(L"newpass"), DecodeServerPassword(r.Stored(L"Password")));
             EXPECT_EQ(-1, ReadFileBytes(r.TreePath()).Find("newpass"));
         }},
        {"the password box follows its check box; the password is kept",
         [](ServerDialogRun& r) {
             r.Click(IDC_SERVER_USE_PASSWORD);
             EXPECT_FALSE(r.Enabled(IDC_SERVER_PASSWORD));
             r.ClickOk();
         },
         {{L"EnablePassword", L"false"}},
         0,
         L"",
         [](ServerDialogRun& r) { EXPECT_EQ(CString(L"s3cret パス"), DecodeServerPassword(r.Stored(L"Password"))); }},
        {"nick, names, alternative nicks, start-up connect and code page",
         [](ServerDialogRun& r) {
             r.Retype(IDC_SERVER_NICK, L"newnick");
             r.Retype(IDC_SERVER_REALNAME, L"");
             r.Retype(IDC_SERVER_ALT_NICKS, L"alt1 alt2");
             r.Click(IDC_SERVER_AUTO_CONNECT);
             // The label's mnemonic reaches the list on the page.
             PressKey('E', {VK_MENU});
             PressKey(VK_END);
             r.ClickOk();
         },
         {{L"Nick", L"newnick"},
          {L"Realname", L"newnick"},
          {L"Username", L"kvuser"},
          {L"AltNicks", L"alt1 alt2"},
          {L"AutoConnect", L"false"},
          {L"Codepage", L"950"}}},
        {"Esc in the open code list closes the list alone, the typed nick stays; the next Esc cancels",
         [](ServerDialogRun& r) {
             r.Retype(IDC_SERVER_NICK, L"typednick");
             OpenListAndEscapeIt(r.Control(IDC_SERVER_CODEPAGE), L'E');
             r.Idle();
             EXPECT_FALSE(r.Closed()) << "Esc closed the window";
             EXPECT_EQ(CString(L"typednick"), r.Text(IDC_SERVER_NICK));
             PressKey(VK_ESCAPE);
             WaitUntil([&] { return r.Closed(); }, "the next Esc closes the window");
         },
         {{L"Nick", L"kvme"}, {L"Codepage", L"65001"}}},
        {"an empty login name becomes the lower-cased nick",
         [](ServerDialogRun& r) {
             r.Retype(IDC_SERVER_NICK, L"KvMe");
             r.Retype(IDC_SERVER_USERNAME, L"");
             r.PressEnterIn(IDC_SERVER_NAME);
         },
         {{L"Username", L"kvme"}}},
        {"a nick without ASCII letters or digits gives the login name user",
         [](ServerDialogRun& r) {
             r.Paste(IDC_SERVER_NICK, L"ケトロ");
             r.Retype(IDC_SERVER_USERNAME, L"");
             r.ClickOk();
         },
         {{L"Nick", L"ケトロ"}, {L"Username", L"user"}}},
        {"port 0 is stored as 1", EditThenOk({{IDC_SERVER_PORT, L"0"}}), {{L"Port", L"1"}}},
        {"port 70000 is stored as 65535", EditThenOk({{IDC_SERVER_PORT, L"70000"}}), {{L"Port", L"65535"}}},
        {"a setting name and a host of blanks are stored as typed",
         EditThenOk({{IDC_SERVER_NAME, L"  "}, {IDC_SERVER_HOST, L"   "}}),
         {{L"Name", L"  "}, {L"Hostname", L"   "}}},
        {"an empty host disables OK",
         [](ServerDialogRun& r) {
             r.Retype(IDC_SERVER_HOST, L"");
             EXPECT_FALSE(r.Enabled(IDOK));
             r.ClickOk();
         },
         {},
         IDC_SERVER_HOST},
        {"a nick with a blank is stored; the server answers it",
         EditThenOk({{IDC_SERVER_NICK, L"my nick"}}),
         {{L"Nick", L"my nick"}}},
        {"a nick with a pasted tab is stored as typed",
         [](ServerDialogRun& r) {
             r.Paste(IDC_SERVER_NICK, L"kv\tme");
             r.ClickOk();
         },
         {{L"Nick", L"kv\tme"}}},
        // No key types a line break into the one-line edit; a program may set one there.
        {"a nick with a line break is refused",
         [](ServerDialogRun& r) {
             ::SetWindowTextW(r.Control(IDC_SERVER_NICK), L"kv\r\nme");
             r.ClickOk();
         },
         {},
         IDC_SERVER_NICK,
         L"改行"},
        {"an empty setting name disables OK",
         [](ServerDialogRun& r) {
             r.Retype(IDC_SERVER_NAME, L"");
             EXPECT_FALSE(r.Enabled(IDOK));
             r.ClickOk();
         },
         {},
         IDC_SERVER_NAME},
    };
    RunPageCases(RichServer(), TabConnection, cases);
}

TEST(TServerDetailPage, EachEditedKeyLandsInTreeIni)
{
    std::vector<TPageCase> cases = {
        {"messages and switches",
         EditThenOk({{IDC_SERVER_PART_MESSAGE, L"p2"},
                     {IDC_SERVER_QUIT_MESSAGE, L"q2"},
                     {IDC_SERVER_AWAY_MESSAGE, L"a2"},
                     {IDC_SERVER_USER_INFO, L"u2"},
                     {IDC_SERVER_INVISIBLE, nullptr},
                     {IDC_SERVER_AUTO_AWAY, nullptr}}),
         {{L"PartMessage", L"p2"},
          {L"QuitMessage", L"q2"},
          {L"AwayMessage", L"a2"},
          {L"UserInfo", L"u2"},
          {L"Invisible", L"true"},
          {L"AutoAway", L"false"}}},
        {"the nick length follows its switch and a short one is raised to 9",
         [](ServerDialogRun& r) {
             r.Click(IDC_SERVER_ENABLE_NICK_LEN);
             EXPECT_FALSE(r.Enabled(IDC_SERVER_NICK_LEN));
             r.Click(IDC_SERVER_ENABLE_NICK_LEN);
             EXPECT_TRUE(r.Enabled(IDC_SERVER_NICK_LEN));
             r.Retype(IDC_SERVER_NICK_LEN, L"5");
             r.ClickOk();
         },
         {{L"EnableNickLen", L"true"}, {L"NickLen", L"9"}}},
        {"a long nick length is lowered to 500", EditThenOk({{IDC_SERVER_NICK_LEN, L"800"}}), {{L"NickLen", L"500"}}},
        {"Enter in the login commands adds a line; empty lines are dropped",
         [](ServerDialogRun& r) {
             PressIn(r, IDC_SERVER_LOGIN_COMMANDS, {});
             PressKey(VK_END, {VK_CONTROL});
             PressKey(VK_RETURN);
             PressKey(VK_RETURN);
             TypeText(L"/away");
             EXPECT_FALSE(r.Closed());
             r.ClickOk();
         },
         {{L"LoginCommand.Count", L"3"}, {L"LoginCommand.01", L"/mode kvme +w"}, {L"LoginCommand.02", L"/away"}}},
    };
    RunPageCases(RichServer(), TabDetail, cases);
}

TEST(TScriptServerPage, EachEditedKeyLandsInTreeIniAndOutOfRangePortsAreClamped)
{
    std::vector<TPageCase> cases = {
        {"host, port and SOCKS4; authentication greys out but keeps its check",
         [](ServerDialogRun& r) {
             r.Retype(IDC_PROXY_HOST, L"socks.example");
             r.Retype(IDC_PROXY_PORT, L"1082");
             r.Click(IDC_PROXY_SOCKS4);
             EXPECT_FALSE(r.Enabled(IDC_PROXY_AUTH));
             EXPECT_FALSE(r.Enabled(IDC_PROXY_USERNAME));
             EXPECT_FALSE(r.Enabled(IDC_PROXY_PASSWORD));
             r.ClickOk();
         },
         {{L"SocksHostname", L"socks.example"},
          {L"SocksPort", L"1082"},
          {L"SocksVersion", L"4"},
          {L"EnableSocksAuth", L"true"}}},
        {"login name and password are kept as typed",
         EditThenOk({{IDC_PROXY_USERNAME, L"someone"}, {IDC_PROXY_PASSWORD, L"pa ss"}}),
         {{L"SocksUsername", L"someone"}, {L"SocksPassword", L"pa ss"}, {L"SocksVersion", L"5"}}},
        {"switched off, the proxy's fields grey out",
         [](ServerDialogRun& r) {
             r.Click(IDC_PROXY_ENABLE);
             EXPECT_FALSE(r.Enabled(IDC_PROXY_HOST));
             EXPECT_FALSE(r.Enabled(IDC_PROXY_PORT));
             EXPECT_FALSE(r.Enabled(IDC_PROXY_SOCKS5));
             r.ClickOk();
         },
         {{L"EnableSocks", L"false"}, {L"SocksHostname", L"proxy.example"}}},
        {"a proxy port of 0 is stored as 1", EditThenOk({{IDC_PROXY_PORT, L"0"}}), {{L"SocksPort", L"1"}}},
        {"a proxy in use with its host emptied is stored so",
         EditThenOk({{IDC_PROXY_HOST, L""}}),
         {{L"EnableSocks", L"true"}, {L"SocksHostname", L""}}},
    };
    RunPageCases(RichServer(), TabProxy, cases);

    TUnitConfig odd = RichServer();
    odd.SocksVersion = 7;
    RunPageCases(odd, TabProxy,
                 {{"a version other than 5 shows and stores SOCKS4",
                   [](ServerDialogRun& r) {
                       EXPECT_TRUE(r.Checked(IDC_PROXY_SOCKS4));
                       r.ClickOk();
                   },
                   {{L"SocksVersion", L"4"}}}});
}

TEST(TServerChannelPage, RowsEditedWithTheChannelDialogAndMarksLandInTreeIni)
{
    std::vector<TPageCase> cases = {
        {"New with nothing selected starts from +sn with every mark on",
         [](ServerDialogRun& r) {
             AnswerChannelDialog([](HWND dialog) { RetypeIn(dialog, IDC_CHANNEL_NAME, L"#gamma"); });
             r.Click(IDC_SERVER_CHANNEL_NEW);
             ChannelDialogAnswered();
             r.ClickOk();
         },
         {{L"Channel.Count", L"3"},
          {L"Channel.02.Name", L"#gamma"},
          {L"Channel.02.Mode", L"+sn"},
          {L"Channel.02.AutoJoin", L"true"},
          {L"Channel.02.Console", L"true"}}},
        {"New with a row selected copies its key, mode, topic, marks and masks but not its name",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 0);
             AnswerChannelDialog([](HWND dialog) {
                 EXPECT_EQ(CString(), GetControlText(::GetDlgItem(dialog, IDC_CHANNEL_NAME)));
                 RetypeIn(dialog, IDC_CHANNEL_NAME, L"#delta");
             });
             r.Click(IDC_SERVER_CHANNEL_NEW);
             ChannelDialogAnswered();
             r.ClickOk();
         },
         {{L"Channel.02.Name", L"#delta"},
          {L"Channel.02.Password", L"key1"},
          {L"Channel.02.Mode", L"+nt"},
          {L"Channel.02.Topic", L"topic one"},
          {L"Channel.02.AutoJoin", L"false"},
          {L"Channel.02.Console", L"false"},
          {L"Channel.02.AutoOp.Count", L"1"},
          {L"Channel.02.AutoOp.00.Mask", L"*!*@op.example"},
          {L"Channel.00.AutoOp.00.Mask", L"*!*@op.example"}}},
        {"a new name differing only in case overwrites the listed row and keeps its masks",
         [](ServerDialogRun& r) {
             AnswerChannelDialog([](HWND dialog) {
                 RetypeIn(dialog, IDC_CHANNEL_NAME, L"#ALPHA");
                 RetypeIn(dialog, IDC_CHANNEL_PASSWORD, L"key2");
             });
             r.Click(IDC_SERVER_CHANNEL_NEW);
             ChannelDialogAnswered();
             r.ClickOk();
         },
         {{L"Channel.Count", L"2"},
          {L"Channel.00.Name", L"#ALPHA"},
          {L"Channel.00.Password", L"key2"},
          {L"Channel.00.AutoOp.00.Mask", L"*!*@op.example"}}},
        {"a double click edits the row in place",
         [](ServerDialogRun& r) {
             AnswerChannelDialog([](HWND dialog) { RetypeIn(dialog, IDC_CHANNEL_TOPIC, L"new topic"); });
             DoubleClickAt(CellPoint(List(r, IDC_SERVER_CHANNEL_LIST), 1, 0));
             ChannelDialogAnswered();
             r.ClickOk();
         },
         {{L"Channel.Count", L"2"}, {L"Channel.01.Name", L"#beta"}, {L"Channel.01.Topic", L"new topic"}}},
        {"a double click on another row's auto-join box edits that row with its box as it was",
         [](ServerDialogRun& r) {
             HWND list = List(r, IDC_SERVER_CHANNEL_LIST);
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 0);
             bool shownJoined = false;
             AnswerChannelDialog([&](HWND dialog) {
                 shownJoined = ::IsDlgButtonChecked(dialog, IDC_CHANNEL_AUTO_JOIN) == BST_CHECKED;
                 RetypeIn(dialog, IDC_CHANNEL_TOPIC, L"new topic");
             });
             DoubleClickAt(ListViewCheckBoxPoint(list, 1));
             ChannelDialogAnswered();
             EXPECT_TRUE(shownJoined);
             r.ClickOk();
         },
         {{L"Channel.01.Name", L"#beta"},
          {L"Channel.01.Topic", L"new topic"},
          {L"Channel.01.AutoJoin", L"true"},
          {L"Channel.00.Topic", L"topic one"}}},
        {"deleting the last row selects the new last row",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 1);
             r.Click(IDC_SERVER_CHANNEL_DELETE);
             EXPECT_EQ(0, SelectedRow(List(r, IDC_SERVER_CHANNEL_LIST)));
             r.ClickOk();
         },
         {{L"Channel.Count", L"1"}, {L"Channel.00.Name", L"#alpha"}}},
        {"Up moves a row with its masks; Up is greyed on the first row",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 0);
             EXPECT_FALSE(r.Enabled(IDC_SERVER_CHANNEL_UP));
             EXPECT_TRUE(r.Enabled(IDC_SERVER_CHANNEL_DOWN));
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 1);
             EXPECT_FALSE(r.Enabled(IDC_SERVER_CHANNEL_DOWN));
             r.Click(IDC_SERVER_CHANNEL_UP);
             r.ClickOk();
         },
         {{L"Channel.00.Name", L"#beta"},
          {L"Channel.01.Name", L"#alpha"},
          {L"Channel.01.AutoOp.00.Mask", L"*!*@op.example"}}},
        {"a right click flips a mark cell of the selected row, not the topic",
         [](ServerDialogRun& r) {
             HWND list = List(r, IDC_SERVER_CHANNEL_LIST);
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 0);
             ClickAt(CellPoint(list, 0, 5), true);
             ClickAt(CellPoint(list, 0, 3), true);
             r.Idle();
             r.ClickOk();
         },
         {{L"Channel.00.Console", L"true"}, {L"Channel.00.Topic", L"topic one"}}},
        {"Space on a row ticks it to join at connect",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 0);
             PressKey(VK_SPACE);
             r.ClickOk();
         },
         {{L"Channel.00.AutoJoin", L"true"}}},
        {"Esc leaves the channels as they were",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_CHANNEL_LIST, 1);
             r.Click(IDC_SERVER_CHANNEL_DELETE);
             PressKey(VK_ESCAPE);
             WaitUntil([&] { return r.Closed(); }, "Esc closes the window");
         },
         {{L"Channel.Count", L"2"}, {L"Channel.01.Name", L"#beta"}}},
    };
    RunPageCases(RichServer(), TabChannel, cases);
}

TEST(TServerMacroPage, TheFolderIsListedAndTheTickedFilesAreStored)
{
    TUnitConfig record = RichServer();
    record.MacroFiles = {L"gone", L"greet"};
    std::vector<TPageCase> cases = {
        {"names without extension, the chosen one ticked; a missing one drops out",
         [](ServerDialogRun& r) {
             HWND list = List(r, IDC_SERVER_FILE_LIST);
             EXPECT_EQ((std::vector<CString>{L"greet", L"other"}), ListViewColumnTexts(list));
             EXPECT_TRUE(ListView_GetCheckState(list, 0));
             EXPECT_FALSE(ListView_GetCheckState(list, 1));
             r.ClickOk();
         },
         {{L"MacroFile.Count", L"1"}, {L"MacroFile.00", L"greet"}}},
        {"ticking another adds it in list order",
         [](ServerDialogRun& r) {
             ClickRow(r, IDC_SERVER_FILE_LIST, 1);
             PressKey(VK_SPACE);
             r.ClickOk();
         },
         {{L"MacroFile.Count", L"2"}, {L"MacroFile.00", L"greet"}, {L"MacroFile.01", L"other"}}},
    };
    RunPageCases(record, TabMacro, cases);
}

TEST(TServerScriptPage, ScriptsKeepTheirExtensionAndOtherExtensionsAreLeftOut)
{
    std::vector<TPageCase> cases = {
        {"only .js files, hello.js ticked; unticking stores none",
         [](ServerDialogRun& r) {
             HWND list = List(r, IDC_SERVER_FILE_LIST);
             EXPECT_EQ((std::vector<CString>{L"hello.js", L"second.js"}), ListViewColumnTexts(list));
             ClickRow(r, IDC_SERVER_FILE_LIST, 0);
             PressKey(VK_SPACE);
             r.ClickOk();
         },
         {{L"ScriptFile.Count", L"0"}}},
    };
    RunPageCases(RichServer(), TabScript, cases);
}
