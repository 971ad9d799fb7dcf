// The main window as the user leaves and comes back to it: minimising into the tray, restoring,
// activation with the mouse, and files dropped on it.

#include "tests/mainframe/MainFrameFixture.h"

#include "classlib/Wnd.h"
#include "controls/ListView.h"
#include "controls/TrayIcon.h"
#include "controls/UpdateDialog.h"
#include "dccmanager/DCCManager.h"
#include "dccwindows/DCCDialog.h"
#include "ircproto/ChannelListWindow.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <shlobj.h>

#include <functional>
#include <map>

namespace {

using FrameActivation = MainFrameFixture;

// A memory block as the shell hands it over in WM_DROPFILES; the receiver frees it.
HDROP MakeDrop(const std::vector<CString>& files, POINT client)
{
    size_t chars = 1;
    for (const CString& file : files)
        chars += file.GetLength() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    DROPFILES* drop = (DROPFILES*)::GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = client;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    wchar_t* names = (wchar_t*)((BYTE*)drop + sizeof(DROPFILES));
    for (const CString& file : files) {
        wcscpy(names, file);
        names += file.GetLength() + 1;
    }
    ::GlobalUnlock(memory);
    return (HDROP)memory;
}

// Whether the first window lies above the second in the z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower)
{
    for (HWND next = ::GetWindow(upper, GW_HWNDNEXT); next; next = ::GetWindow(next, GW_HWNDNEXT))
        if (next == lower)
            return true;
    return false;
}

// A path well beyond MAX_PATH, unique in its last characters.
CString LongPath(const wchar_t* fileName)
{
    CString path = L"C:\\transfers";
    for (int i = 0; i < 24; i++)
        path += L"\\a-rather-long-folder";
    return path + L"\\" + fileName;
}

TEST_F(FrameActivation, MinimisingWithTheTraySettingsHidesTheWindowUntilItIsRestored)
{
    settings.preference.EnableTrayIcon = true;
    settings.preference.HideWindowOnMinimize = true;
    TTrayIcon& tray = frame->GetTrayIcon();
    tray.Create(frame->m_hWnd);
    tray.SetShowOnlyWhenMinimized(true);
    tray.SetEnabled(true);
    EXPECT_FALSE(tray.IsPresent());
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame->IsApplicationActive(); }, 3000));
    frame->ExecuteAction(L"minimize");
    // A loaded machine settles the minimising later.
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) && !frame->IsApplicationActive(); }, 5000));
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));
    EXPECT_FALSE(frame->IsApplicationActive());
    EXPECT_TRUE(tray.IsPresent());

    // Alerts while away: a highlight blinks and shows in the tray; a later message leaves it.
    frame->StartHighlightAlert();
    frame->StartMessageAlert();
    EXPECT_TRUE(tray.highlightAlert);
    EXPECT_FALSE(tray.newMessageAlert);

    // The tray's restore: shown again, brought forward with the keyboard focus inside.
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(
        PumpMessagesUntil([&] { return ::IsWindowVisible(frame->m_hWnd) && !::IsIconic(frame->m_hWnd); }, 5000));
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd; }, 5000));
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return ::IsChild(frame->m_hWnd, ::GetFocus()) && frame->IsApplicationActive(); }, 3000));
    EXPECT_TRUE(::IsChild(frame->m_hWnd, ::GetFocus()));
    EXPECT_TRUE(frame->IsApplicationActive());
    EXPECT_FALSE(tray.IsPresent());
    EXPECT_FALSE(tray.highlightAlert);
    // While the user is here, messages raise no alert.
    frame->StartMessageAlert();
    EXPECT_FALSE(tray.newMessageAlert);

    // Without the tray settings minimising leaves the window on the task bar; with "hide all"
    // the frame's own windows go with it and come back, not activated, on restore.
    settings.preference.HideWindowOnMinimize = false;
    settings.preference.HideAllWindowOnMinimize = true;
    frame->ExecuteAction(L"scriptconsole");
    HWND console = nullptr;
    PumpMessagesUntil(
        [&] {
            console = ::GetForegroundWindow();
            return console && console != frame->m_hWnd && ::IsWindowVisible(console);
        },
        5000);
    ASSERT_NE(frame->m_hWnd, console);
    ASSERT_TRUE(::IsWindowVisible(console));
    frame->ExecuteAction(L"minimize");
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) && !::IsWindowVisible(console); }, 5000));
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(console); }, 5000));
    EXPECT_TRUE(IsAbove(frame->m_hWnd, console)) << "the main window is restored last, in front";
    // Wine settles the activation of the windows shown again one after another.
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd; }, 5000))
        << "foreground " << ::GetForegroundWindow() << " console " << console << " active " << ::GetActiveWindow()
        << " focus " << ::GetFocus();
}

// However the window comes back from hiding in the tray, the icon shown only while minimised
// goes, the windows hidden with it come back, and switching the icon off and on again while the
// window is shown does not bring the icon back.
TEST_F(FrameActivation, EveryRestoreFromTheTrayTakesTheIconAwayAndBringsTheHiddenWindowsBack)
{
    TPreference& p = settings.preference;
    p.EnableTrayIcon = p.ShowTrayIconOnMinimized = p.HideWindowOnMinimize = p.HideAllWindowOnMinimize = true;
    p.RestoreTrayIconOnSingleClick = true;
    frame->ApplyStartupSettings(SW_SHOWNORMAL);
    TTrayIcon& tray = frame->GetTrayIcon();
    HWND trayWindow = tray.GetWindow();
    ASSERT_FALSE(tray.IsPresent());
    // Registered by the application at start; a new start posts it to the running window.
    g_activateMessage = ::RegisterWindowMessageW(L"Ketroval2Activate");
    frame->ExecuteAction(L"scriptconsole");
    HWND console = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            console = ::GetForegroundWindow();
            return console && console != frame->m_hWnd && ::IsWindowVisible(console);
        },
        "the script console shown"));

    auto openTrayMenu = [&] { ::PostMessageW(trayWindow, WM_TRAYICON, 0, WM_RBUTTONUP); };
    const struct {
        const char* road;
        std::function<void()> restore;
    } roads[] = {
        {"the tray icon's click", [&] { ::PostMessageW(trayWindow, WM_TRAYICON, 0, WM_LBUTTONUP); }},
        {"the tray menu's restore", [&] { ASSERT_TRUE(ChooseFromOpenedPopup(openTrayMenu, {'R'})); }},
        {"a new start's activation", [&] { ::PostMessageW(frame->m_hWnd, g_activateMessage, SC_RESTORE, 0); }},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.road);
        frame->ExecuteAction(L"minimize");
        ASSERT_TRUE(WaitUntil(
            [&] {
                return ::IsIconic(frame->m_hWnd) && !::IsWindowVisible(frame->m_hWnd) && !::IsWindowVisible(console);
            },
            "the window and the console hidden in the tray"));
        ASSERT_TRUE(tray.IsPresent());
        road.restore();
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame->m_hWnd) && !::IsIconic(frame->m_hWnd); },
                              "the window back"));
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(console) != FALSE; }, "the console back"));
        EXPECT_FALSE(tray.IsPresent());
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd; }, "the window in front"));
        for (int i = 0; i < 2; i++)
            frame->ExecuteAction(L"trayicon");
        EXPECT_TRUE(p.EnableTrayIcon);
        EXPECT_FALSE(tray.IsPresent()) << "the icon came back beside the shown window";
    }
}

// The preferences are the program's, not the main window's work: the frame's own switches leave
// them to Windows, which takes an owned window down and back with its owner, so they come back
// after a minimise with "hide all" and are left no higher than any window once always-on-top
// is off.
TEST_F(FrameActivation, ThePreferencesComeBackWithTheMainWindowAndAreNotLeftOnTop)
{
    settings.preference.HideAllWindowOnMinimize = true;
    TOwnedWindowSlot* preferences = nullptr;
    for (TOwnedWindowSlot* slot : frame->GetOwnedWindows().GetSlots())
        if (slot->GetCommand() == ID_PREFERENCES)
            preferences = slot;
    ASSERT_TRUE(preferences);
    FocusForInput(frame->GetInputLine()->m_hWnd);
    PressKey('S', {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return preferences->IsVisible(); }, "the preferences open"));
    HWND sheet = preferences->GetWindow()->m_hWnd;

    // Out of the way of the menu bar, as a user moves it aside.
    RECT frameRect = {};
    ::GetWindowRect(frame->m_hWnd, &frameRect);
    ::SetWindowPos(sheet, nullptr, frameRect.left + 40, frameRect.top + 120, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (bool on : {true, false}) {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        ChooseFromMenuBar(4, {'T'});
        ASSERT_TRUE(WaitUntil([&] { return frame->IsTopMost() == on; }, "always on top switched"));
    }
    EXPECT_FALSE(::GetWindowLongW(sheet, GWL_EXSTYLE) & WS_EX_TOPMOST);

    MinimiseFromMenu();
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(frame->m_hWnd) && ::IsWindowVisible(sheet); },
                          "the main window and the preferences back"));
    // Above the main window for the picture only.
    ::SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
    SaveWindowPng(sheet, ScreenshotPath(L"mainframe-preferences-restored.png"));
}

TEST_F(FrameActivation, TheServersOwnWindowsFollowTheMainWindowsStates)
{
    IChannelListWindow* list = net->ShowChannelListDialog();
    ASSERT_NE(nullptr, list);
    HWND window = list->GetWindowHandle();
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the list shown"));
    auto topMost = [&] { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };

    // A modal dialog disables the main window; the server's windows take no input either.
    ::EnableWindow(frame->m_hWnd, FALSE);
    EXPECT_FALSE(::IsWindowEnabled(window));
    ::EnableWindow(frame->m_hWnd, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(window));

    // The transfer window over the list: the switch leaves the server's window in front.
    frame->ExecuteAction(L"dcc");
    ASSERT_TRUE(WaitUntil([&] { return frame->GetDCCDialog() && frame->GetDCCDialog()->IsWindowVisible(); },
                          "the transfer window shown"));
    HWND dcc = frame->GetDCCDialog()->m_hWnd;
    RECT listRect = {};
    ::GetWindowRect(window, &listRect);
    ::SetWindowPos(dcc, nullptr, listRect.left + 30, listRect.top + 30, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Both ways, whichever the saved state was.
    for (int i = 0; i < 2; i++) {
        ::SetWindowPos(dcc, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        bool before = frame->IsTopMost();
        frame->ExecuteAction(L"topmost");
        WaitUntil([&] { return frame->IsTopMost() != before && topMost() == frame->IsTopMost(); }, "top-most switched");
        ASSERT_NE(frame->IsTopMost(), before);
        EXPECT_EQ(topMost(), frame->IsTopMost());
        EXPECT_TRUE(IsAbove(window, dcc)) << "the server's window moved last, in front";
        EXPECT_TRUE(IsAbove(dcc, frame->m_hWnd)) << "the main window moved first";
    }

    settings.preference.HideAllWindowOnMinimize = true;
    frame->ExecuteAction(L"minimize");
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) && !::IsWindowVisible(window); }, 5000));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(frame->m_hWnd); }, 5000));
    // Above the main window for the picture only.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
    SaveWindowPng(window, ScreenshotPath(L"mainframe-server-list-restored.png"));
}

TEST_F(FrameActivation, ClickingTheWindowBackClearsTheMarksOfTheChannelInView)
{
    TIRCChannel* alpha = Channel(L"#alpha");
    world->Select(net, alpha);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_WINDOW + 1)), L"other",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200, 150, nullptr, nullptr));
    ClickAt(ScreenPointOf(other.m_hWnd));
    WaitUntil([&] { return ::GetForegroundWindow() == other.m_hWnd; }, "the other window in front");
    ASSERT_EQ(other.m_hWnd, ::GetForegroundWindow());
    alpha->keywordMark = alpha->newTalkMark = alpha->updateMark = true;

    ClickAt(ScreenPointOf(frame->GetInputLine()->m_hWnd));
    WaitUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd && !alpha->updateMark; },
              "the main window in front");
    EXPECT_EQ(frame->m_hWnd, ::GetForegroundWindow());
    EXPECT_FALSE(alpha->keywordMark);
    EXPECT_FALSE(alpha->newTalkMark);
    EXPECT_FALSE(alpha->updateMark);
    other.DestroyWindow();
}

// A private message or a script moved the selection while the program was inactive: coming back,
// the keys go to the view shown now, not to the hidden one of the channel left.
TEST_F(FrameActivation, ComingBackAfterTheSelectionMovedFocusesTheViewShownNow)
{
    TIRCChannel* alpha = Channel(L"#alpha");
    TIRCChannel* beta = Channel(L"#beta");
    std::map<TIRCChannel*, HWND> logs, lists;
    for (TIRCChannel* channel : {alpha, beta}) {
        net->PrintSystemText(channel, L"a line");
        channel->EnsureMemberView();
        channel->AddOrUpdateMember(L"bob", L"b", L"h.example", L"", L"", false, false, false, false, false);
        world->Select(net, channel);
        logs[channel] = world->GetCurrentLogView()->m_hWnd;
        lists[channel] = world->GetCurrentMemberList()->m_hWnd;
    }
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_WINDOW + 1)), L"other",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200, 150, nullptr, nullptr));
    const struct {
        const char* what;
        std::map<TIRCChannel*, HWND>& views;
        TIRCChannel* selectedMeanwhile;
    } cases[] = {
        {"log view, selection kept", logs, alpha},
        {"log view, selection moved", logs, beta},
        {"member list, selection kept", lists, alpha},
        {"member list, selection moved", lists, beta},
    };
    for (const auto& c : cases) {
        world->Select(net, alpha);
        FocusForInput(c.views[alpha]);
        ::SetActiveWindow(other.m_hWnd);
        ASSERT_TRUE(WaitUntil([&] { return ::GetActiveWindow() == other.m_hWnd; }, "the other window active"));
        world->Select(net, c.selectedMeanwhile);
        ::SetActiveWindow(frame->m_hWnd);
        HWND expected = c.views[c.selectedMeanwhile];
        WaitUntil([&] { return ::GetFocus() == expected; }, c.what);
        EXPECT_EQ(expected, ::GetFocus()) << c.what;
        EXPECT_TRUE(::IsWindowVisible(::GetFocus())) << c.what;
    }
    other.DestroyWindow();
}

class FrameDroppedFiles : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (HasFatalFailure())
            return;
        // The channel's member list, as the world shows it once the channel has members.
        TIRCChannel* alpha = Channel(L"#alpha");
        alpha->EnsureMemberView();
        for (const wchar_t* nick : {L"alice", L"bob", L"carol"})
            alpha->AddOrUpdateMember(nick, L"user", L"host.example", L"", L"", false, false, false, false, false);
        world->Select(net, alpha);
        members = world->GetCurrentMemberList();
        ASSERT_EQ(3, members->GetItemCount());
        PumpPendingMessages();
    }
    void Drop(const std::vector<CString>& files, POINT screen)
    {
        POINT client = screen;
        ::ScreenToClient(frame->m_hWnd, &client);
        frame->PostMessageW(WM_DROPFILES, (WPARAM)MakeDrop(files, client), 0);
        PumpPendingMessages();
    }
    POINT RowPoint(int row)
    {
        RECT rect = {};
        members->GetItemRect(row, &rect, LVIR_LABEL);
        return ScreenPointOf(members->m_hWnd, rect.left + 5, (rect.top + rect.bottom) / 2);
    }

    TListView* members = nullptr; // the world's
};

TEST_F(FrameDroppedFiles, FilesGoWholeToTheSelectedMembersElseToTheMemberUnderThePointer)
{
    std::vector<CString> files = {LongPath(L"first.zip"), LongPath(L"second.zip")};
    ASSERT_GT(files[0].GetLength(), MAX_PATH + 200);

    // No selection: the row under the drop point.
    Drop(files, RowPoint(1));
    ASSERT_EQ(2u, sent.sent.size());
    EXPECT_STREQ(L"bob", sent.sent[0].first);
    EXPECT_STREQ(files[0], sent.sent[0].second);
    EXPECT_STREQ(files[1], sent.sent[1].second);

    // Selected members take precedence, each nick with every file, in list order.
    sent.sent.clear();
    members->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    members->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    Drop(files, ScreenPointOf(frame->GetInputLine()->m_hWnd));
    ASSERT_EQ(4u, sent.sent.size());
    EXPECT_STREQ(L"alice", sent.sent[0].first);
    EXPECT_STREQ(files[1], sent.sent[1].second);
    EXPECT_STREQ(L"carol", sent.sent[3].first);
    EXPECT_STREQ(files[1], sent.sent[3].second);

    // Nobody selected and nobody under the pointer: the nick is asked for; OK sends every file
    // to the typed nick, Cancel sends nothing.
    sent.sent.clear();
    members->SetItemState(-1, 0, LVIS_SELECTED);
    CString caption;
    auto answer = [&](bool ok) {
        WhenDialogShown([&caption, ok](HWND prompt) {
            caption = GetControlText(prompt);
            HWND edit = ::GetDlgItem(prompt, IDC_INPUT_NICK_TEXT);
            if (ok && edit) {
                FocusForInput(edit);
                TypeText(L"dave");
                ::SendMessageW(prompt, WM_KICKIDLE, 0, 0);
            }
            PressKey(ok ? VK_RETURN : VK_ESCAPE);
        });
    };
    answer(true);
    Drop(files, ScreenPointOf(frame->GetInputLine()->m_hWnd));
    EXPECT_STREQ(L"DCCファイル送信", caption);
    ASSERT_EQ(2u, sent.sent.size());
    EXPECT_STREQ(L"dave", sent.sent[0].first);
    EXPECT_STREQ(files[1], sent.sent[1].second);
    sent.sent.clear();
    caption.Empty();
    answer(false);
    Drop(files, ScreenPointOf(frame->GetInputLine()->m_hWnd));
    EXPECT_STREQ(L"DCCファイル送信", caption);
    EXPECT_TRUE(sent.sent.empty());

    // A server node has no members to send to.
    world->Select(net, nullptr);
    Drop(files, RowPoint(0));
    EXPECT_TRUE(sent.sent.empty());
}

TEST_F(FrameDroppedFiles, TheProgramsOwnWiringPutsTheFilesInTheTransferWindow)
{
    // No recorder: the window hands the files to the world's transfer manager, as the program does.
    frame->SetDroppedFileSender(nullptr);
    settings.preference.InstantSend = false;
    settings.preference.ViewDialogOnSend = true;
    std::vector<CString> files = {folder.File(L"first.zip"), folder.File(L"second.zip")};
    Drop(files, RowPoint(1));
    const std::vector<TDCCSendItem*>& items = world->GetDCCManager().GetSendItems();
    ASSERT_EQ(2u, items.size());
    for (size_t i = 0; i < items.size(); i++) {
        EXPECT_EQ(net, items[i]->GetUnit());
        EXPECT_STREQ(L"bob", items[i]->GetNick());
        EXPECT_STREQ(files[i], items[i]->GetFilePath());
        EXPECT_EQ(DCC_STATE_WAITING, items[i]->GetState()) << "waits for the user without InstantSend";
    }
    TDCCDialog* transfers = frame->GetDCCDialog();
    ASSERT_NE(nullptr, transfers);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(transfers->m_hWnd) != FALSE; }, "the transfer window"));
    EXPECT_EQ(2, ListView_GetItemCount(transfers->GetSendList()->m_hWnd));
    // Above the main window for the picture only.
    ::SetWindowPos(transfers->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(transfers->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
    SaveWindowPng(transfers->m_hWnd, ScreenshotPath(L"mainframe-dropped-files-transfers.png"));
}

TEST_F(FrameDroppedFiles, ATalkOrAChannelNotJoinedAsksNothingAndSendsNothing)
{
    frame->SetDroppedFileSender(nullptr);
    // A talk whose server connection was lost has no members left, and so no member list.
    TIRCChannel* talk = net->OpenTalk(TIRCMember(L"zed", L"z", L"zed.host"));
    ASSERT_NE(nullptr, talk);
    talk->OnLeft();
    for (TIRCChannel* channel : {talk, Channel(L"#beta")}) {
        SCOPED_TRACE(Narrow(channel->GetName()));
        world->Select(net, channel);
        PumpPendingMessages();
        ASSERT_EQ(nullptr, channel->memberView);
        CString caption;
        WhenDialogShown([&caption](HWND prompt) {
            caption = GetControlText(prompt);
            ::PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
        });
        Drop({folder.File(L"x.zip")}, ScreenPointOf(frame->GetInputLine()->m_hWnd));
        // The prompt is modal inside the drop's own handling, which Drop has run to its end.
        StopWatching();
        EXPECT_TRUE(caption.IsEmpty()) << Narrow(caption);
        EXPECT_TRUE(world->GetDCCManager().GetSendItems().empty());
    }
    EXPECT_EQ(nullptr, frame->GetDCCDialog());
}
} // namespace
