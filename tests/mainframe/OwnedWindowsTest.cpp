// The frame's modeless windows, each reached through the frame's one list of them: opened by its
// command, given idle time, hidden with the frame, kept on top with it, enabled, closed, and
// freed however the frame goes.

#include "tests/mainframe/MainFrameFixture.h"

#include "tests/common/DialogSteps.h"

#include "dialogs/HistoryDialog.h"
#include "log/LogLineData.h"
#include "res/resource.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace {

// The idle messages each window receives, seen by a hook on the thread's sent messages.
std::map<HWND, std::set<UINT>> g_idleSeen;

LRESULT CALLBACK RecordIdle(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && (sent->message == WM_KICKIDLE || sent->message == WM_IDLEUPDATECMDUI))
        g_idleSeen[sent->hwnd].insert(sent->message);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class OwnedWindowsTest : public MainFrameFixture {
protected:
    const std::vector<TOwnedWindowSlot*>& Slots() { return frame->GetOwnedWindows().GetSlots(); }
    // Each history window shows only once it holds a line.
    void FillHistories()
    {
        TLogLineData line;
        line.body = L"kvword https://example.org/";
        frame->GetKeywordHistory()->AddLine(line);
        frame->GetUrlHistory()->AddLine(line);
    }
    void OpenAll()
    {
        FillHistories();
        for (TOwnedWindowSlot* slot : Slots()) {
            frame->SendMessageW(WM_COMMAND, MAKEWPARAM(slot->GetCommand(), 0), 0);
            PumpPendingMessages();
            ASSERT_TRUE(slot->IsVisible()) << "command " << slot->GetCommand();
        }
    }
    static bool IsTopMost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

} // namespace

TEST_F(OwnedWindowsTest, EveryWindowOpensIdlesHidesTopsAndClosesThroughTheList)
{
    ASSERT_GE(Slots().size(), 8u);
    OpenAll();
    // The command again brings the same window forward instead of making another.
    std::vector<CWnd*> made;
    for (TOwnedWindowSlot* slot : Slots())
        made.push_back(slot->GetWindow());
    for (size_t i = 0; i < Slots().size(); i++) {
        frame->SendMessageW(WM_COMMAND, MAKEWPARAM(Slots()[i]->GetCommand(), 0), 0);
        EXPECT_EQ(made[i], Slots()[i]->GetWindow()) << "command " << Slots()[i]->GetCommand();
    }

    // The frame's idle pass reaches every shown window, in the form it listens to.
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordIdle, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    g_idleSeen.clear();
    frame->SendMessageW(WM_IDLEUPDATECMDUI, TRUE, 0);
    ::UnhookWindowsHookEx(hook);
    for (TOwnedWindowSlot* slot : Slots()) {
        UINT expected = (slot->GetTraits() & OwnedFrameIdle) ? WM_IDLEUPDATECMDUI : WM_KICKIDLE;
        EXPECT_EQ(1u, g_idleSeen[slot->GetWindow()->m_hWnd].count(expected)) << "command " << slot->GetCommand();
    }

    // The preferences are no window of the frame's work: Windows may lift them with their owner,
    // but the frame's switches leave them alone, and they are never left on top.
    frame->SendMessageW(WM_COMMAND, MAKEWPARAM(ID_TOPMOST, 0), 0);
    ASSERT_TRUE(frame->IsTopMost());
    for (TOwnedWindowSlot* slot : Slots())
        if (slot->GetCommand() != ID_PREFERENCES) {
            EXPECT_TRUE(IsTopMost(slot->GetWindow()->m_hWnd)) << "command " << slot->GetCommand();
        }
    frame->SendMessageW(WM_COMMAND, MAKEWPARAM(ID_TOPMOST, 0), 0);
    for (TOwnedWindowSlot* slot : Slots())
        EXPECT_FALSE(IsTopMost(slot->GetWindow()->m_hWnd)) << "command " << slot->GetCommand();

    // A window the frame does not own must follow the frame's hiding by hand; one it owns,
    // Windows hides with it.
    for (TOwnedWindowSlot* slot : Slots()) {
        if (!(slot->GetTraits() & OwnedFollowsFrame)) {
            EXPECT_EQ(frame->m_hWnd, ::GetWindow(slot->GetWindow()->m_hWnd, GW_OWNER))
                << "command " << slot->GetCommand();
        }
    }
    settings.preference.HideAllWindowOnMinimize = true;
    frame->ShowWindow(SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(frame->m_hWnd) != FALSE; }, "the main window minimised");
    for (TOwnedWindowSlot* slot : Slots()) {
        if (slot->GetTraits() & OwnedFollowsFrame) {
            EXPECT_FALSE(slot->IsVisible()) << "command " << slot->GetCommand();
        }
        if (slot->GetCommand() == ID_PREFERENCES) {
            EXPECT_TRUE(slot->IsVisible()) << "the preferences stay";
        }
    }
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    WaitUntil(
        [&] {
            for (TOwnedWindowSlot* slot : Slots())
                if (!slot->IsVisible())
                    return false;
            return true;
        },
        "every window shown again");
    for (TOwnedWindowSlot* slot : Slots())
        EXPECT_TRUE(slot->IsVisible()) << "command " << slot->GetCommand();

    frame->GetOwnedWindows().EnableAll(false);
    for (TOwnedWindowSlot* slot : Slots())
        EXPECT_FALSE(::IsWindowEnabled(slot->GetWindow()->m_hWnd)) << "command " << slot->GetCommand();
    frame->GetOwnedWindows().EnableAll(true);

    // Closed by the user, each either goes or waits hidden for its command.
    for (TOwnedWindowSlot* slot : Slots()) {
        slot->GetWindow()->SendMessage(WM_CLOSE);
        PumpPendingMessages();
        EXPECT_FALSE(slot->IsVisible()) << "command " << slot->GetCommand();
        if (slot->IsOpen()) {
            EXPECT_TRUE(::IsWindowEnabled(slot->GetWindow()->m_hWnd));
        }
    }
}

// A frame that goes without its close (a failed start, the session's end) frees every window,
// those without an owner too, which Windows would leave behind.
TEST_F(OwnedWindowsTest, AFrameDestroyedWithoutItsCloseTakesEveryWindowWithIt)
{
    OpenAll();
    std::vector<HWND> windows;
    for (TOwnedWindowSlot* slot : Slots())
        windows.push_back(slot->GetWindow()->m_hWnd);
    world->Shutdown();
    frame->SetWorld(nullptr);
    delete frame;
    frame = nullptr;
    for (HWND window : windows)
        EXPECT_FALSE(::IsWindow(window));
}

// The quit keeps only the windows lines still reach while the servers say goodbye, hidden.
TEST_F(OwnedWindowsTest, TheCloseKeepsTheHistoriesHiddenUntilTheServersHaveQuit)
{
    OpenAll();
    frame->ending = true;
    frame->GetOwnedWindows().CloseForQuit();
    for (TOwnedWindowSlot* slot : Slots()) {
        bool kept = (slot->GetTraits() & OwnedOutlivesQuit) != 0;
        EXPECT_EQ(kept, slot->IsOpen()) << "command " << slot->GetCommand();
        EXPECT_FALSE(slot->IsVisible()) << "command " << slot->GetCommand();
    }
    frame->GetOwnedWindows().DestroyAll();
    for (TOwnedWindowSlot* slot : Slots())
        EXPECT_EQ(nullptr, slot->GetWindow()) << "command " << slot->GetCommand();
}

namespace {

// The first list with column headings among the window's controls, or null.
HWND FindHeadedList(HWND window)
{
    for (HWND child = ::FindWindowExW(window, nullptr, L"SysListView32", nullptr); child;
         child = ::FindWindowExW(window, child, L"SysListView32", nullptr))
        if (::IsWindowVisible(child) && ListView_GetHeader(child))
            return child;
    return nullptr;
}

// Width and height.
std::pair<LONG, LONG> WindowSize(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

// What the user did to a window's size and columns is there when it opens again, whether the
// user closed it or the program's end took it (the slot destroys the window before the object).
TEST_F(OwnedWindowsTest, EveryWindowKeepsItsSizeAndColumnsWhenOpenedAgain)
{
    FillHistories();
    const UINT resizable[] = {ID_POPUP_MENU_SETTINGS, ID_MACRO_SETTINGS, ID_SCRIPT_SETTINGS, ID_DCC_WINDOW,
                              ID_KEYWORD_HISTORY,     ID_URL_HISTORY,    ID_SCRIPT_CONSOLE};
    for (TOwnedWindowSlot* slot : Slots()) {
        if (std::find(std::begin(resizable), std::end(resizable), slot->GetCommand()) == std::end(resizable))
            continue;
        // The histories are made once, at the start; only the program's end takes them.
        const bool madeAgain = slot->GetCommand() != ID_KEYWORD_HISTORY && slot->GetCommand() != ID_URL_HISTORY;
        for (bool byTheEnd : {false, true}) {
            if (byTheEnd && !madeAgain)
                continue;
            SCOPED_TRACE(testing::Message()
                         << "command " << slot->GetCommand() << (byTheEnd ? ", the end" : ", closed"));
            frame->SendMessageW(WM_COMMAND, MAKEWPARAM(slot->GetCommand(), 0), 0);
            ASSERT_TRUE(WaitUntil([&] { return slot->IsVisible(); }, "the window shown"));
            HWND window = slot->GetWindow()->m_hWnd;
            RECT rect = {};
            ::GetWindowRect(window, &rect);
            DragMouse({rect.right - 3, rect.bottom - 3}, {rect.right + 37, rect.bottom + 27});
            ASSERT_TRUE(
                WaitUntil([&] { return WindowSize(window).first > rect.right - rect.left; }, "the window resized"));
            const std::pair<LONG, LONG> resized = WindowSize(window);
            // A window without such a list has none when opened again either: its width reads 0.
            HWND list = FindHeadedList(window);
            if (list)
                DragColumnTo(list, 0, ListView_GetColumnWidth(list, 0) + 23);
            const int width = ListView_GetColumnWidth(list, 0);
            if (byTheEnd)
                slot->Destroy();
            else
                ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            ASSERT_TRUE(WaitUntil([&] { return !slot->IsVisible(); }, "the window closed"));

            frame->SendMessageW(WM_COMMAND, MAKEWPARAM(slot->GetCommand(), 0), 0);
            ASSERT_TRUE(WaitUntil([&] { return slot->IsVisible(); }, "the window shown again"));
            window = slot->GetWindow()->m_hWnd;
            EXPECT_EQ(resized, WindowSize(window));
            EXPECT_EQ(width, ListView_GetColumnWidth(FindHeadedList(window), 0));
            if (madeAgain)
                slot->Destroy();
        }
    }
}
