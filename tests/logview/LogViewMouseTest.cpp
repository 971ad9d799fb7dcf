#include "LogViewFixture.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/UserInput.h"

namespace {

const wchar_t kLongLine[] = L"A long line that wraps: the quick brown fox jumps over the lazy dog, again and again, "
                            L"until the view has to break it into several rows, and then some more words follow "
                            L"so that the third row is certainly there as well, with a few more words at the end.";

TEST_F(LogViewWindowTest, DragAcrossAWrappedLineCopiesItsRowsExactly)
{
    AddLines(2);
    view.AddLine(Line(kLongLine), false);
    AddLines(3);
    Settle();
    TLogLine& line = view.GetLine(2);
    ASSERT_GE(line.GetRowCount(), 3);
    EmptyTheClipboard();

    DragMouse(PointOfChar(2, 0), PointOfRow(2, 1, ClientWidth() - 4));
    PressKey('C', {VK_CONTROL});

    const CString expected = CString(kLongLine).Left(line.GetRow(1).end);
    EXPECT_STREQ(expected, ClipboardText());
    EXPECT_FALSE(view.HasSelection()); // Ctrl+C copies and clears

    // With copy on select the release copies at once and leaves nothing selected.
    view.copyOnSelect = true;
    EmptyTheClipboard();
    DragMouse(PointOfChar(2, 0), PointOfRow(2, 1, ClientWidth() - 4));
    EXPECT_STREQ(expected, ClipboardText());
    EXPECT_FALSE(view.HasSelection());
}

TEST_F(LogViewWindowTest, DragPastTheBottomEdgeScrollsAndCopiesEverySelectedLine)
{
    std::vector<CString> texts;
    for (int i = 0; i < 120; i++) {
        CString text;
        text.Format(i % 7 == 3 ? L"%03d %s" : L"%03d short line", i, kLongLine);
        texts.push_back(text);
        view.AddLine(Line(text), false);
    }
    view.ScrollToTop();
    Settle();
    const int firstBottom = view.GetBottomPosition().line;
    EmptyTheClipboard();

    MoveMouseTo(PointOfChar(1, 0));
    PressLeftButton();
    POINT below = ScreenPointOf(view, 100, ClientHeight() + 5);
    MoveMouseTo(below);
    PumpMessagesFor(600); // slow: a row every 185 ms
    const int slowTop = view.GetTopPosition().line;
    below.y += 60;
    MoveMouseTo(below);
    PumpMessagesFor(600); // fast: a row every 10 ms
    ReleaseLeftButton();

    EXPECT_GT(slowTop, 0);
    EXPECT_GT(view.GetTopPosition().line, slowTop);
    const TLogSelection& selection = view.GetSelection();
    ASSERT_TRUE(selection.HasSelection());
    EXPECT_EQ((TLogTextPos{1, 0}), selection.start);
    EXPECT_GT(selection.end.line, firstBottom);

    CString expected;
    for (int i = 1; i < selection.end.line; i++)
        expected += texts[i] + L"\r\n";
    expected += texts[selection.end.line].Left(selection.end.ch);
    PressKey('C', {VK_CONTROL});
    EXPECT_STREQ(expected, ClipboardText());
}

TEST_F(LogViewWindowTest, DoubleClickSelectsAWordByItsCharacterClassAndATripleClickTheLine)
{
    const CString text = L"abc 日本語テキスト def";
    AddLines(1);
    view.AddLine(Line(text), false);
    Settle();
    const struct {
        int ch;
        const wchar_t* word;
    } cases[] = {{5, L"日本語"}, {8, L"テキスト"}, {13, L"def"}, {1, L"abc"}};
    for (const auto& c : cases) {
        DoubleClickAt(PointOfChar(1, c.ch));
        EXPECT_STREQ(c.word, view.GetSelectedText()) << c.ch;
    }

    // The third click on the spot of the first selects the line, also over the right part of a
    // glyph, where a drag would start after the character.
    for (bool rightPart : {false, true}) {
        view.ClearSelection();
        DoubleClickAt(PointOfChar(1, 2, rightPart));
        PressLeftButton(); // the third click, within the double-click time
        ReleaseLeftButton();
        EXPECT_STREQ(text, view.GetSelectedText()) << rightPart;
    }
}

TEST_F(LogViewWindowTest, RightClickOpensThePopupOfWhatIsUnderThePointer)
{
    struct TRecorder : ILogViewContextPopupListener, ILogViewNickContextPopupListener, ILogViewEventLineClickListener {
        CString last;
        void OnEventLineClick(TLogView*, const CString& data) override { last = L"event " + data; }
        void OnUrlDoubleClick(TLogView*, const CString& url) override { last = L"url double-click " + url; }
        void OnContextPopup(TLogView*, int, int) override { last = L"plain"; }
        void OnUrlContextPopup(TLogView* v, int, int) override { last = L"url " + v->GetContextMenuText(); }
        void OnAddressContextPopup(TLogView* v, int, int) override { last = L"address " + v->GetContextMenuText(); }
        void OnNickContextPopup(TLogView* v, int, int) override { last = L"nick " + v->GetContextMenuText(); }
    } recorder;
    view.contextPopupListener = &recorder;
    view.nickPopupListener = &recorder;
    view.eventLineListener = &recorder;
    view.nickPopupsEnabled = true;
    view.AddLine(Line(L"see http://example.org/page now"), false);
    view.AddLine(Line(L"hello there", L"<alice> ", L"alice"), false);
    view.AddLine(Line(L"*bob has joined", CString(), L"bob", 3), false);
    view.AddLine(Line(L"server irc.example.net.jp is up"), false);
    TLogLineData event = Line(L"*carol invites you to #room");
    event.eventData = L"1 2 3";
    view.AddLine(event, false);
    Settle();

    const struct {
        POINT at;
        const wchar_t* popup;
    } cases[] = {
        {PointOfChar(0, 8), L"url http://example.org/page"},
        {PointOfChar(0, 1), L"plain"},
        {PointOfChar(1, 2), L"nick alice"},
        {PointOfChar(1, 10), L"plain"},   // the body of a message line
        {PointOfChar(2, 6), L"nick bob"}, // any part of a line that is not a message
        {PointOfChar(3, 10), L"address irc.example.net.jp"},
        {ScreenPointOf(view, 200, ClientHeight() - 10), L"plain"},
    };
    for (const auto& c : cases) {
        recorder.last.Empty();
        ClickAt(c.at, true);
        EXPECT_STREQ(c.popup, recorder.last);
    }

    DoubleClickAt(PointOfChar(0, 8));
    EXPECT_STREQ(L"url double-click http://example.org/page", recorder.last);
    EXPECT_FALSE(view.HasSelection());
    DoubleClickAt(PointOfChar(4, 3)); // a line with event data: no word selection
    EXPECT_STREQ(L"event 1 2 3", recorder.last);
    EXPECT_FALSE(view.HasSelection());

    view.SelectAll(); // inside the selection even a URL gives the plain popup
    ClickAt(PointOfChar(0, 8), true);
    EXPECT_STREQ(L"plain", recorder.last);
    recorder.last.Empty();
    PressMenuKey(VK_F10, {VK_SHIFT});
    EXPECT_STREQ(L"plain", recorder.last);
    view.nickPopupsEnabled = false;
    ClickAt(PointOfChar(1, 2), true);
    EXPECT_STREQ(L"plain", recorder.last);
}

} // namespace
