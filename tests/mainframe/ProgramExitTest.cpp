// What the real program keeps across a close: the places and sizes of the protocol log and the
// two history windows reach "window.ini" and the next start makes the windows there, and the
// protocol log goes as the servers are told goodbye rather than after the wait for them. A script
// that will not stop keeps neither the server's answers nor the close waiting.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "res/resource.h"
#include "tests/common/InputHandled.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The server menu's protocol log command, as its menu item sends it.
HWND ShowProtocolLog(TProgramRun& run, HWND main)
{
    ::PostMessageW(main, WM_COMMAND, ID_PROTOCOL_LOG, 0);
    return run.WaitWindow(L"プロトコルログ - testnet");
}

// Each window where the user left it, and its section in window.ini.
const struct {
    const wchar_t* title;
    const char* section;
    RECT place;
    bool moved;
} kWindows[] = {{L"プロトコルログ - testnet", "ProtocolLog", {150, 130, 570, 390}, true},
                {L"キーワード履歴", "KeywordHistory", {0, 0, 520, 340}, false},
                {L"URL履歴", "URLHistory", {0, 0, 540, 360}, false}};

} // namespace

TEST(ProgramExitTest, WindowPlacesSurviveARestartAndTheProtocolLogGoesWhileTheServersQuit)
{
    TScriptedServer server;
    TProgramRun run;
    run.WriteSettings(L"tree.ini", OneServerTree(server.Port(), "kvexit", "Ketroval exit", "#kvexit"));
    run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n");
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    TLineSocket* peer = server.WaitClient();
    ASSERT_TRUE(peer && peer->WaitFor("USER "));
    peer->Send(":irc.test 001 kvexit :Welcome\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN")) << "logged in, the program joins its channel";
    HWND protocolLog = ShowProtocolLog(run, main);
    ASSERT_TRUE(protocolLog);
    for (const auto& w : kWindows) {
        HWND window = run.FindWindowTitled(w.title);
        ASSERT_TRUE(window) << w.section;
        const RECT& r = w.place;
        ::SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | (w.moved ? 0 : SWP_NOMOVE));
    }

    // The close says goodbye and waits for the server; the protocol log is gone during the wait.
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(peer->WaitFor("QUIT"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(protocolLog); }, "the protocol log gone", 3000));
    EXPECT_EQ(-1, run.WaitExit(0)) << "the program still waits for the server";
    peer->Close();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(main); }, "the window gone once the server has closed", 8000));
    // It takes some 20 ms; waiting for the scripts-folder watcher a second time held it a second.
    EXPECT_EQ(0, run.WaitExit(750)) << "the program ends as its window goes";
    std::string saved = run.ReadSettings(L"window.ini");
    for (const auto& w : kWindows) {
        std::string section = IniSection(saved, w.section);
        const RECT& r = w.place;
        if (w.moved) {
            EXPECT_EQ(std::to_string(r.left) + "," + std::to_string(r.top),
                      IniValue(section, "Left") + "," + IniValue(section, "Top"));
        }
        EXPECT_EQ(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top),
                  IniValue(section, "Width") + "x" + IniValue(section, "Height"))
            << saved;
    }

    // The next start makes them at the stored sizes and shows the protocol log where it was.
    ASSERT_TRUE(run.Start());
    main = run.WaitMainWindow();
    ASSERT_TRUE(main && ShowProtocolLog(run, main));
    for (const auto& w : kWindows) {
        RECT shown = {};
        ::GetWindowRect(run.FindWindowTitled(w.title), &shown);
        const RECT& r = w.place;
        EXPECT_EQ(r.right - r.left, shown.right - shown.left) << w.section;
        EXPECT_EQ(r.bottom - r.top, shown.bottom - shown.top) << w.section;
        if (w.moved) {
            EXPECT_TRUE(shown.left == r.left && shown.top == r.top) << w.section;
        }
    }
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.WaitExit(8000));
}

TEST(ProgramExitTest, AHandlerThatCatchesItsTimeOutLetsTheProgramAnswerAndCloseWithAltF4)
{
    TScriptedServer server;
    TProgramRun run;
    run.WriteSettings(L"tree.ini", OneServerTree(server.Port(), "kvloop", "Ketroval loop", "#kvloop") +
                                       "ScriptFile.Count=1\r\nScriptFile.00=runaway.js\r\n");
    run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n");
    ::CreateDirectoryW(run.ScriptFolder().Left(run.ScriptFolder().GetLength() - 1), nullptr);
    ASSERT_TRUE(WriteFileBytes(run.ScriptFolder() + L"runaway.js",
                               "function event::onChannelText(prefix, channel, text) {\r\n"
                               "  while (true) { try { log('x'); } catch (e) { } } }\r\n"));
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    TLineSocket* peer = server.WaitClient();
    ASSERT_TRUE(peer && peer->WaitFor("USER "));
    peer->Send(":irc.test 001 kvloop :Welcome\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN"));

    peer->Send(":bob!b@h.example PRIVMSG #kvloop :hello\r\nPING :after\r\n");
    ASSERT_TRUE(peer->WaitFor("PONG :after", 20000)) << "the program answers the server after the script's loop";
    FocusForInput(main);
    PressKey(VK_F4, {VK_MENU});
    ASSERT_TRUE(peer->WaitFor("QUIT")) << "Alt+F4 closes the program";
    peer->Close();
    EXPECT_EQ(0, run.WaitExit(8000));
}
