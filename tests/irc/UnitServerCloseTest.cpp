// A server that drops the link right behind a flood: every line it sent before its close reaches
// the unit, the channel's view and log file, and the reason of its closing ERROR is shown.

#include "tests/irc/IrcTestSupport.h"

#include "tests/common/MessagePump.h"

namespace {

class UnitServerCloseTest : public TUnitTest {};

TEST_F(UnitServerCloseTest, EveryLineBeforeTheCloseReachesTheChannelAndItsLogFile)
{
    preference.LogRootDir = folder.path + L"logs\\";
    preference.EnableChannelLog = true;
    TScriptedServer server;
    TLineSocket* peer = ConnectTo(server, true);
    ASSERT_NE(peer, nullptr);
    peer->Send(":kvnick!kvuser@my.host JOIN :#flood\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->FindChannel(L"#flood") != nullptr; }, 5000));
    // What the join made the unit send is at the server before it closes.
    ASSERT_TRUE(RoundTrip(*unit, *peer));
    const int kLines = 30000;
    std::string flood;
    for (int i = 0; i < kLines; i++)
        flood += ":user" + std::to_string(i % 50) + "!u@h PRIVMSG #flood :line " + std::to_string(i) + "\r\n";
    flood += "ERROR :Closing Link: kvnick (flooded off)\r\n";
    // A timer as the program's windows run them: the unit shares its turn with it during the flood.
    UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    std::thread sender([&] {
        peer->Send(flood);
        peer->Close();
    });
    bool ended = PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateDisconnected; }, 60000);
    sender.join();
    KillTimer(nullptr, timer);
    ASSERT_TRUE(ended) << "the close never reached the unit";

    TIRCChannel* channel = unit->FindChannel(L"#flood");
    std::vector<std::string> shown = recorder.ViewTexts(channel),
                             logged = ReadFileLines(channel->logger.GetCurrentPath());
    for (const std::vector<std::string>* lines : {&shown, &logged}) {
        int next = 0;
        for (const std::string& line : *lines) {
            std::string end = "line " + std::to_string(next);
            next += line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
        }
        EXPECT_EQ(next, kLines) << "lines reached in order";
    }
    bool reason = false;
    for (const std::string& line : recorder.ViewTexts(nullptr))
        reason = reason || line.find("flooded off") != std::string::npos;
    EXPECT_TRUE(reason) << "the server's reason for the close";
}

} // namespace
