// The windows the running program opens for the user: a WHOIS typed into the input line and the
// channel menu's member information against a real server, and the script settings window whose
// choice runs the script at once, with the scripts folder watched while the program runs.
// Screenshots of the windows are kept for a person to look at.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "res/windows/script.h"
#include "res/windows/world.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const char kQuietStart[] = "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n";

CString Wide(const std::string& text) { return ConvertFromUtf8(CStringA(text.c_str())); }

int ListRowCount(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

} // namespace

TEST(ProgramWindowsTest, ChannelMenuOpensTheWhoWindowAndWhoisFromItOrTypedOpensTheWhoisWindow)
{
    REQUIRE_PEER_PORT(port, "IRC_PROGRAM_PORT");
    std::string channel = "#kvinfo" + std::to_string(GetTickCount() % 100000);
    TProgramRun run;
    run.WriteSettings(L"tree.ini", OneServerTree(port, "kvinfo", "Ketroval info", channel));
    run.WriteSettings(L"preference.ini", kQuietStart);
    run.WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=20\r\nWidth=900\r\nHeight=640\r\n");
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(port, "kvinfopeer");
    ASSERT_TRUE(peer);
    peer->Send("JOIN " + channel + "\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN :" + channel));

    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(peer->WaitFor(":kvinfo!", 20000)) << "the program joins the channel from its settings";

    // The channel in the tree, then "メンバ情報" of the channel menu.
    ASSERT_TRUE(PickFirstChannel(main));
    ChooseMenuItem(main, 'C', 'W');
    HWND who = run.WaitWindow(Wide(channel) + L" のメンバ情報 - testnet");
    ASSERT_TRUE(who) << "the channel's WHO window";
    HWND list = FindChildren(who, L"SysListView32").at(0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ListRowCount(list) == 2; }, 5000)) << ListRowCount(list);
    SaveWindowPng(who, ScreenshotPath(L"program-who-window.png"));
    // A double click on the first row, the program's own nick, asks who that is.
    RECT header;
    ::GetWindowRect(FindChildren(list, L"SysHeader32").at(0), &header);
    DoubleClickAt(ScreenPointOf(list, 60, header.bottom - header.top + 8));
    HWND self = run.WaitWindow(L"kvinfo のユーザ情報");
    ASSERT_TRUE(self) << "the WHO window's double click opens the WHOIS window of the row";
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return WindowText(::GetDlgItem(self, IDC_WHOIS_REAL_NAME)) == L"Ketroval info"; }, 5000));

    // Closed with its button; the user comes back to the main window by its caption.
    ClickAt(ScreenPointOf(::GetDlgItem(self, IDCANCEL)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return !::IsWindow(self); }, 3000));
    RECT frame;
    ::GetWindowRect(main, &frame);
    ClickAt(POINT{frame.left + 60, frame.top + 8});
    HWND input = InputLine(main);
    ASSERT_TRUE(input);
    ClickAt(ScreenPointOf(input));
    TypeText(L"/whois kvinfopeer");
    PressKey(VK_RETURN);
    HWND whois = run.WaitWindow(L"kvinfopeer のユーザ情報");
    ASSERT_TRUE(whois) << "the reply opens the WHOIS window";
    // The idle time comes late in the reply, the address after a lookup.
    EXPECT_TRUE(PumpMessagesUntil(
        [&] {
            return !WindowText(::GetDlgItem(whois, IDC_WHOIS_IDLE)).IsEmpty() &&
                   !WindowText(::GetDlgItem(whois, IDC_WHOIS_ADDRESS)).IsEmpty();
        },
        10000));
    EXPECT_EQ(WindowText(::GetDlgItem(whois, IDC_WHOIS_NICK)), L"kvinfopeer");
    EXPECT_NE(WindowText(::GetDlgItem(whois, IDC_WHOIS_USER)).Find(L"kvinfopeer"), -1);
    EXPECT_EQ(WindowText(::GetDlgItem(whois, IDC_WHOIS_REAL_NAME)), L"second client");
    EXPECT_EQ(WindowText(::GetDlgItem(whois, IDC_WHOIS_SERVER)), L"program.test.local / Ketroval test server");
    EXPECT_NE(WindowText(::GetDlgItem(whois, IDC_WHOIS_CHANNELS)).Find(Wide(channel)), -1);
    SaveWindowPng(whois, ScreenshotPath(L"program-whois-window.png"));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(peer->WaitFor("QUIT"));
    EXPECT_EQ(0, run.WaitExit(5000));
    EXPECT_FALSE(::IsWindow(whois)) << "the WHOIS window ends with the program";
}

TEST(ProgramWindowsTest, ScriptSettingsChoiceIsStoredAndRunsAtOnceAndNewFilesInTheFolderLoad)
{
    const char kScript[] = "function event::onLoad() { log('loaded'); }\r\n";
    TProgramRun run;
    // "later.js" is enabled for the first server before the file exists.
    run.WriteSettings(L"tree.ini", "[World]\r\nUnit.Count=2\r\n"
                                   "[Unit.00]\r\nName=first\r\nHostname=127.0.0.1\r\nNick=kvfirst\r\n"
                                   "ScriptFile.Count=2\r\nScriptFile.00=hello.js\r\nScriptFile.01=later.js\r\n"
                                   "[Unit.01]\r\nName=second\r\nHostname=127.0.0.1\r\nNick=kvsecond\r\n");
    run.WriteSettings(L"preference.ini", kQuietStart);
    run.WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=20\r\nWidth=800\r\nHeight=600\r\n");
    ::CreateDirectoryW(run.ScriptFolder().Left(run.ScriptFolder().GetLength() - 1), nullptr);
    ASSERT_TRUE(WriteFileBytes(run.ScriptFolder() + L"hello.js", kScript));
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);

    ChooseMenuItem(main, 'T', 'C');
    HWND settings = run.WaitWindow(L"スクリプトの設定");
    ASSERT_TRUE(settings) << "the tools menu opens the script settings window";
    HWND list = ::GetDlgItem(settings, IDC_SCRIPT_LIST);
    ASSERT_EQ(1, ListRowCount(list)) << "hello.js alone is in the folder";
    // The file column and each server column are at their stored widths (100 and 60): the
    // right-click goes to hello.js in the column of "second".
    RECT header;
    ::GetWindowRect(FindChildren(list, L"SysHeader32").at(0), &header);
    ClickAt(ScreenPointOf(list, 100 + 60 + 30, header.bottom - header.top + 8), true);
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return IniValue(IniSection(run.ReadSettings(L"tree.ini"), "Unit.01"), "ScriptFile.00") == "hello.js"; },
        5000))
        << "the choice is stored for the second server";
    EXPECT_EQ("2", IniValue(IniSection(run.ReadSettings(L"tree.ini"), "Unit.00"), "ScriptFile.Count"));
    ::RedrawWindow(settings, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPng(settings, ScreenshotPath(L"program-script-settings.png"));

    ClickAt(ScreenPointOf(::GetDlgItem(settings, IDC_SCRIPT_SHOW_CONSOLE)));
    HWND console = run.WaitWindow(L"スクリプトコンソール");
    ASSERT_TRUE(console) << "the window's button shows the script console";
    HWND consoleLog = FindChildren(console, L"Ketroval2LogView").at(0);
    std::string text = CopyLogText(consoleLog);
    EXPECT_NE(std::string::npos, text.find("<first> (hello.js) loaded")) << "loaded at start-up\n" << text;
    EXPECT_NE(std::string::npos, text.find("<second> (hello.js) loaded")) << "loaded by the choice\n" << text;
    EXPECT_EQ(std::string::npos, text.find("later.js")) << text;

    // A script saved into the folder while the program runs starts where it is enabled.
    ASSERT_TRUE(WriteFileBytes(run.ScriptFolder() + L"later.js", kScript));
    EXPECT_TRUE(PumpMessagesUntil(
        [&] {
            text = CopyLogText(consoleLog);
            return text.find("<first> (later.js) loaded") != std::string::npos;
        },
        10000))
        << text;
    EXPECT_EQ(std::string::npos, text.find("<second> (later.js)")) << text;
    EXPECT_TRUE(PumpMessagesUntil([&] { return ListRowCount(list) == 2; }, 3000)) << "the window lists it";
    SaveWindowPng(console, ScreenshotPath(L"program-script-console.png"));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.WaitExit(5000));
}
