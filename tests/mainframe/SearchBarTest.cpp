// The search bar of the main window as a user works it: typed words are highlighted in the shown
// log, the keys and buttons go from match to match, the main window's keys still work while the
// bar has the focus, Tab and Shift+Tab pass through the shown bar's edit, and closing the bar
// removes the highlight and gives the input line back.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "controls/UpdateDialog.h"
#include "res/resource.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"

#include <commctrl.h>

namespace {

class SearchBarTest : public ServedFrameFixture {
protected:
    TSearchPanel& Bar() { return frame->GetContentPanel().GetSearchBar(); }
    // Ctrl+F from the input line; the bar is made when first shown. Shown with its edit focused.
    bool OpenBar()
    {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        PressKey('F', {VK_CONTROL});
        return frame->IsSearchBarShown() && ::GetFocus() == Bar().edit.m_hWnd;
    }
    // The line of the selected match, once it holds the word; -1 while none does.
    static int MatchLine(TLogView* view)
    {
        return view->HasSelection() && view->GetSelectedText() == L"needle" ? view->GetSelection().start.line : -1;
    }
    void ClickBarButton(UINT command)
    {
        RECT button = {};
        Bar().toolBar.SendMessage(TB_GETRECT, command, (LPARAM)&button);
        ClickAt(
            ScreenPointOf(Bar().toolBar.m_hWnd, (button.left + button.right) / 2, (button.top + button.bottom) / 2));
    }
};

TEST_F(SearchBarTest, TypedWordIsHighlightedKeysAndButtonsFindTheMatchesAndClosingEndsTheSearch)
{
    peer->Send(":kvme!me@my.host JOIN :#beta\r\n"
               ":alice!a@h PRIVMSG #alpha :first needle\r\n"
               ":bob!b@h PRIVMSG #alpha :nothing here\r\n"
               ":alice!a@h PRIVMSG #alpha :second needle\r\n"
               ":bob!b@h PRIVMSG #alpha :third needle\r\n"
               ":bob!b@h PRIVMSG #beta :a needle in beta\r\n");
    TLogView* log = alpha->logView;
    TIRCChannel* beta = Channel(L"#beta");
    ASSERT_TRUE(WaitUntil([&] { return HasLogLine(log, L"third needle") && HasLogLine(beta->logView, L"in beta"); },
                          "the lines in both logs"));
    const int first = LineWith(log, L"first needle"), second = LineWith(log, L"second needle"),
              third = LineWith(log, L"third needle");
    world->Select(net, alpha);

    ASSERT_TRUE(OpenBar());
    TypeText(L"needle");
    EXPECT_TRUE(WaitUntil([&] { return MatchLine(log) == first; }, "the first match selected"));
    EXPECT_EQ(std::vector<CString>{L"needle"}, log->GetSearchWords()) << "the shown log highlights the word";
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-search-highlight.png"));

    // Enter goes forwards, F3 of the menu too, Up back; the bar's buttons likewise.
    const struct {
        WORD key;
        UINT button;
        int line;
    } steps[] = {{VK_RETURN, 0, second}, {VK_F3, 0, third}, {VK_UP, 0, second}, {0, ID_SEARCH_FIND_NEXT, third}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << (&step - steps));
        step.button ? ClickBarButton(step.button) : PressKey(step.key);
        EXPECT_TRUE(WaitUntil([&] { return MatchLine(log) == step.line; }, "the match moved"));
    }

    // The main window's keys work from the bar: Ctrl+Space goes to the channel with news, whose
    // log takes the words.
    FocusForInput(Bar().edit.m_hWnd);
    PressKey(VK_SPACE, {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return world->IsSelected(net, beta); }, "#beta selected by Ctrl+Space"));
    EXPECT_EQ(L"needle", beta->logView->GetSelectedText());

    // Escape closes the bar, ends the highlight in every log and gives the input line the focus.
    FocusForInput(Bar().edit.m_hWnd);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(frame->IsSearchBarShown());
    EXPECT_TRUE(log->GetSearchWords().empty() && beta->logView->GetSearchWords().empty());
    EXPECT_EQ(frame->GetInputLine()->m_hWnd, ::GetFocus());
    // The match goes with the search: Ctrl+C has nothing left to copy.
    EXPECT_FALSE(beta->logView->HasSelection());
    CopyTextToClipboard(L"before");
    FocusForInput(beta->logView->m_hWnd);
    PressKey('C', {VK_CONTROL});
    PumpPendingMessages();
    EXPECT_EQ(CString(L"before"), GetClipboardText());

    // A node shown again gets the empty list too, which takes its selection away.
    DoubleClickAt(TextPoint(beta->logView, L"beta", L"in beta"));
    ASSERT_TRUE(WaitUntil([&] { return beta->logView->HasSelection(); }, "a word of #beta selected"));
    const HWND tree = frame->GetServerTree()->m_hWnd;
    const HTREEITEM netItem = world->FindUnitTreeItem(net);
    for (TIRCChannel* shown : {alpha, beta}) {
        ClickAt(ItemPoint(tree, world->FindChannelTreeItem(netItem, shown)));
        ASSERT_TRUE(WaitUntil([&] { return world->IsSelected(net, shown); }, "the node clicked shown"));
    }
    EXPECT_FALSE(beta->logView->HasSelection());
}

TEST_F(SearchBarTest, WithTheBarShownTabFromTheTreeAndShiftTabFromTheLogReachItsEdit)
{
    const HWND input = frame->GetInputLine()->m_hWnd, tree = frame->GetServerTree()->m_hWnd,
               log = alpha->logView->m_hWnd;
    ASSERT_TRUE(OpenBar());
    const HWND edit = Bar().edit.m_hWnd;

    // As a user finds the bar: a click into the tree, Tab, and the word typed lands in the bar.
    ClickAt(ItemPoint(tree, TreeView_GetSelection(tree)));
    ASSERT_EQ(tree, ::GetFocus());
    PressKey(VK_TAB);
    EXPECT_EQ(edit, ::GetFocus()) << "Tab from the tree";
    TypeText(L"zq");
    EXPECT_EQ(CString(L"zq"), GetControlText(edit));
    EXPECT_EQ(CString(), GetControlText(input));

    // On to the log, back to the bar, back to the tree; each step from where the last should end.
    const struct {
        HWND from;
        bool shift;
        HWND to;
        const char* step;
    } steps[] = {{edit, false, log, "Tab from the bar"},
                 {log, true, edit, "Shift+Tab from the channel's log"},
                 {edit, true, tree, "Shift+Tab from the bar"}};
    for (const auto& step : steps) {
        FocusForInput(step.from);
        step.shift ? PressKey(VK_TAB, {VK_SHIFT}) : PressKey(VK_TAB);
        EXPECT_EQ(step.to, ::GetFocus()) << step.step;
    }
    EXPECT_EQ(CString(L"zq"), GetControlText(edit));
    EXPECT_EQ(CString(), GetControlText(input)) << "no key reached the input line";
}

// Del, Ctrl+X and Ctrl+Z edit the box that has the focus: the bar's text while it has it, the
// input line's selection and undo otherwise.
TEST_F(SearchBarTest, DeleteCutAndUndoActOnTheBarWhileItHasTheFocus)
{
    const HWND input = frame->GetInputLine()->m_hWnd;
    FocusForInput(input);
    TypeText(L"hello world");
    ::SendMessageW(input, EM_SETSEL, 6, 11);
    ASSERT_TRUE(OpenBar());
    const HWND edit = Bar().edit.m_hWnd;
    TypeText(L"abc");
    // Each key with the bar's selection from start to end (-1: the end of the text).
    const struct {
        int start, end;
        WORD key;
        std::initializer_list<WORD> modifiers;
        const wchar_t* bar;
    } rows[] = {{0, 1, VK_DELETE, {}, L"bc"}, {0, 0, 'Z', {VK_CONTROL}, L"abc"}, {0, -1, 'X', {VK_CONTROL}, L""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " after " << (&row - rows) << " rows");
        ::SendMessageW(edit, EM_SETSEL, row.start, row.end);
        PressKey(row.key, row.modifiers);
        EXPECT_EQ(CString(row.bar), GetControlText(edit));
        EXPECT_EQ(CString(L"hello world"), GetControlText(input)) << "the input line is left alone";
    }
    EXPECT_EQ(CString(L"abc"), GetClipboardText()) << "cut from the bar";

    // Back in the input line the same keys edit its selection.
    FocusForInput(input);
    ::SendMessageW(input, EM_SETSEL, 6, 11);
    PressKey(VK_DELETE);
    EXPECT_EQ(CString(L"hello "), GetControlText(input));
    PressKey('Z', {VK_CONTROL});
    EXPECT_EQ(CString(L"hello world"), GetControlText(input));
    EXPECT_EQ(CString(), GetControlText(edit));
}

// A channel's log made while it is selected (the saved channel joined) highlights the words
// already typed, as a log shown by selecting it does.
TEST_F(SearchBarTest, ALogMadeForTheSelectedChannelTakesTheSearchWords)
{
    TIRCChannel* beta = Channel(L"#beta");
    world->Select(net, beta);
    ASSERT_EQ(nullptr, beta->logView) << "a saved channel not joined shows the empty log";
    ASSERT_TRUE(OpenBar());
    TypeText(L"kvme");
    peer->Send(":kvme!me@my.host JOIN :#beta\r\n"
               ":alice!a@h PRIVMSG #beta :hello kvme\r\n");
    ASSERT_TRUE(WaitUntil([&] { return HasLogLine(beta->logView, L"hello kvme"); }, "#beta's log"));
    EXPECT_EQ(std::vector<CString>{L"kvme"}, beta->logView->GetSearchWords());
    PressKey(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return beta->logView->GetSelectedText() == L"kvme"; }, "F3 finds the word"));
    EXPECT_TRUE(alpha->logView->GetSearchWords().empty()) << "a log not shown gets the words when shown";
}

// AltGr arrives as Ctrl+Alt: the Ctrl rows the bar shares with the input line leave such a key
// to the bar's edit, and act as before without Alt.
TEST_F(SearchBarTest, CtrlAltKeysInTheBarAreLeftToItsEdit)
{
    peer->Send(":kvme!me@my.host JOIN :#beta\r\n");
    ASSERT_TRUE(WaitUntil([&] { return Channel(L"#beta") && Channel(L"#beta")->IsJoined(); }, "#beta joined"));
    world->Select(net, alpha);
    ASSERT_TRUE(OpenBar());
    const HWND edit = Bar().edit.m_hWnd;
    TypeText(L"word");
    ASSERT_EQ(CString(L"word"), GetControlText(edit));
    for (WORD key : {(WORD)'A', (WORD)VK_TAB, (WORD)VK_OEM_6}) {
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << key);
        ::SendMessageW(edit, EM_SETSEL, 4, 4);
        PressKey(key, {VK_CONTROL, VK_MENU});
        EXPECT_EQ(::SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(4, 4)) << "the word stays unselected";
        EXPECT_TRUE(world->IsSelected(net, alpha));
        EXPECT_EQ(edit, ::GetFocus());
    }
    PressKey('A', {VK_CONTROL});
    EXPECT_EQ(::SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, 4));
    PressKey(VK_TAB, {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return world->IsSelected(net, Channel(L"#beta")); }, "#beta selected by Ctrl+Tab"));
}

} // namespace
