// The connection against a scripted server: lines cut from the byte stream, and the flood
// control schedule as it shows on the wire. Ticks are given by hand so the schedule is exact.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

namespace {

class TConnectionRecorder : public IIRCConnectionListener {
public:
    void OnConnect(TIRCConnection*) override { connects++; }
    void OnClose(TIRCConnection*) override { closes++; }
    void OnResolve(TIRCConnection*) override {}
    void OnReceive(TIRCConnection* connection, TIRCReceiveMessageA* message) override
    {
        lines.emplace_back(message->rawLine.GetString(), message->rawLine.GetLength());
        if (closeOnReceive)
            connection->Close();
    }
    void OnSend(TIRCConnection*, TIRCSendMessage* message) override
    {
        sent.emplace_back(message->line.GetString(), message->line.GetLength());
    }
    void OnError(TIRCConnection*, CString) override { errors++; }

    int connects = 0, closes = 0, errors = 0;
    bool closeOnReceive = false;
    std::vector<std::string> lines;
    std::vector<std::string> sent;
};

class IRCConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.listener = &recorder;
        connection.transport.targetHost = L"127.0.0.1";
        connection.transport.targetPort = server.Port();
        connection.transport.Connect();
        ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.connects == 1; }, 10000));
        peer = server.WaitClient();
        ASSERT_NE(peer, nullptr);
        // Ticks come from the test from here on.
        connection.timer.Stop();
    }

    void Queue(int count, int priority = 0, const char* text = "x")
    {
        for (int i = 0; i < count; i++) {
            TIRCSendMessage message;
            message.command = "PRIVMSG";
            message.firstParam = "#c";
            message.secondParam = CStringA(":") + text;
            connection.Enqueue(message, priority);
        }
    }
    // Lines that reached the server once the socket is given a moment.
    size_t WireLines(size_t atLeast)
    {
        PumpMessagesUntil([&] { return peer->LineCount() >= atLeast; }, 3000);
        PumpMessagesFor(50);
        return peer->LineCount();
    }
    void Tick(int count)
    {
        for (int i = 0; i < count; i++)
            connection.OnTimer(&connection.timer);
    }

    TScriptedServer server;
    TConnectionRecorder recorder;
    TIRCConnection connection;
    TLineSocket* peer = nullptr;
};

TEST_F(IRCConnectionTest, SixShortLinesLeaveAtOnceAndTheSeventhAfterTwoTicks)
{
    Queue(7);
    EXPECT_EQ(WireLines(6), 6u);
    EXPECT_EQ(connection.penaltySum, 12);
    Tick(1);
    EXPECT_EQ(WireLines(6), 6u);
    Tick(1);
    EXPECT_EQ(WireLines(7), 7u);
    EXPECT_EQ(recorder.sent.size(), 7u);
}

TEST_F(IRCConnectionTest, FullLinesAreHeldByTheByteWindow)
{
    std::string text(520, 'a');
    Queue(3, 0, text.c_str());
    EXPECT_EQ(WireLines(2), 2u);
    EXPECT_EQ(connection.windowBytes, 1024);
    // The first line leaves the window after its own penalty (7) in ticks.
    Tick(6);
    EXPECT_EQ(WireLines(2), 2u);
    Tick(1);
    EXPECT_EQ(WireLines(3), 3u);
}

TEST_F(IRCConnectionTest, HighPriorityGoesAheadOfWaitingLines)
{
    Queue(6);
    Queue(2, 0, "normal");
    Queue(1, -1, "low");
    Queue(1, 1, "high");
    Tick(2);
    Tick(2);
    Tick(2);
    ASSERT_EQ(WireLines(9), 9u);
    std::vector<std::string> lines = peer->Lines();
    EXPECT_EQ(lines[6], "PRIVMSG #c :high");
    EXPECT_EQ(lines[7], "PRIVMSG #c :normal");
    EXPECT_EQ(lines[8], "PRIVMSG #c :normal");
    Tick(2);
    ASSERT_EQ(WireLines(10), 10u);
    EXPECT_EQ(peer->Lines()[9], "PRIVMSG #c :low");
}

TEST_F(IRCConnectionTest, HistoryAgesOneMessageAtATime)
{
    Queue(3);
    EXPECT_EQ(WireLines(3), 3u);
    int line = (int)recorder.sent[0].size();
    EXPECT_EQ(connection.windowBytes, 3 * line);
    const int expected[] = {3, 3, 2, 2, 1, 1, 0}; // by tick; [0] is before the first
    for (int tick = 1; tick <= 6; tick++) {
        Tick(1);
        EXPECT_EQ(connection.history.size(), (size_t)expected[tick]) << "tick " << tick;
    }
    EXPECT_EQ(connection.windowBytes, 0);
}

TEST_F(IRCConnectionTest, CloseDropsWaitingLinesAndTheNextConnectionStartsWithFullBudgets)
{
    Queue(9);
    ASSERT_EQ(WireLines(6), 6u);
    connection.Close();
    EXPECT_EQ(connection.QueuedCount(), 0u);
    EXPECT_EQ(connection.penaltySum, 0);
    EXPECT_EQ(connection.windowBytes, 0);
    Tick(4);
    EXPECT_EQ(recorder.sent.size(), 6u);
}

struct TCutCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST_F(IRCConnectionTest, ReceivedBytesAreCutIntoLines)
{
    const TCutCase cases[] = {
        {"CR LF ends a line", "A\r\n", {"A"}},
        {"empty lines deliver nothing", "\r\n\r\n\n", {}},
        {"a lone CR stays in the line", "A\rB\n", {"A\rB"}},
        {"NUL becomes a blank", std::string("x\0y\n", 4), {"x y"}},
        {"an unfinished line waits", "PING :1\r\nPART", {"PING :1"}},
    };
    for (const TCutCase& c : cases) {
        recorder.lines.clear();
        connection.transport.client.DiscardReceived(connection.transport.client.GetReceivedSize());
        peer->Send(c.bytes);
        PumpMessagesUntil([&] { return recorder.lines.size() >= c.lines.size(); }, 2000);
        PumpMessagesFor(100);
        EXPECT_EQ(recorder.lines, c.lines) << c.name;
    }
}

TEST_F(IRCConnectionTest, ALineCompletedLaterIsDeliveredWhenItsLineFeedArrives)
{
    peer->Send("A\r\nB");
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.lines.size() == 1; }, 3000));
    PumpMessagesFor(100);
    EXPECT_EQ(recorder.lines.size(), 1u);
    peer->Send("C\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.lines.size() == 2; }, 3000));
    EXPECT_EQ(recorder.lines[1], "BC");
}

TEST_F(IRCConnectionTest, AListenerThatClosesStopsTheReceiveLoop)
{
    recorder.closeOnReceive = true;
    peer->Send("ONE\r\nTWO\r\nTHREE\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return !recorder.lines.empty(); }, 3000));
    PumpMessagesFor(200);
    EXPECT_EQ(recorder.lines.size(), 1u);
}

TEST_F(IRCConnectionTest, ThePeersCloseIsReportedAndStopsTheTimer)
{
    connection.timer.Start(TIRCConnection::kTickMs);
    peer->Close();
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.closes == 1; }, 5000));
    EXPECT_FALSE(connection.timer.IsRunning());
}

} // namespace
