// The end of a unit: its logs close for good, its windows go, its scripts unload, and the
// session's leftovers never reach the next one.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/File.h"
#include "foundation/Path.h"

namespace {

const char kEnded[] = "\xE3\x83\xAD\xE3\x82\xB0\xE3\x82\x92\xE7\xB5\x82\xE4\xBA\x86";   // "ログを終了"
const char kStarted[] = "\xE3\x83\xAD\xE3\x82\xB0\xE3\x82\x92\xE9\x96\x8B\xE5\xA7\x8B"; // "ログを開始"

int CountContaining(const std::vector<std::string>& lines, const char* text)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.find(text) != std::string::npos;
    return count;
}

class UnitShutdownTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        preference.LogRootDir = folder.path + L"logs\\";
        preference.EnableChannelLog = true;
        preference.EnableUnitLog = true;
        preference.EnableTalkLog = true;
        MakeUnit();
        format.SetDefaults();
        unit->SetLogFormat(&format);
    }

    // Logged in and in the channel, with a talk open.
    void LogInAndJoin(const char* channelName)
    {
        WelcomeOffline();
        Feed(std::string(":kvnick!u@h JOIN :") + channelName);
        Feed(":friend!f@h PRIVMSG kvnick :hello");
        TakeQueued();
    }

    TLogFormat format;
};

TEST_F(UnitShutdownTest, LogsClosedByShutdownStayClosedWhenTheServerDropsTheLink)
{
    LogInAndJoin("#chan");
    TIRCChannel* channel = unit->FindChannel(L"#chan");
    TIRCChannel* talk = unit->FindChannel(L"friend");
    ASSERT_TRUE(channel && talk);
    CString channelPath = channel->logger.GetCurrentPath();
    CString talkPath = talk->logger.GetCurrentPath();
    CString serverPath = unit->GetServerLog().GetCurrentPath();
    ASSERT_FALSE(channelPath.IsEmpty());
    ASSERT_FALSE(talkPath.IsEmpty());

    unit->Shutdown(false);
    EXPECT_EQ(Queued().back().substr(0, 4), "QUIT");
    // The server answers the QUIT by closing; the disconnect prints into every node.
    unit->OnClose(&unit->GetConnection());
    unit->Tick();

    for (const CString& path : {channelPath, talkPath, serverPath}) {
        std::vector<std::string> lines = ReadFileLines(path);
        ASSERT_GE(lines.size(), 3u) << Narrow(path);
        EXPECT_EQ(CountContaining(lines, kStarted), 1) << Narrow(path);
        EXPECT_EQ(CountContaining(lines, kEnded), 1) << Narrow(path);
        // The closing stamp is the last line.
        EXPECT_NE(lines.back().find(kEnded), std::string::npos) << Narrow(path);
    }
    // The server log is closed by the disconnect, after its text.
    std::vector<std::string> serverLines = ReadFileLines(serverPath);
    EXPECT_NE(serverLines[serverLines.size() - 2].find("\xE5\x88\x87\xE6\x96\xAD"), std::string::npos); // "切断"
}

TEST_F(UnitShutdownTest, AChannelWhoseLogFailedGetsNoFileAtExit)
{
    // A file where the channel's log folder would be: its log cannot open.
    CString blocker = folder.path + L"logs\\#blocked";
    CreateFolderTree(folder.path + L"logs");
    ASSERT_TRUE(WriteFileBytes(blocker, "x"));
    LogInAndJoin("#blocked");
    TIRCChannel* channel = unit->FindChannel(L"#blocked");
    ASSERT_TRUE(channel);
    EXPECT_TRUE(channel->logger.HasFailed());
    CString path = channel->logger.MakeFileName();
    // The user is told once, in the server's log, which file and why.
    Feed(":peer!u@h PRIVMSG #blocked :lost");
    int told = 0;
    for (const std::string& line : recorder.ViewTexts(nullptr))
        told += line.find(Narrow(path)) != std::string::npos &&
                line.find(Narrow(GetSystemErrorText(ERROR_PATH_NOT_FOUND))) != std::string::npos;
    EXPECT_EQ(told, 1);
    // Whatever blocked it has gone by the time the program ends.
    DeleteFileW(blocker);

    unit->Shutdown(false);
    unit->OnClose(&unit->GetConnection());

    EXPECT_FALSE(PathExists(path));
    EXPECT_FALSE(PathExists(folder.path + L"logs\\#blocked"));
}

TEST_F(UnitShutdownTest, AnImmediateShutdownWritesTheDisconnectBeforeTheClosingStamp)
{
    LogInAndJoin("#chan");
    TIRCChannel* channel = unit->FindChannel(L"#chan");
    CString path = channel->logger.GetCurrentPath();
    unit->Shutdown(true);
    unit->OnClose(&unit->GetConnection());
    std::vector<std::string> lines = ReadFileLines(path);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(lines[lines.size() - 2].find("\xE5\x88\x87\xE6\x96\xAD"), std::string::npos); // "切断"
    EXPECT_EQ(CountContaining(lines, kEnded), 1);
}

TEST_F(UnitShutdownTest, RejoinsWaitingInALostSessionNeverReachTheNextOne)
{
    preference.Error437RejoinInterval = 3;
    WelcomeOffline();
    Feed(":irc.example 437 kvnick #busy :Channel is temporarily unavailable");
    EXPECT_EQ(unit->GetRejoinManager().GetPendingCount(), 1u);
    unit->OnClose(&unit->GetConnection());
    EXPECT_EQ(unit->GetRejoinManager().GetPendingCount(), 0u);
    EXPECT_EQ(unit->GetRejoinManager().GetRecordCount(), 0u);
    WelcomeOffline();
    TakeQueued();
    for (int i = 0; i < 20; i++)
        unit->Tick();
    for (const std::string& line : TakeQueued())
        EXPECT_EQ(line.find("JOIN"), std::string::npos) << line;
}

} // namespace
