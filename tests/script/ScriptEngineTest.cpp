// The engine host against Wine's real JScript: loading, errors, the time-out and timers.

#include "../common/MessagePump.h"
#include "ScriptFakes.h"
#include "script/ScriptHost.h"

TEST_F(ScriptFixture, TopLevelCodeAndEventHandlersRun)
{
    Run("log('top');\r\nfunction event::onConnect() { log('connected ' + name + ' ' + myNick); }\r\n");
    manager.FireOnConnect();
    EXPECT_EQ((std::vector<CString>{L"top", L"connected testnet me"}), Logged());
    EXPECT_TRUE(frame.errors.empty()) << (frame.errors.empty() ? "" : "error");
}

TEST_F(ScriptFixture, EndlessLoopIsStoppedAfterTheTimeOut)
{
    Run("function event::onConnect() { log('looping'); while (true) { connected; } }\r\n"
        "function event::onDisconnect() { log('still here'); }\r\n");
    DWORD start = GetTickCount();
    manager.FireOnConnect();
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 5000u);
    EXPECT_LT(elapsed, 20000u);
    ASSERT_FALSE(frame.errors.empty());
    EXPECT_EQ(L"testnet/test.js: Script execution timed out", frame.errors.front());
    manager.FireOnDisconnect();
    EXPECT_EQ(L"still here", LastLog());
}

TEST_F(ScriptFixture, SyntaxErrorReportsItsLine)
{
    Run("var a = 1;\r\nvar b = 2;\r\nvar c = (;\r\n");
    ASSERT_EQ(2u, frame.errors.size());
    EXPECT_EQ(CString(L"testnet/test.js: Syntax error (Microsoft JScript compilation error line 3)"), frame.errors[0]);
    EXPECT_EQ(CString(L"testnet/test.js: AddScriptCode Error: 80020101"), frame.errors[1]);
}
