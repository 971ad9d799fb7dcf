// A logged-in unit with its own macro engine against a scripted server: received lines reach
// the rules, the actions' lines reach the server, and the unit's own services use the engine.

#include "tests/irc/IrcTestSupport.h"

#include "settings/PopupFile.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>

namespace {

class UnitMacroTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        ASSERT_TRUE(CreateDirectoryW(folder.path + L"macros", nullptr));
        ASSERT_TRUE(CreateDirectoryW(folder.path + L"files", nullptr));
        std::string rules = "1\tEncoding=UTF-8\r\n";
        for (const char* rule : {// A greeting answers by notice; only an operator hands out operator status.
                                 "0\t\t\t*\tPRIVMSG\t#room\t!hello*\t0\t0\tsend\t%n\thi %n from %c\t0",
                                 "0\t\t\t*\tprivmsg\t#room\t!op\t1\t0\tmode\t%c\t+o %n\t1",
                                 "0\t\t\t*\tPRIVMSG\t#room\t!op\t0\t0\traw\t\tPRIVMSG %c :after stop\t0",
                                 // The user's own notices: a macro's notice must not come back here.
                                 "0\t\t\t%me\tNOTICE\t*\t*\t0\t0\traw\t\tPRIVMSG #loop :looped %m\t0",
                                 // Events the unit makes up itself.
                                 "0\t\t\t*\tOP\t#room\t*\t0\t0\traw\t\tPRIVMSG #room :welcome op %m\t0",
                                 "0\t\t\t*\tKEYWORD\t*\t*\t0\t0\traw\t\tPRIVMSG #room :keyword from %n\t0",
                                 // A chat line answered by notice, and its first word.
                                 "0\t\t\t*\tDCCChatMessage\t*\t*\t0\t0\tsend\t%n\tgot: %m\t0",
                                 "0\t\t\t*\tDCCChatMessage\t*\t*\t0\t0\traw\t\tPRIVMSG %n :first %0\t0"})
            rules += std::string(rule) + "\r\n";
        ASSERT_TRUE(WriteFileBytes(folder.path + L"macros\\auto.kmf", CStringA(rules.c_str())));
        settings.MacroFiles = {L"auto"};
        recorder.keywords.Like = {L"kvnick"};
        peer = ConnectTo(server, true);
        ASSERT_TRUE(peer);
        unit->SetMacroEngine(nullptr);
        unit->SetMacroFolders(folder.path + L"macros\\", folder.path + L"files\\");
        peer->Send(":kvnick!kvuser@me.host JOIN :#room\r\n"
                   ":irc.example 353 kvnick = #room :@kvnick bob carol\r\n"
                   ":irc.example 366 kvnick #room :End of NAMES list\r\n");
        ASSERT_TRUE(PumpMessagesUntil([&] { return unit->FindChannel(L"#room") != nullptr; }, 5000));
    }
    // What the unit sent after the mark and still holds under flood control, once it has answered
    // a ping sent after the lines under test; the join's own queries are left out.
    std::vector<std::string> LinesAfter(size_t mark, const char* token)
    {
        peer->Send(std::string("PING :") + token + "\r\n");
        EXPECT_TRUE(peer->WaitFor(token)) << token;
        std::vector<std::string> lines = peer->Lines();
        std::vector<std::string> after(lines.begin() + std::min(mark, lines.size()), lines.end());
        for (const std::string& queued : QueuedLines(unit->GetConnection()))
            after.push_back(queued);
        after.erase(std::remove_if(after.begin(), after.end(),
                                   [](const std::string& line) {
                                       return line.rfind("PONG", 0) == 0 || line.rfind("WHO ", 0) == 0 ||
                                              line == "MODE #room";
                                   }),
                    after.end());
        return after;
    }

    TScriptedServer server;
    TLineSocket* peer = nullptr;
};

} // namespace

TEST_F(UnitMacroTest, ReceivedLinesRunTheirRulesAndTheActionsReachTheServer)
{
    size_t mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello there\r\n");
    ASSERT_TRUE(peer->WaitFor("NOTICE bob :hi bob from #room"));
    EXPECT_EQ(LinesAfter(mark, "mark-t1"), std::vector<std::string>{"NOTICE bob :hi bob from #room"});

    // The stop flag of the operator rule ends the file for this event.
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!op\r\n");
    EXPECT_EQ(LinesAfter(mark, "mark-t2"), std::vector<std::string>{"MODE #room +o bob"});

    // Operator status given by the server is an event of its own; so is a line naming the user.
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host MODE #room +o carol\r\n"
               ":bob!b@bob.host PRIVMSG #room :where is kvnick\r\n");
    EXPECT_EQ(LinesAfter(mark, "mark-t3"),
              (std::vector<std::string>{"PRIVMSG #room :welcome op carol", "PRIVMSG #room :keyword from bob"}));

    // While the main window stops all macros nothing runs.
    ASSERT_TRUE(peer->WaitFor("keyword from bob"));
    recorder.macrosStopped = true;
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello again\r\n");
    EXPECT_TRUE(LinesAfter(mark, "mark-t4").empty());
}

// A chat line keeps a lone CR as the chat reads it; filled into a rule it is a blank, so the peer
// cannot add a command of its own.
TEST_F(UnitMacroTest, LineBreaksAPeerSendsStayInsideTheRulesCommand)
{
    TPeer chat;
    chat.Send("hi\rQUIT :bye\r\n").Drain(5000).Run();
    preference.DCCChatAction = 2;
    size_t mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(chat.Port()) + "\1\r\n");
    ASSERT_TRUE(peer->WaitFor("NOTICE bob :got:"));
    EXPECT_EQ(LinesAfter(mark, "mark-chat"),
              (std::vector<std::string>{"NOTICE bob :got: hi QUIT :bye", "PRIVMSG bob :first hi QUIT"}));
}

TEST_F(UnitMacroTest, OwnLinesRunMacrosOnlyWhenTheUserSentThem)
{
    size_t mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello</> you\r\n");
    // The macro's notice went out, and did not come back to the rules as an own notice.
    EXPECT_EQ(LinesAfter(mark, "mark-o1"), std::vector<std::string>{"NOTICE bob :hi bob from #room"});

    mark = peer->LineCount();
    unit->ExecuteCommand(L"notice bob :typed", false);
    EXPECT_EQ(LinesAfter(mark, "mark-o2"),
              (std::vector<std::string>{"NOTICE bob :typed", "PRIVMSG #loop :looped typed"}));

    ASSERT_TRUE(peer->WaitFor("looped typed"));
    // A popup item runs as the user: its notice reaches the rules as well.
    TPopupItem item;
    item.action = L"send";
    item.target = L"bob";
    item.actionInfo = L"from %n";
    mark = peer->LineCount();
    unit->RunPopupMenuCommand(item);
    EXPECT_EQ(LinesAfter(mark, "mark-o3"),
              (std::vector<std::string>{"NOTICE bob :from kvnick", "PRIVMSG #loop :looped from kvnick"}));
}

TEST_F(UnitMacroTest, FileListChangesReachTheEngine)
{
    // The unit's texts expand through its engine.
    ASSERT_TRUE(WriteFileBytes(folder.path + L"files\\bye.txt", "bye from %u\r\n"));
    EXPECT_EQ(L"%n: bye from kvnick", unit->ExpandText(L"%n: $FILE(bye.txt)"));

    // A rename in the settings is followed at once; the old name no longer loads.
    ASSERT_TRUE(MoveFileW(folder.path + L"macros\\auto.kmf", folder.path + L"macros\\renamed.kmf"));
    unit->RenameMacroFile(L"auto", L"renamed");
    size_t mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello one\r\n");
    EXPECT_EQ(LinesAfter(mark, "mark-f1"), std::vector<std::string>{"NOTICE bob :hi bob from #room"});
    unit->RemoveMacroFile(L"renamed");
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello two\r\n");
    EXPECT_TRUE(LinesAfter(mark, "mark-f2").empty());
    EXPECT_TRUE(unit->GetSettings().MacroFiles.empty());

    // A file that cannot be read is left out for this run but stays enabled in the server's
    // settings; enabling it again reads it again.
    TUnitSetting edited = unit->GetSettings();
    edited.MacroFiles = {L"gone", L"renamed"};
    unit->ApplySettings(edited);
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello three\r\n");
    EXPECT_EQ(LinesAfter(mark, "mark-f3"), std::vector<std::string>{"NOTICE bob :hi bob from #room"});
    EXPECT_EQ(unit->GetSettings().MacroFiles, (std::vector<CString>{L"gone", L"renamed"}));
    unit->EnableMacroFile(L"other", false);
    EXPECT_EQ(unit->GetMacroManager().GetFileNames(), std::vector<CString>{L"renamed"});
    ASSERT_TRUE(CopyFileW(folder.path + L"macros\\renamed.kmf", folder.path + L"macros\\gone.kmf", TRUE));
    unit->EnableMacroFile(L"gone", true);
    mark = peer->LineCount();
    peer->Send(":bob!b@bob.host PRIVMSG #room :!hello four\r\n");
    EXPECT_EQ(LinesAfter(mark, "mark-f4"),
              (std::vector<std::string>{"NOTICE bob :hi bob from #room", "NOTICE bob :hi bob from #room"}));
}

TEST_F(UnitMacroTest, ChannelConditionOfAnUnknownNameMarksTheServer)
{
    IMacroManagerListener& macros = *unit;
    macros.SetChannelCondition(L"#nowhere", L"NewTalk");
    EXPECT_TRUE(unit->newTalkMark);
    EXPECT_FALSE(unit->FindChannel(L"#room")->newTalkMark);
    macros.SetChannelCondition(L"#nowhere", L"normal");
    EXPECT_FALSE(unit->newTalkMark);
}
