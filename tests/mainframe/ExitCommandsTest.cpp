// The program's two exits as a user takes them from their menus: the File menu's exit is the
// window's own close, which asks as "PromptOnQuit" says and, without it, about files still in
// transfer; the tray menu's exit always asks its one question and nothing more.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/TrayIcon.h"
#include "dcc/DCCSendItem.h"
#include "tests/common/BoxAnswerer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"

#include <vector>

namespace {

const wchar_t kQuitQuestion[] = L"終了します";
const wchar_t kSendingQuestion[] = L"1 個のファイルを送信中です\n本当に終了しますか?";

class ExitCommands : public ServedFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig& unit) override
    {
        ServedFrameFixture::ConfigureUnit(unit);
        // An offered file is listened for at once, which counts as a transfer in progress.
        settings.preference.InstantSend = true;
    }
    void SetUp() override
    {
        ServedFrameFixture::SetUp();
        // The tray icon with its menu, as the application makes it.
        frame->ApplyStartupSettings(SW_SHOWNORMAL);
        PumpPendingMessages();
    }
    void OfferAFile()
    {
        CString path = folder.File(L"busy.txt");
        ASSERT_TRUE(WriteFileBytes(path, "hello"));
        world->GetDCCManager().AddSendItem(net, L"alice", path);
        ASSERT_EQ(1, world->GetDCCManager().CountActiveSends());
    }
    // "終了(&X)..." of the File menu, the menu bar's first.
    void ExitFromFileMenu() { ChooseFromMenuBar(0, {'X'}); }
    void ExitFromTrayMenu()
    {
        HWND trayWindow = frame->GetTrayIcon().GetWindow();
        ASSERT_TRUE(trayWindow);
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ::PostMessageW(trayWindow, WM_TRAYICON, 0, WM_RBUTTONUP); }, {'X'}));
    }
    // The questions the exit asked, each answered with the key.
    std::vector<CString> Exit(bool fromTray, WORD answer)
    {
        TBoxAnswerer answerer(answer);
        fromTray ? ExitFromTrayMenu() : ExitFromFileMenu();
        // A question, when one comes, is up and answered inside the command.
        PumpPendingMessages();
        return answerer.texts;
    }
    bool StillRunning() { return !frame->IsClosing() && ::IsWindowVisible(frame->m_hWnd); }
};

} // namespace

TEST_F(ExitCommands, TheFileMenusExitAsksOnlyWhenPromptOnQuitIsOn)
{
    settings.preference.PromptOnQuit = true;
    EXPECT_EQ(std::vector<CString>{kQuitQuestion}, Exit(false, VK_ESCAPE));
    EXPECT_TRUE(StillRunning()) << "Cancel keeps the program";

    settings.preference.PromptOnQuit = false;
    EXPECT_EQ(std::vector<CString>{}, Exit(false, VK_ESCAPE));
    EXPECT_TRUE(frame->IsClosing());
    EXPECT_FALSE(::IsWindow(frame->m_hWnd)) << "closed at once";
}

TEST_F(ExitCommands, WithAFileInTransferTheFileMenuAsksAboutItAndTheTrayAsksItsOneQuestion)
{
    OfferAFile();
    // "PromptOnQuit" asks its question instead of the one about the file.
    settings.preference.PromptOnQuit = true;
    EXPECT_EQ(std::vector<CString>{kQuitQuestion}, Exit(false, VK_ESCAPE));
    EXPECT_TRUE(StillRunning());

    settings.preference.PromptOnQuit = false;
    EXPECT_EQ(std::vector<CString>{kSendingQuestion}, Exit(false, VK_ESCAPE));
    EXPECT_TRUE(StillRunning()) << "Cancel keeps the program";

    // The tray's exit asks even with "PromptOnQuit" off, and then not about the file.
    EXPECT_EQ(std::vector<CString>{kQuitQuestion}, Exit(true, VK_RETURN));
    EXPECT_TRUE(frame->IsClosing());
    EXPECT_FALSE(::IsWindow(frame->m_hWnd));
}
