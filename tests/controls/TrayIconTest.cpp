#include "controls/TrayIcon.h"
#include "classlib/MsgMap.h"
#include "res/resource.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// The tray icon with every call to the shell recorded; the calls still reach the shell.
class TRecordingTrayIcon : public TTrayIcon {
public:
    struct TCall {
        DWORD message;
        NOTIFYICONDATAW data;
    };
    const TCall* Last(DWORD message) const
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }

    std::vector<TCall> calls;
    // Left-button callbacks from the shell, counted once the icon has acted on them.
    int leftClicks = 0;

    void OnMessage(TWindowMessage& msg) override
    {
        TTrayIcon::OnMessage(msg);
        leftClicks += msg.message == WM_TRAYICON && msg.wParam == 0 && msg.lParam == WM_LBUTTONUP;
    }

protected:
    BOOL Notify(DWORD message, NOTIFYICONDATAW& record) override
    {
        calls.push_back({message, record});
        return TTrayIcon::Notify(message, record);
    }
};

// The main window as the tray icon meets it: what it is sent and posted.
class TOwnerWindow : public CWnd {
public:
    BEGIN_MSG_MAP(TOwnerWindow)
        MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        MESSAGE_HANDLER(WM_NULL, OnNull)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    END_MSG_MAP()

    std::vector<UINT> commands;
    int restores = 0;
    int nulls = 0;
    int activations = 0;

private:
    // Wine's tray is a plain window at the top left; maximised below it, as beside a taskbar.
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam)
    {
        auto* info = (MINMAXINFO*)lParam;
        RECT tray = {};
        ::GetWindowRect(::FindWindowW(nullptr, L"Wine System Tray"), &tray);
        info->ptMaxPosition.y = tray.bottom;
        info->ptMaxSize.y -= tray.bottom;
        return DefWindowProc(WM_GETMINMAXINFO, wParam, lParam);
    }
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam)
    {
        activations += LOWORD(wParam) != WA_INACTIVE;
        return DefWindowProc(WM_ACTIVATE, wParam, lParam);
    }
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam)
    {
        if ((wParam & 0xFFF0) == SC_RESTORE)
            restores++;
        return DefWindowProc(WM_SYSCOMMAND, wParam, lParam);
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM)
    {
        commands.push_back(LOWORD(wParam));
        return 0;
    }
    LRESULT OnNull(WPARAM, LPARAM)
    {
        nulls++;
        return 0;
    }
};

// The shell's callbacks come from another process; on a loaded machine its first ones have taken
// more than ten seconds.
const DWORD kShellMs = 30000;

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTopmostWindow(owner, L"tray owner", 300, 200, 320, 160));
        tray.Create(owner);
    }

    // Wine shows notification icons in a window of its own when no system tray is running;
    // ours is the first (and only) icon in it.
    static POINT IconPoint()
    {
        HWND trayWindow = FindWindowW(nullptr, L"Wine System Tray");
        EXPECT_NE(trayWindow, nullptr) << "Wine's tray window";
        RECT client = {};
        GetClientRect(trayWindow, &client);
        int cell = GetSystemMetrics(SM_CXSMICON) + 4;
        return ScreenPointOf(trayWindow, cell / 2, (client.bottom < cell ? client.bottom : cell) / 2);
    }
    void ShowIcon()
    {
        tray.SetEnabled(true);
        ASSERT_TRUE(tray.IsPresent());
        WaitUntil(
            [] {
                HWND trayWindow = FindWindowW(nullptr, L"Wine System Tray");
                return trayWindow && IsWindowVisible(trayWindow);
            },
            "Wine's tray window shown");
    }
    // Clicks go to the tray window in another process; its callback comes back posted, so the
    // caller waits for what the click does.
    void ClickIcon(bool right = false) { ClickAt(IconPoint(), right); }
    void MinimizeOwner()
    {
        ::ShowWindow(owner, SW_MINIMIZE);
        EXPECT_TRUE(::IsIconic(owner)) << "the owner minimised";
    }

    TOwnerWindow owner;
    TRecordingTrayIcon tray;
};

} // namespace

TEST_F(TrayIconTest, IconAppearsAndClicksOnItBringTheOwnerForwardOrRestoreIt)
{
    tray.SetToolTip(L"Ketroval2");
    ShowIcon();
    SaveWindowPng(FindWindowW(nullptr, L"Wine System Tray"), L"screenshots\\tray_icon.png");

    // Another window in front first, so bringing the owner forward shows as its activation.
    CWnd other;
    other.CreateEx(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 320, 220, 100, 50, nullptr, nullptr);
    FocusForInput(other);
    owner.activations = 0;
    ClickIcon();
    EXPECT_TRUE(WaitUntil([&] { return owner.activations == 1; }, "the owner brought forward", kShellMs));
    PumpMessagesFor(GetDoubleClickTime() + 100);
    // Minimised, so a restore would show.
    MinimizeOwner();
    ClickIcon();
    ASSERT_TRUE(WaitUntil([&] { return tray.leftClicks == 2; }, "the second click's callback", kShellMs));
    // A restore the click asked for is posted by now.
    PumpPendingMessages();
    EXPECT_EQ(owner.restores, 0) << "clicks farther apart than a double click only bring it forward";
    EXPECT_TRUE(::IsIconic(owner));

    // Maximised behind another window, a double click only brings it forward: a restore would
    // take it back to its normal size. Minimised, the double click restores it.
    ::ShowWindow(owner, SW_MAXIMIZE);
    ::SetWindowPos(owner, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    FocusForInput(other);
    tray.leftClicks = 0;
    DoubleClickAt(IconPoint());
    ASSERT_TRUE(WaitUntil([&] { return tray.leftClicks == 2; }, "the double click's callbacks", kShellMs));
    PumpPendingMessages();
    EXPECT_EQ(owner.restores, 0);
    EXPECT_TRUE(::IsZoomed(owner));
    EXPECT_EQ(::GetForegroundWindow(), owner.m_hWnd) << "brought forward";
    ::ShowWindow(owner, SW_RESTORE);
    ::ShowWindow(owner, SW_MINIMIZE);
    DoubleClickAt(IconPoint());
    EXPECT_TRUE(WaitUntil([&] { return owner.restores == 1; }, "the owner restored by a double click", kShellMs));
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(owner); }, "the owner no longer minimised"));

    tray.restoreOnSingleClick = true;
    ::ShowWindow(owner, SW_MINIMIZE);
    ClickIcon();
    EXPECT_TRUE(WaitUntil([&] { return owner.restores == 2; }, "the owner restored by a click", kShellMs))
        << "with restore on single click every click restores";
    MinimizeOwner();
    SendMessageW(tray.GetWindow(), WM_TRAYICON, 7, WM_LBUTTONUP);
    PumpPendingMessages();
    EXPECT_EQ(owner.restores, 2) << "another icon's clicks are not ours";
    EXPECT_TRUE(::IsIconic(owner));
}

TEST_F(TrayIconTest, RightClickOpensTheTrayMenuAtTheCursorForTheOwner)
{
    ShowIcon();
    POINT at = IconPoint();
    RECT menu = {};
    int nullsWhileOpen = -1, tries = 0;
    std::function<void()> pickRestore = [&] {
        HWND window = FindWindowW(L"#32768", nullptr);
        if (!window || !IsWindowVisible(window)) {
            if (++tries < 100)
                RunLater(100, pickRestore);
            return;
        }
        GetWindowRect(window, &menu);
        nullsWhileOpen = owner.nulls;
        SaveWindowPng(GetDesktopWindow(), L"screenshots\\tray_menu.png");
        // The last item restores. Clicked, not typed: Wine may leave another window in front,
        // and the keys would go there.
        HMENU items = (HMENU)SendMessageW(window, MN_GETHMENU, 0, 0);
        RECT item = {};
        GetMenuItemRect(nullptr, items, GetMenuItemCount(items) - 1, &item);
        QueueClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        // A menu left open must not hang the test program.
        RunLater(5000, [] { EndMenu(); });
    };
    RunLater(100, pickRestore);
    ClickIcon(true);
    PumpMessagesUntil([&] { return owner.nulls > 0; }, 8000);
    EXPECT_EQ(menu.left, at.x) << "the menu opened at the cursor";
    EXPECT_EQ(menu.top, at.y);
    EXPECT_EQ(owner.commands, std::vector<UINT>{ID_RESTORE_FROM_TRAY});
    EXPECT_EQ(nullsWhileOpen, 0);
    EXPECT_EQ(owner.nulls, 1) << "WM_NULL follows the closed menu";
}

TEST_F(TrayIconTest, TextsAreCutToTheShellsLimitsAtCharacterBoundaries)
{
    const CString hundred(L'a', 100), threeHundred(L'b', 300);
    // A surrogate pair (U+20BB7) astride a limit is left out whole.
    const CString pair = L"\xD842\xDFB7", pairAt30 = CString(L'c', 29) + pair + L"d";
    tray.SetToolTip(hundred);
    ShowIcon();
    EXPECT_EQ(CString(tray.Last(NIM_ADD)->data.szTip), hundred.Left(62)) << "when added";

    using TField = const wchar_t* (*)(const NOTIFYICONDATAW&);
    const TField tip = [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szTip; };
    const TField title = [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szInfoTitle; };
    const TField info = [](const NOTIFYICONDATAW& d) -> const wchar_t* { return d.szInfo; };
    const struct {
        bool balloon;
        CString title, text;
        TField field;
        CString expected;
    } kCases[] = {
        {false, L"", threeHundred, tip, threeHundred.Left(30)},
        {false, L"", pairAt30, tip, pairAt30.Left(29)},
        {true, hundred, threeHundred, title, hundred.Left(62)},
        {true, hundred, threeHundred, info, threeHundred.Left(254)},
        {true, CString(L'f', 61) + pair, L"", title, CString(L'f', 61)},
        {true, L"", CString(L'e', 253) + pair, info, CString(L'e', 253)},
    };
    for (const auto& c : kCases) {
        tray.calls.clear();
        c.balloon ? tray.ShowBalloon(c.title, c.text) : tray.SetToolTip(c.text);
        ASSERT_NE(tray.Last(NIM_MODIFY), nullptr);
        EXPECT_EQ(CString(c.field(tray.Last(NIM_MODIFY)->data)), c.expected) << c.text.GetLength();
    }
    tray.calls.clear();
    tray.SetToolTip(pairAt30);
    EXPECT_TRUE(tray.calls.empty()) << "an unchanged tooltip is not sent again";
}

TEST_F(TrayIconTest, NoticesLoseTheirControlCodesAndWaitForTheScreenSaver)
{
    ShowIcon();
    tray.ShowNotice(L"\x02#chan\x0F", L"\x03"
                                      L"4,1hello\x03 \x1Fworld\x16");
    const auto* call = tray.Last(NIM_MODIFY);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(CString(call->data.szInfoTitle), CString(L"#chan"));
    EXPECT_EQ(CString(call->data.szInfo), CString(L"hello world"));
    tray.ShowBalloon(L"", L"");
    EXPECT_EQ(tray.Last(NIM_MODIFY)->data.szInfo[0], 0) << "an empty balloon clears the one shown";

    ASSERT_TRUE(SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0));
    tray.calls.clear();
    tray.ShowNotice(L"title", L"text");
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    EXPECT_TRUE(tray.calls.empty()) << "no balloon while the screen saver runs";
}

TEST_F(TrayIconTest, ImageFollowsTheAlertsHighlightFirst)
{
    ShowIcon();
    // New message, highlight, both: the image shown after each.
    const bool kAlerts[][2] = {{false, false}, {true, false}, {false, true}, {true, true}};
    std::vector<HICON> seen;
    for (const auto& alerts : kAlerts) {
        tray.newMessageAlert = alerts[0];
        tray.highlightAlert = alerts[1];
        tray.UpdateIcon();
        seen.push_back(tray.Last(NIM_MODIFY)->data.hIcon);
    }
    EXPECT_EQ(seen[0], tray.Last(NIM_ADD)->data.hIcon);
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[0] != seen[1] && seen[1] != seen[2] && seen[0] != seen[2]);
    EXPECT_EQ(seen[3], seen[2]);
    tray.SetEnabled(false);
    EXPECT_FALSE(tray.newMessageAlert || tray.highlightAlert) << "turning the icon off ends the alerts";
}

TEST_F(TrayIconTest, EnabledAndOnlyWhenMinimisedDecideWhetherTheIconIsThere)
{
    const struct {
        bool minimized;
        const char* steps; // E/e enable on/off, M/m only-when-minimised on/off, T "TaskbarCreated"
        bool present;
    } kCases[] = {
        {false, "E", true},   {false, "ME", false}, {true, "ME", true},    {false, "EM", false},
        {true, "EM", true},   {false, "EMm", true}, {true, "EMm", true},   {false, "Ee", false},
        {false, "eM", false}, {false, "ET", true},  {false, "EMT", false}, {true, "EMT", true},
    };
    for (const auto& c : kCases) {
        TTrayIcon icon;
        icon.Create(owner);
        icon.ownerMinimized = c.minimized;
        for (const char* step = c.steps; *step; step++) {
            if (toupper(*step) == 'E')
                icon.SetEnabled(isupper(*step));
            else if (toupper(*step) == 'M')
                icon.SetShowOnlyWhenMinimized(isupper(*step));
            else
                icon.OnTaskbarCreated();
        }
        EXPECT_EQ(icon.IsPresent(), c.present) << c.steps << (c.minimized ? " minimised" : "");
    }
}

TEST_F(TrayIconTest, BalloonAppearsBesideTheIconAndItsClickRestoresTheOwner)
{
    ShowIcon();
    tray.ShowBalloon(L"#ketroval", L"balloon");
    // Wine's tray shows a balloon as a tool tip of its own process, about two seconds later.
    HWND balloon = nullptr;
    PumpMessagesUntil(
        [&] {
            balloon = FindWindowW(L"tooltips_class32", nullptr);
            while (balloon && !IsWindowVisible(balloon))
                balloon = FindWindowExW(nullptr, balloon, L"tooltips_class32", nullptr);
            return balloon != nullptr;
        },
        5000);
    ASSERT_NE(balloon, nullptr) << "a balloon is on screen";
    // The tray's process draws it after showing it: a light face with dark text inside the
    // rounded corners, which show the desktop behind.
    WaitUntil(
        [&] {
            std::unique_ptr<TMemoryCanvas> shown = CaptureClient(balloon);
            int light = 0, dark = 0;
            for (int y = 0; y < shown->height; y++)
                for (int x = 0; x < shown->width; x++) {
                    COLORREF pixel = shown->Pixel(x, y);
                    int sum = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel);
                    bool inside = x >= 8 && y >= 8 && x < shown->width - 8 && y < shown->height - 8;
                    light += sum > 600;
                    dark += inside && sum < 200;
                }
            return light > shown->width * shown->height / 2 && dark > 20;
        },
        "the balloon's text drawn");
    SaveWindowPng(GetDesktopWindow(), L"screenshots\\tray_balloon.png");
    // Wine's balloon sends nothing when clicked; the shell's message is given as Windows sends it.
    // A shown owner is only brought forward; a minimised one is restored.
    for (bool minimised : {false, true}) {
        ::ShowWindow(owner, minimised ? SW_MINIMIZE : SW_MAXIMIZE);
        SendMessageW(tray.GetWindow(), WM_TRAYICON, 0, NIN_BALLOONUSERCLICK);
        PumpPendingMessages();
        EXPECT_EQ(owner.restores, minimised ? 1 : 0) << (minimised ? "minimised" : "maximised");
    }
    EXPECT_FALSE(::IsIconic(owner));
    tray.ShowBalloon(L"", L"");
    EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindowVisible(balloon); }, 2000)) << "an empty balloon takes it away";
}
