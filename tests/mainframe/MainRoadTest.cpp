// The main road with the real program and a real server: start, connect and join from the
// settings, a message from another user in the channel's log view and log file, typed lines and
// a Ctrl+Return notice reaching that user, and a close that quits and ends the program, at
// once when the server answers and after the quit wait when it does not.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "foundation/CodePage.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Every file under the folder whose bytes hold the text.
bool FolderHoldsText(const CString& folder, const std::string& text)
{
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW(folder + L"*", &data);
    bool found = false;
    for (bool more = search != INVALID_HANDLE_VALUE; more && !found; more = ::FindNextFileW(search, &data)) {
        if (data.cFileName[0] == L'.')
            continue;
        CString path = folder + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            found = FolderHoldsText(path + L"\\", text);
        else
            found = std::string(ReadFileBytes(path).GetString()).find(text) != std::string::npos;
    }
    ::FindClose(search);
    return found;
}

} // namespace

TEST(MainRoadTest, ConnectJoinChatAndQuit)
{
    REQUIRE_PEER_PORT(port, "IRC_PROGRAM_PORT");
    std::string channel = "#road" + std::to_string(GetTickCount() % 100000);
    TProgramRun run;
    run.WriteSettings(L"tree.ini", OneServerTree(port, "kvroad", "Ketroval road", channel));
    CStringA logRoot = ConvertToUtf8(run.LogFolder());
    run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n"
                                         "[Log]\r\nEnableChannelLog=1\r\nLogRootDir=" +
                                             std::string(logRoot.GetString()) + "\r\n");
    run.WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=20\r\nWidth=900\r\nHeight=640\r\n");

    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(port, "scripted");
    ASSERT_TRUE(peer);
    peer->Send("JOIN " + channel + "\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN :" + channel));

    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(peer->WaitFor(":kvroad!", 20000)) << "the program joins the channel from its settings";

    // The user picks the channel in the tree with the keyboard.
    ASSERT_TRUE(PickFirstChannel(main));

    peer->Send("PRIVMSG " + channel +
               " :\x02"
               "bold\x02 \x03"
               "04red\x03 see https://example.com/road\r\n");
    std::string seen;
    PumpMessagesUntil(
        [&] {
            HWND view = ShownChannelLog(main);
            seen = view ? CopyLogText(view) : std::string();
            return seen.find("see https://example.com/road") != std::string::npos;
        },
        10000);
    EXPECT_NE(std::string::npos, seen.find("scripted")) << seen;
    EXPECT_NE(std::string::npos, seen.find("bold red see https://example.com/road")) << seen;
    EXPECT_TRUE(
        PumpMessagesUntil([&] { return FolderHoldsText(run.LogFolder(), "see https://example.com/road"); }, 5000))
        << "the channel's log file";

    HWND input = InputLine(main);
    ASSERT_TRUE(input);
    ClickAt(ScreenPointOf(input));
    TypeText(L"hello from the input line");
    PressKey(VK_RETURN);
    EXPECT_TRUE(peer->WaitFor("PRIVMSG " + channel + " :hello from the input line"));
    TypeText(L"a notice");
    PressKey(VK_RETURN, {VK_CONTROL});
    EXPECT_TRUE(peer->WaitFor("NOTICE " + channel + " :a notice"));
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPng(main, L"screenshots\\main_window.png");

    // Closing sends QUIT; the program ends within the quit wait, successfully.
    // The server answers at once, so the program ends well before the quit wait runs out.
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(peer->WaitFor("QUIT"));
    EXPECT_EQ(0, run.WaitExit(3000));
}

// The command line names whose settings to load and which servers to connect, in its order, with
// option names in any case; the servers marked for connecting at start then wait.
TEST(MainRoadTest, CommandLineChoosesTheUserAndTheServersToConnectInItsOrder)
{
    TScriptedServer first, second, marked;
    TProgramRun run;
    std::string tree = "[World]\r\nUnit.Count=3\r\n";
    const struct {
        const char* name;
        TScriptedServer& server;
        const char* autoConnect;
    } units[] = {{"one", second, "0"}, {"two", first, "0"}, {"three", marked, "1"}};
    for (int i = 0; i < 3; i++)
        tree += "[Unit.0" + std::to_string(i) + "]\r\nName=" + units[i].name +
                "\r\nHostname=127.0.0.1\r\nPort=" + std::to_string(units[i].server.Port()) +
                "\r\nNick=kvline\r\nAutoConnect=" + units[i].autoConnect + "\r\n";
    run.WriteSettings(L"tree.ini", tree, L"alice");
    run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=1\r\n[Detail]\r\nAutoPongTime=4\r\n", L"alice");
    ASSERT_TRUE(run.Start(L"uSeR=alice SERVER=two profile=one"));
    ASSERT_TRUE(run.WaitMainWindow());
    EXPECT_TRUE(first.WaitClient(1, 15000)) << "the first server named";
    EXPECT_EQ(0, second.Accepted()) << "the second one comes after the first";
    TLineSocket* client = second.WaitClient(1, 15000);
    ASSERT_TRUE(client) << "the second server named";
    // A marked server would come next, one stagger step after the second. The second's
    // keep-alives go out every 4 ticks from its login: two of them span more than a step.
    ASSERT_TRUE(client->WaitFor("USER"));
    client->Send(":irc.test.local 001 kvline :Welcome\r\n");
    ASSERT_TRUE(client->WaitFor("PONG", kWaitBoundMs));
    ASSERT_TRUE(PumpMessagesUntil([&] { return client->LinesStartingWith("PONG").size() >= 2; }, kWaitBoundMs));
    EXPECT_EQ(0, marked.Accepted()) << "a server marked for the start is not connected";
    run.KillAll();
}

// The program logged in to a server that will never answer its QUIT.
struct TSilentServerRun {
    TScriptedServer server;
    TProgramRun run;
    HWND main = nullptr;
    TLineSocket* client = nullptr;

    bool Start(const std::string& preference)
    {
        run.WriteSettings(L"tree.ini", "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=silent\r\nHostname=127.0.0.1\r\n"
                                       "Port=" +
                                           std::to_string(server.Port()) +
                                           "\r\nNick=kvroad\r\nAutoConnect=1\r\n"
                                           // Sent once the program counts itself logged in.
                                           "LoginCommand.Count=1\r\nLoginCommand.00=MODE kvroad +i\r\n");
        run.WriteSettings(L"preference.ini",
                          "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n" + preference);
        if (server.Port() <= 0 || !run.Start() || !(main = run.WaitMainWindow()))
            return false;
        client = server.WaitClient(1, 15000);
        if (!client || !client->WaitFor("USER"))
            return false;
        client->Send(":irc.test.local 001 kvroad :Welcome\r\n");
        return client->WaitFor("MODE kvroad +i");
    }
};

TEST(MainRoadTest, CloseWaitsAtMostTheQuitWaitForAServerThatNeverAnswers)
{
    TSilentServerRun silent;
    ASSERT_TRUE(silent.Start(""));
    DWORD closed = GetTickCount();
    ::PostMessageW(silent.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(silent.client->WaitFor("QUIT"));
    // QUIT goes out before the window hides (the settings are saved in between).
    EXPECT_TRUE(PumpMessagesUntil([&] { return !::IsWindowVisible(silent.main); }, 2000))
        << "the window hides while it waits";
    EXPECT_EQ(0, silent.run.WaitExit(8000));
    DWORD waited = GetTickCount() - closed;
    EXPECT_GE(waited, 4500u);
    EXPECT_LE(waited, 7000u);
}

// A shown top-level window of the process other than its main window, or null.
HWND OtherShownWindow(DWORD processId, HWND main)
{
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == processId && w != main && ::IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// Handled by the window before it returns, as a macro's or script's action is.
bool SendTo(HWND window, UINT message, WPARAM wParam)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, kWaitBoundMs, &answer) != 0;
}

// While the first instance waits for its server it still holds the single-instance name, so a
// new start ends, and the closing window ignores the activation that start sends, and a macro's
// or script's window and menu actions. A second close ends the wait at once.
TEST(MainRoadTest, DuringTheQuitWaitANewStartEndsAndASecondCloseEndsTheProgram)
{
    TSilentServerRun silent;
    ASSERT_TRUE(silent.Start("[Window]\r\nForceSingleApplicationInstance=1\r\n"));
    // Before the close those actions act: the menu's transfer window opens.
    ASSERT_TRUE(SendTo(silent.main, WM_COMMAND, ID_DCC_WINDOW));
    EXPECT_TRUE(OtherShownWindow(silent.run.ProcessId(), silent.main)) << "the transfer window opened";
    // Minimised: an activation request that was taken would bring it back.
    ASSERT_TRUE(SendTo(silent.main, WM_SYSCOMMAND, SC_MINIMIZE));
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(silent.main) != FALSE; }, kWaitBoundMs));
    DWORD closed = GetTickCount();
    ::PostMessageW(silent.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(silent.client->WaitFor("QUIT"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindowVisible(silent.main); }, kWaitBoundMs));

    // A new start finds the name taken, hands its activation over and ends.
    HANDLE first = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, silent.run.ProcessId());
    ASSERT_TRUE(first);
    ASSERT_TRUE(silent.run.Start());
    EXPECT_EQ(0, silent.run.WaitExit(kWaitBoundMs)) << "a new start runs beside the closing one";
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(silent.main, ::RegisterWindowMessageW(L"Ketroval2Activate"), SC_RESTORE, 0,
                                      SMTO_NORMAL, kWaitBoundMs, &answer))
        << "the closing window is there to take the activation";
    EXPECT_FALSE(::IsWindowVisible(silent.main)) << "the closing window ignores the activation";
    for (WPARAM command : {(WPARAM)SC_RESTORE, (WPARAM)SC_MAXIMIZE})
        ASSERT_TRUE(SendTo(silent.main, WM_SYSCOMMAND, command));
    ASSERT_TRUE(SendTo(silent.main, WM_COMMAND, ID_DCC_WINDOW));
    EXPECT_FALSE(::IsWindowVisible(silent.main)) << "a window action brought the closing window back";
    EXPECT_EQ(nullptr, OtherShownWindow(::GetProcessId(first), silent.main)) << "a menu action opened a window";

    // Measured from the second close: the end comes before what is left of the wait.
    ASSERT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(first, 0)) << "the quit wait ran out before the second close";
    const DWORD secondClose = GetTickCount();
    ::PostMessageW(silent.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(first, kWaitBoundMs));
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(first, &code) && code == 0);
    ::CloseHandle(first);
    EXPECT_LT(GetTickCount() - secondClose, kQuitWaitMs - (secondClose - closed))
        << "the second close ends it without the rest of the wait";
}
