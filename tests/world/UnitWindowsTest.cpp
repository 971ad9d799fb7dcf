// A server's own windows as the main window takes them along: disabled while a modal dialog
// runs, hidden while it is minimised, on top while it is, and closed when the server shuts down.
// Invitations and chat offers stay as they are, to be answered while the main window is away.

#include "tests/world/UserInfoFixture.h"

#include "logview/ProtocolLogDialog.h"

#include <functional>

namespace {

class UnitWindowsTest : public UserInfoWindowTest {
protected:
    void SetUp() override
    {
        UserInfoWindowTest::SetUp();
        preference.InviteAction = 1;
        preference.ActivateInviteDialog = false;
        preference.LimitInviteDialog = false;
        preference.DCCChatAction = 1;
        preference.ActivateDCCChatDialog = false;
        frame.topMost = false;
        Build();
        // The world answers the chat requests with its real windows.
        unit->SetFrame(world.get());
        LogInOffline();
        Feed(":kvnick!u@h JOIN :#room");
        channel = unit->FindChannel(L"#room");
    }
    // One window of every kind the unit keeps, each named.
    void OpenEveryKind()
    {
        Feed(":irc.example 311 kvnick Alice ali host.example * :Alice");
        Feed(":irc.example 318 kvnick Alice :End of WHOIS list");
        channel->ShowWhoDialog();
        channel->ShowBanList();
        Feed(":bob!u@inviter.example INVITE kvnick :#elsewhere");
        Feed(":carol!u@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 5000\1");
        unit->ShowChannelListDialog();
        world->ShowProtocolLog(unit);
        PumpPendingMessages();
        windows = {
            {"WHOIS", unit->FindWhoisDialog(L"alice")},
            {"WHO", channel->GetWhoDialog()},
            {"ban list", channel->GetMaskList(TIRCChannel::BanList)},
            {"channel list", unit->GetChannelListDialog()},
        };
        std::pair<const char*, IModelessWindow*> questions[] = {
            {"invitation", unit->GetInviteDialogs().empty() ? nullptr : unit->GetInviteDialogs()[0]},
            {"chat request", unit->GetDccChatDialogs().empty() ? nullptr : unit->GetDccChatDialogs()[0]},
        };
        handles.clear();
        for (const auto& [name, window] : windows) {
            ASSERT_NE(window, nullptr) << name;
            handles.emplace_back(name, window->GetWindowHandle());
        }
        questionHandles.clear();
        for (const auto& [name, window] : questions) {
            ASSERT_NE(window, nullptr) << name;
            questionHandles.emplace_back(name, window->GetWindowHandle());
        }
        TProtocolLogDialog* log = world->FindProtocolLog(unit);
        ASSERT_NE(log, nullptr);
        handles.emplace_back("protocol log", log->m_hWnd);
    }
    // Each window that follows holds; each question stays shown, enabled and not on top.
    void ExpectEach(const char* step, const std::function<bool(HWND)>& holds)
    {
        for (const auto& [name, window] : handles)
            EXPECT_TRUE(holds(window)) << step << ": " << name;
        for (const auto& [name, window] : questionHandles)
            EXPECT_TRUE(::IsWindowVisible(window) && ::IsWindowEnabled(window) && !IsTopMost(window))
                << step << ": " << name;
    }
    static bool IsTopMost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    TIRCChannel* channel = nullptr;
    std::vector<std::pair<const char*, IModelessWindow*>> windows;
    std::vector<std::pair<const char*, HWND>> handles;
    std::vector<std::pair<const char*, HWND>> questionHandles;
};

} // namespace

TEST_F(UnitWindowsTest, EveryWindowOfTheServerFollowsTheMainWindowsState)
{
    OpenEveryKind();
    ExpectEach("opened", [](HWND w) { return ::IsWindowVisible(w) && ::IsWindowEnabled(w) && !IsTopMost(w); });

    world->EnableAllDialogs(false);
    ExpectEach("disabled", [](HWND w) { return !::IsWindowEnabled(w); });
    world->EnableAllDialogs(true);
    ExpectEach("enabled", [](HWND w) { return ::IsWindowEnabled(w); });

    // The window the user is in keeps the activation when the others come back.
    HWND user = ::CreateWindowExW(0, L"STATIC", L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ::SetForegroundWindow(user);
    ::SetActiveWindow(user);
    WaitUntil([&] { return ::GetActiveWindow() == user; }, "the other window active");
    ASSERT_EQ(::GetActiveWindow(), user);
    world->HideAllDialogs(true);
    ExpectEach("hidden", [](HWND w) { return !::IsWindowVisible(w); });
    world->HideAllDialogs(false);
    PumpPendingMessages();
    ExpectEach("shown", [](HWND w) { return ::IsWindowVisible(w); });
    EXPECT_EQ(::GetActiveWindow(), user) << "shown again without taking the activation";
    ::DestroyWindow(user);

    world->SetAllDialogsTopMost(true);
    ExpectEach("top-most", IsTopMost);
    world->SetAllDialogsTopMost(false);
    ExpectEach("not top-most", [](HWND w) { return !IsTopMost(w); });
}

TEST_F(UnitWindowsTest, AProtocolLogTheUserClosedStaysHiddenWhenTheOthersComeBack)
{
    world->ShowProtocolLog(unit);
    TProtocolLogDialog* log = world->FindProtocolLog(unit);
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(log->IsWindowVisible());
    log->SendMessage(WM_COMMAND, IDCANCEL);
    PumpPendingMessages();
    ASSERT_FALSE(log->IsWindowVisible());
    world->HideAllDialogs(true);
    world->HideAllDialogs(false);
    EXPECT_FALSE(log->IsWindowVisible());
}

TEST_F(UnitWindowsTest, ShutdownClosesEveryWindowOfTheServerAndOpensNoNewOnes)
{
    OpenEveryKind();
    unit->Shutdown(false);
    PumpPendingMessages();
    for (const auto& [name, window] : handles)
        EXPECT_FALSE(::IsWindow(window)) << name;
    for (const auto& [name, window] : questionHandles)
        EXPECT_FALSE(::IsWindow(window)) << name;
    EXPECT_TRUE(unit->GetInviteDialogs().empty());
    EXPECT_TRUE(unit->GetDccChatDialogs().empty());
    EXPECT_EQ(unit->GetChannelListDialog(), nullptr);
    EXPECT_EQ(channel->GetWhoDialog(), nullptr);
    EXPECT_EQ(channel->GetMaskList(TIRCChannel::BanList), nullptr);
    // Lines that arrive during the wait for the server to close open nothing.
    Feed(":dave!u@inviter.example INVITE kvnick :#late");
    Feed(":erin!u@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 5001\1");
    EXPECT_TRUE(unit->GetInviteDialogs().empty());
    EXPECT_TRUE(unit->GetDccChatDialogs().empty());
    EXPECT_EQ(unit->ShowChannelListDialog(), nullptr);
}
