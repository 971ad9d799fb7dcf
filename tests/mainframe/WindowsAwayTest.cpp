// Windows around a main window that is away (minimised): which go with it, which stay to be
// answered, and what comes back, and how, when it returns.

#include "tests/mainframe/DCCWindowFixture.h"
#include "tests/mainframe/ServedFrameFixture.h"

#include "ircproto/ChannelListWindow.h"
#include "tests/common/ControlText.h"

namespace {

using ServerWindowsAway = ServedFrameFixture;
using TransferWindowAway = DCCWindowFixture;

} // namespace

// An invitation and a chat offer have no owner and are there to be answered while the main window
// is away; the server's other windows go with it.
TEST_F(ServerWindowsAway, InvitationsAndChatOffersStayWhileTheMainWindowIsAway)
{
    TPreference& preference = settings.preference;
    preference.InviteAction = InviteShowDialog;
    preference.ActivateInviteDialog = false;
    preference.LimitInviteDialog = false;
    preference.DCCChatAction = 1;
    preference.ActivateDCCChatDialog = false;
    preference.HideAllWindowOnMinimize = true;
    IChannelListWindow* list = net->ShowChannelListDialog();
    ASSERT_TRUE(list);
    peer->Send(":bob!u@inviter.example INVITE kvme :#elsewhere\r\n"
               ":carol!u@peer.example PRIVMSG kvme :\1DCC CHAT chat 2130706433 5000\1\r\n");
    ASSERT_TRUE(WaitUntil([&] { return net->GetInviteDialogs().size() == 1 && net->GetDccChatDialogs().size() == 1; },
                          "the invitation and the chat offer open"));
    const std::pair<const char*, HWND> questions[] = {{"invitation", net->GetInviteDialogs()[0]->GetWindowHandle()},
                                                      {"chat offer", net->GetDccChatDialogs()[0]->GetWindowHandle()}};
    HWND server = list->GetWindowHandle();

    // How each window follows the main window's states is the world's test; here the user meets
    // them: minimised from the menu, restored by the system.
    MinimiseFromMenu();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(server); }, "the channel list hidden"));
    for (const auto& [name, window] : questions)
        EXPECT_TRUE(::IsWindowVisible(window)) << name;
    // Answered while the main window is away; both stand in the middle of the screen, so the
    // invitation comes to the front first.
    ::SetWindowPos(questions[0].second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::RedrawWindow(questions[0].second, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
    SaveWindowPng(questions[0].second, ScreenshotPath(L"mainframe-invitation-while-minimised.png"));
    ClickAt(ScreenPointOf(::GetDlgItem(questions[0].second, IDCANCEL)));
    EXPECT_TRUE(WaitUntil([&] { return net->GetInviteDialogs().empty(); }, "the invitation answered"));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(
        WaitUntil([&] { return ::IsWindowVisible(server) && !::IsIconic(frame->m_hWnd); }, "the channel list back"));
    EXPECT_TRUE(::IsWindowVisible(questions[1].second));
}

// The restore brings back what the minimise hid only while it is still meant to be seen.
TEST_F(TransferWindowAway, ATransferWindowClosedWhileTheMainWindowWasAwayStaysClosed)
{
    settings.preference.HideAllWindowOnMinimize = true;
    AddReceive(L"alice", L"a.bin", 100, 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    HWND window = Window()->m_hWnd;
    MinimiseFromMenu();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }, "the transfer window hidden"));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the transfer window back"));

    MinimiseFromMenu();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }, "the transfer window hidden"));
    // An offer brings it up while the main window is away, and the user closes it.
    world->ShowDCCDialog(true);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the offer shows the window"));
    FocusForInput(ReceiveList());
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window) && !frame->IsDCCDialogShown(); }, "closed"));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(frame->m_hWnd); }, "the main window restored"));
    PumpPendingMessages();
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(nullptr, Manager().GetListener()) << "the closed window hears nothing";
}

// Hidden, the window hears no ticks, and the manager's tick stops with the last transfer.
TEST_F(TransferWindowAway, TheTransferWindowShownAgainCountsTheTransfersOfNow)
{
    TDCCReceiveItem* item = AddReceive(L"alice", L"a.bin", 100, DCC_STATE_TRANSFERRING);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    HWND window = Window()->m_hWnd;
    ASSERT_TRUE(WaitUntil([&] { return GetControlText(window) == L"DCC [受1/送0]"; }, "the count in the title"));
    FocusForInput(ReceiveList());
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }, "hidden with Escape"));
    item->SetState(DCC_STATE_COMPLETE);
    ASSERT_TRUE(WaitUntil([&] { return !Manager().IsTimerRunning(); }, "the manager's tick stopped"));
    OpenFromMenu();
    EXPECT_EQ(CString(L"DCC"), GetControlText(window));
    SaveWindowPng(window, ScreenshotPath(L"dcc-window-shown-again.png"));
}
