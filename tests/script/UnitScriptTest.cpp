// Scripts of a real server unit logging in to a scripted IRC server.

#include "../common/MessagePump.h"
#include "../irc/IrcTestSupport.h"
#include "ScriptFakes.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

class UnitScriptTest : public TUnitTest {};

TEST_F(UnitScriptTest, ScriptsHearTheLogInAndActOnTheServer)
{
    TComApartment apartment;
    TTempFolder scripts;
    TFakeScriptFrame frame;
    frame.scriptFolder = frame.filesFolder = scripts.path;
    TScriptedServer server;
    settings.Port = server.Port();
    MakeUnit();
    TUnitScriptServer scriptServer(unit.get());
    TScriptManager manager(&scriptServer, &frame);
    unit->SetScriptEvents(&manager);
    ASSERT_TRUE(WriteFileBytes(scripts.File(L"t.js"),
                               "function event::onConnect() {\r\n"
                               "  log(['connected', myNick, name, connected].join(' ')); join('#kv', 'key');\r\n"
                               "  send('#kv', 'hello there'); setTimeout(function() { disconnect(); }, 50); }\r\n"
                               "function event::onDisconnect() { log('disconnected'); }\r\n"));
    manager.LoadScripts({L"t.js"});

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
    unit.reset();
}

namespace {

// The world's units with scripts of their own, as the program makes them.
class TWorldScripts : public IUnitScriptsMaker {
public:
    IUnitScripts* MakeScripts(TIRCUnit* unit) override { return new TUnitScripts(unit, &frame); }
    TFakeScriptFrame frame;
};

class TQuietHost : public IIRCWorldHost {
public:
    void CopyTextToClipboard(const CString&) override {}
    int FindActionCommand(const CString&) override { return 0; }
};

} // namespace

TEST(WorldScriptsTest, ServersAddedLaterRunTheirScriptsAndADeletedOnesTimerNeverReachesIt)
{
    TComApartment apartment;
    TTempFolder folder;
    TConfig config;
    config.preference.Load(folder.path);
    config.view.Load(config);
    TQuietHost host;
    TWorldScripts scripts;
    scripts.frame.scriptFolder = scripts.frame.filesFolder = folder.path;
    ASSERT_TRUE(WriteFileBytes(folder.File(L"tick.js"), "setInterval(function() { log('tick ' + name); }, 20);\r\n"
                                                        "function event::onUnload() { log('unloaded'); }\r\n"));
    TIRCWorld world(&config, &host);
    world.SetScriptsMaker(&scripts);
    TUnitConfig record;
    record.Name = L"added";
    record.ScriptFiles = {L"tick.js"};
    TIRCUnit* unit = world.AddUnit(record);
    ASSERT_NE(unit, nullptr);
    std::vector<CString>& logs = scripts.frame.logs;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !logs.empty(); }, 5000)) << "a server added while running";
    EXPECT_EQ(logs[0], CString(L"added/tick.js: tick added"));

    world.DeleteUnit(unit);
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back(), CString(L"added/tick.js: unloaded"));
    size_t count = logs.size();
    // The interval would have fired many times by now.
    PumpMessagesUntil([] { return false; }, 300);
    EXPECT_EQ(logs.size(), count);
    EXPECT_TRUE(scripts.frame.errors.empty());
}
