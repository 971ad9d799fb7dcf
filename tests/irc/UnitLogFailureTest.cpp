// A channel log the unit cannot write: the user is told once, in the server's log, which file and
// why, and only the lines of that time are lost.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/File.h"
#include "foundation/Path.h"

namespace {

time_t Later(time_t*) { return time(nullptr) + 5; }

class UnitLogFailureTest : public TUnitTest {};

TEST_F(UnitLogFailureTest, AChannelLogOutOfReachIsToldOnceAndWrittenAgainOnceItCanBe)
{
    preference.LogRootDir = folder.path + L"logs\\";
    preference.EnableChannelLog = true;
    preference.EnableUnitLog = true;
    // A file where the channel's log folder goes.
    CString blocker = folder.path + L"logs\\#c";
    CreateFolderTree(folder.path + L"logs");
    ASSERT_TRUE(WriteFileBytes(blocker, "x"));
    StartOffline();
    Feed(":irc.example 001 kvnick :Welcome");
    Feed(":kvnick!u@h JOIN :#c");
    Feed(":peer!u@h PRIVMSG #c :lost");
    TIRCChannel* channel = unit->FindChannel(L"#c");
    ASSERT_TRUE(channel);
    CString path = channel->logger.MakeFileName();
    int told = 0;
    for (const std::string& line : recorder.ViewTexts(nullptr))
        told += line.find(Narrow(path)) != std::string::npos &&
                line.find(Narrow(GetSystemErrorText(ERROR_PATH_NOT_FOUND))) != std::string::npos;
    EXPECT_EQ(told, 1) << "the file and the reason, once";
    EXPECT_NE(ReadFileString(unit->GetServerLog().GetCurrentPath()).find(Narrow(path)), std::string::npos);

    DeleteFileW(blocker);
    channel->logger.clock = Later;
    Feed(":peer!u@h PRIVMSG #c :written");
    std::string file = ReadFileString(path);
    EXPECT_NE(file.find("written"), std::string::npos);
    EXPECT_EQ(file.find("lost"), std::string::npos);
}

} // namespace
