#include "tests/controls/ControlsFixture.h"

#include "tests/common/StringPrinter.h"

TEST_F(ControlsDialogTest, EditKeysReachTheListenerAndConsumedKeysNeverReachTheControl)
{
    dialog.edit.SetWindowText(L"");
    dialog.listener.consumedKeys = {'A'};
    PressIn(dialog.edit, 'A');
    PressKey('B');
    EXPECT_EQ(dialog.edit.GetWindowText(), CString(L"b"));
    ASSERT_EQ(dialog.listener.Count(L"key"), 2);
    EXPECT_EQ(dialog.listener.reports[0].key, (UINT)'A');
}

TEST_F(ControlsDialogTest, ModifierAndWindowsKeysAreNeverReported)
{
    for (WORD key : {VK_SHIFT, VK_CONTROL, VK_LWIN, VK_RWIN, VK_APPS}) {
        PressIn(dialog.edit, key);
        EXPECT_EQ(dialog.listener.Count(L"key"), 0) << "key " << key;
        EXPECT_EQ(dialog.listener.Count(L"syskey"), 0) << "key " << key;
    }
}

TEST_F(ControlsDialogTest, EnterCtrlMAndCtrlSpaceGoToTheirOwnOperations)
{
    const struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        const wchar_t* report;
    } kCases[] = {
        {VK_RETURN, {}, L"enter"},
        {'M', {VK_CONTROL}, L"enter"},
        {VK_SPACE, {VK_CONTROL}, L"ctrlspace"},
        {VK_SPACE, {VK_CONTROL, VK_SHIFT}, L"ctrlspace"},
        {'M', {VK_CONTROL, VK_SHIFT}, L"key"},
        {'M', {VK_CONTROL, VK_MENU}, L"key"},
    };
    dialog.listener.consumeAll = true;
    for (const auto& c : kCases) {
        PressIn(dialog.edit, c.key, c.modifiers);
        // Alt itself is reported too (a system key, or a plain one while Ctrl is held).
        std::vector<CString> seen;
        for (const TReport& report : dialog.listener.reports)
            if (report.what != L"syskey" && report.key != VK_MENU)
                seen.push_back(report.what);
        EXPECT_EQ(seen, std::vector<CString>{c.report}) << "key " << c.key << ", offered once when consumed";
    }
}

TEST_F(ControlsDialogTest, ShiftF10IsNeverConsumedAndAsksForTheMenuAtTheEditsCentre)
{
    dialog.listener.consumeAll = true; // even a listener that takes every key gets no Shift+F10
    FocusForInput(dialog.edit);
    dialog.listener.Clear();
    PressMenuKey(VK_F10, {VK_SHIFT});
    EXPECT_EQ(dialog.listener.Count(L"syskey"), 0);
    const TReport* context = dialog.listener.Last(L"context");
    ASSERT_NE(context, nullptr);
    POINT centre = ScreenPointOf(dialog.edit);
    EXPECT_EQ(context->x, centre.x);
    EXPECT_EQ(context->y, centre.y);
}

TEST_F(ControlsDialogTest, InputLineHistoryWalksBackAndReturnsToTheTypedText)
{
    TInputEdit& input = dialog.input;
    FocusForInput(input);
    input.SetWindowText(L"");
    PressKey(VK_UP);
    EXPECT_EQ(input.GetWindowText(), CString(L"")) << "an empty history leaves the text";
    for (const wchar_t* line : {L"first", L"second", L"second"}) {
        input.SetWindowText(line);
        input.PushHistoryAndClear();
        EXPECT_EQ(input.GetWindowText(), CString(L""));
    }
    input.SetWindowText(L"typing");
    PressKey(VK_UP);
    EXPECT_EQ(input.GetWindowText(), CString(L"second"));
    PressKey(VK_UP);
    EXPECT_EQ(input.GetWindowText(), CString(L"first")) << "the repeated line was kept once";
    PressKey(VK_UP);
    EXPECT_EQ(input.GetWindowText(), CString(L"first"));
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(input.GetWindowText(), CString(L"typing"));
    int start = 0, end = 0;
    input.GetSel(start, end);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 6);
}

TEST_F(ControlsDialogTest, TextChangesAndFontHeightAreReported)
{
    PressIn(dialog.edit, 'X');
    EXPECT_GE(dialog.listener.Count(L"change"), 1);

    TChatPanel& chat = *dialog.chat;
    RECT before, logBefore;
    chat.input.GetWindowRect(&before);
    chat.cards.GetWindowRect(&logBefore);
    LOGFONTW big = {};
    big.lfHeight = -30;
    wcscpy(big.lfFaceName, L"IPAPGothic");
    CFont font;
    font.CreateFontIndirect(&big);
    dialog.listener.Clear();
    chat.input.SetFontAndAdjustHeight(font);
    EXPECT_EQ(dialog.listener.Count(L"height"), 1);
    chat.RecalcLayout();
    RECT after, logAfter;
    chat.input.GetWindowRect(&after);
    chat.cards.GetWindowRect(&logAfter);
    int grown = (after.bottom - after.top) - (before.bottom - before.top);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ((logBefore.bottom - logBefore.top) - (logAfter.bottom - logAfter.top), grown);
    chat.input.SetFont(nullptr);
}

TEST_F(ControlsDialogTest, TheWheelGoesToTheListener)
{
    FocusForInput(dialog.input);
    dialog.listener.Clear();
    TurnWheel(ScreenPointOf(dialog.input), -1);
    ASSERT_EQ(dialog.listener.Count(L"wheel"), 1);
    EXPECT_EQ(dialog.listener.Last(L"wheel")->x, -WHEEL_DELTA);
}
