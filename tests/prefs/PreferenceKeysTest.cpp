// The preference window over a main window logged in to a server: an Alt+letter that a shown
// button or label is marked with works that control, even where the main window has a command on
// the same key; an Alt+letter no control claims still runs the main window's command.

#include "tests/mainframe/ServedFrameFixture.h"

#include "tests/common/Screenshot.h"
#include "tests/prefs/PreferenceSteps.h"

namespace {

class PreferenceKeysTest : public ServedFrameFixture {};

} // namespace

TEST_F(PreferenceKeysTest, APagesOwnAltLettersWorkItsControlsAndOthersReachTheMainWindow)
{
    TPreferenceDialog* dialog = OpenPreferencesFromKey(*frame);
    ASSERT_TRUE(dialog);
    // What the main window would have done: away (A), the ban and exception lists (B, E).
    RoundTrip();
    const int awayBefore = CountStarting("AWAY"), modeBefore = CountStarting("MODE #alpha +");
    enum TEffect { On, Off, Focused };
    TPropertyPage* receive = &dialog->dccReceivePage;
    TPropertyPage* log = &dialog->logPage;
    const struct {
        TPropertyPage* page;
        WORD letter;
        int control;
        TEffect effect;
    } cases[] = {
        {receive, 'A', IDC_RECV_AUTO, On},
        {receive, 'C', IDC_RECV_LIMIT, Off},
        {receive, 'B', IDC_RECV_BLINK, Off},
        // Its group boxes are enabled only now that offers are received automatically.
        {&dialog->dccReceiveDetailPage, 'E', IDC_RECVD_GROUP5, Off},
        // A label's letter takes the focus to the field after it.
        {log, 'E', IDC_LOG_ENCODING, Focused},
        {log, 'C', IDC_LOG_CHANNEL, On},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "Alt+" << (char)c.letter << " on control " << c.control);
        if (dialog->GetCurrentPage() != c.page) {
            ASSERT_TRUE(ShowPreferencePage(dialog, c.page));
        }
        HWND control = ::GetDlgItem(c.page->m_hWnd, c.control);
        ASSERT_TRUE(control);
        PressKey(c.letter, {VK_MENU});
        if (c.effect == Focused)
            EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetFocus() == control; }, kWaitBoundMs));
        else
            EXPECT_TRUE(PumpMessagesUntil(
                [&] { return (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == (c.effect == On); },
                kWaitBoundMs));
    }
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-keys-log.png"));
    RoundTrip();
    EXPECT_EQ(awayBefore, CountStarting("AWAY")) << "the user was not set away";
    EXPECT_EQ(modeBefore, CountStarting("MODE #alpha +")) << "no list window asked for";
    EXPECT_EQ(dialog, frame->GetPreferenceDialog());
    EXPECT_EQ(dialog->m_hWnd, ::GetForegroundWindow()) << "no main-window dialog came up";

    // No control on the log page is marked with A: the main window sets the user away.
    PressKey('A', {VK_MENU});
    EXPECT_TRUE(peer->WaitFor("AWAY", 5000)) << peer->Received();
    frame->GetPreferenceDialog()->SendMessageW(WM_COMMAND, IDCANCEL, 0);
}
