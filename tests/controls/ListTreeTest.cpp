#include "tests/controls/ControlsFixture.h"

#include "tests/common/ListViewCells.h"
#include "tests/common/StringPrinter.h"

#include <algorithm>
#include <functional>

TEST_F(ControlsDialogTest, ListArrowsStayWithTheListUnlessAModifierIsHeld)
{
    dialog.listView.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (WORD key : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN}) {
        PressIn(dialog.listView, key);
        EXPECT_EQ(dialog.listener.Count(L"key"), 0) << "key " << key;
    }
    dialog.listener.consumedKeys = {VK_DELETE};
    PressIn(dialog.listView, VK_DOWN, {VK_CONTROL});
    ASSERT_EQ(dialog.listener.Count(L"key"), 1);
    EXPECT_EQ(dialog.listener.Last(L"key")->key, (UINT)VK_DOWN);
    PressIn(dialog.listView, VK_DELETE);
    EXPECT_EQ(dialog.listener.Count(L"key"), 1);
}

TEST_F(ControlsDialogTest, ListContextMenuOpensAtTheFocusedRowFromTheKeyboardAndAtTheCursorFromTheMouse)
{
    FocusForInput(dialog.listView);
    RECT row;
    dialog.listView.GetItemRect(4, &row, LVIR_LABEL);
    POINT click = ScreenPointOf(dialog.listView, row.left + 5, row.top + 3);
    dialog.listener.Clear();
    ClickAt(click, true);
    EXPECT_EQ(dialog.listener.Count(L"rclick"), 1);
    ASSERT_NE(dialog.listener.Last(L"context"), nullptr);
    EXPECT_EQ(dialog.listener.Last(L"context")->x, click.x);
    EXPECT_EQ(dialog.listener.Last(L"context")->y, click.y);

    dialog.listView.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (auto keys : {std::pair<WORD, WORD>{VK_APPS, 0}, std::pair<WORD, WORD>{VK_F10, VK_SHIFT}}) {
        FocusForInput(dialog.listView);
        dialog.listener.Clear();
        if (keys.second)
            PressMenuKey(keys.first, {keys.second});
        else
            PressMenuKey(keys.first);
        const TReport* context = dialog.listener.Last(L"context");
        ASSERT_NE(context, nullptr) << "key " << keys.first;
        dialog.listView.GetItemRect(2, &row, LVIR_LABEL);
        int half = (row.bottom - row.top) / 2;
        POINT expected = ScreenPointOf(dialog.listView, row.left + half, row.top + half);
        EXPECT_EQ(context->x, expected.x);
        EXPECT_EQ(context->y, expected.y);
    }
}

TEST_F(ControlsDialogTest, ListHelpersFindAndReadRows)
{
    TListView& list = dialog.listView;
    EXPECT_EQ(list.FindItemByText(L"みずき"), 2);
    EXPECT_EQ(list.FindItemByText(L"ミズキ"), -1);
    EXPECT_EQ(list.FindItemByData(103), 3);
    EXPECT_EQ(list.FindItemByData(7), -1);
    EXPECT_EQ(list.GetViewIndex(), 3);
    list.DeselectAll();
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<CString> texts;
    list.GetSelectedItemTexts(texts);
    EXPECT_EQ(texts, (std::vector<CString>{L"はるか", L"りん"}));
    std::vector<LPARAM> data;
    list.GetSelectedItemData(data);
    EXPECT_EQ(data, (std::vector<LPARAM>{101, 103}));
    list.ClearSelectionAndFocus();
    std::vector<int> indexes;
    list.GetSelectedItemIndexes(indexes);
    EXPECT_TRUE(indexes.empty());

    for (int length : {255, 300, 5000}) {
        CString longText(L'長', length);
        list.SetItemText(0, 1, longText);
        EXPECT_EQ(list.GetItemText(0, 1), longText) << length << " characters";
    }
}

TEST_F(ControlsDialogTest, TreeReportsUpAndDownButNeverPlusAndMinus)
{
    dialog.tree.SelectItem(dialog.treeItems[0]);
    for (WORD key : {VK_ADD, VK_SUBTRACT, VK_OEM_PLUS, VK_OEM_MINUS, VK_LEFT, VK_RIGHT, VK_HOME}) {
        PressIn(dialog.tree, key);
        EXPECT_EQ(dialog.listener.Count(L"key"), 0) << "key " << key;
    }
    dialog.listener.consumedKeys = {VK_DOWN};
    dialog.tree.SelectItem(dialog.treeItems[0]);
    PressIn(dialog.tree, VK_DOWN);
    EXPECT_EQ(dialog.listener.Count(L"key"), 1);
    EXPECT_EQ(dialog.tree.GetSelectedItem(), dialog.treeItems[0]) << "a consumed key never moves the selection";
    PressIn(dialog.tree, VK_UP);
    EXPECT_EQ(dialog.listener.Count(L"key"), 1);
}

TEST_F(ControlsDialogTest, TreeRightClickReportsTheItemOrNullAtTheCursorOnce)
{
    RECT row;
    HTREEITEM b = dialog.treeItems[4];
    dialog.tree.GetItemRect(b, &row, TRUE);
    POINT onItem = ScreenPointOf(dialog.tree, row.left + 3, (row.top + row.bottom) / 2);
    FocusForInput(dialog.tree);
    dialog.listener.Clear();
    ClickAt(onItem, true);
    EXPECT_EQ(dialog.listener.Count(L"context"), 1);
    EXPECT_EQ(dialog.listener.Last(L"context")->item, (void*)b);
    EXPECT_EQ(dialog.listener.Last(L"context")->x, onItem.x);

    RECT client;
    dialog.tree.GetClientRect(&client);
    POINT empty = ScreenPointOf(dialog.tree, client.right / 2, client.bottom - 5);
    dialog.listener.Clear();
    ClickAt(empty, true);
    ASSERT_EQ(dialog.listener.Count(L"context"), 1);
    EXPECT_EQ(dialog.listener.Last(L"context")->item, nullptr);
    EXPECT_EQ(dialog.listener.Last(L"context")->y, empty.y);
}

namespace {

// Where a user grabs an item: the middle of its text.
POINT ItemCentre(TTreeView& tree, HTREEITEM item)
{
    RECT rect;
    tree.GetItemRect(item, &rect, TRUE);
    return ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

} // namespace

TEST_F(ControlsDialogTest, TreeDropsOnlyOntoOtherBranches)
{
    TTreeView& tree = dialog.tree;
    HTREEITEM a = dialog.treeItems[0], a2 = dialog.treeItems[2], a2a = dialog.treeItems[3], b = dialog.treeItems[4];
    tree.Expand(a2, TVE_EXPAND);
    auto centre = [&](HTREEITEM item) { return ItemCentre(tree, item); };
    const struct {
        HTREEITEM target;
        bool dropped;
    } kCases[] = {{a2a, false}, {a, false}, {b, true}};
    FocusForInput(tree);
    for (const auto& c : kCases) {
        dialog.listener.droppedOn = nullptr;
        DragMouse(centre(a), centre(c.target));
        EXPECT_FALSE(tree.IsDragging());
        EXPECT_EQ(dialog.listener.droppedOn, c.dropped ? c.target : nullptr);
    }
    RECT client;
    tree.GetClientRect(&client);
    dialog.listener.droppedOn = nullptr;
    DragMouse(centre(a2), ScreenPointOf(tree, 5, client.bottom - 3));
    EXPECT_EQ(dialog.listener.droppedOn, nullptr) << "outside any item";
}

// A drag whose capture or focus is taken, or whose tree goes, ends there: the later button
// release drops nothing.
TEST_F(ControlsDialogTest, TreeDragInterruptedEndsWithoutADrop)
{
    TTreeView& tree = dialog.tree;
    HTREEITEM a = dialog.treeItems[0], b = dialog.treeItems[4];
    auto centre = [&](HTREEITEM item) { return ItemCentre(tree, item); };
    const struct {
        const char* name;
        std::function<void()> interrupt;
    } rows[] = {
        {"nothing interrupts", nullptr},
        {"another window takes the capture", [&] { ::SetCapture(dialog.edit); }},
        {"the system cancels modes", [&] { tree.SendMessage(WM_CANCELMODE); }},
        {"the focus goes elsewhere", [&] { dialog.edit.SetFocus(); }},
        {"the tree is destroyed", [&] { tree.DestroyWindow(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FocusForInput(tree);
        dialog.listener.droppedOn = nullptr;
        TStepWhenReady interrupt([&] { return row.interrupt && tree.IsDragging(); }, [&] { row.interrupt(); });
        DragMouse(centre(a), centre(b));
        ::ReleaseCapture();
        EXPECT_EQ(interrupt.Ran(), row.interrupt != nullptr);
        EXPECT_FALSE(tree.IsDragging());
        EXPECT_EQ(dialog.listener.droppedOn, row.interrupt ? nullptr : b);
    }
}

namespace {

// What the tree shows as drop target, sampled while a drag runs.
std::vector<HTREEITEM> g_highlights;
HWND g_sampledTree = nullptr;

void CALLBACK SampleHighlight(HWND, UINT, UINT_PTR, DWORD)
{
    HTREEITEM item = TreeView_GetDropHilight(g_sampledTree);
    if (item)
        g_highlights.push_back(item);
}

} // namespace

TEST_F(ControlsDialogTest, TreeDragOverARefusedTargetHighlightsTheDraggedItem)
{
    TTreeView& tree = dialog.tree;
    HTREEITEM a = dialog.treeItems[0], b = dialog.treeItems[4];
    auto centre = [&](HTREEITEM item) { return ItemCentre(tree, item); };
    g_sampledTree = tree;
    for (int refuse = 0; refuse < 2; refuse++) {
        dialog.listener.refuseDragTargets = refuse == 1;
        g_highlights.clear();
        FocusForInput(tree);
        UINT_PTR timer = SetTimer(nullptr, 0, 10, SampleHighlight);
        DragMouse(centre(b), centre(a));
        KillTimer(nullptr, timer);
        ASSERT_FALSE(g_highlights.empty());
        // Accepted targets take the highlight on the way; refused ones leave it on the dragged item.
        long onDragged = std::count(g_highlights.begin(), g_highlights.end(), b);
        if (refuse)
            EXPECT_EQ(onDragged, (long)g_highlights.size());
        else
            EXPECT_LT(onDragged, (long)g_highlights.size());
    }
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr) << "the highlight goes with the drop";
}

TEST_F(ControlsDialogTest, TreeRowHelpersFollowExpansion)
{
    TTreeView& tree = dialog.tree;
    HTREEITEM a = dialog.treeItems[0], a2 = dialog.treeItems[2], a2a = dialog.treeItems[3], c = dialog.treeItems[5];
    tree.Expand(a2, TVE_COLLAPSE);
    EXPECT_EQ(tree.GetItemDepth(a2a), 2);
    EXPECT_EQ(tree.GetVisibleIndex(a2a), -1) << "inside a collapsed branch";
    EXPECT_EQ(tree.GetVisibleIndex(c), 4);
    EXPECT_EQ(tree.GetLastItem(), c);
    EXPECT_EQ(tree.GetSiblingPosition(a2), 2);
    EXPECT_EQ(tree.GetSiblingPosition(nullptr), 0);
    tree.ScrollItemIntoView(a2a);
    EXPECT_TRUE(tree.IsItemVisible(a2a));
    EXPECT_EQ(tree.GetVisibleIndex(a2a), 3);

    tree.SetItemState(a2, TVIS_BOLD, TVIS_BOLD);
    HTREEITEM copy = tree.CopyItem(a, TVI_ROOT, TVI_LAST);
    EXPECT_EQ(tree.GetItemText(copy), CString(L"サーバA"));
    HTREEITEM copiedA2 = tree.GetNextSiblingItem(tree.GetChildItem(copy));
    EXPECT_EQ(tree.GetItemText(copiedA2), CString(L"#開発"));
    EXPECT_TRUE(tree.GetItemState(copiedA2, TVIS_BOLD) & TVIS_BOLD);
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(copiedA2)), CString(L"相談"));
    EXPECT_EQ(tree.GetLastItem(), tree.GetChildItem(copiedA2));

    tree.ExpandAll(nullptr, TVE_COLLAPSE);
    EXPECT_FALSE(tree.IsItemVisible(dialog.treeItems[1]));
    tree.ExpandAll(nullptr, TVE_EXPAND);
    EXPECT_TRUE(tree.IsItemVisible(a2a));
}

// The owner hears of a double click on a box after both toggles, on the row whose box it was.
TEST_F(ControlsDialogTest, ListDoubleClickOnACheckBoxTogglesItTwice)
{
    TListView& list = dialog.listView;
    list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    auto checked = [&](int row) { return ListView_GetCheckState(list.m_hWnd, row) != FALSE; };
    FocusForInput(list);
    ClickAt(ListViewCheckBoxPoint(list, 0));
    ASSERT_TRUE(checked(0)) << "one click on the box checks it";
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : {0, 1}) {
        bool before = checked(row);
        dialog.listener.Clear();
        DoubleClickAt(ListViewCheckBoxPoint(list, row));
        ASSERT_EQ(dialog.listener.Count(L"dblclick"), 1);
        EXPECT_EQ(dialog.listener.Last(L"dblclick")->key, (UINT)row);
        EXPECT_EQ(dialog.listener.Last(L"dblclick")->item != nullptr, before) << "the owner sees the box as it was";
        PumpPendingMessages();
        EXPECT_EQ(checked(row), before) << "a double click toggles twice";
    }
    // A double click on the text is the row's, its box untouched.
    dialog.listener.Clear();
    DoubleClickAt(ListViewCellPoint(list, 2, 0));
    ASSERT_EQ(dialog.listener.Count(L"dblclick"), 1);
    EXPECT_EQ(dialog.listener.Last(L"dblclick")->key, 2u);
    EXPECT_FALSE(checked(2));
}
