// Scripts of a real server unit logging in to a scripted IRC server.

#include "../common/Deadline.h"
#include "../common/MessagePump.h"
#include "../irc/IrcTestSupport.h"
#include "ScriptFakes.h"
#include "ScriptWorld.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

class UnitScriptTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        frame.scriptFolder = frame.filesFolder = scripts.path;
        settings.Port = server.Port();
    }
    // The unit goes before the scripts it reports to.
    void TearDown() override
    {
        unit.reset();
        manager.reset();
    }
    // A unit of the scripted server whose one script is the text, written and loaded.
    void MakeScriptedUnit(const wchar_t* file, const char* text)
    {
        MakeUnit();
        scriptServer = std::make_unique<TUnitScriptServer>(unit.get());
        manager = std::make_unique<TScriptManager>(scriptServer.get(), &frame);
        unit->SetScriptEvents(manager.get());
        ASSERT_TRUE(WriteFileBytes(scripts.File(file), text));
        manager->LoadScripts({file});
    }

    TComApartment apartment;
    TTempFolder scripts;
    TFakeScriptFrame frame;
    TScriptedServer server;
    std::unique_ptr<TUnitScriptServer> scriptServer;
    std::unique_ptr<TScriptManager> manager;
};

TEST_F(UnitScriptTest, ScriptsHearTheLogInAndActOnTheServer)
{
    MakeScriptedUnit(L"t.js", "function event::onConnect() {\r\n"
                              "  log(['connected', myNick, name, connected].join(' ')); join('#kv', 'key');\r\n"
                              "  send('#kv', 'hello there'); setTimeout(function() { disconnect(); }, 50); }\r\n"
                              "function event::onDisconnect() { log('disconnected'); }\r\n");

    unit->Connect();
    TLineSocket* peer = server.WaitClient();
    ASSERT_NE(nullptr, peer);
    ASSERT_TRUE(peer->WaitFor("USER "));
    peer->Send(":irc.example 001 kvnick :Welcome\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN #kv key"));
    ASSERT_TRUE(peer->WaitFor("NOTICE #kv :hello there"));
    ASSERT_FALSE(frame.logs.empty());
    EXPECT_EQ(CString(L"testnet/t.js: connected kvnick testnet true"), frame.logs[0]);

    // disconnect() drops the connection at once, without QUIT.
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame.logs.size() == 2; }, 5000));
    EXPECT_EQ(CString(L"testnet/t.js: disconnected"), frame.logs.back());
    EXPECT_TRUE(PumpMessagesUntil([&] { return peer->Closed(); }, 5000));
    EXPECT_EQ(std::string::npos, peer->Received().find("QUIT"));
    EXPECT_TRUE(frame.errors.empty());
}

// A script that connects again from onDisconnect brings back a server that dropped the link; a
// server still on its way in when the program closes is cut off and stays down, so nothing can
// log in and be cut without QUIT at the end of the wait.
TEST_F(UnitScriptTest, AConnectFromOnDisconnectReconnectsUnlessTheProgramIsClosing)
{
    MakeScriptedUnit(L"again.js", "function event::onDisconnect() { log('down'); connect(); }\r\n");
    unit->Connect();
    TLineSocket* first = server.WaitClient(1);
    ASSERT_TRUE(first && first->WaitFor("USER "));
    first->Close();
    TLineSocket* second = server.WaitClient(2);
    ASSERT_TRUE(second && second->WaitFor("USER ")) << "the script connected the dropped server again";
    EXPECT_EQ(frame.logs, std::vector<CString>{L"testnet/again.js: down"});

    unit->Shutdown(false);
    EXPECT_EQ(frame.logs.size(), 2u) << "the script heard the disconnect";
    EXPECT_FALSE(unit->GetConnection().IsActive());
    EXPECT_EQ(TIRCUnit::StateDisconnected, unit->GetState());
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    EXPECT_TRUE(frame.errors.empty());
}

namespace {
// The ticks each script's timer logged.
struct TTicks {
    size_t runaway = 0;
    size_t watch = 0;
};

// The lines logged, without the timers' ticks.
std::vector<CString> WithoutTicks(const std::vector<CString>& logs, TTicks& ticks)
{
    std::vector<CString> rest;
    ticks = {};
    for (const CString& line : logs) {
        if (line == L"testnet/runaway.js: tick")
            ticks.runaway++;
        else if (line == L"testnet/watch.js: tick")
            ticks.watch++;
        else
            rest.push_back(line);
    }
    return rest;
}
} // namespace

TEST_F(UnitScriptTest, AHandlerThatCatchesItsTimeOutIsLeftAndTheServerIsAnsweredAfterIt)
{
    ASSERT_TRUE(WriteFileBytes(scripts.File(L"runaway.js"),
                               "function event::onChannelText(prefix, channel, text) {\r\n"
                               "  log('looping'); while (true) { try { connected; } catch (e) { } } }\r\n"
                               "setInterval(function() { log('tick'); }, 10);\r\n"));
    ASSERT_TRUE(WriteFileBytes(scripts.File(L"watch.js"),
                               "function event::onChannelText(prefix, channel, text) { log('heard ' + text); }\r\n"
                               "setInterval(function() { log('tick'); }, 10);\r\n"));
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(nullptr, peer);
    TUnitScriptServer scriptServer(unit.get());
    TScriptManager manager(&scriptServer, &frame);
    unit->SetScripts(&manager);
    manager.LoadScripts({L"runaway.js", L"watch.js"});
    TTicks ticks;
    ASSERT_TRUE(PumpMessagesUntil([&] { return WithoutTicks(frame.logs, ticks), ticks.runaway > 0; }, 5000));

    {
        TDeadline deadline(30000, "the handler that catches its time-out was never left");
        peer->Send(":bob!b@h.example PRIVMSG #kv :first\r\nPING :after\r\n");
        ASSERT_TRUE(peer->WaitFor("PONG :after", 20000));
    }
    EXPECT_EQ(frame.errors,
              (std::vector<CString>{
                  L"testnet/runaway.js: Script execution timed out",
                  L"testnet/runaway.js: Script stopped: it went on after its time-out; load it again to run it",
              }));

    // The next line reaches the other script at once: the stopped one, which would take its five
    // seconds again, no longer runs.
    peer->Send(":bob!b@h.example PRIVMSG #kv :second\r\nPING :later\r\n");
    ASSERT_TRUE(peer->WaitFor("PONG :later", 3000));
    WithoutTicks(frame.logs, ticks);
    // Its timer went with its engine, while the other script's timer of the same interval ticks on.
    TTicks ticksAfter;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return WithoutTicks(frame.logs, ticksAfter), ticksAfter.watch >= ticks.watch + 5; }, 5000));
    EXPECT_EQ(WithoutTicks(frame.logs, ticksAfter), (std::vector<CString>{
                                                        L"testnet/runaway.js: looping",
                                                        L"testnet/watch.js: heard first",
                                                        L"testnet/watch.js: heard second",
                                                    }));
    EXPECT_EQ(ticksAfter.runaway, ticks.runaway);
    unit.reset();
}

TEST(WorldScriptsTest, ServersAddedLaterRunTheirScriptsAndADeletedOnesTimerNeverReachesIt)
{
    TComApartment apartment;
    TTempFolder folder;
    TConfig config;
    TNoHost host;
    TFakeScriptFrame frame;
    frame.scriptFolder = frame.filesFolder = folder.path;
    TFrameScriptsMaker scripts(&frame);
    ASSERT_TRUE(WriteFileBytes(folder.File(L"tick.js"), "setInterval(function() { log('tick ' + name); }, 20);\r\n"
                                                        "function event::onUnload() { log('unloaded'); }\r\n"));
    std::unique_ptr<TIRCWorld> made = MakeScriptWorld(config, host, folder.path, scripts);
    TIRCWorld& world = *made;
    TUnitConfig record;
    record.Name = L"added";
    record.ScriptFiles = {L"tick.js"};
    TIRCUnit* unit = world.AddUnit(record);
    ASSERT_NE(unit, nullptr);
    std::vector<CString>& logs = frame.logs;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !logs.empty(); }, 5000)) << "a server added while running";
    EXPECT_EQ(logs[0], CString(L"added/tick.js: tick added"));

    world.DeleteUnit(unit);
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back(), CString(L"added/tick.js: unloaded"));
    size_t count = logs.size();
    // The interval would have fired many times by now.
    PumpMessagesUntil([] { return false; }, 300);
    EXPECT_EQ(logs.size(), count);
    EXPECT_TRUE(frame.errors.empty());
}

// A script switched on in the server's properties together with a new name starts under that
// name: what it logs and prints goes to the renamed server and its log file.
TEST(WorldScriptsTest, AScriptEnabledWithARenameStartsUnderTheNewName)
{
    TComApartment apartment;
    TTempFolder folder;
    TConfig config;
    TNoHost host;
    TFakeScriptFrame frame;
    frame.scriptFolder = frame.filesFolder = folder.path;
    TFrameScriptsMaker scripts(&frame);
    ASSERT_TRUE(WriteFileBytes(folder.File(L"start.js"), "log('start ' + name); print('started as ' + name);\r\n"));
    std::unique_ptr<TIRCWorld> made = MakeScriptWorld(config, host, folder.path, scripts);
    TIRCWorld& world = *made;
    config.preference.LogRootDir = folder.path + L"logs\\";
    config.preference.EnableUnitLog = true;
    TUnitConfig record;
    record.Name = L"old";
    TIRCUnit* unit = world.AddUnit(record);
    ASSERT_NE(unit, nullptr);
    unit->PrintReply(L"before");
    CString oldLog = unit->GetServerLog().GetCurrentPath();
    ASSERT_FALSE(oldLog.IsEmpty());

    record.Name = L"new";
    record.ScriptFiles = {L"start.js"};
    world.ApplyServerSettings(unit, TUnitConfig(), record);
    EXPECT_EQ(frame.logs, std::vector<CString>{L"new/start.js: start new"});
    CString newLog = unit->GetServerLog().GetCurrentPath();
    EXPECT_NE(newLog, oldLog);
    EXPECT_NE(ReadFileString(newLog).find("started as new"), std::string::npos) << Narrow(newLog);
    EXPECT_EQ(ReadFileString(oldLog).find("started as"), std::string::npos) << ReadFileString(oldLog);
    EXPECT_TRUE(frame.errors.empty());
}
