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
