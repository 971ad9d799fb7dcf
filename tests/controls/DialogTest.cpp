#include "classlib/App.h"
#include "controls/ChildId.h"
#include "controls/UpdateDialog.h"
#include "foundation/ModalCounter.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TestDialogIds.h"
#include "tests/controls/ControlsFixture.h"

#include <commctrl.h>

TEST_F(ControlsDialogTest, LayoutManagerKeepsAnchoredDistancesAfterAResize)
{
    HWND ok = dialog.GetDlgItem(IDOK);
    RECT listBefore = WindowRectIn(dialog.list, dialog), viewBefore = WindowRectIn(dialog.listView, dialog),
         okBefore = WindowRectIn(ok, dialog), treeBefore = WindowRectIn(dialog.tree, dialog);
    RECT window;
    dialog.GetWindowRect(&window);
    const int dx = 180, dy = 120;
    dialog.SetWindowPos(nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                        SWP_NOMOVE | SWP_NOZORDER);
    PumpPendingMessages();

    RECT list = WindowRectIn(dialog.list, dialog), view = WindowRectIn(dialog.listView, dialog),
         okAfter = WindowRectIn(ok, dialog), tree = WindowRectIn(dialog.tree, dialog);
    EXPECT_EQ(list.left, listBefore.left) << "anchors 0: left and top kept";
    EXPECT_EQ(list.top, listBefore.top);
    EXPECT_EQ(list.right - list.left, listBefore.right - listBefore.left);
    EXPECT_EQ(view.left, viewBefore.left) << "anchors 0xF stretch";
    EXPECT_EQ(view.right, viewBefore.right + dx);
    EXPECT_EQ(view.bottom, viewBefore.bottom + dy);
    EXPECT_EQ(okAfter.left, okBefore.left + dx) << "anchors 6 follow the bottom-right corner";
    EXPECT_EQ(okAfter.top, okBefore.top + dy);
    EXPECT_EQ(okAfter.right - okAfter.left, okBefore.right - okBefore.left);
    EXPECT_EQ(tree.left, treeBefore.left + dx) << "right, top and bottom: moves right, grows down";
    EXPECT_EQ(tree.bottom, treeBefore.bottom + dy);
    EXPECT_EQ(tree.top, treeBefore.top);

    // The picture a person checks: every control drawn, Japanese text included.
    dialog.colors.SetCurSel(4);
    dialog.listView.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    dialog.RedrawWindow();
    PumpPendingMessages();
    SaveWindowPng(dialog, L"screenshots\\ControlsDialog.png");
}

TEST_F(ControlsDialogTest, SmallControlsKeepTheirContents)
{
    EXPECT_EQ(GetSpinEditValue(dialog.number, dialog.spin), 42);
    EXPECT_EQ(dialog.colors.GetCount(), 17);
    dialog.colors.SetCurSel(0);
    EXPECT_EQ(dialog.colors.GetSelectedColor(), (COLORREF)-1);
    dialog.colors.SetCurSel(5);
    EXPECT_EQ(dialog.colors.GetSelectedColor(), RGB(255, 0, 0));
    EXPECT_EQ(dialog.colors.GetLBText(16), CString(L"銀"));
    EXPECT_EQ(dialog.fonts.GetSelectedFontName(), CString(L"IPAPGothic"));
    dialog.fonts.SelectFontName(L"No such face");
    EXPECT_EQ(dialog.fonts.GetSelectedFontName(), CString());
    std::vector<CString> items;
    dialog.list.GetItems(items);
    EXPECT_EQ(items, (std::vector<CString>{L"一番目", L"二番目", L"三番目"}));
    EXPECT_GT(dialog.list.GetHorizontalExtent(), 6);
}

// The owner hears of a selection the click cleared, as a selection change and not as a click.
TEST_F(ControlsDialogTest, ListBoxClicksBelowTheLastItemClearTheSelection)
{
    TListBox& list = dialog.list;
    RECT item;
    list.SendMessage(LB_GETITEMRECT, 1, (LPARAM)&item);
    ClickAt(ScreenPointOf(list, 10, (item.top + item.bottom) / 2));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(dialog.listener.Count(L"click"), 1);
    EXPECT_EQ(dialog.listener.Count(L"selchange"), 1);

    RECT client;
    list.GetClientRect(&client);
    dialog.listener.Clear();
    ClickAt(ScreenPointOf(list, 10, client.bottom - 3));
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(dialog.listener.Count(L"click"), 0);
    EXPECT_EQ(dialog.listener.Count(L"selchange"), 1);

    // Nothing was selected: nothing changed to tell of.
    dialog.listener.Clear();
    ClickAt(ScreenPointOf(list, 10, client.bottom - 3));
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(dialog.listener.Count(L"selchange"), 0);
}

TEST_F(ControlsDialogTest, CheckListBoxDoubleClickOnTheBoxOnlyTogglesIt)
{
    TCheckListBox& list = dialog.checkList;
    RECT item;
    list.SendMessage(LB_GETITEMRECT, 0, (LPARAM)&item);
    int middle = (item.top + item.bottom) / 2;
    FocusForInput(list);
    dialog.listener.Clear();
    ClickAt(ScreenPointOf(list, 4, middle));
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_EQ(dialog.listener.Count(L"checkchange"), 1);
    DoubleClickAt(ScreenPointOf(list, 4, middle));
    EXPECT_TRUE(list.GetCheck(0)) << "toggled twice";
    EXPECT_EQ(dialog.listener.Count(L"dblclick"), 0);
    DoubleClickAt(ScreenPointOf(list, 60, middle));
    EXPECT_EQ(dialog.listener.Count(L"dblclick"), 1);
    EXPECT_TRUE(list.GetCheck(0));
}

TEST(TUpdateDialog, NestedModalRunsKeepTheMainWindowDisabledUntilTheLastCloses)
{
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                              nullptr, nullptr));
    app.m_pMainWnd = &main;
    std::vector<std::pair<const char*, BOOL>> seen;
    TUpdateDialog outer(IDD_TEST_COMMANDS), inner(IDD_TEST_COMMANDS, &outer);
    RunLater(100, [&] {
        seen.push_back({"outer open", main.IsWindowEnabled()});
        RunLater(100, [&] {
            seen.push_back({"inner open", main.IsWindowEnabled()});
            {
                TModalManager box; // as a message box counts itself
                seen.push_back({"box open", main.IsWindowEnabled()});
            }
            seen.push_back({"box closed", main.IsWindowEnabled()});
            inner.EndDialog(IDOK);
            RunLater(100, [&] {
                seen.push_back({"inner closed", main.IsWindowEnabled()});
                outer.EndDialog(IDCANCEL);
            });
        });
        EXPECT_EQ(inner.DoModal(), IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    seen.push_back({"outer closed", main.IsWindowEnabled()});
    const std::vector<std::pair<const char*, BOOL>> expected = {
        {"outer open", FALSE}, {"inner open", FALSE},   {"box open", FALSE},
        {"box closed", FALSE}, {"inner closed", FALSE}, {"outer closed", TRUE},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); i++) {
        EXPECT_STREQ(seen[i].first, expected[i].first);
        EXPECT_EQ(seen[i].second, expected[i].second) << seen[i].first;
    }
    EXPECT_EQ(TModalManager::GetModalCount(), 0);
    app.m_pMainWnd = nullptr;
}

TEST(TUpdateDialog, IsCreatedByItsRunTimeClassName)
{
    const CRuntimeClass* runtime = CRuntimeClass::FromName(L"TUpdateDialog");
    ASSERT_NE(runtime, nullptr);
    CWnd* made = runtime->CreateObject();
    EXPECT_NE(dynamic_cast<TUpdateDialog*>(made), nullptr);
    delete made;
    EXPECT_EQ(CRuntimeClass::FromName(L"TNoSuchDialog"), nullptr);
}

TEST(DialogTextHelpers, SpinValuesAreClampedIntoTheRange)
{
    CWnd edit, spin;
    ASSERT_TRUE(edit.CreateEx(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr));
    ASSERT_TRUE(spin.CreateEx(0, UPDOWN_CLASSW, L"", WS_POPUP, 0, 0, 10, 20, nullptr, nullptr));
    const struct {
        const wchar_t* text;
        int low, high, expected;
    } kCases[] = {
        {L"abc", 1, 100, 1},           {L"500", 1, 100, 100}, {L"-3", 0, 10, 0},
        {L"  +7x", 0, 10, 7},          {L"", -5, 5, 0},       {L"99999999999", 0, 10, 10},
        {L"-99999999999", -4, 10, -4},
    };
    for (const auto& c : kCases) {
        SetSpinEditValue(edit, spin, 0, c.low, c.high);
        edit.SetWindowText(c.text);
        EXPECT_EQ(GetSpinEditValue(edit, spin), c.expected) << "case " << (&c - kCases);
    }
    SetSpinEditValue(edit, spin, 42, 1, 100);
    EXPECT_EQ(edit.GetWindowText(), CString(L"42"));
}

TEST(DialogTextHelpers, EditTextLimitsAndLines)
{
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 50, 20, nullptr, nullptr));
    SetEditText(edit, L"abc", 12);
    EXPECT_EQ(edit.SendMessage(EM_GETLIMITTEXT), 12);
    SetEditText(edit, L"defg", 0);
    EXPECT_EQ(edit.SendMessage(EM_GETLIMITTEXT), 12) << "limit 0 keeps the control's limit";
    EXPECT_EQ(GetControlText(edit), CString(L"defg"));

    const std::vector<std::vector<CString>> kLists = {{}, {L"one"}, {L"one", L"二", L"three"}};
    const wchar_t* kTexts[] = {L"", L"one", L"one\r\n二\r\nthree"};
    for (size_t i = 0; i < kLists.size(); i++) {
        SetEditLines(kLists[i], edit);
        EXPECT_EQ(GetControlText(edit), CString(kTexts[i]));
        std::vector<CString> back;
        GetEditLines(edit, back);
        EXPECT_EQ(back, kLists[i]);
    }
}
