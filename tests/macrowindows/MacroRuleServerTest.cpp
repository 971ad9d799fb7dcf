// A rule made in the macro windows by real input, saved to its file, read by a unit's own macro
// engine, and answering through a real server: another client's channel message holding a word
// gets the reply.

#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/macrowindows/MacroWindowSteps.h"
#include "tests/net/NetTestSupport.h"

#include "macrowindows/MacroEditorDialog.h"
#include "res/windows/macro.h"

namespace {

class TClosedRecorder : public IMacroEditorDialogListener {
public:
    void OnMacroFileSaved(TMacroEditorDialog*, bool ok) override { saved = ok; }
    void OnMacroEditorClosed(TMacroEditorDialog*) override { closed = true; }
    bool saved = false;
    bool closed = false;
};

using MacroRuleServerTest = TUnitTest;

} // namespace

TEST_F(MacroRuleServerTest, ARuleMadeInTheWindowsAnswersAnotherClientThroughNgircd)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    TTempSettings user;

    // The user's steps: a new rule in the editor of the file "answer", then OK.
    TClosedRecorder recorder;
    auto* editor = new TMacroEditorDialog(&user.config);
    editor->listener = &recorder;
    editor->SetFileName(L"answer");
    ASSERT_TRUE(editor->Create(IDD_MACRO_EDITOR, nullptr));
    editor->ShowWindow(SW_SHOWNORMAL);
    PumpPendingMessages();
    WhenDialogShown([](HWND item) {
        Retype(item, IDC_MACRO_ITEM_COMMAND, L"Privmsg");
        Retype(item, IDC_MACRO_ITEM_CHANNEL, L"#kv-macro");
        Retype(item, IDC_MACRO_ITEM_MESSAGE, L"*ping*");
        Retype(item, IDC_MACRO_ITEM_ACTION, L"Send");
        Retype(item, IDC_MACRO_ITEM_TARGET, L"%n");
        Retype(item, IDC_MACRO_ITEM_ARGUMENT, L"pong for %n in %c");
        SaveWindowPng(item, ScreenshotPath(L"macro-item-rule.png"));
        Click(item, IDOK);
    });
    Click(editor->m_hWnd, IDC_MACRO_EDITOR_NEW);
    Click(editor->m_hWnd, IDOK);
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.closed; }, 3000));
    EXPECT_TRUE(recorder.saved);
    delete editor;
    EXPECT_EQ(
        ReadFileBytes(user.MacroPath(L"answer")),
        CStringA("1\tEncoding=UTF-8\r\n0\t\t\t\tPrivmsg\t#kv-macro\t*ping*\t0\t0\tSend\t%n\tpong for %n in %c\t0\r\n"));

    // A unit with its own engine reading that file, on the real server.
    settings.Nick = L"kvmacro";
    settings.Port = port;
    settings.MacroFiles = {L"answer"};
    MakeUnit();
    unit->SetMacroEngine(nullptr);
    unit->SetMacroFolders(user.config.macroFolder, user.config.filesFolder);
    TChannelConfig channel;
    channel.Name = L"#kv-macro";
    unit->AddChannel(channel, TIRCChannel::KindChannel);
    unit->Connect();
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateLoggedIn; }, 15000));
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return unit->FindChannel(L"#kv-macro") && unit->FindChannel(L"#kv-macro")->IsJoined(); }, 10000));

    std::unique_ptr<TLineSocket> other = ConnectIrcClient(port, "kvasker");
    ASSERT_NE(other, nullptr);
    other->Send("JOIN #kv-macro\r\n");
    ASSERT_TRUE(other->WaitFor(" 366 "));
    other->Send("PRIVMSG #kv-macro :a quiet line\r\n");
    other->Send("PRIVMSG #kv-macro :ping anyone?\r\n");
    ASSERT_TRUE(other->WaitFor("NOTICE kvasker :pong for kvasker in #kv-macro"));
    // Only the line with the word was answered.
    int answers = 0;
    for (const std::string& line : other->Lines())
        answers += line.find("NOTICE kvasker :pong") != std::string::npos;
    EXPECT_EQ(answers, 1);
    unit->CloseByUser();
}
