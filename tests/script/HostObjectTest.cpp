// The host object's members as scripts call them, through the real engine.

#include "../common/MessagePump.h"
#include "../common/WaitingChild.h"
#include "ScriptFakes.h"
#include "foundation/File.h"
#include "script/ScriptHost.h"

TEST_F(ScriptFixture, IrcMembersIssueTheirCommandLines)
{
    const struct {
        const char* call;
        const wchar_t* command;
    } cases[] = {
        {"sendRaw('PRIVMSG #a :raw')", L"PRIVMSG #a :raw"},
        {"send('#a', 'hello there')", L"NOTICE #a :hello there"},
        {"action('#a', 'waves')", L"ACTION #a :waves"},
        {"join('#a')", L"JOIN #a"},
        {"join('#a', 'key')", L"JOIN #a key"},
        {"join('#a', 42)", L"JOIN #a"},
        {"part('#a')", L"PART #a"},
        {"part('#a', 'bye now')", L"PART #a :bye now"},
        {"quit()", L"QUIT"},
        {"quit('later')", L"QUIT :later"},
        {"kick('#a', 'bob')", L"KICK #a bob"},
        {"kick('#a', 'bob', 'out')", L"KICK #a bob :out"},
        {"nick('newme')", L"NICK newme"},
        {"mode('#a')", L"MODE #a"},
        {"mode('#a', '+o bob')", L"MODE #a +o bob"},
        {"topic('#a')", L"TOPIC #a"},
        {"topic('#a', 'new topic')", L"TOPIC #a :new topic"},
        {"invite('bob', '#a')", L"INVITE bob #a"},
        {"whois('bob')", L"WHOIS bob bob"},
        {"away()", L"AWAY"},
        {"away('lunch')", L"AWAY :lunch"},
        {"ctcp('PING 123', 'bob')", L"CTCP PING bob 123"},
        {"ctcp('VERSION', 'bob')", L"CTCP VERSION bob"},
        {"ctcpReply('VERSION extra', 'bob', 'client 2')", L"CTCPREPLY bob VERSION client 2"},
        {"disconnect()", L"<disconnect>"},
    };
    // A method read as a property does not run.
    CStringA text = "try { quit; } catch (e) {}\r\n";
    for (const auto& c : cases)
        text += CStringA(c.call) + ";\r\n";
    Run(text);
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    std::vector<CString> expected;
    for (const auto& c : cases)
        expected.push_back(c.command);
    EXPECT_EQ(expected, server.commands);
}

TEST_F(ScriptFixture, PropertiesAnswerAndIgnoreAssignments)
{
    Run("name = 'other'; myNick = 'x';\r\n"
        "log([name, connected, myAwayStatus, myNick, myUsername, myAddress, myIPAddress, selectedText,\r\n"
        "     windowsUser, appRootPath, userRootPath, appActive, selectedChannel].join('|'));\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"testnet|true|false|me|meuser|me.example|192.0.2.7|picked|tester|C:\\Program|"
                      L"C:\\Users\\tester|false|"),
              LastLog());
}

TEST_F(ScriptFixture, FrameMembersReachTheMainWindow)
{
    server.AddChannel(L"#a");
    frame.selectionHere = true;
    Run("log(selectedChannel.toString());\r\n"
        "showBalloon('t', 'x'); executeMenu('Quit'); browseUrl('http://example.com/');\r\n"
        "window.restoreTitle(); window.flashTitle(); window.blinkTitle();\r\n"
        "selectChannel('#A'); selectChannel('#none'); print('one\\r\\ntwo');\r\n"
        "log(typeof window.toString);\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"balloon t/x", L"action Quit", L"url http://example.com/", L"restore", L"flash",
                                    L"blink"}),
              frame.calls);
    EXPECT_EQ((std::vector<TIRCChannel*>{TFakeScriptServer::Handle(server.channels[0]), nullptr}), frame.selections);
    EXPECT_EQ((std::vector<CString>{L"<server>: one", L"<server>: two"}), server.printed);
    EXPECT_EQ((std::vector<CString>{L"[Channel]", L"undefined"}), Logged());
}

TEST_F(ScriptFixture, TimersFireFromTheMessageLoop)
{
    Run("var ticks = 0, once = 0;\r\n"
        "var a = setInterval(function() { if (++ticks == 3) { clearInterval(a); log('ticks ' + ticks); } }, 10);\r\n"
        "var b = setInterval(function() {}, 10000);\r\n"
        "setTimeout(function() { once++; log('once ' + once); }, 10);\r\n"
        "log('ids ' + a + ' ' + b + ' ' + setTimeout(null, 10) + ' ' + setInterval(null, 10));\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"ids 1 2 undefined 0"), LastLog());
    TScriptHost* host = manager.FindHost(L"test.js");
    ASSERT_TRUE(PumpMessagesUntil([&] { return host->GetTimerCount() == 1; }, 5000));
    PumpMessagesFor(100);
    std::vector<CString> logged = Logged();
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ((std::vector<CString>{L"ids 1 2 undefined 0", L"once 1", L"ticks 3"}), logged);
}

TEST_F(ScriptFixture, TimerIdsAreNeverReused)
{
    Run("function f() {}\r\n"
        "var a = setInterval(f, 10000), b = setInterval(f, 10000); clearInterval(a); clearInterval(77);\r\n"
        "log(a + ' ' + b + ' ' + setInterval(f, 10000));\r\n");
    EXPECT_EQ(CString(L"1 2 3"), LastLog());
    EXPECT_EQ(2u, manager.FindHost(L"test.js")->GetTimerCount());
}

TEST_F(ScriptFixture, FilesOpenBelowTheScriptFilesFolder)
{
    WriteFileBytes(folder.File(L"in.txt"), "first\r\nsecond");
    Run("var f = openFile('in.txt');\r\n"
        "log([f.readLine(), f.readLine(), typeof f.readLine(), f.size, f.codePage].join('|'));\r\n"
        "log(openFile('missing.txt') === null);\r\n"
        "log(openFile('missing.txt', 0) === null);\r\n"
        "log(openFile('in.txt', true, 932).codePage);\r\n"
        "var w = openFile('out.txt', false); w.writeLine('日本'); w.write('x'); w.close();\r\n"
        "log(openFile('out.txt').readAll());\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"first|second|undefined|13|65001", L"true", L"true", L"932", L"日本", L"x"}),
              Logged());

    // A read refused part way (a pipe that broke, a locked range) keeps what came before it, also
    // after a line was read ahead of it.
    WriteFileBytes(folder.File(L"cut.txt"), "first\r\n" + CStringA('x', 9000));
    TScriptHost* host = manager.FindHost(L"test.js");
    for (const wchar_t* code : {L"var c = openFile('cut.txt'); log(c.readAll().length);",
                                L"var c = openFile('cut.txt'); c.readLine(); log(c.readAll().length);"}) {
        SimulateReadFailureAfter(5000);
        bool ran = host->AddScriptCode(code);
        SimulateReadFailureAfter(-1);
        ASSERT_TRUE(ran);
    }
    EXPECT_EQ(Logged().back(), L"4993");
    EXPECT_EQ(Logged()[Logged().size() - 2], L"5000");
}

TEST_F(ScriptFixture, SeekToEndAndTruncateActWhereTheScriptReadTo)
{
    WriteFileBytes(folder.File(L"append.txt"), "first\r\nsecond\r\n");
    WriteFileBytes(folder.File(L"cut.txt"), "keep\r\ndrop\r\nalso\r\n");
    Run("var f = openFile('append.txt', false); f.readLine(); f.seekToEnd(); f.writeLine('third'); f.close();\r\n"
        "var g = openFile('cut.txt', false); g.readLine(); g.truncate(); g.close();\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(ReadFileBytes(folder.File(L"append.txt")), CStringA("first\r\nsecond\r\nthird\r\n"));
    EXPECT_EQ(ReadFileBytes(folder.File(L"cut.txt")), CStringA("keep\r\n"));
}

// Started by the test below as a command that waits for the test, and as one whose output holds a
// NUL.
TEST(DISABLED_ScriptChild, WaitForRelease)
{
    DWORD written = 0;
    const char* said = TWaitingChild::WaitInChild() ? "<released>" : "<never released>";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), said, (DWORD)strlen(said), &written, nullptr);
}

TEST(DISABLED_ScriptChild, NulByte)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "<a\0b>", 5, &written, nullptr);
}

TEST_F(ScriptFixture, ExecuteCommandReturnsWhatTheCommandPrinted)
{
    Run("function event::onConnect() { var out = executeCommand(waiting);\r\n"
        "  log(out.substring(out.indexOf('<'), out.lastIndexOf('>') + 1)); }\r\n"
        "log(executeCommand('cmd /c echo hello'));");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"hello"), LastLog().Trim());

    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString children;
    children.Format(L"var child = '\"%s\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_ScriptChild.';\r\n"
                    L"var waiting = child + 'WaitForRelease';\r\n",
                    path);
    children.Replace(L"\\", L"\\\\");
    TScriptHost* host = manager.FindHost(L"test.js");
    ASSERT_TRUE(host->AddScriptCode(children));
    // What follows a NUL in the output is kept.
    ASSERT_TRUE(host->AddScriptCode(L"var out = executeCommand(child + 'NulByte');\r\n"
                                    L"out = out.substring(out.indexOf('<') + 1, out.lastIndexOf('>'));\r\n"
                                    L"log(out.length + ' ' + out.replace(/\\0/g, '|'));"));
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"3 a|b"), LastLog());

    // The command is waited for until the test lets it go, however much time passes meanwhile.
    TWaitingChild child;
    ASSERT_TRUE(child.IsHooked()) << "the program does not reach the clocks, waits and kill through its imports";
    manager.FireOnConnect();
    EXPECT_EQ(CString(L"<released>"), LastLog());
    EXPECT_EQ(0, child.Kills()) << "the command was ended while it ran";
}

TEST_F(ScriptFixture, ThrowingTimerCallbacksKeepTheirKind)
{
    Run("var ticks = 0;\r\n"
        "setInterval(function() { ticks++; throw new Error('tick'); }, 10);\r\n"
        "setTimeout(function() { throw new Error('once'); }, 10);\r\n"
        "function event::onConnect() { log('ticks ' + (ticks >= 3)); }\r\n");
    TScriptHost* host = manager.FindHost(L"test.js");
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame.errors.size() >= 4; }, 5000));
    EXPECT_EQ(1u, host->GetTimerCount());
    manager.FireOnConnect();
    EXPECT_EQ(CString(L"ticks true"), LastLog());
}

TEST_F(ScriptFixture, ReloadingAScriptStopsTheTimersOfItsOldInstance)
{
    WriteScript(L"test.js", "setInterval(function() { log('old'); }, 10);");
    Load({L"test.js"});
    WriteScript(L"test.js", "setInterval(function() { log('new instance'); }, 10);");
    Load({L"test.js"});
    PumpMessagesFor(200);
    std::vector<CString> logged = Logged();
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(CString(L"new instance"), logged.back());
    EXPECT_EQ(std::find(logged.begin(), logged.end(), CString(L"old")), logged.end());
}
