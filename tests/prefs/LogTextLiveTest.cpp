// The log text of a joined channel open in the real main window follows the preference window's
// OK at once: a bigger Privmsg font in a new colour, a new background colour and wider line
// spacing show in the channel's log view on screen before any further line arrives, and the next
// line is written with the new nick prefix.

#include "tests/mainframe/ServedFrameFixture.h"

#include "res/resource.h"
#include "res/windows/formatpages.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/LogViewRows.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/prefs/ChooserSteps.h"
#include "tests/prefs/PreferenceSteps.h"

namespace {

class LogTextLiveTest : public ServedFrameFixture {
protected:
    TPreferenceDialog* OpenPreferences() { return OpenPreferencesFromKey(*frame); }
    void PickItem(TViewLogTextPage& page, int code)
    {
        HWND tree = ::GetDlgItem(page.m_hWnd, IDC_LOG_TEXT_ITEMS);
        HTREEITEM item = page.FindItem(code);
        TreeView_EnsureVisible(tree, item);
        ClickAt(ItemPoint(tree, item));
        PumpMessagesUntil([&] { return TreeView_GetSelection(tree) == item; }, kWaitBoundMs);
    }
    std::unique_ptr<TMemoryCanvas> CaptureLog()
    {
        WaitUntil([&] { return !alpha->logView->IsPaintDue(); }, "the channel's log painted");
        PumpPendingMessages();
        return CaptureClient(alpha->logView->m_hWnd);
    }
};

} // namespace

TEST_F(LogTextLiveTest, FontColoursAndSpacingReachTheOpenChannelAtOnce)
{
    for (int i = 0; i < 4; i++)
        peer->Send(":alice!al@alice.example PRIVMSG #alpha :talk number " + std::to_string(i) + "\r\n");
    TLogView& log = *alpha->logView;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return log.GetLineCount() > 0 && log.GetLine(log.GetLineCount() - 1).GetText().Find(L"number 3") >= 0; },
        5000));
    int first = LineWith(&log, L"talk number 0"), second = LineWith(&log, L"talk number 1");
    ASSERT_GE(first, 0);
    auto before = CaptureLog();
    const int pitchBefore = LineTop(log, second) - LineTop(log, first);
    RECT all = {0, 0, before->width, before->height};
    const COLORREF text = RGB(200, 10, 20), back = RGB(230, 240, 250);
    EXPECT_EQ(0, before->CountNear(all, text, 40));
    EXPECT_EQ(0, before->Count(all, back));

    TPreferenceDialog* dialog = OpenPreferences();
    ASSERT_TRUE(dialog);
    TViewLogTextPage& page = dialog->viewLogTextPage;
    ASSERT_TRUE(ShowPreferencePage(dialog, &page));
    PickItem(page, 12000);
    EXPECT_TRUE(ClickAndChoose(::GetDlgItem(page.m_hWnd, IDC_LOG_TEXT_FONT), 0, L"16")) << "no font chooser";
    EXPECT_TRUE(ClickAndChoose(::GetDlgItem(page.m_hWnd, IDC_LOG_TEXT_FONT_COLOR), text)) << "no colour chooser";
    PickItem(page, 1001);
    EXPECT_TRUE(ClickAndChoose(::GetDlgItem(page.m_hWnd, IDC_LOG_TEXT_BACK_COLOR), back)) << "no colour chooser";
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->viewLayoutPage));
    Retype(dialog->viewLayoutPage.m_hWnd, IDC_LAYOUT_LEADING, L"8");
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->formatPage));
    Retype(dialog->formatPage.m_hWnd, IDC_FORMAT_NICK, L"[%n] ");
    EXPECT_EQ(0, CaptureLog()->Count(all, back)) << "nothing reaches the channel before OK";
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, kWaitBoundMs));

    // At once, with no further line from the server.
    auto after = CaptureLog();
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"prefs-log-text-live.png"));
    EXPECT_GT(after->Count(all, back), after->width * after->height / 2) << "the new background";
    EXPECT_GT(after->CountNear(all, text, 40), 20) << "the talk in its new colour";
    EXPECT_GT(LineTop(log, second) - LineTop(log, first), pitchBefore + 8) << "bigger and further apart";
    EXPECT_EQ(160, settings.view.settings.logText.lineFonts[0].size);
    EXPECT_EQ(8, settings.preference.LineLeading);

    // The next line is written with the new nick prefix; the lines before keep their text.
    peer->Send(":alice!al@alice.example PRIVMSG #alpha :after the change\r\n");
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return log.GetLine(log.GetLineCount() - 1).GetText().Find(L"after the change") >= 0; }, 5000));
    EXPECT_NE(-1, log.GetLine(log.GetLineCount() - 1).GetText().Find(L"[alice] after the change"));
    EXPECT_NE(-1, log.GetLine(first).GetText().Find(L"(alice) talk number 0"));
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"prefs-log-text-live-next.png"));
}
