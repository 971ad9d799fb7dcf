// The scripts of the program's servers as the main window wires them: what they read of the
// window and what they open go through the world, as the macros' do.

#include "tests/mainframe/MainFrameFixture.h"

#include "foundation/OpenUrl.h"
#include "logview/LogView.h"
#include "mainframe/MainAppServices.h"
#include "settings/Config.h"
#include "tests/common/ImportPatch.h"
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
