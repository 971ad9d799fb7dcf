// The frame's modeless windows, each reached through the frame's one list of them: opened by its
// command, given idle time, hidden with the frame, kept on top with it, enabled, closed, and
// freed however the frame goes.

#include "tests/mainframe/MainFrameFixture.h"

#include "tests/common/DialogSteps.h"
#include "tests/common/IniText.h"

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
    // Windows hides with it. The preferences, owned by no window, neither hide nor minimise with
    // the frame, and may stand behind it.
    for (TOwnedWindowSlot* slot : Slots()) {
        HWND owner = ::GetWindow(slot->GetWindow()->m_hWnd, GW_OWNER);
        if (slot->GetCommand() == ID_PREFERENCES) {
            EXPECT_EQ(nullptr, owner);
        } else if (!(slot->GetTraits() & OwnedFollowsFrame)) {
            EXPECT_EQ(frame->m_hWnd, owner) << "command " << slot->GetCommand();
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

// The first shown list with column headings among the window's controls, at any depth, or null.
HWND FindHeadedList(HWND window)
{
    HWND found = nullptr;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM found) CALLBACK -> BOOL {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (wcscmp(name, L"SysListView32") != 0 || !::IsWindowVisible(child) || !ListView_GetHeader(child))
                return TRUE;
            *(HWND*)found = child;
            return FALSE;
        },
        (LPARAM)&found);
    return found;
}

// Width and height.
std::pair<LONG, LONG> WindowSize(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Each resizable window, where window.ini keeps it, and the key of its first column's width
// (empty: the window has no headed list).
struct TResizableWindow {
    UINT command;
    const char* section;
    const char* columnKey;
};
const TResizableWindow kResizable[] = {
    {ID_POPUP_MENU_SETTINGS, "PopupEditor", "Header.0"},
    {ID_MACRO_SETTINGS, "MacroSelect", "FileHeader"},
    {ID_SCRIPT_SETTINGS, "ScriptSelect", "FileHeader"},
    {ID_DCC_WINDOW, "DCC", "ReceiveHeader.0"},
    {ID_KEYWORD_HISTORY, "KeywordHistory", ""},
    {ID_URL_HISTORY, "URLHistory", ""},
    {ID_SCRIPT_CONSOLE, "ScriptLog", ""},
};

} // namespace

// What the user did to a window's size and columns is there when the user opens it again, and in
// window.ini after the program's close.
TEST_F(OwnedWindowsTest, EveryWindowKeepsItsSizeAndColumnsWhenOpenedAgain)
{
    FillHistories();
    struct TLeft {
        const TResizableWindow* window;
        std::pair<LONG, LONG> size;
        int column;
    };
    std::vector<TLeft> left;
    for (const TResizableWindow& resizable : kResizable) {
        auto found = std::find_if(Slots().begin(), Slots().end(),
                                  [&](TOwnedWindowSlot* slot) { return slot->GetCommand() == resizable.command; });
        ASSERT_NE(Slots().end(), found) << resizable.section;
        TOwnedWindowSlot* slot = *found;
        const bool headed = *resizable.columnKey != 0;
        // Resized twice: closed by the user after the first, left open for the program's end.
        for (bool byTheEnd : {false, true}) {
            SCOPED_TRACE(testing::Message() << resizable.section << (byTheEnd ? ", the end" : ", closed"));
            frame->SendMessageW(WM_COMMAND, MAKEWPARAM(resizable.command, 0), 0);
            ASSERT_TRUE(WaitUntil([&] { return slot->IsVisible(); }, "the window shown"));
            HWND window = slot->GetWindow()->m_hWnd;
            RECT rect = {};
            ::GetWindowRect(window, &rect);
            DragMouse({rect.right - 3, rect.bottom - 3}, {rect.right + 37, rect.bottom + 27});
            ASSERT_TRUE(
                WaitUntil([&] { return WindowSize(window).first > rect.right - rect.left; }, "the window resized"));
            HWND list = FindHeadedList(window);
            ASSERT_EQ(headed, list != nullptr);
            if (headed)
                DragColumnTo(list, 0, ListView_GetColumnWidth(list, 0) + 23);
            const TLeft done = {&resizable, WindowSize(window), headed ? ListView_GetColumnWidth(list, 0) : 0};
            if (byTheEnd) {
                left.push_back(done);
                continue;
            }
            ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            ASSERT_TRUE(WaitUntil([&] { return !slot->IsVisible(); }, "the window closed"));

            frame->SendMessageW(WM_COMMAND, MAKEWPARAM(resizable.command, 0), 0);
            ASSERT_TRUE(WaitUntil([&] { return slot->IsVisible(); }, "the window shown again"));
            window = slot->GetWindow()->m_hWnd;
            EXPECT_EQ(done.size, WindowSize(window));
            if (headed) {
                EXPECT_EQ(done.column, ListView_GetColumnWidth(FindHeadedList(window), 0));
            }
        }
    }

    settings.preference.PromptOnQuit = false;
    frame->SendMessageW(WM_CLOSE);
    ASSERT_TRUE(frame->IsClosing());
    const CStringA saved = ReadFileBytes(settings.GetSettingsFolder() + L"window.ini");
    for (const TLeft& done : left) {
        SCOPED_TRACE(done.window->section);
        const std::string section = IniSection(saved.GetString(), done.window->section);
        EXPECT_EQ(std::to_string(done.size.first), IniValue(section, "Width"));
        EXPECT_EQ(std::to_string(done.size.second), IniValue(section, "Height"));
        if (*done.window->columnKey) {
            EXPECT_EQ(std::to_string(done.column), IniValue(section, done.window->columnKey));
        }
    }
}
