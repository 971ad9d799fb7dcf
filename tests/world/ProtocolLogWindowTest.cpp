// The servers' protocol log windows as the world keeps them: made hidden on a unit's first raw
// line, filled in both directions, and gone with their unit.

#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/WorldWindowTest.h"

#include "irc/IRCConnection.h"
#include "ircproto/SendMessage.h"
#include "logview/ProtocolLogDialog.h"

namespace {

class ProtocolLogWindowTest : public TWorldWindowTest {
protected:
    void SetUp() override
    {
        TWorldWindowTest::SetUp();
        AddServer(L"net");
        AddServer(L"other");
        Build();
        net = world->FindUnit(L"net");
        ASSERT_NE(nullptr, net);
    }
    // What the connection reports once a line has been written to the socket.
    void Sent(const char* command, const char* first, const char* second)
    {
        TIRCSendMessage message;
        message.command = command;
        message.firstParam = first;
        message.secondParam = second;
        message.Build();
        net->OnSend(&net->GetConnection(), &message);
    }
    const TLogLine& Line(TProtocolLogDialog* dialog, int index) { return dialog->GetLogView().GetLine(index); }

    TIRCUnit* net = nullptr;
};

TEST_F(ProtocolLogWindowTest, RawLinesGoHiddenIntoTheirUnitsWindowWithTheirDirection)
{
    EXPECT_EQ(nullptr, world->FindProtocolLog(net));
    FocusForInput(frame.chat.input.m_hWnd);

    FeedLine(*net, ":irc.example NOTICE kvself :\x02hello");
    Sent("PRIVMSG", "#a", ":hi there");
    FeedLine(*net, "PING :x");
    PumpPendingMessages();

    TProtocolLogDialog* dialog = world->FindProtocolLog(net);
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(::IsWindowVisible(dialog->m_hWnd));
    // Made in the background: the input line keeps the focus, and nothing owns the window.
    EXPECT_EQ(frame.chat.input.m_hWnd, ::GetFocus());
    EXPECT_EQ(nullptr, ::GetWindow(dialog->m_hWnd, GW_OWNER));
    EXPECT_EQ(nullptr, world->FindProtocolLog(world->FindUnit(L"other")));

    struct TExpected {
        const wchar_t* text;
        int lineType;
    };
    const TExpected expected[] = {
        {L":irc.example NOTICE kvself :\x02hello", 19},
        {L"PRIVMSG #a :hi there", 18},
        {L"PING :x", 19},
    };
    ASSERT_EQ(3, dialog->GetLogView().GetLineCount());
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(expected[i].text, Line(dialog, i).model.text.Mid(9));
        EXPECT_EQ(expected[i].lineType, Line(dialog, i).model.lineType);
    }

    // A closing unit neither logs nor shows its window.
    net->GetSession().shutdown = true;
    FeedLine(*net, "PING :y");
    world->ShowProtocolLog(net);
    EXPECT_EQ(3, dialog->GetLogView().GetLineCount());
    EXPECT_FALSE(::IsWindowVisible(dialog->m_hWnd));
}

TEST_F(ProtocolLogWindowTest, DeletingTheUnitDestroysItsWindowAndKeepsWhereItWas)
{
    FeedLine(*net, "PING :x");
    TProtocolLogDialog* dialog = world->FindProtocolLog(net);
    ASSERT_NE(nullptr, dialog);
    world->ShowProtocolLog(net);
    PumpPendingMessages();
    ASSERT_TRUE(::IsWindowVisible(dialog->m_hWnd));
    dialog->SetWindowPos(nullptr, 120, 130, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND window = dialog->m_hWnd;

    world->DeleteUnit(net);
    EXPECT_FALSE(::IsWindow(window));
    const RECT& stored = config.geometry.protocolLogRect;
    EXPECT_EQ((std::vector<LONG>{120, 130, 520, 430}),
              (std::vector<LONG>{stored.left, stored.top, stored.right, stored.bottom}));

    // The other unit's window comes and goes with the world.
    TIRCUnit* other = world->FindUnit(L"other");
    FeedLine(*other, "PING :z");
    ASSERT_NE(nullptr, world->FindProtocolLog(other));
    window = world->FindProtocolLog(other)->m_hWnd;
    world->Shutdown();
    EXPECT_FALSE(::IsWindow(window));
}

} // namespace
