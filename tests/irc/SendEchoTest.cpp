// What the sending side shows: the user's own lines in the window they went to, and the CTCP and
// DCC lines in the server log.

#include "tests/irc/SendSideSupport.h"

namespace {

class SendEchoTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        TSendSideTest::SetUp();
        preference.EnableCtcpSequenceLimit = true;
        LogIn();
        channel = AddJoined(L"#a");
    }
    // The last line of a view (channel null: the server log) holds every one of the texts.
    bool LastLineHolds(TIRCChannel* node, std::initializer_list<const char*> texts)
    {
        std::vector<std::string> lines = recorder.ViewTexts(node);
        if (lines.empty())
            return false;
        for (const char* text : texts)
            if (lines.back().find(text) == std::string::npos) {
                ADD_FAILURE() << lines.back();
                return false;
            }
        return true;
    }

    TIRCChannel* channel = nullptr;
};

} // namespace

// While the unit connects the server can have nothing: no message shows as sent, no talk opens
// and no script or macro hears of one.
TEST_F(SendEchoTest, OwnLinesShowWhereTheyWentOnceTheServerCanHaveThem)
{
    unit->SendInput(channel, L"hello <bold>there", false, false, true);
    EXPECT_TRUE(LastLineHolds(channel, {"kvnick", "hello", "there"}));
    TakeQueued();
    for (TIRCUnit::TState state : {TIRCUnit::StateConnecting, TIRCUnit::StateLoggedIn}) {
        const bool loggedIn = state == TIRCUnit::StateLoggedIn;
        SCOPED_TRACE(loggedIn ? "logged in" : "connecting");
        unit->GetSession().state = state;
        send.events.clear();
        recorder.macroEvents.clear();
        const size_t serverLines = recorder.ViewTexts(nullptr).size();
        unit->ExecuteCommand(L"msg NickServ identify secret", false);
        EXPECT_EQ(recorder.ViewTexts(nullptr).size() - serverLines, loggedIn ? 1u : 0u);
        EXPECT_TRUE(!loggedIn || LastLineHolds(nullptr, {"NickServ", "identify secret"}));
        unit->ExecuteCommand(L"msg friend hi there", false);
        TIRCChannel* talk = unit->FindChannel(L"friend");
        ASSERT_EQ(talk != nullptr, loggedIn);
        EXPECT_TRUE(!talk || LastLineHolds(talk, {"hi there"}));
        EXPECT_EQ(send.events, loggedIn ? (std::vector<std::string>{"onTalkText NickServ identify secret",
                                                                    "onTalkText friend hi there"})
                                        : std::vector<std::string>{});
        EXPECT_EQ(recorder.macroEvents.size(), loggedIn ? 2u : 0u);
        EXPECT_EQ(TakeQueued().size(), loggedIn ? 2u : 0u);
    }
}

TEST_F(SendEchoTest, CtcpAndDccLinesGoToTheServerLog)
{
    Feed(":peer!u@h PRIVMSG kvnick :\1VERSION\1");
    EXPECT_TRUE(LastLineHolds(nullptr, {"VERSION", "peer"}));
    Feed(":peer!u@h PRIVMSG kvnick :\1TIME\1");
    EXPECT_TRUE(LastLineHolds(nullptr, {"TIME", "peer", " : ignored"}));
    Feed(":peer!u@h NOTICE kvnick :\1VERSION :Other 1.0\1");
    EXPECT_TRUE(LastLineHolds(nullptr, {"VERSION", "Other 1.0"}));
    Feed(":peer!u@h PRIVMSG kvnick :\1DCC SEND ..\\..\\evil.exe 3232235777 5000 10\1");
    // The offer is shown as it came; only the receive item makes the name one for the disk.
    EXPECT_TRUE(LastLineHolds(nullptr, {"..\\..\\evil.exe", "192.168.1.1"}));
}
