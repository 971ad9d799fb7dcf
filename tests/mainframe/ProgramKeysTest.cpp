// The system keys of the real program's main window wherever the focus is in it: Alt+F4 ends the
// program, Alt+F held and Alt tapped then F open the File menu, with the focus in the channel's
// log, the server tree, the member list or the input line, also while WHOIS windows and the
// transfer window are open; Ctrl+D from each of them; the quit of the tray menu, and the tray
// icon turned off from it while the window hides in the tray.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "foundation/CodePage.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kQuietStart[] = "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n";
const char kNick[] = "kvkeys";
const char kPeer[] = "kvkeyspeer";
const DWORD kBoundMs = 8000;

enum class TPlace { Log, Tree, Members, Input };

const struct {
    TPlace place;
    const char* name;
} kPlaces[] = {{TPlace::Log, "log"}, {TPlace::Tree, "tree"}, {TPlace::Members, "members"}, {TPlace::Input, "input"}};

struct TWindowSearch {
    DWORD process;
    std::function<bool(HWND)> match;
    HWND found;
};

// The first shown top-level window of the process that matches.
BOOL CALLBACK FindShownWindow(HWND window, LPARAM param)
{
    auto* search = (TWindowSearch*)param;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !::IsWindowVisible(window) || !search->match(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

class ProgramKeysTest : public ::testing::Test {
protected:
    // The program started, connected and in the channel with the peer, its window active; the
    // window leaves the corner of the system's tray free.
    bool StartInChannel(const std::string& preferences = kQuietStart)
    {
        if (!peer) {
            peer = ConnectIrcClient(port, kPeer);
            if (!peer)
                return false;
            peer->Send("JOIN " + channel + "\r\n");
            if (!peer->WaitFor("JOIN :" + channel))
                return false;
        }
        run = std::make_unique<TProgramRun>();
        run->WriteSettings(L"tree.ini", OneServerTree(port, kNick, "Ketroval keys", channel));
        run->WriteSettings(L"preference.ini", preferences);
        run->WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=60\r\nWidth=900\r\nHeight=640\r\n");
        if (!run->Start() || !(main = run->WaitMainWindow()))
            return false;
        thread = ::GetWindowThreadProcessId(main, nullptr);
        if (!peer->WaitFor(std::string(":") + kNick + "!", 20000))
            return false;
        // The member list shows both once the names have come. Start-up ends with the window in
        // front, which may come late: a click given before would lose its focus again.
        return PumpMessagesUntil(
            [&] { return MemberList() && ListRows(MemberList()) == 2 && ::GetForegroundWindow() == main; }, kBoundMs);
    }
    static int ListRows(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }
    HWND MemberList()
    {
        for (HWND list : FindChildren(main, L"SysListView32"))
            if (::IsWindowVisible(list))
                return list;
        return nullptr;
    }
    HWND Window(TPlace place)
    {
        switch (place) {
        case TPlace::Log:
            return ShownChannelLog(main);
        case TPlace::Tree:
            return FindChildren(main, L"SysTreeView32").at(0);
        case TPlace::Members:
            return MemberList();
        case TPlace::Input:
            return InputLine(main);
        }
        return nullptr;
    }
    // What the program's window thread has: the focus, the active window, the menu mode; all
    // empty when it cannot be asked.
    GUITHREADINFO ThreadInfo()
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(thread, &info) ? info : GUITHREADINFO{};
    }
    HWND Focus() { return ThreadInfo().hwndFocus; }
    bool InMenu() { return (ThreadInfo().flags & GUI_INMENUMODE) != 0; }
    HWND ShownWindow(std::function<bool(HWND)> match)
    {
        TWindowSearch search = {run->ProcessId(), match, nullptr};
        ::EnumWindows(FindShownWindow, (LPARAM)&search);
        return search.found;
    }
    HWND ShownPopup()
    {
        return ShownWindow([](HWND window) {
            wchar_t name[16] = L"";
            return ::GetClassNameW(window, name, 16) && wcscmp(name, L"#32768") == 0;
        });
    }
    bool PopupShown() { return ShownPopup() != nullptr; }
    // The screen point of the shown popup's one ticked item. The menu is the program's, so its
    // items are found on the screen: the rows with dark pixels left of the texts are the check
    // mark's. A popup not yet fully drawn is black in parts, which shows as a run taller than a
    // mark or as a second run.
    bool TickedItemPoint(POINT& point)
    {
        HWND popup = ShownPopup();
        if (!popup)
            return false;
        auto shown = CaptureClient(popup);
        auto dark = [&](int y) {
            for (int x = 3; x < 16 && x < shown->width; x++) {
                COLORREF c = shown->Pixel(x, y);
                if (GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90)
                    return true;
            }
            return false;
        };
        std::vector<std::pair<int, int>> runs;
        for (int y = 0; y < shown->height; y++) {
            if (!dark(y))
                continue;
            if (runs.empty() || runs.back().second != y)
                runs.push_back({y, y});
            runs.back().second = y + 1;
        }
        if (runs.size() != 1 || runs[0].second - runs[0].first > 16)
            return false;
        point = ScreenPointOf(popup, shown->width / 2, (runs[0].first + runs[0].second) / 2);
        return true;
    }
    // A click into the window's empty lower part, as a user puts the focus there. The window is
    // brought to the front first: taking the front gives the focus back to where it was, which
    // the system may finish after a click into a window behind.
    ::testing::AssertionResult ClickInto(TPlace place)
    {
        HWND window = Window(place);
        if (!window)
            return ::testing::AssertionFailure() << "no such window";
        POINT at = {};
        // A late activation of the system's may take the front from under the first click on a
        // loaded machine; the user's second click then lands. With the window in front, a click
        // that did not bring the focus is the program's fault, and is not tried again.
        for (int attempt = 0; attempt < 2; attempt++) {
            FocusForInput(main);
            // Well inside the client area as it is now: a scroll bar that a late change of the
            // columns brings takes the bottom rows.
            RECT client;
            ::GetClientRect(window, &client);
            at = ScreenPointOf(window, client.right / 2, client.bottom * 3 / 4);
            ClickAt(at);
            if (!PumpMessagesUntil([&] { return Focus() == window && ::GetForegroundWindow() == main; }, kBoundMs)) {
                if (::GetForegroundWindow() == main)
                    break;
                continue;
            }
            // The focus holds while the program handles what came with the click (an activation
            // among it): a few answers of the program later it is still where the click put it.
            for (int trip = 0; trip < 3 && Focus() == window; trip++)
                WaitAnswer(main);
            if (Focus() == window)
                return ::testing::AssertionSuccess();
            if (::GetForegroundWindow() == main)
                return ClickLost(window, at, "the focus left the window the click put it in");
        }
        return ClickLost(window, at, "the click did not bring the focus");
    }
    ::testing::AssertionResult ClickLost(HWND window, POINT at, const char* what)
    {
        SaveWindowPng(::GetDesktopWindow(), ScreenshotPath(L"program-keys-click-lost.png"));
        wchar_t focus[64] = L"", front[128] = L"", under[64] = L"";
        ::GetClassNameW(Focus(), focus, 64);
        ::GetWindowTextW(::GetForegroundWindow(), front, 128);
        HWND hit = ::WindowFromPoint(at);
        ::GetClassNameW(hit, under, 64);
        GUITHREADINFO info = ThreadInfo();
        DWORD_PTR hitTest = 0;
        ::SendMessageTimeoutW(hit, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 5000, &hitTest);
        return ::testing::AssertionFailure()
               << what << ": the focus is on " << Narrow(focus) << " (" << Focus() << " not " << window
               << "), in front: " << Narrow(front) << "; at (" << at.x << ", " << at.y << ") lies " << Narrow(under)
               << " (" << hit << "); active " << info.hwndActive << ", capture " << info.hwndCapture << ", flags "
               << info.flags << ", hit test " << hitTest;
    }
    // Escape leaves the popup, a second one the menu bar.
    bool LeaveMenu()
    {
        PressKey(VK_ESCAPE);
        if (!PumpMessagesUntil([&] { return !PopupShown(); }, kBoundMs))
            return false;
        if (InMenu())
            PressKey(VK_ESCAPE);
        return PumpMessagesUntil([&] { return !InMenu(); }, kBoundMs);
    }
    // A message box whose text holds the words.
    HWND MessageBoxSaying(const wchar_t* text)
    {
        return ShownWindow([text](HWND window) {
            HWND label = ::GetDlgItem(window, 0xFFFF);
            return label && WindowText(label).Find(text) >= 0;
        });
    }
    std::string InputText() { return Narrow(WindowText(InputLine(main))); }
    static std::string Narrow(const CString& text)
    {
        CStringA bytes = ConvertToUtf8(text);
        return std::string(bytes.GetString(), (size_t)bytes.GetLength());
    }
    // Two WHOIS windows from the input line and the transfer window from the View menu, put
    // beside the main window as a user moves them out of the way.
    bool OpenOtherWindows()
    {
        std::vector<HWND> opened;
        // Each window takes the front as it opens, which the system may finish late: a click
        // given before would lose the front again.
        auto open = [&](const CString& title) {
            HWND window = run->WaitWindow(title);
            opened.push_back(window);
            return window && WaitUntil([&] { return ::GetForegroundWindow() == window; }, "the new window in front");
        };
        for (const char* nick : {kPeer, kNick}) {
            ClickAt(ScreenPointOf(InputLine(main)));
            TypeText(ConvertFromUtf8(CStringA((std::string("/whois ") + nick).c_str())));
            PressKey(VK_RETURN);
            if (!open(ConvertFromUtf8(CStringA(nick)) + L" のユーザ情報"))
                return false;
        }
        FocusForInput(main);
        PressKey(VK_F10);
        PressKey('V');
        PressKey('D');
        if (!open(L"DCC"))
            return false;
        for (size_t i = 0; i < opened.size(); i++) {
            if (!opened[i])
                return false;
            ::SetWindowPos(opened[i], nullptr, 930 + 10 * (int)i, 40 + 60 * (int)i, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Activations of the new windows may still be on their way: the program handles what has
        // come so far, then the main window takes the front last.
        for (HWND window : opened)
            WaitForInputHandled(window);
        FocusForInput(main);
        return WaitUntil([&] { return ::GetForegroundWindow() == main; }, "the main window in front again");
    }
    // Alt+F held, then Alt tapped and F: the File menu opens each time and nothing is typed.
    void ExpectFileMenuFrom(TPlace place, const char* name)
    {
        ASSERT_TRUE(ClickInto(place)) << name << ": the focus did not come";
        std::string typed = InputText();
        PressKey('F', {VK_MENU});
        EXPECT_TRUE(PumpMessagesUntil([&] { return PopupShown(); }, kBoundMs))
            << name << ": Alt+F held, with \"" << Narrow(WindowText(::GetForegroundWindow())) << "\" in front";
        ASSERT_TRUE(LeaveMenu()) << name;
        ASSERT_TRUE(ClickInto(place)) << name;
        PressKey(VK_MENU);
        EXPECT_TRUE(PumpMessagesUntil([&] { return InMenu(); }, kBoundMs)) << name << ": Alt tapped";
        PressKey('F');
        EXPECT_TRUE(PumpMessagesUntil([&] { return PopupShown(); }, kBoundMs)) << name << ": Alt tapped, then F";
        ASSERT_TRUE(LeaveMenu()) << name;
        EXPECT_EQ(typed, InputText()) << name << ": no letter reached the input line";
    }
    void TearDown() override
    {
        if (peer)
            peer->Send("QUIT :bye\r\n");
    }

    int port = atoi(PeerValue("IRC_PROGRAM_PORT").c_str());
    std::string channel = "#kvkeys" + std::to_string(::GetTickCount() % 100000);
    std::unique_ptr<TLineSocket> peer;
    std::unique_ptr<TProgramRun> run;
    HWND main = nullptr;
    DWORD thread = 0;
};

} // namespace

TEST_F(ProgramKeysTest, AltF4EndsTheProgramFromEveryPartOfTheMainWindow)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PROGRAM_PORT");
    for (const auto& where : kPlaces) {
        ASSERT_TRUE(StartInChannel()) << where.name;
        ASSERT_TRUE(ClickInto(where.place)) << where.name;
        PressKey(VK_F4, {VK_MENU});
        EXPECT_EQ(0, run->WaitExit(15000)) << where.name << ": Alt+F4 with the focus there";
        run.reset();
    }
}

TEST_F(ProgramKeysTest, FileMenuOpensFromTheKeysWhereverTheFocusIsAlsoWithWhoisAndTransferWindowsOpen)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PROGRAM_PORT");
    ASSERT_TRUE(StartInChannel());
    for (bool othersOpen : {false, true}) {
        SCOPED_TRACE(othersOpen ? "with the other windows open" : "the main window alone");
        if (othersOpen) {
            ASSERT_TRUE(OpenOtherWindows());
        }
        for (const auto& where : kPlaces)
            ExpectFileMenuFrom(where.place, where.name);
    }
    SaveWindowPng(main, ScreenshotPath(L"program-keys-windows-open.png"));
    ASSERT_TRUE(ClickInto(TPlace::Log));
    PressKey(VK_F4, {VK_MENU});
    EXPECT_EQ(0, run->WaitExit(15000)) << "Alt+F4 from the log with the other windows open";
}

// Ctrl+D opens the send-multiple-lines window over the channel, wherever the focus is; Esc
// leaves it and nothing was typed.
TEST_F(ProgramKeysTest, CtrlDOpensSendMultipleLinesFromEveryPartOfTheMainWindow)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PROGRAM_PORT");
    ASSERT_TRUE(StartInChannel());
    for (const auto& where : kPlaces) {
        ASSERT_TRUE(ClickInto(where.place)) << where.name << ": the focus did not come";
        std::string typed = InputText();
        PressKey('D', {VK_CONTROL});
        HWND dialog = run->WaitWindow(L"複数行を送信", kBoundMs);
        ASSERT_TRUE(dialog) << where.name << ": Ctrl+D opened nothing";
        if (where.place == TPlace::Input)
            SaveWindowPng(dialog, ScreenshotPath(L"program-keys-send-lines.png"));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, kBoundMs))
            << where.name << ": Esc did not close the window";
        EXPECT_EQ(typed, InputText()) << where.name << ": no letter reached the input line";
    }
}

// File, M hides the window in the tray; turning the tray icon off from the tray's menu brings the
// window back, and the program still ends as a user ends it: the server hears QUIT and
// "window.ini" is written.
TEST_F(ProgramKeysTest, TrayIconTurnedOffWhileHiddenInTheTrayBringsTheWindowBack)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PROGRAM_PORT");
    ASSERT_TRUE(
        StartInChannel(std::string(kQuietStart) + "[Window]\r\nEnableTrayIcon=1\r\nHideWindowOnMinimize=1\r\n"));
    ASSERT_TRUE(ClickInto(TPlace::Input));
    PressKey('F', {VK_MENU});
    ASSERT_TRUE(PumpMessagesUntil([&] { return PopupShown(); }, kBoundMs)) << "the File menu";
    PressKey('M');
    ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindowVisible(main); }, kBoundMs)) << "File, M hides the window";
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    ASSERT_TRUE(tray) << "the system's tray window";
    ClickAt(ScreenPointOf(tray, 10, 10), true);
    ASSERT_TRUE(PumpMessagesUntil([&] { return PopupShown(); }, kBoundMs)) << "the tray menu";
    // Only the tray icon's item is ticked; the tray's window has the keyboard, so it is clicked.
    POINT item = {};
    // The popup may show before its items are drawn.
    ASSERT_TRUE(PumpMessagesUntil([&] { return TickedItemPoint(item); }, kBoundMs))
        << "no ticked item in the tray menu";
    SaveWindowPng(::GetDesktopWindow(), ScreenshotPath(L"program-keys-tray-off.png"));
    // A click lands on the item the menu's tracking has taken the pointer to: point at it and wait
    // for its highlight first, as a user's hand does.
    HWND popup = ShownPopup();
    POINT inPopup = item;
    ::ScreenToClient(popup, &inPopup);
    const COLORREF plain = CaptureClient(popup)->Pixel(inPopup.x, inPopup.y);
    MoveMouseTo(item);
    ASSERT_TRUE(PumpMessagesUntil([&] { return CaptureClient(popup)->Pixel(inPopup.x, inPopup.y) != plain; }, kBoundMs))
        << "the ticked item was not highlighted under the pointer";
    ClickAt(item);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, kBoundMs))
        << "the window did not come back";
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return IniValue(run->ReadSettings(L"preference.ini"), "EnableTrayIcon") == "false"; }, kBoundMs))
        << "the tray icon's choice is not stored";
    ASSERT_TRUE(ClickInto(TPlace::Log));
    PressKey(VK_F4, {VK_MENU});
    EXPECT_EQ(0, run->WaitExit(15000)) << "Alt+F4 after the window came back";
    EXPECT_TRUE(peer->WaitFor("QUIT")) << "the program said goodbye to the server";
    EXPECT_NE("", IniValue(run->ReadSettings(L"window.ini"), "EnableToolBar")) << "window.ini written at the end";
}

TEST_F(ProgramKeysTest, TrayMenuQuitEndsTheProgramWithItsWindowsOpen)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PROGRAM_PORT");
    ASSERT_TRUE(StartInChannel(std::string(kQuietStart) + "[Window]\r\nEnableTrayIcon=1\r\n"));
    ASSERT_TRUE(OpenOtherWindows());
    ASSERT_TRUE(ClickInto(TPlace::Tree)) << "the focus did not come to the tree";
    // Without a tray of the desktop's own the system shows the icons in a window of its own.
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    ASSERT_TRUE(tray) << "the system's tray window";
    ClickAt(ScreenPointOf(tray, 10, 10), true);
    ASSERT_TRUE(PumpMessagesUntil([&] { return PopupShown(); }, kBoundMs)) << "the tray menu";
    // The tray's window, not the program, has the keyboard while the menu is open: the quit item
    // is clicked, three quarters down the menu (below it only a separator and the restore item).
    RECT menu;
    ::GetWindowRect(ShownPopup(), &menu);
    SaveWindowPng(::GetDesktopWindow(), ScreenshotPath(L"program-keys-tray-menu.png"));
    ClickAt(POINT{(menu.left + menu.right) / 2, menu.top + (menu.bottom - menu.top) * 77 / 100});
    HWND confirm = nullptr;
    ASSERT_TRUE(PumpMessagesUntil([&] { return (confirm = MessageBoxSaying(L"終了します")) != nullptr; }, kBoundMs))
        << "the quit is confirmed first";
    ClickAt(ScreenPointOf(::GetDlgItem(confirm, IDOK)));
    EXPECT_EQ(0, run->WaitExit(15000)) << "the tray menu's quit";
    EXPECT_TRUE(peer->WaitFor("QUIT")) << "the program said goodbye to the server";
}
