// The work area as the user sees it: where the tree, the member list and the logs stand in each
// layout, the splitter positions, the search bar, and the focus kept across deactivation.

#include "tests/mainframe/FrameFixture.h"

#include "logview/LogView.h"
#include "tests/common/UserInput.h"

namespace {

// Where a window stands in the panel, in the panel's client coordinates.
RECT PlaceOf(CWnd* window, CContentPanel& panel) { return WindowRectIn(window->m_hWnd, panel.m_hWnd); }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Each of the two movable windows sits in exactly one pane slot, whose splitter is its parent.
void ExpectEachWindowInOneSlot(CContentPanel& panel, const char* what)
{
    CWnd* slots[] = {panel.GetInfoSplitter()->first, panel.GetInfoSplitter()->second, panel.GetRootSplitter()->first};
    HWND owners[] = {panel.GetInfoSplitter()->m_hWnd, panel.GetInfoSplitter()->m_hWnd, panel.GetRootSplitter()->m_hWnd};
    for (CWnd* window : {(CWnd*)panel.GetServerTree(), (CWnd*)panel.GetMemberListPanel()}) {
        int found = 0;
        for (int i = 0; i < 3; i++)
            if (slots[i] == window) {
                found++;
                EXPECT_EQ(owners[i], window->GetParent()) << what;
            }
        EXPECT_EQ(1, found) << what;
    }
}

} // namespace

class ContentPanelTest : public FrameTest {};

TEST_F(ContentPanelTest, DefaultLayoutPutsTheListColumnRightAndTheConsoleBelow)
{
    Open();
    CContentPanel& panel = Panel();
    RECT client;
    panel.GetClientRect(&client);
    RECT tree = PlaceOf(panel.GetServerTree(), panel);
    RECT members = PlaceOf(panel.GetMemberListPanel(), panel);
    RECT chat = PlaceOf(panel.GetChatPanel(), panel);
    RECT console = PlaceOf(panel.GetConsoleLog(), panel);
    // A 120-pixel column at the right edge: the member list above the 200-pixel tree.
    EXPECT_EQ(client.right, tree.right);
    EXPECT_EQ(120, Width(tree));
    EXPECT_LT(members.top, tree.top);
    EXPECT_EQ(client.bottom, tree.bottom);
    EXPECT_NEAR(200, Height(tree), 2);
    // The logs on the left: the chat panel above a console 100 pixels high (inside its border).
    EXPECT_LT(chat.right, tree.left);
    EXPECT_LT(chat.top, console.top);
    EXPECT_NEAR(100, Height(console), 4);
    EXPECT_EQ(nullptr, panel.GetRootSplitter()->first);
    ExpectEachWindowInOneSlot(panel, "default");
}

TEST_F(ContentPanelTest, LayoutPreferencesMoveTheColumnsAndNeverLoseAWindow)
{
    Open();
    CContentPanel& panel = Panel();
    const struct {
        bool three, invertLog, invertMember;
        bool columnLeftOfLogs; // the info column
        bool treeAboveMembers; // two columns only
        int thirdColumn;       // 0 none, 1 tree, 2 member list
    } cases[] = {
        {false, false, false, false, false, 0}, {false, true, false, true, false, 0},
        {false, false, true, false, true, 0},   {false, true, true, true, true, 0},
        {true, false, false, false, false, 1},  {true, false, true, false, false, 2},
        {true, true, false, true, false, 1},    {false, false, false, false, false, 0},
        {true, false, true, false, false, 2},   {false, false, true, false, true, 0},
    };
    for (const auto& c : cases) {
        std::string what = std::to_string(c.three) + std::to_string(c.invertLog) + std::to_string(c.invertMember);
        TPreference pref;
        pref.ThreeColumnsLayout = c.three;
        pref.InvertLogAndList = c.invertLog;
        pref.InvertMemberAndTree = c.invertMember;
        panel.ApplyLayoutPreferences(pref);
        PumpPendingMessages();
        ExpectEachWindowInOneSlot(panel, what.c_str());
        RECT info = PlaceOf(panel.GetInfoSplitter(), panel);
        RECT chat = PlaceOf(panel.GetChatPanel(), panel);
        EXPECT_EQ(c.columnLeftOfLogs, info.right <= chat.left) << what;
        RECT tree = PlaceOf(panel.GetServerTree(), panel);
        RECT members = PlaceOf(panel.GetMemberListPanel(), panel);
        EXPECT_TRUE(panel.GetServerTree()->IsWindowVisible()) << what;
        EXPECT_TRUE(panel.GetMemberListPanel()->IsWindowVisible()) << what;
        if (!c.three) {
            EXPECT_EQ(c.treeAboveMembers, tree.top < members.top) << what;
            continue;
        }
        // The third column is the leftmost, "Splitter.Left" wide; the other fills the info column.
        RECT third = c.thirdColumn == 1 ? tree : members;
        RECT other = c.thirdColumn == 1 ? members : tree;
        EXPECT_EQ(0, third.left) << what;
        EXPECT_EQ(120, Width(third)) << what;
        EXPECT_EQ(Height(info), Height(other)) << what;
    }
}

TEST_F(ContentPanelTest, ResetRestoresPositionsWithoutMovingSides)
{
    Open();
    CContentPanel& panel = Panel();
    TPreference pref;
    pref.InvertLogAndList = true;
    panel.ApplyLayoutPreferences(pref);
    for (TSplitter* s :
         {panel.GetRootSplitter(), panel.GetMainSplitter(), panel.GetInfoSplitter(), panel.GetLogSplitter()})
        s->position = 77;
    panel.ResetSplitterPositions();
    TSplitterPositions p = panel.GetSplitterPositions();
    EXPECT_EQ(120, p.left);
    EXPECT_EQ(120, p.root);
    EXPECT_EQ(200, p.info);
    EXPECT_EQ(100, p.log);
    EXPECT_FALSE(panel.GetMainSplitter()->farSide);
    EXPECT_TRUE(panel.GetInfoSplitter()->farSide);
}

TEST_F(ContentPanelTest, SearchBarPushesTheSplittersDownAndMinimisingKeepsTheLayout)
{
    Open();
    CContentPanel& panel = Panel();
    panel.ShowSearchBar(true);
    RECT bar = PlaceOf(&panel.GetSearchBar(), panel);
    RECT root = PlaceOf(panel.GetRootSplitter(), panel);
    EXPECT_TRUE(panel.GetSearchBar().IsWindowVisible());
    EXPECT_GT(Height(bar), 10);
    EXPECT_EQ(bar.bottom + 1, root.top);
    panel.ShowSearchBar(false);
    EXPECT_FALSE(panel.GetSearchBar().IsWindowVisible());
    root = PlaceOf(panel.GetRootSplitter(), panel);
    EXPECT_EQ(0, root.top);

    RECT before = PlaceOf(panel.GetServerTree(), panel);
    frame->ShowWindow(SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(frame->m_hWnd) != FALSE; }, "the window minimised");
    frame->ShowWindow(SW_RESTORE);
    PumpPendingMessages();
    RECT after = PlaceOf(panel.GetServerTree(), panel);
    EXPECT_EQ(Width(before), Width(after));
    EXPECT_EQ(Height(before), Height(after));
}

TEST_F(ContentPanelTest, FocusComesBackAfterDeactivationOrGoesToTheInputLine)
{
    Open();
    CContentPanel& panel = Panel();
    HWND tree = panel.GetServerTree()->m_hWnd;
    FocusForInput(tree);
    ASSERT_EQ(tree, ::GetFocus());
    // Another window of the program takes the activation, then the user comes back.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 900, 100, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    WaitUntil([&] { return ::GetActiveWindow() == other; }, "the other window active");
    ::SetActiveWindow(frame->m_hWnd);
    WaitUntil([&] { return ::GetFocus() == tree; }, "the focus back in the tree");
    EXPECT_EQ(tree, ::GetFocus());

    // A remembered window that was destroyed meanwhile leaves the focus to the input line.
    TLogView* extra = new TLogView;
    ASSERT_TRUE(extra->Create(&Settings().view.logTheme.text, &Settings().view.logTheme.allLogBack,
                              panel.GetChatPanel()->cards.m_hWnd, 1, &Settings().preference.keyword, nullptr, false));
    extra->ShowWindow(SW_SHOW);
    extra->SetFocus();
    ::SetActiveWindow(other);
    WaitUntil([&] { return ::GetActiveWindow() == other; }, "the other window active");
    delete extra;
    ::SetActiveWindow(frame->m_hWnd);
    WaitUntil([&] { return ::GetFocus() == panel.GetInputLine()->m_hWnd; }, "the focus in the input line");
    EXPECT_EQ(panel.GetInputLine()->m_hWnd, ::GetFocus());
    ::DestroyWindow(other);
}

// The system may hand the activation to the window after the click that brought it: the window
// the user clicked keeps the focus instead of the one remembered from before.
TEST_F(ContentPanelTest, AnActivationHandledAfterAClickLeavesTheFocusWhereTheClickPutIt)
{
    Open();
    CContentPanel& panel = Panel();
    HWND input = panel.GetInputLine()->m_hWnd;
    FocusForInput(input);
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 900, 100, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    WaitUntil([&] { return ::GetActiveWindow() == other; }, "the other window active");
    ::SetActiveWindow(frame->m_hWnd);
    ASSERT_TRUE(WaitUntil([&] { return ::GetFocus() == input; }, "the focus back in the input line"));

    for (HWND clicked : {panel.GetServerTree()->m_hWnd, panel.GetConsoleLog()->m_hWnd}) {
        ClickAt(ScreenPointOf(clicked));
        ASSERT_TRUE(WaitUntil([&] { return ::GetFocus() == clicked; }, "the focus where the click went"));
        for (WPARAM state : {WA_CLICKACTIVE, WA_ACTIVE}) {
            ::SendMessageW(frame->m_hWnd, WM_ACTIVATE, state, (LPARAM)other);
            PumpPendingMessages();
            EXPECT_EQ(clicked, ::GetFocus()) << "activation " << state;
        }
    }
    ::DestroyWindow(other);
}
