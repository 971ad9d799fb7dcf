// The change-nick dialog as a user meets it: filled from the nick list, edited with real keys
// and clicks, and asked by a server unit when the server refuses a nick under the dialog policy.

#include "tests/world/UserInfoFixture.h"

#include "dialogs/NickDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/PointerInput.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"

namespace {

RECT ItemRect(HWND dialog, int index)
{
    RECT rect = {};
    ::SendMessageW(Control(dialog, IDC_NICK_LIST), LB_GETITEMRECT, (WPARAM)index, (LPARAM)&rect);
    return rect;
}

// A click on an item's text, or on its check box.
void ClickItem(HWND dialog, int index, bool onBox = false)
{
    RECT rect = ItemRect(dialog, index);
    int x = onBox ? rect.left + (rect.bottom - rect.top) / 2 : rect.left + 40;
    ClickAt(ScreenPointOf(Control(dialog, IDC_NICK_LIST), x, (rect.top + rect.bottom) / 2));
}

void TypeNick(HWND dialog, const wchar_t* text)
{
    ClickAt(ScreenPointOf(Control(dialog, IDC_NICK_NEW)));
    PressKey('A', {VK_CONTROL});
    PressKey(VK_DELETE);
    TypeText(text);
}

class NickDialogTest : public ::testing::Test {
protected:
    // Runs the dialog; the steps run inside its modal loop once it is shown.
    INT_PTR Run(std::function<void(HWND)> steps)
    {
        dialog.SetNick(L"kvnick");
        dialog.SetServerName(L"testnet");
        return RunDialog(dialog, [&](HWND window) {
            FocusForInput(Control(window, IDC_NICK_NEW));
            steps(window);
        });
    }

    TNickDialog dialog;
};

} // namespace

TEST_F(NickDialogTest, OpensWithTheNickAndTheStoredList)
{
    dialog.nickList = {L"+away1", L"-plain", L"", L"x", L"?odd"};
    dialog.away = true;
    Run([&](HWND window) {
        EXPECT_EQ(GetControlText(window), CString(L"ニックネーム変更 - testnet"));
        EXPECT_EQ(Text(window, IDC_NICK_CURRENT), CString(L"kvnick"));
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"kvnick"));
        EXPECT_TRUE(Checked(window, IDC_NICK_AWAY));
        EXPECT_EQ(::GetFocus(), Control(window, IDC_NICK_NEW));
        PumpPendingMessages();
        SaveWindowPng(window, ScreenshotPath(L"nick-dialog.png"));
        // The new nick takes at most the length limit.
        TypeNick(window, L"abcdefghijkl");
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"abcdefghi"));
        PressKey(VK_ESCAPE);
    });
    // Cancel hands back the list as it stands, the single-character entry as an empty nick.
    EXPECT_EQ(dialog.nickList, (std::vector<CString>{L"+away1", L"-plain", L"-", L"-odd"}));
    EXPECT_EQ(dialog.GetNick(), CString(L"abcdefghi"));
}

TEST_F(NickDialogTest, AddRefusesFoldedTwinsAndOverwriteChangesTheAwayFlag)
{
    dialog.nickList = {L"-Nick[1]"};
    INT_PTR result = Run([&](HWND window) {
        TypeNick(window, L"nick{1}");
        EXPECT_FALSE(Enabled(window, IDC_NICK_ADD));
        ClickItem(window, 0);
        TypeNick(window, L"nick{1}");
        EXPECT_FALSE(Enabled(window, IDC_NICK_OVERWRITE)); // same nick, same flag
        Click(window, IDC_NICK_AWAY);
        ASSERT_TRUE(Enabled(window, IDC_NICK_OVERWRITE));
        Click(window, IDC_NICK_OVERWRITE);
        TypeNick(window, L"other");
        ASSERT_TRUE(Enabled(window, IDC_NICK_ADD));
        Click(window, IDC_NICK_ADD);
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.nickList, (std::vector<CString>{L"+nick{1}", L"+other"}));
    EXPECT_EQ(dialog.GetNick(), CString(L"other"));
    EXPECT_TRUE(dialog.away);
}

TEST_F(NickDialogTest, ToggledCheckLeavesTheEditAloneUntilTheNextPick)
{
    dialog.nickList = {L"-one", L"-two"};
    Run([&](HWND window) {
        TypeNick(window, L"typed");
        ClickItem(window, 1, true);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"typed"));
        EXPECT_TRUE(static_cast<bool>(::SendMessageW(Control(window, IDC_NICK_LIST), LB_GETITEMDATA, 1, 0)));
        ClickItem(window, 0);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"one"));
        ClickItem(window, 1);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"two"));
        EXPECT_TRUE(Checked(window, IDC_NICK_AWAY));
        // With a row picked, the whole click on another row's box leaves what was typed, also
        // when the pointer slips onto a row before the release.
        TypeNick(window, L"typed");
        HWND list = Control(window, IDC_NICK_LIST);
        RECT first = ItemRect(window, 0), second = ItemRect(window, 1);
        DragMouse(ScreenPointOf(list, first.left + (first.bottom - first.top) / 2, (first.top + first.bottom) / 2),
                  ScreenPointOf(list, second.left + 40, (second.top + second.bottom) / 2));
        PumpPendingMessages();
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"typed"));
        Click(window, IDOK);
    });
    EXPECT_EQ(dialog.GetNick(), CString(L"typed"));
    EXPECT_EQ(dialog.nickList, (std::vector<CString>{L"+one", L"+two"}));
}

// Scrolled sideways, the list draws each box moved left with its row: a click on the text there
// picks the row and leaves its box, a click on what shows of the box toggles it. A press on a box
// whose release goes elsewhere (a window that opened took the capture) ends with the capture, so
// the arrow keys pick again.
TEST_F(NickDialogTest, BoxesAreHitWhereDrawnAndABoxPressEndsWithItsCapture)
{
    dialog.nickList = {L"-alice", L"-bob", L"-a nick list entry far wider than the list itself, to scroll it sideways"};
    Run([&](HWND window) {
        HWND list = Control(window, IDC_NICK_LIST);
        const RECT first = ItemRect(window, 0);
        const int box = first.bottom - first.top, middle = (first.top + first.bottom) / 2;
        auto checked = [&](int row) { return ::SendMessageW(list, LB_GETITEMDATA, (WPARAM)row, 0) != 0; };
        const struct {
            const char* what;
            int scroll, x;
            bool toggles;
        } clicks[] = {
            {"the box", 0, box / 2, true},
            {"what shows of the box", box / 2, 2, true},
            {"the text beside it", box / 2, box - 3, false},
            {"the text where the box was", box * 3, 4, false},
        };
        for (const auto& click : clicks) {
            SCOPED_TRACE(click.what);
            TypeNick(window, L"typed");
            ::SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, click.scroll), 0);
            ASSERT_EQ(click.scroll, ::GetScrollPos(list, SB_HORZ)) << "the list did not scroll";
            if (click.scroll == box / 2) {
                PumpPendingMessages();
                SaveWindowPng(window, ScreenshotPath(L"nick-dialog-scrolled.png"));
            }
            bool before = checked(0);
            ClickAt(ScreenPointOf(list, click.x, middle));
            EXPECT_EQ(click.toggles, checked(0) != before);
            EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(click.toggles ? L"typed" : L"alice"));
        }

        TypeNick(window, L"typed");
        ::SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
        RECT second = ItemRect(window, 1);
        MoveMouseTo(ScreenPointOf(list, box / 2, (second.top + second.bottom) / 2));
        PressLeftButton();
        ASSERT_EQ(::GetCapture(), list);
        EXPECT_TRUE(checked(1));
        ::SetCapture(Control(window, IDC_NICK_NEW));
        ReleaseLeftButton();
        ::ReleaseCapture();
        PressKey(VK_UP);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"alice")) << "the key's pick did not fill the edit";
        Click(window, IDCANCEL);
    });
}

// Space toggles the box without picking; the arrow key after it picks as ever.
TEST_F(NickDialogTest, SpaceTogglesTheBoxAndTheNextArrowKeyPicks)
{
    dialog.nickList = {L"-alice", L"-bob"};
    Run([&](HWND window) {
        PressKey(VK_DOWN);
        ASSERT_EQ(::GetFocus(), Control(window, IDC_NICK_LIST));
        PressKey(VK_SPACE);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"alice"));
        EXPECT_FALSE(Checked(window, IDC_NICK_AWAY)) << "a toggle is no pick";
        PressKey(VK_DOWN);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"bob"));
        PressKey(VK_UP);
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"alice"));
        EXPECT_TRUE(Checked(window, IDC_NICK_AWAY));
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.GetNick(), CString(L"bob"));
    EXPECT_FALSE(dialog.away);
    EXPECT_EQ(dialog.nickList, (std::vector<CString>{L"+alice", L"-bob"}));
}

TEST_F(NickDialogTest, KeysAndMoveButtonsReorderAndDelete)
{
    dialog.nickList = {L"-a", L"+b", L"-c"};
    INT_PTR result = Run([&](HWND window) {
        EXPECT_FALSE(Enabled(window, IDC_NICK_UP));
        PressKey(VK_DOWN); // into the list, on the first item
        EXPECT_EQ(::GetFocus(), Control(window, IDC_NICK_LIST));
        EXPECT_EQ(Text(window, IDC_NICK_NEW), CString(L"a"));
        EXPECT_FALSE(Enabled(window, IDC_NICK_UP));
        ASSERT_TRUE(Enabled(window, IDC_NICK_DOWN));
        Click(window, IDC_NICK_DOWN); // a below b
        Click(window, IDC_NICK_DOWN); // and below c
        EXPECT_FALSE(Enabled(window, IDC_NICK_DOWN));
        Click(window, IDC_NICK_UP);
        ::SetFocus(Control(window, IDC_NICK_LIST));
        PressKey(VK_DELETE); // a, selected in the middle
        PressKey(VK_UP);
        PressKey(VK_UP); // at the top: back to the edit
        EXPECT_EQ(::GetFocus(), Control(window, IDC_NICK_NEW));
        TypeNick(window, L"");
        PressKey(VK_RETURN); // an empty nick is accepted
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.nickList, (std::vector<CString>{L"+b", L"-c"}));
    EXPECT_EQ(dialog.GetNick(), CString());
}

TEST_F(NickDialogTest, DoubleClickOnAnItemIsOk)
{
    dialog.nickList = {L"-first", L"-second"};
    INT_PTR result = Run([&](HWND window) {
        RECT rect = ItemRect(window, 1);
        DoubleClickAt(ScreenPointOf(Control(window, IDC_NICK_LIST), rect.left + 40, (rect.top + rect.bottom) / 2));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetNick(), CString(L"second"));
}

namespace {

class RefusedNickTest : public UserInfoWindowTest {
protected:
    void SetUp() override
    {
        UserInfoWindowTest::SetUp();
        preference.NickPolicy = 2;
        preference.nickList = {L"-spare"};
        Build();
        LogInOffline();
    }
    // The refusal, then the tick that asks; the steps run in the open dialog.
    void RefuseAndAnswer(std::function<void(HWND)> steps)
    {
        Feed(":irc.example 433 kvnick taken :Nickname is already in use");
        EXPECT_TRUE(TakeQueued().empty());
        WhenShown(HasCaption(L"ニックネーム変更 - testnet"), [&](HWND window) {
            FocusForInput(Control(window, IDC_NICK_NEW));
            steps(window);
        });
        int shown = ShownWindowCount();
        world->TickOn(1);
        StopWatching();
        EXPECT_EQ(shown + 1, ShownWindowCount()) << "the tick asks for another nick";
    }
    // A dialog the tick opens is closed again at once.
    bool TickOpensADialog()
    {
        // A dialog the tick opens shows inside the tick's own call; the watch cancels it there.
        int shown = ShownWindowCount();
        WhenShown(HasCaption(L"ニックネーム変更 - testnet"),
                  [](HWND window) { ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0); });
        world->TickOn(1);
        StopWatching();
        PumpPendingMessages();
        return ShownWindowCount() > shown;
    }
};

} // namespace

TEST_F(RefusedNickTest, OkSendsTheNickAndTheAwayChangeAndKeepsTheList)
{
    RefuseAndAnswer([&](HWND window) {
        EXPECT_EQ(Text(window, IDC_NICK_CURRENT), CString(L"kvnick"));
        ClickItem(window, 0);
        Click(window, IDC_NICK_AWAY);
        Click(window, IDOK);
    });
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"NICK spare", "AWAY :Gone"}));
    TPreference saved;
    saved.Load(config.GetSettingsFolder());
    EXPECT_EQ(saved.nickList, std::vector<CString>{L"-spare"});
    EXPECT_FALSE(TickOpensADialog());
}

// The away state the server confirmed while the question was open stays; the refused nick is
// answered even when the user left it as shown.
TEST_F(RefusedNickTest, OkLeavesAnAwayStateThatCameMeanwhile)
{
    RefuseAndAnswer([&](HWND window) {
        EXPECT_FALSE(Checked(window, IDC_NICK_AWAY));
        Feed(":irc.example 306 kvnick :You have been marked as being away");
        ASSERT_TRUE(unit->IsAway());
        Click(window, IDOK);
    });
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"NICK kvnick"}));
    EXPECT_TRUE(unit->IsAway());
}

TEST_F(RefusedNickTest, CancelSendsNothingButKeepsTheEditedList)
{
    RefuseAndAnswer([&](HWND window) {
        TypeNick(window, L"newer");
        Click(window, IDC_NICK_ADD);
        Click(window, IDCANCEL);
    });
    EXPECT_TRUE(TakeQueued().empty());
    EXPECT_EQ(preference.nickList, (std::vector<CString>{L"-spare", L"-newer"}));
    TPreference saved;
    saved.Load(config.GetSettingsFolder());
    EXPECT_EQ(saved.nickList, (std::vector<CString>{L"-spare", L"-newer"}));
}

// Keeping the nick, and any policy the settings should not hold, neither asks nor sends.
TEST_F(RefusedNickTest, KeepingTheNickAsksNothingAndSendsNothing)
{
    for (int policy : {3, 7}) {
        preference.NickPolicy = policy;
        Feed(":irc.example 433 kvnick taken :Nickname is already in use");
        EXPECT_FALSE(TickOpensADialog()) << policy;
        EXPECT_TRUE(TakeQueued().empty()) << policy;
    }
}

TEST_F(RefusedNickTest, AConnectionGoneBeforeTheTickAsksNothing)
{
    Feed(":irc.example 433 kvnick taken :Nickname is already in use");
    unit->GetConnection().transport.active = false;
    EXPECT_FALSE(TickOpensADialog());
    EXPECT_TRUE(TakeQueued().empty());
}

// One nick dialog at a time: the question of a refused nick waits while the user's own nick
// dialog is open, so neither writes its list over the other's edits.
TEST_F(RefusedNickTest, TheQuestionWaitsForTheOpenNickDialogAndKeepsItsListEdits)
{
    Feed(":irc.example 433 kvnick taken :Nickname is already in use");
    TNickRequest own = unit->MakeNickRequest(9);
    int inner = 0;
    WhenShown(HasCaption(L"ニックネーム変更 - testnet"), [&](HWND window) {
        TypeNick(window, L"mine");
        Click(window, IDC_NICK_ADD);
        WhenShown(IsNewDialog(), [&](HWND second) {
            inner++;
            ::PostMessageW(second, WM_COMMAND, IDCANCEL, 0);
        });
        world->TickOn(1);
        PumpPendingMessages();
        StopWatching();
        Click(window, IDCANCEL);
    });
    EXPECT_FALSE(world->RunNickDialog(own));
    StopWatching();
    EXPECT_EQ(0, inner) << "a second nick dialog over the first";

    // The next tick asks, on the list as the user's dialog left it.
    RefuseAndAnswer([&](HWND window) {
        EXPECT_EQ(2, (int)::SendMessageW(Control(window, IDC_NICK_LIST), LB_GETCOUNT, 0, 0));
        TypeNick(window, L"theirs");
        Click(window, IDC_NICK_ADD);
        Click(window, IDOK);
    });
    EXPECT_EQ(preference.nickList, (std::vector<CString>{L"-spare", L"-mine", L"-theirs"}));
}
