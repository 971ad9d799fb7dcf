#include "controls/SearchPanel.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/controls/ControlsDialog.h"

#include <gtest/gtest.h>

namespace {

// Records what the search bar asks of the content panel and the world behind it.
class TSearchRecorder : public ISearchPanelListener {
public:
    void OnSearchPanelResized(TSearchPanel*) override { events.push_back(L"resized"); }
    void OnSearchWordsChanged(const std::vector<CString>& list) override
    {
        events.push_back(L"words");
        words = list;
    }
    bool OnFindNext() override
    {
        events.push_back(L"next");
        return found;
    }
    bool OnFindPrevious() override
    {
        events.push_back(L"previous");
        return found;
    }
    void OnCloseSearchBar() override { events.push_back(L"close"); }
    IEditListener* GetShortcutListener() override { return &shortcuts; }

    std::vector<CString> events;
    std::vector<CString> words;
    bool found = true;
    TRecordingListener shortcuts;
};

class SearchPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateTopmostWindow(host, L"search", 60, 60, 480, 160));
        ASSERT_TRUE(panel.Create(host, 100, WS_CHILD | WS_VISIBLE));
        panel.MoveWindow(0, 10, 440, 30);
        panel.listener = &recorder;
        PumpPendingMessages();
    }
    // Focuses the search edit with that text and the caret at its end, then forgets the reports.
    void Prepare(const wchar_t* text)
    {
        FocusForInput(panel.edit);
        panel.edit.SetWindowText(text);
        int end = panel.edit.GetWindowTextLength();
        panel.edit.SetSel(end, end);
        recorder.events.clear();
        recorder.shortcuts.Clear();
    }
    // The start of the selection: where Up (or Shift+Up) moved the caret to.
    int Caret()
    {
        int start, end;
        panel.edit.GetSel(start, end);
        return start;
    }

    CWnd host;
    TSearchPanel panel;
    TSearchRecorder recorder;
};

} // namespace

TEST_F(SearchPanelTest, KeysSearchCloseOrGoOnToTheShortcuts)
{
    const struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        bool found;
        const wchar_t* event; // what the search bar's listener hears, or null
        bool shortcut;        // the world's shortcuts hear the key
        bool reachesEdit;     // the edit handled the key: Up moves the caret back in a one-line edit
    } kCases[] = {
        {VK_ESCAPE, {}, true, L"close", false, false},         {VK_UP, {}, true, L"previous", false, false},
        {VK_UP, {}, false, L"previous", false, true},          {VK_DOWN, {}, true, L"next", false, false},
        {VK_RETURN, {}, true, L"next", false, false},          {VK_RETURN, {VK_SHIFT}, true, L"previous", false, false},
        {VK_RETURN, {VK_CONTROL}, true, nullptr, true, false}, {VK_UP, {VK_SHIFT}, true, nullptr, true, true},
        {VK_ESCAPE, {VK_CONTROL}, true, nullptr, true, false}, {VK_F5, {}, true, nullptr, true, false},
    };
    for (const auto& c : kCases) {
        Prepare(L"abc");
        recorder.found = c.found;
        PressKey(c.key, c.modifiers);
        std::vector<CString> expected;
        if (c.event)
            expected.push_back(c.event);
        EXPECT_EQ(recorder.events, expected) << "key " << c.key;
        const TReport* key = recorder.shortcuts.Last(L"key");
        EXPECT_EQ(key && key->key == c.key, c.shortcut) << "key " << c.key;
        if (c.key == VK_UP) {
            EXPECT_EQ(Caret() != 3, c.reachesEdit) << "found " << c.found;
        }
    }
}

TEST_F(SearchPanelTest, TypedTextBecomesTheSearchWords)
{
    Prepare(L"");
    TypeText(L"foo  bar");
    EXPECT_EQ(recorder.words, (std::vector<CString>{L"foo", L"bar"}));
    Prepare(L"   ");
    panel.ApplySearch();
    EXPECT_EQ(recorder.events, std::vector<CString>{L"words"});
    EXPECT_TRUE(recorder.words.empty()) << "blanks alone search for nothing";
}

TEST_F(SearchPanelTest, ButtonsClickedFindAndClose)
{
    // Left to right: find next, find previous, close.
    const wchar_t* kEvents[] = {L"next", L"previous", L"close"};
    for (int i = 0; i < 3; i++) {
        RECT item;
        ASSERT_TRUE(panel.toolBar.GetItemRect(i, &item));
        recorder.events.clear();
        ClickAt(ScreenPointOf(panel.toolBar, (item.left + item.right) / 2, (item.top + item.bottom) / 2));
        EXPECT_EQ(recorder.events, std::vector<CString>{kEvents[i]}) << "button " << i;
    }
}

TEST_F(SearchPanelTest, BarFitsTheEditAndKeepsTheButtonsAtTheRight)
{
    LOGFONTW big = {};
    big.lfHeight = -24;
    wcscpy(big.lfFaceName, L"MS UI Gothic");
    CFont font;
    font.CreateFontIndirect(&big);
    recorder.events.clear();
    panel.edit.SetFontAndAdjustHeight(font);
    EXPECT_EQ(recorder.events, std::vector<CString>{L"resized"});
    panel.edit.SetWindowText(L"ketroval 検索");

    RECT bar = WindowRectIn(panel, host), edit = WindowRectIn(panel.edit, panel);
    RECT tools = WindowRectIn(panel.toolBar, panel), caption = WindowRectIn(panel.caption, panel);
    EXPECT_GT(edit.bottom - edit.top, 24);
    EXPECT_EQ(bar.bottom - bar.top, edit.bottom - edit.top + 8);
    EXPECT_EQ(bar.top, 10) << "the top stays";
    EXPECT_EQ(edit.top, 4);
    EXPECT_EQ(tools.right, 440 - 10);
    EXPECT_EQ(edit.right, tools.left - 10);
    EXPECT_EQ(caption.right, edit.left);
    EXPECT_GT(caption.right, 0) << "the caption is as wide as its text";
    PumpPendingMessages();
    SaveWindowPng(host, L"screenshots\\search_panel.png");
}
