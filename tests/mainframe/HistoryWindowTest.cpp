// The keyword and URL history windows as a user meets them in the main window: lines with a
// keyword or a URL arriving from the server, the menu commands that show them, a double-click
// jumping to the line's place, the find dialog, clearing, the line limit and the URL log file.
// Also the channel list command of the selected server.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "dialogs/HistoryDialog.h"
#include "dialogs/ListDialog.h"
#include "foundation/File.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/FreedMemory.h"
#include "tests/common/IniText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/LogViewRows.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"

namespace {

class HistoryWindowTest : public ServedFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig& unit) override
    {
        ServedFrameFixture::ConfigureUnit(unit);
        settings.preference.keyword.Like = {L"kvword"};
    }
    THistoryDialog* Keywords() { return frame->GetKeywordHistory(); }
    // The double-click hint reads whole on one line, clear of the buttons below it.
    void ExpectHintOnOneLineAboveTheButtons(HWND window)
    {
        HWND note = ::GetDlgItem(window, IDC_HISTORY_NOTE);
        CString text = GetControlText(note);
        HDC dc = ::GetDC(note);
        HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageW(note, WM_GETFONT, 0, 0));
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(note, dc);
        RECT noteRect = WindowRectIn(note, window), findRect = WindowRectIn(Control(window, IDC_HISTORY_FIND), window);
        EXPECT_LE(size.cx, noteRect.right - noteRect.left);
        EXPECT_GE(noteRect.bottom - noteRect.top, size.cy);
        EXPECT_LE(noteRect.bottom, findRect.top);
    }
    THistoryDialog* Urls() { return frame->GetUrlHistory(); }
    void Run(UINT id)
    {
        frame->PostMessageW(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        PumpPendingMessages();
    }
    // Answers the next "確認" box from inside its loop, once it shows; its text is kept.
    void AnswerConfirmation(bool ok)
    {
        confirmText.Empty();
        WhenShown(HasCaption(L"確認"), [this, ok](HWND box) {
            confirmText = MessageBoxText(box);
            ::PostMessageW(box, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
        });
    }

    CString confirmText;
};

TEST_F(HistoryWindowTest, KeywordAndUrlLinesReachTheirWindowsAndTheMenuShowsThem)
{
    ASSERT_TRUE(Keywords() && Urls());
    EXPECT_FALSE(::IsWindowVisible(Keywords()->m_hWnd)) << "made hidden with the frame";
    EXPECT_EQ(Keywords()->GetWindowText(), L"キーワード履歴");
    EXPECT_EQ(Urls()->GetWindowText(), L"URL履歴");
    EXPECT_FALSE(frame->IsCommandEnabled(ID_KEYWORD_HISTORY));
    EXPECT_FALSE(frame->IsCommandEnabled(ID_URL_HISTORY));

    Say("plain words only");
    Say("hello kvword friends");
    Say("see http://example.com/page now");
    ASSERT_EQ(Keywords()->GetLogView().GetLineCount(), 1);
    EXPECT_GE(Keywords()->GetLogView().GetLine(0).GetText().Find(L"hello kvword friends"), 0);
    EXPECT_GE(Keywords()->GetLogView().GetLine(0).GetText().Find(L"#alpha"), 0) << "the line names its channel";
    ASSERT_EQ(Urls()->GetLogView().GetLineCount(), 1);
    EXPECT_GE(Urls()->GetLogView().GetLine(0).GetText().Find(L"http://example.com/page"), 0);
    EXPECT_TRUE(frame->IsCommandEnabled(ID_KEYWORD_HISTORY));
    EXPECT_TRUE(frame->IsCommandEnabled(ID_URL_HISTORY));

    // The action names run the commands too.
    EXPECT_TRUE(frame->ExecuteAction(L"keywordforward"));
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(Keywords()->m_hWnd) != FALSE; }, 3000));
    SaveWindowPng(Keywords()->m_hWnd, ScreenshotPath(L"keyword-history.png"));
    ExpectHintOnOneLineAboveTheButtons(Keywords()->m_hWnd);
    Run(ID_URL_HISTORY);
    EXPECT_TRUE(::IsWindowVisible(Urls()->m_hWnd));
    PumpPendingMessages();
    SaveWindowPng(Urls()->m_hWnd, ScreenshotPath(L"url-history.png"));

    // The URL's popup copies it; the plain text's popup copies the selection.
    EmptyClipboard();
    RightClickThenKey(TextPoint(&Urls()->GetLogView(), L"example.com"), 'C');
    EXPECT_EQ(GetClipboardText(), L"http://example.com/page");
    Urls()->GetLogView().SelectAll();
    RightClickThenKey(TextPoint(&Urls()->GetLogView(), L"now"), 'C');
    EXPECT_GE(GetClipboardText().Find(L"(alice) see http://example.com/page now"), 0);
    EXPECT_FALSE(Urls()->GetLogView().HasSelection()) << "copying clears the selection";

    // Close only hides; the lines stay for the next time.
    FocusForInput(Keywords()->m_hWnd);
    Click(Keywords()->m_hWnd, IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(Keywords()->m_hWnd));
    EXPECT_EQ(Keywords()->GetLogView().GetLineCount(), 1);
    Run(ID_KEYWORD_HISTORY);
    EXPECT_TRUE(::IsWindowVisible(Keywords()->m_hWnd));
}

// With "hide all" a shown history window goes with the minimised main window and comes back with
// it; one the user closed meanwhile stays closed, though the tray's restore (which shows the main
// window alone) left it hidden by the minimise before.
TEST_F(HistoryWindowTest, ComesBackWithTheMainWindowOnlyWhenNotClosedMeanwhile)
{
    settings.preference.HideAllWindowOnMinimize = true;
    Say("hello kvword friends");
    HWND window = Keywords()->m_hWnd;
    auto showFromMenu = [&] {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        ChooseFromMenuBar(4, {'K'});
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the history shown"));
    };
    auto restore = [&](bool fromTray) {
        if (fromTray)
            Run(ID_RESTORE_FROM_TRAY);
        else
            frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(frame->m_hWnd); }, "the main window restored"));
        PumpPendingMessages();
    };
    showFromMenu();
    Click(window, IDC_HISTORY_FIND);
    ASSERT_TRUE(Keywords()->GetFindDialog());
    HWND box = Keywords()->GetFindDialog()->m_hWnd;
    MinimiseFromMenu();
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_FALSE(::IsWindowVisible(box)) << "the find dialog left on the screen while the program is away";
    restore(false);
    EXPECT_TRUE(::IsWindowVisible(window)) << "shown when the main window went";
    EXPECT_TRUE(::IsWindowVisible(box)) << "the find dialog with it";

    // Minimised itself, the history window comes back minimised, and its find dialog with it,
    // hidden until the window is restored.
    ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(window) && !::IsWindowVisible(box); }, "the history minimised"));
    MinimiseFromMenu();
    restore(false);
    EXPECT_TRUE(::IsWindowVisible(window) && ::IsIconic(window)) << "back as it went, minimised";
    EXPECT_FALSE(::IsWindowVisible(box)) << "the find dialog floats alone";
    ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(window) && ::IsWindowVisible(box); }, "restored with its dialog"));

    MinimiseFromMenu();
    restore(true);
    EXPECT_TRUE(::IsWindowVisible(window)) << "the tray menu's restore brings it back as well";
    showFromMenu();
    Click(window, IDCANCEL);
    ASSERT_FALSE(::IsWindowVisible(window));
    MinimiseFromMenu();
    restore(false);
    EXPECT_FALSE(::IsWindowVisible(window)) << "closed by the user";
}

// Asked for while the main window is minimised (its system menu, a macro's menu action), a
// history window opens in the middle of the work area, not on the frame off the screen.
TEST_F(HistoryWindowTest, OpensOnTheWorkAreaWhileTheMainWindowIsMinimised)
{
    Say("see http://example.com/page now");
    HWND window = Urls()->m_hWnd;
    auto centre = [](const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
    auto expectCentredOn = [&](const RECT& outer) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        EXPECT_NEAR(centre(outer).x, centre(rect).x, 1);
        EXPECT_NEAR(centre(outer).y, centre(rect).y, 1);
    };
    MinimiseFromMenu();
    Run(ID_URL_HISTORY);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the history shown"));
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    expectCentredOn(work);
    SaveWindowPng(window, ScreenshotPath(L"url-history-over-minimised.png"));

    // With the main window on the screen it opens over it.
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(frame->m_hWnd); }, "the main window restored"));
    frame->SetWindowPos(nullptr, 10, 10, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    Click(window, IDCANCEL);
    Run(ID_URL_HISTORY);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, "the history shown again"));
    RECT frameRect = {};
    frame->GetWindowRect(&frameRect);
    expectCentredOn(frameRect);
}

TEST_F(HistoryWindowTest, DoubleClickJumpsToTheLineAndFollowsDeletedNodes)
{
    Say("first kvword line");
    for (int i = 0; i < 60; i++)
        peer->Send(":bob!b@bob.example PRIVMSG #alpha :filler " + std::to_string(i) + "\r\n");
    Say("the last filler");
    TLogView* alphaView = world->GetCurrentLogView();
    const int target = LineWith(alphaView, L"first kvword line");
    EXPECT_GT(alphaView->GetTopPosition().line, target) << "scrolled away from the keyword line";
    world->Select(net, nullptr);
    Run(ID_KEYWORD_HISTORY);

    TLogView& history = Keywords()->GetLogView();
    DoubleClickAt(TextPoint(&history, L"first"));
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, net);
    EXPECT_EQ(channel, alpha);
    EXPECT_LE(alphaView->GetTopPosition().line, target);
    EXPECT_GE(alphaView->GetBottomPosition().line, target);

    // A channel deleted since: its server is selected instead, also when a talk opened since
    // stands in the channel's memory.
    TFreedMemoryTrap trap(alpha);
    world->RemoveChannelNode(net, alpha);
    ASSERT_EQ((void*)net->OpenTalk(TIRCMember(L"peer", L"u", L"h")), (void*)alpha) << "the talk in the freed memory";
    alpha = nullptr;
    PumpPendingMessages();
    world->Select(nullptr, nullptr);
    DoubleClickAt(TextPoint(&history, L"first"));
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, net);
    EXPECT_EQ(channel, nullptr);

    // A server deleted since: nothing happens.
    world->Select(nullptr, nullptr);
    world->DeleteUnit(net);
    net = nullptr;
    PumpPendingMessages();
    DoubleClickAt(TextPoint(&history, L"first"));
    world->GetSelection(unit, channel);
    EXPECT_EQ(unit, nullptr);
}

TEST_F(HistoryWindowTest, FindDialogFindsAndKeepsItsOptions)
{
    Say("alpha kvword one");
    Say("beta KVWORD two");
    Run(ID_KEYWORD_HISTORY);
    HWND history = Keywords()->m_hWnd;
    Click(history, IDC_HISTORY_FIND);
    TFindDialog* find = Keywords()->GetFindDialog();
    ASSERT_TRUE(find);
    HWND box = find->m_hWnd;
    EXPECT_FALSE(Enabled(box, IDC_FIND_FORWARD)) << "nothing to search for yet";
    Click(history, IDC_HISTORY_FIND);
    EXPECT_EQ(Keywords()->GetFindDialog(), find) << "a second press only brings it forward";

    FocusForInput(::GetDlgItem(box, IDC_FIND_TEXT));
    TypeText(L"KVWORD");
    EXPECT_TRUE(Enabled(box, IDC_FIND_FORWARD));
    Click(box, IDC_FIND_CASE);
    Click(box, IDC_FIND_FORWARD);
    TLogView& view = Keywords()->GetLogView();
    EXPECT_EQ(view.GetSelectedText(), L"KVWORD");
    EXPECT_EQ(view.GetSelection().start.line, 1) << "match case skips the lower-case line";
    SaveWindowPng(box, ScreenshotPath(L"history-find.png"));

    Click(box, IDCANCEL);
    EXPECT_EQ(Keywords()->GetFindDialog(), nullptr);
    EXPECT_TRUE(settings.geometry.findCase);
    Click(history, IDC_HISTORY_FIND);
    ASSERT_TRUE(Keywords()->GetFindDialog());
    box = Keywords()->GetFindDialog()->m_hWnd;
    EXPECT_EQ(::IsDlgButtonChecked(box, IDC_FIND_CASE), BST_CHECKED);
    EXPECT_EQ(GetControlText(::GetDlgItem(box, IDC_FIND_TEXT)), L"KVWORD");
    // Cancelling the history window takes the find dialog with it, and keeps its options.
    Click(box, IDC_FIND_CASE);
    Click(history, IDCANCEL);
    EXPECT_EQ(Keywords()->GetFindDialog(), nullptr);
    EXPECT_FALSE(settings.geometry.findCase);

    // So does the program's close, before window.ini is written.
    Run(ID_KEYWORD_HISTORY);
    Click(history, IDC_HISTORY_FIND);
    ASSERT_TRUE(Keywords()->GetFindDialog());
    box = Keywords()->GetFindDialog()->m_hWnd;
    Click(box, IDC_FIND_CASE);
    ASSERT_EQ(::IsDlgButtonChecked(box, IDC_FIND_CASE), BST_CHECKED) << "it came back unticked as it was left";
    settings.preference.PromptOnQuit = false;
    frame->SendMessageW(WM_CLOSE);
    ASSERT_TRUE(frame->IsClosing());
    CStringA saved = ReadFileBytes(settings.GetSettingsFolder() + L"window.ini");
    EXPECT_EQ("true", IniValue(IniSection(saved.GetString(), "Find"), "Case")) << saved.GetString();
}

TEST_F(HistoryWindowTest, ClearAsksFirstAndTheLimitDropsTheOldestLines)
{
    Say("one kvword");
    Say("two kvword");
    Run(ID_KEYWORD_HISTORY);
    HWND history = Keywords()->m_hWnd;
    TLogView& view = Keywords()->GetLogView();
    const int gap = LineTop(view, 1) - LineTop(view, 0);
    EXPECT_TRUE(Enabled(history, IDC_HISTORY_CLEAR));
    AnswerConfirmation(false);
    Click(history, IDC_HISTORY_CLEAR);
    WaitUntil([&] { return !confirmText.IsEmpty(); }, "the question answered");
    EXPECT_EQ(confirmText, L"ログを消去します");
    EXPECT_EQ(Keywords()->GetLogView().GetLineCount(), 2) << "cancel keeps every line";
    AnswerConfirmation(true);
    Click(history, IDC_HISTORY_CLEAR);
    EXPECT_TRUE(PumpMessagesUntil([&] { return Keywords()->GetLogView().GetLineCount() == 0; }, 3000));
    EXPECT_FALSE(Enabled(history, IDC_HISTORY_CLEAR));
    EXPECT_FALSE(Enabled(history, IDC_HISTORY_FIND));
    EXPECT_FALSE(frame->IsCommandEnabled(ID_KEYWORD_HISTORY));

    // The windows were made before the preferences changed (a take-over's come later still).
    settings.preference.ChannelLogMaxLines = 3;
    settings.preference.LineLeading += 7;
    world->ApplyPreferences();
    for (int i = 0; i < 5; i++)
        Say("kvword number " + std::to_string(i));
    ASSERT_EQ(view.GetLineCount(), 3);
    EXPECT_GE(view.GetLine(0).GetText().Find(L"number 2"), 0);
    EXPECT_GE(view.GetLine(2).GetText().Find(L"number 4"), 0);
    EXPECT_EQ(gap + 7, LineTop(view, 1) - LineTop(view, 0)) << "the line spacing";
    EXPECT_EQ(3, Urls()->GetLogView().maxLines) << "the URL window alike";

    // Its size is remembered for the next start; it cannot be made smaller than 360 x 160.
    MINMAXINFO limits = {};
    Keywords()->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&limits);
    EXPECT_EQ(limits.ptMinTrackSize.x, 360);
    EXPECT_EQ(limits.ptMinTrackSize.y, 160);
    Keywords()->SetWindowPos(nullptr, 0, 0, 520, 340, SWP_NOMOVE | SWP_NOZORDER);
    PumpPendingMessages();
    frame->DestroyHistoryWindows();
    EXPECT_EQ(settings.geometry.keywordHistorySize.width, 520);
    EXPECT_EQ(settings.geometry.keywordHistorySize.height, 340);
    EXPECT_FALSE(frame->IsCommandEnabled(ID_KEYWORD_HISTORY));
    Say("kvword after the windows went");
}

TEST_F(HistoryWindowTest, UrlLogFileFollowsThePreference)
{
    settings.preference.LogRootDir = folder.path + L"logs";
    Say("off http://example.com/before");
    settings.preference.EnableURLLog = true;
    world->ApplyPreferences();
    EXPECT_TRUE(Urls()->IsFileLogEnabled());
    Say("on http://example.com/during");
    EXPECT_TRUE(Urls()->GetFileLogger().IsOpen());
    CString path = Urls()->GetFileLogger().GetCurrentPath();
    settings.preference.EnableURLLog = false;
    world->ApplyPreferences();
    EXPECT_FALSE(Urls()->GetFileLogger().IsOpen()) << "switching off closes the file";
    Say("after http://example.com/after");

    TTextFile file(CP_UTF8, false);
    ASSERT_TRUE(file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, 0)) << Narrow(path);
    CStringA bytes;
    ASSERT_TRUE(file.ReadAll(bytes));
    EXPECT_GE(bytes.Find("http://example.com/during"), 0);
    EXPECT_LT(bytes.Find("http://example.com/before"), 0);
    EXPECT_LT(bytes.Find("http://example.com/after"), 0);
    EXPECT_EQ(Urls()->GetLogView().GetLineCount(), 3) << "the window keeps every line";

    // A URL log on a full disk is told once, in the selected server's log.
    settings.preference.LogRootDir = L"Z:\\dev\\";
    settings.preference.URLLogFile = L"full";
    settings.preference.EnableURLLog = true;
    world->ApplyPreferences();
    Say("full http://example.com/full");
    Say("again http://example.com/again");
    int told = 0;
    for (int i = 0; i < net->logView->GetLineCount(); i++)
        told += net->logView->GetLine(i).GetText().Find(L"Z:\\dev\\full") >= 0;
    EXPECT_EQ(told, 1);
}

using ChannelListCommandTest = HistoryWindowTest;

TEST_F(ChannelListCommandTest, OpensTheSelectedServersListWhichTheServerFills)
{
    EXPECT_TRUE(frame->IsCommandEnabled(ID_CHANNEL_LIST));
    EXPECT_TRUE(frame->ExecuteAction(L"list"));
    WaitUntil([&] { return net->GetChannelListDialog() != nullptr; }, "the list window open");
    auto* window = static_cast<TListDialog*>(net->GetChannelListDialog());
    ASSERT_TRUE(window);
    EXPECT_TRUE(::IsWindowVisible(window->m_hWnd));
    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_UPDATE)));
    ASSERT_TRUE(peer->WaitFor("LIST"));
    peer->Send(":irc.test 321 kvme Channel :Users  Name\r\n"
               ":irc.test 322 kvme #alpha 6 :ours\r\n"
               ":irc.test 322 kvme #zeta 60 :busy\r\n"
               ":irc.test 323 kvme :End of LIST\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return window->GetListView()->GetItemCount() == 2; }, 5000));
    PumpPendingMessages();
    EXPECT_EQ(window->GetListView()->GetItemText(0, 0), L"#zeta");
    // The command again only brings the same window back.
    frame->ExecuteAction(L"list");
    PumpPendingMessages();
    EXPECT_EQ(net->GetChannelListDialog(), window);

    // Without a logged-in server there is no command.
    world->Select(nullptr, nullptr);
    EXPECT_FALSE(frame->IsCommandEnabled(ID_CHANNEL_LIST));
}

} // namespace

// Enter hides the history window with its find dialog and keeps the dialog for the next time.
TEST_F(HistoryWindowTest, EnterHidesTheFindDialogWithItsHistoryWindow)
{
    Say("alpha kvword one");
    Run(ID_KEYWORD_HISTORY);
    HWND history = Keywords()->m_hWnd;
    Click(history, IDC_HISTORY_FIND);
    ASSERT_TRUE(Keywords()->GetFindDialog());
    HWND box = Keywords()->GetFindDialog()->m_hWnd;
    FocusForInput(Keywords()->GetLogView().m_hWnd);
    PressKey(VK_RETURN);
    WaitUntil([&] { return !::IsWindowVisible(history); }, "Enter hid the history window");
    EXPECT_FALSE(::IsWindowVisible(box));
    Run(ID_KEYWORD_HISTORY);
    EXPECT_TRUE(::IsWindowVisible(history));
    EXPECT_TRUE(::IsWindowVisible(box));
    EXPECT_EQ(Keywords()->GetFindDialog()->m_hWnd, box);
}
