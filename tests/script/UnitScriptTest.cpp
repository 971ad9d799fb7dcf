// Scripts of a real server unit logging in to a scripted IRC server.

#include "../common/MessagePump.h"
#include "../irc/IrcTestSupport.h"
#include "ScriptFakes.h"
#include "script/UnitScriptServer.h"

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
