// The scripts of the program's servers as the main window wires them: what they read of the
// window and what they open go through the world, as the macros' do.

#include "tests/mainframe/MainFrameFixture.h"

#include "foundation/OpenUrl.h"
#include "logview/LogView.h"
#include "logview/ProtocolLogDialog.h"
#include "mainframe/MainAppServices.h"
#include "settings/Config.h"
#include "tests/common/ImportPatch.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <objbase.h>

namespace {

class FrameScriptsTest : public MainFrameFixture {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        MainFrameFixture::SetUp();
    }
    void TearDown() override
    {
        // The units take their scripts with them; the scripts' frame goes after them.
        MainFrameFixture::TearDown();
        scriptFrame.reset();
        ::CoUninitialize();
    }
    // The script runs for the server "net" as soon as it is enabled.
    void RunScript(const char* text)
    {
        CString scripts = settings.GetScriptFolder();
        ::CreateDirectoryW(scripts.Left(scripts.GetLength() - 1), nullptr);
        ASSERT_TRUE(WriteFileBytes(scripts + L"t.js", text));
        scriptFrame = std::make_unique<TFrameScripts>(frame, world.get(), &settings);
        world->SetScriptsMaker(scriptFrame.get());
        net->EnableScriptFile(L"t.js", true);
    }

    std::unique_ptr<TFrameScripts> scriptFrame;
};

} // namespace

TEST_F(FrameScriptsTest, ScriptsReadTheShownSelectionAndOpenUrlsAsTheWorldDoes)
{
    settings.preference.URLOpenMethod = URL_OPEN_PROGRAM;
    settings.preference.URLOpenApplication = L"D:\\Web\\web.exe";
    TIRCChannel* alpha = Channel(L"#alpha");
    net->PrintSystemText(alpha, L"picked words");
    world->Select(net, alpha);
    alpha->logView->SelectAll();
    // The user is in the input line, not in the log.
    FocusForInput(frame->GetInputLine()->m_hWnd);
    TShellCallRecorder shell;
    ASSERT_TRUE(shell.IsHooked()) << "the program does not open URLs through the system";

    RunScript("print('<' + selectedText.replace(/\\s+$/, '') + '>'); browseUrl('ttp://a.example/ more');\r\n");
    EXPECT_EQ(shell.TakeCalls(), std::vector<CString>{L"start \"D:\\Web\\web.exe\" \"http://a.example/ more\""});
    ASSERT_NE(net->logView, nullptr);
    TLogView& log = *net->logView;
    ASSERT_GT(log.GetLineCount(), 0);
    const TLogLine& line = log.GetLine(log.GetLineCount() - 1);
    EXPECT_NE(line.GetText().Find(L"picked words>"), -1) << Narrow(line.GetText());
    EXPECT_EQ(line.model.lineType, GetLineTypeOfEvent(EVENT_SCRIPT));
}

TEST_F(FrameScriptsTest, ALogOfSeveralLinesNamesItsTimeAndPlaceOnceOverTheChannelLogBackground)
{
    TLogTheme& theme = settings.view.logTheme;
    theme.channelLogBack.color = RGB(20, 60, 140);
    theme.allLogBack.color = RGB(250, 250, 200);
    RunScript("log('first\\nsecond\\nthird');\r\n");
    HWND console = ::FindWindowW(nullptr, L"プロトコルログ");
    ASSERT_NE(nullptr, console);
    auto* dialog = static_cast<TProtocolLogDialog*>(CWnd::FromHandlePermanent(console));
    ASSERT_NE(nullptr, dialog);
    TLogView& log = dialog->GetLogView();
    ASSERT_EQ(3, log.GetLineCount());
    CString first = log.GetLine(0).GetText();
    // "hh:mm:ss <net> (t.js) first"
    EXPECT_EQ(L':', first[2]);
    EXPECT_EQ(CString(L" <net> (t.js) first"), first.Mid(8)) << Narrow(first);
    EXPECT_EQ(CString(L"second"), log.GetLine(1).GetText());
    EXPECT_EQ(CString(L"third"), log.GetLine(2).GetText());

    frame->ExecuteAction(L"scriptconsole");
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(console) && !log.IsPaintDue(); }, 3000));
    PumpPendingMessages();
    auto shown = CaptureClient(log.m_hWnd);
    // Below the three lines the view shows only its background.
    RECT below = {0, shown->height * 3 / 4, shown->width, shown->height};
    const int area = (below.right - below.left) * (below.bottom - below.top);
    EXPECT_EQ(area, shown->Count(below, theme.channelLogBack.color));
    SaveWindowPng(console, ScreenshotPath(L"mainframe-script-console-log.png"));
}
