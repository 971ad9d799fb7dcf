#include "controls/CardLayoutPanel.h"
#include "controls/ChildId.h"
#include "controls/Splitter.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

namespace {

int WidthOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

// A visible top-level window holding the panel under test, with an edit to own the focus.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTopmostWindow(host, L"panels", 40, 40, 420, 320));
        focusOwner.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 270, 200, 20, host, nullptr);
    }
    // The splitter owns its panes; they start as two edits.
    void MakeSplitter(TSplitter& splitter, bool vertical)
    {
        ASSERT_TRUE(splitter.Create(host, GetNextChildId(), vertical));
        splitter.first = MakeCard(L"first");
        splitter.second = MakeCard(L"second");
        splitter.first->SetParent(splitter);
        splitter.second->SetParent(splitter);
    }
    CEdit* MakeCard(const wchar_t* text)
    {
        CEdit* card = new CEdit;
        card->CreateEx(0, L"EDIT", text, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, host, GetNextChildId());
        return card;
    }

    CWnd host;
    CWnd focusOwner;
};

} // namespace

TEST_F(PanelTest, CardPanelShowsOneCardAndResizesHiddenOnesToo)
{
    TCardLayoutPanel panel;
    ASSERT_TRUE(panel.Create(host, GetNextChildId()));
    panel.MoveWindow(10, 10, 200, 100);
    CEdit* first = MakeCard(L"1");
    CEdit* second = MakeCard(L"2");
    CEdit* stray = MakeCard(L"stray");
    panel.AddCard(1, first);
    panel.AddCard(2, second);
    panel.AddCard(1, stray);
    EXPECT_EQ(panel.GetCard(1), first) << "the first window under an id stays";
    EXPECT_EQ(GetParent(*stray), (HWND)host);
    EXPECT_TRUE(stray->IsWindowVisible());
    delete stray;

    panel.ShowCard(1);
    EXPECT_TRUE(first->IsWindowVisible());
    panel.ShowCard(2);
    EXPECT_TRUE(second->IsWindowVisible());
    EXPECT_FALSE(first->IsWindowVisible());
    panel.ShowCard(99);
    EXPECT_EQ(panel.GetCurrentCardId(), 2u);

    panel.MoveWindow(10, 10, 300, 150);
    EXPECT_EQ(WidthOf(*first), 300) << "hidden cards follow the panel's size";
    panel.ShowCard(0);
    EXPECT_FALSE(second->IsWindowVisible());
    EXPECT_EQ(panel.GetCurrentCard(), nullptr);

    panel.ShowCard(1);
    panel.RemoveCard(1);
    EXPECT_EQ(panel.GetCurrentCardId(), 0u);
    EXPECT_TRUE(first->IsWindowVisible()) << "a removed card is left as it was";
    panel.ShowCard(2);
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_FALSE(panel.ContainsWindow(first));
    EXPECT_TRUE(panel.ContainsWindow(second));
    delete first;
}

TEST_F(PanelTest, ListPanelKeepsItsCardForIdZero)
{
    TListPanel panel;
    ASSERT_TRUE(panel.Create(host, GetNextChildId()));
    CEdit* card = MakeCard(L"card");
    panel.AddCard(5, card);
    panel.ShowCard(5);
    panel.ShowCard(0);
    EXPECT_TRUE(card->IsWindowVisible());
    EXPECT_EQ(panel.GetCurrentCardId(), 5u);
}

TEST_F(PanelTest, ClickingAnEmptyPanelLeavesTheFocusWhereItWas)
{
    TCardLayoutPanel plain;
    TBorderCardLayoutPanel bordered;
    TBorderPanel frame;
    ASSERT_TRUE(plain.Create(host, GetNextChildId()));
    ASSERT_TRUE(bordered.Create(host, GetNextChildId()));
    ASSERT_TRUE(frame.Create(host, GetNextChildId()));
    EXPECT_TRUE(bordered.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(plain.GetExStyle() & WS_EX_CLIENTEDGE);
    plain.MoveWindow(10, 10, 120, 100);
    bordered.MoveWindow(140, 10, 120, 100);
    frame.MoveWindow(270, 10, 120, 100);
    for (HWND panel : {(HWND)plain, (HWND)bordered, (HWND)frame}) {
        FocusForInput(focusOwner);
        ClickAt(ScreenPointOf(panel));
        EXPECT_EQ(GetFocus(), (HWND)focusOwner);
    }
}

TEST_F(PanelTest, ToolBarPanelKeepsTheToolBarRowAndFillsTheRest)
{
    TToolBarPanel panel;
    ASSERT_TRUE(panel.Create(host, GetNextChildId()));
    panel.toolBar = MakeCard(L"tools");
    panel.content = MakeCard(L"content");
    panel.MoveWindow(0, 0, 300, 200);
    panel.RecalcLayout();
    RECT bar = WindowRectIn(*panel.toolBar, panel), content = WindowRectIn(*panel.content, panel);
    EXPECT_EQ(bar.bottom - bar.top, 24);
    EXPECT_EQ(content.top, 24);
    EXPECT_EQ(content.bottom, 200);
    EXPECT_EQ(content.right - content.left, 300);
}

namespace {

struct SplitCase {
    bool farSide;
    int position;
    int minimum;
    int expectedFirst; // width of the first pane when shown
};

} // namespace

TEST_F(PanelTest, SplitterShowsPanesClampedToTheMinimum)
{
    const SplitCase kCases[] = {
        {false, 190, 30, 167}, {false, 10, 30, 30}, {false, 80, 30, 80}, {true, 80, 30, 80}, {true, 190, 30, 167},
    };
    for (const SplitCase& c : kCases) {
        TSplitter splitter;
        MakeSplitter(splitter, true);
        splitter.farSide = c.farSide;
        splitter.position = c.position;
        splitter.minimum = c.minimum;
        splitter.MoveWindow(0, 0, 200, 100);
        EXPECT_EQ(WidthOf(*splitter.first), c.expectedFirst) << c.position;
        EXPECT_EQ(WidthOf(*splitter.second), 200 - c.expectedFirst - 3) << c.position;
        RECT first = WindowRectIn(*splitter.first, splitter);
        EXPECT_EQ(first.left, c.farSide ? 200 - c.expectedFirst : 0);
    }
}

TEST_F(PanelTest, SplitterDragKeepsTheMinimumAndGivesTheFocusBackOnce)
{
    TSplitter splitter;
    MakeSplitter(splitter, true);
    splitter.minimum = 30;
    splitter.position = 100;
    splitter.MoveWindow(10, 10, 300, 200);
    FocusForInput(focusOwner);

    POINT bar = ScreenPointOf(splitter, 101, 100);
    DragMouse(bar, POINT{bar.x + 250, bar.y});
    EXPECT_EQ(WidthOf(*splitter.second), 30) << "the second pane keeps its minimum";
    EXPECT_EQ(splitter.position, 350) << "the stored position is the unclamped drop point";
    EXPECT_EQ(GetFocus(), (HWND)focusOwner);
    splitter.MoveWindow(10, 10, 400, 200);
    EXPECT_EQ(WidthOf(*splitter.first), 350) << "widening lets the first pane grow back";

    bar = ScreenPointOf(splitter, WidthOf(*splitter.first) + 1, 100);
    DragMouse(bar, POINT{bar.x - 500, bar.y});
    EXPECT_EQ(WidthOf(*splitter.first), 30);

    // Once given back, a later layout leaves the focus where the user put it.
    splitter.first->SetFocus();
    splitter.MoveWindow(10, 10, 380, 200);
    EXPECT_EQ(GetFocus(), (HWND)*splitter.first);
}

TEST_F(PanelTest, SplitterWithTheFirstPaneAtTheRightNarrowsItWhenTheBarGoesRight)
{
    TSplitter splitter;
    MakeSplitter(splitter, true);
    splitter.farSide = true;
    splitter.position = 100;
    splitter.MoveWindow(10, 10, 300, 200);
    ASSERT_EQ(WindowRectIn(*splitter.first, splitter).left, 200);

    POINT bar = ScreenPointOf(splitter, 198, 100);
    DragMouse(bar, POINT{bar.x + 40, bar.y});
    EXPECT_EQ(splitter.position, 60);
    EXPECT_EQ(WidthOf(*splitter.first), 60);
    EXPECT_EQ(WidthOf(*splitter.second), 300 - 60 - 3);

    splitter.MoveWindow(10, 10, 400, 200);
    EXPECT_EQ(WidthOf(*splitter.first), 60) << "a resize keeps the first pane's width";
    EXPECT_EQ(WindowRectIn(*splitter.first, splitter).left, 340);
}

TEST_F(PanelTest, SplitterDragEndsAtTheOldPositionWhenTheFocusGoes)
{
    TSplitter splitter;
    MakeSplitter(splitter, true);
    splitter.position = 100;
    splitter.MoveWindow(10, 10, 300, 200);
    // Once the drag is under way, the focus goes elsewhere, as Alt+Tab would take it.
    bool draggingWhenFocusWent = false;
    std::function<void()> waitForDrag = [&] {
        if (GetCapture() != splitter.m_hWnd)
            return RunLater(20, waitForDrag);
        draggingWhenFocusWent = true;
        focusOwner.SetFocus();
    };
    RunLater(20, waitForDrag);
    POINT bar = ScreenPointOf(splitter, 101, 100);
    DragMouse(bar, POINT{bar.x + 120, bar.y});
    EXPECT_TRUE(draggingWhenFocusWent);
    EXPECT_EQ(splitter.position, 100);
    EXPECT_EQ(WidthOf(*splitter.first), 100);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PanelTest, SplitterModesShowOnePaneFillingTheWindow)
{
    TSplitter splitter;
    MakeSplitter(splitter, false);
    splitter.MoveWindow(0, 0, 200, 150);
    for (int mode : {TSplitter::SECOND_ONLY, TSplitter::FIRST_ONLY}) {
        splitter.mode = mode;
        splitter.RecalcLayout();
        CWnd* shown = mode == TSplitter::SECOND_ONLY ? splitter.second : splitter.first;
        CWnd* hidden = mode == TSplitter::SECOND_ONLY ? splitter.first : splitter.second;
        EXPECT_FALSE(hidden->IsWindowVisible());
        RECT rect = WindowRectIn(*shown, splitter);
        EXPECT_EQ(rect.bottom - rect.top, 150);
    }
    splitter.mode = TSplitter::BOTH;
    splitter.RecalcLayout();
    RECT top = WindowRectIn(*splitter.first, splitter);
    EXPECT_EQ(top.bottom - top.top, 50) << "a horizontal bar splits along the height";
    EXPECT_TRUE(splitter.second->IsWindowVisible());
}
