// The frame's own services: the script console, clearing a log, the tray menu's exit, history
// lines that lead back to their channel, and macro files renamed or deleted.

#include "tests/mainframe/MainFrameFixture.h"

#include "controls/UpdateDialog.h"
#include "logview/LogView.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/BoxAnswerer.h"
#include "tests/common/FreedMemory.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <functional>

namespace {

class FrameServices : public MainFrameFixture {
protected:
    // A log view for #alpha, as the world gives each channel when it first prints.
    TLogView* GiveAlphaALog(int lines)
    {
        TLogTheme& theme = settings.view.logTheme;
        alphaLog = std::make_unique<TLogView>();
        alphaLog->Create(&theme.text, &theme.channelLogBack, frame->m_hWnd, 4712, nullptr, nullptr, false);
        for (int i = 0; i < lines; i++) {
            TLogLineData line;
            line.body.Format(L"line %d", i);
            alphaLog->AddLine(line, false);
        }
        Channel(L"#alpha")->logView = alphaLog.get();
        return alphaLog.get();
    }
    void TearDown() override
    {
        if (TIRCChannel* alpha = Channel(L"#alpha"))
            alpha->logView = nullptr;
        MainFrameFixture::TearDown();
        alphaLog.reset();
    }

    std::unique_ptr<TLogView> alphaLog;
};

TEST_F(FrameServices, ScriptConsoleKeepsLinesWrittenBeforeItIsShownAndOnlyHidesOnClose)
{
    FocusForInput(frame->GetInputLine()->m_hWnd);
    frame->WriteScriptConsole(L"net", L"hello.js", L"loaded", TScriptConsoleLine::Log);
    frame->WriteScriptConsole(L"net", L"hello.js", L"TypeError", TScriptConsoleLine::Error);
    HWND console = ::FindWindowW(nullptr, L"プロトコルログ");
    // Writing makes the window but neither shows it nor takes the focus.
    ASSERT_NE(nullptr, console);
    EXPECT_FALSE(::IsWindowVisible(console));
    EXPECT_EQ(frame->GetInputLine()->m_hWnd, ::GetFocus());

    frame->ExecuteAction(L"scriptconsole");
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(console) != FALSE; }, 3000));
    TProtocolLogDialog* dialog = static_cast<TProtocolLogDialog*>(CWnd::FromHandlePermanent(console));
    ASSERT_NE(nullptr, dialog);
    ASSERT_EQ(2, dialog->GetLogView().GetLineCount());
    EXPECT_NE(-1, dialog->GetLogView().GetLine(1).model.text.Find(L"(hello.js) TypeError"));
    SaveWindowPng(console, ScreenshotPath(L"mainframe-script-console.png"));

    // Escape closes it: hidden, its place kept, and the user is back in the input line.
    FocusForInput(console);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(console));
    EXPECT_EQ(frame->GetInputLine()->m_hWnd, ::GetFocus());
    EXPECT_LT(settings.geometry.scriptLogRect.left, settings.geometry.scriptLogRect.right);

    frame->ExecuteAction(L"scriptconsole");
    PumpPendingMessages();
    EXPECT_EQ(L"スクリプトコンソール", GetControlText(console));
    EXPECT_TRUE(::IsWindowVisible(console));
    EXPECT_EQ(2, dialog->GetLogView().GetLineCount());

    // Moved while open, the program's end keeps the new place for the next start.
    RECT moved = {40, 50, 440, 350};
    dialog->SetNormalRect(moved);
    frame->ending = true;
    frame->SendMessageW(WM_CLOSE, 0, 0);
    PumpPendingMessages();
    EXPECT_EQ(settings.geometry.scriptLogRect.left, 40);
    EXPECT_EQ(settings.geometry.scriptLogRect.top, 50);
    EXPECT_EQ(settings.geometry.scriptLogRect.right, 440);
    EXPECT_EQ(settings.geometry.scriptLogRect.bottom, 350);
}

TEST_F(FrameServices, ClearingALogAsksFirstAndCancelKeepsTheLines)
{
    world->Select(net, Channel(L"#alpha"));
    TLogView* log = GiveAlphaALog(3);
    {
        TBoxAnswerer no(VK_ESCAPE);
        frame->ExecuteAction(L"clearlog");
        PumpPendingMessages();
        ASSERT_EQ(1u, no.texts.size());
        EXPECT_STREQ(L"ログを消去します", no.texts[0]);
        EXPECT_EQ(no.modalCounts[0], 1) << "the main window stays disabled until the last modal window closes";
    }
    EXPECT_EQ(3, log->GetLineCount());
    {
        TBoxAnswerer yes(VK_RETURN);
        frame->ExecuteAction(L"clearlog");
        PumpPendingMessages();
        EXPECT_EQ(1u, yes.texts.size());
    }
    EXPECT_EQ(0, log->GetLineCount());
    // With nothing left the command is greyed and asks nothing.
    TBoxAnswerer none(VK_RETURN);
    frame->ExecuteAction(L"clearlog");
    PumpPendingMessages();
    EXPECT_TRUE(none.texts.empty());
}

// The log asked about is the one cleared, wherever the selection went while the question was
// open; a channel deleted meanwhile takes nothing else with it.
TEST_F(FrameServices, ClearingALogClearsTheNodeAskedAboutWhileItExists)
{
    TIRCChannel* alpha = Channel(L"#alpha");
    TIRCChannel* beta = Channel(L"#beta");
    // Logs of the program's own not asked about, the one it selects after a deletion among them.
    net->PrintSystemText(nullptr, L"server line");
    net->PrintSystemText(beta, L"beta line");
    const struct {
        const char* name;
        std::function<void()> whileAsked;
        int alphaLinesAfter;
    } rows[] = {
        {"the selection stays", [] {}, 0},
        {"the server selected meanwhile", [&] { world->Select(net, nullptr); }, 0},
        {"the channel deleted meanwhile and another made in its memory",
         [&] {
             TFreedMemoryTrap trap(alpha);
             world->RemoveChannelNode(net, alpha);
             TChannelConfig again;
             again.Name = L"#alpha";
             ASSERT_EQ((void*)world->AddChannelNode(net, again, TIRCChannel::KindChannel), (void*)alpha);
             alpha->logView = alphaLog.get();
         },
         3},
        {"the channel deleted meanwhile", [&] { world->RemoveChannelNode(net, alpha); }, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        world->Select(net, alpha);
        TLogView* log = GiveAlphaALog(3);
        TStepWhenReady answer([] { return ::FindWindowW(L"#32770", L"確認") != nullptr; },
                              [&] {
                                  row.whileAsked();
                                  ::PostMessageW(::FindWindowW(L"#32770", L"確認"), WM_COMMAND, IDOK, 0);
                              });
        frame->ExecuteAction(L"clearlog");
        PumpPendingMessages();
        EXPECT_TRUE(answer.Ran()) << "the question";
        EXPECT_EQ(row.alphaLinesAfter, log->GetLineCount());
        EXPECT_TRUE(net->logView->GetLineCount() > 0 && beta->logView->GetLineCount() > 0) << "another log cleared";
    }
}

TEST_F(FrameServices, TheTrayMenusExitAsksOnceEvenWhenClosingWouldAsk)
{
    settings.preference.PromptOnQuit = true;
    TBoxAnswerer yes(VK_RETURN);
    frame->PostMessageW(WM_COMMAND, ID_EXIT_FROM_TRAY, 0);
    WaitUntil([&] { return !::IsWindow(frame->m_hWnd); }, "the main window closed");
    ASSERT_EQ(1u, yes.texts.size());
    EXPECT_STREQ(L"終了します", yes.texts[0]);
    EXPECT_EQ(yes.modalCounts[0], 1);
    EXPECT_FALSE(::IsWindow(frame->m_hWnd));
}

TEST_F(FrameServices, HistoryLinesLeadToTheirChannelOrToTheServerWhenTheChannelIsGone)
{
    TIRCChannel* alpha = Channel(L"#alpha");
    GiveAlphaALog(40);
    world->Select(net, Channel(L"#beta"));
    frame->OnHistoryLineClick(net->GetSerial(), alpha->GetSerial(), 5);
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    world->GetSelection(unit, channel);
    EXPECT_EQ(net, unit);
    EXPECT_EQ(alpha, channel);

    // A channel closed since: its server. A server deleted since: nothing changes.
    unsigned gone = alpha->GetSerial() + 1000;
    frame->OnHistoryLineClick(net->GetSerial(), gone, 5);
    world->GetSelection(unit, channel);
    EXPECT_EQ(net, unit);
    EXPECT_EQ(nullptr, channel);
    world->Select(net, alpha);
    frame->OnHistoryLineClick(net->GetSerial() + 1000, 0, 5);
    world->GetSelection(unit, channel);
    EXPECT_EQ(alpha, channel);
}

TEST_F(FrameServices, RenamedAndDeletedMacroFilesFollowInEveryServer)
{
    TUnitSetting edited = net->GetSettings();
    edited.MacroFiles = {L"away.txt", L"greet.txt"};
    net->ApplySettings(edited);
    frame->OnMacroFileRenamed(L"greet.txt", L"hello.txt");
    EXPECT_EQ(net->GetSettings().MacroFiles, (std::vector<CString>{L"away.txt", L"hello.txt"}));
    frame->OnMacroFileDeleted(L"away.txt");
    EXPECT_EQ(net->GetSettings().MacroFiles, (std::vector<CString>{L"hello.txt"}));
}

} // namespace
