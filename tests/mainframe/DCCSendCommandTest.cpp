// The member list's "DCC > ファイル送信" as a user meets it: the system's file chooser, answered
// the way a user types a name into it, then one offer for each selected member.

#include "tests/mainframe/ServedFrameFixture.h"

#include "tests/common/BoxAnswerer.h"
#include "tests/common/CommonChoosers.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/TempFolder.h"

namespace {

class DCCSendCommand : public ServedFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig& unit) override
    {
        ServedFrameFixture::ConfigureUnit(unit);
        settings.preference.InstantSend = false;
        settings.preference.ViewDialogOnSend = true;
    }
    // Types the path into the chooser of that title, inside its own loop once it shows.
    void AnswerChooser(const wchar_t* title, const CString& path)
    {
        WhenShown([title](HWND window) { return HasCaption(title)(window) && IsFileChooser()(window); },
                  [this, path](HWND chooser) {
                      answered = true;
                      AnswerFileChooser(chooser, path);
                  });
    }
    void TearDown() override
    {
        StopWatching();
        ServedFrameFixture::TearDown();
    }

    bool answered = false;
};

TEST_F(DCCSendCommand, TheChosenFileIsOfferedToEachSelectedMemberAndTheWindowShows)
{
    CString path = folder.File(L"offer.txt");
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "hello", 5, &written, nullptr);
    ::CloseHandle(file);

    SelectMembers({L"alice", L"bob"});
    AnswerChooser(L"送信するファイルを選択", path);
    // "DCC(&D)" shares its access key with "-o", so the way there is from "登録(&R)", one up.
    ASSERT_TRUE(
        ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'R', VK_ESCAPE, VK_UP, VK_RIGHT, 'S'}));
    EXPECT_TRUE(PumpMessagesUntil([&] { return world->GetDCCManager().GetSendItems().size() == 2; }, kWaitBoundMs));
    EXPECT_TRUE(answered) << "the file chooser showed";
    const std::vector<TDCCSendItem*>& items = world->GetDCCManager().GetSendItems();
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(CString(L"alice"), items[0]->GetNick());
    EXPECT_EQ(CString(L"bob"), items[1]->GetNick());
    for (TDCCSendItem* item : items) {
        EXPECT_EQ(0, item->GetState()) << "waits for the user without InstantSend";
        EXPECT_EQ(0, path.CompareNoCase(item->GetFilePath())) << Narrow(item->GetFilePath());
    }
    ASSERT_TRUE(frame->GetDCCDialog());
    EXPECT_TRUE(::IsWindowVisible(frame->GetDCCDialog()->m_hWnd)) << "ViewDialogOnSend shows the window";
    EXPECT_EQ(2, ListView_GetItemCount(frame->GetDCCDialog()->GetSendList()->m_hWnd));
}

// Picked from the nick popup of a log line, a nick that is not in the channel gets no offer, but
// the transfer window still shows what was (not) offered.
TEST_F(DCCSendCommand, AFileForANickNotInTheChannelOffersNothingButShowsTheWindow)
{
    CString path = folder.File(L"offer.txt");
    ASSERT_TRUE(WriteFileBytes(path, "hello"));
    peer->Send(":zed!z@zed.example PRIVMSG #alpha :hello from zed\r\n");
    TLogView* view = alpha->logView;
    ASSERT_TRUE(PumpMessagesUntil([&] { return HasLogLine(view, L"hello from zed"); }, 3000));
    AnswerChooser(L"送信するファイルを選択", path);
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"zed", L"hello from zed"), true); },
                                      {'R', VK_ESCAPE, VK_UP, VK_RIGHT, 'S'}));
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return frame->GetDCCDialog() && ::IsWindowVisible(frame->GetDCCDialog()->m_hWnd); }, kWaitBoundMs))
        << "ViewDialogOnSend shows the window";
    EXPECT_TRUE(answered) << "the file chooser showed";
    EXPECT_TRUE(world->GetDCCManager().GetSendItems().empty());
}

TEST_F(DCCSendCommand, ClosingWhileAFileWaitsForItsPeerAsksFirst)
{
    settings.preference.InstantSend = true;
    settings.preference.PromptOnQuit = false;
    CString path = folder.File(L"busy.txt");
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "hello", 5, &written, nullptr);
    ::CloseHandle(file);
    world->GetDCCManager().AddSendItem(net, L"alice", path);
    const std::vector<TDCCSendItem*>& items = world->GetDCCManager().GetSendItems();
    ASSERT_EQ(1u, items.size());
    ASSERT_TRUE(IsDCCStateActive(items[0]->GetState())) << items[0]->GetState();

    TBoxAnswerer cancel(VK_ESCAPE);
    frame->PostMessageW(WM_CLOSE);
    // The close runs here, and its question is answered while it waits.
    PumpPendingMessages();
    ASSERT_EQ(cancel.texts.size(), 1u);
    EXPECT_STREQ(L"1 個のファイルを送信中です\n本当に終了しますか?", cancel.texts[0]);
    EXPECT_TRUE(::IsWindow(frame->m_hWnd) && !frame->IsClosing()) << "Cancel keeps the program running";
}

} // namespace
