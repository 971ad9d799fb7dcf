#include "irc/UserCommand.h"

#include <gtest/gtest.h>

TEST(UserCommand, KickPenaltyCountsNicksUpToTheFirstGap)
{
    const struct {
        const wchar_t* nicks;
        int penalty;
    } cases[] = {{L"", 1}, {L"x", 4}, {L"x,y", 7}, {L"x,y,z", 10}, {L"a,b,c,d,e", 10}, {L"x,,y", 4}, {L",x", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CountKickPenalty(c.nicks), c.penalty) << c.nicks;
}

TEST(UserCommand, ProgramLinesAndLineBreaks)
{
    CString program, arguments;
    SplitProgramLine(L"\"D:\\Tools\\app.exe\"   -x file", program, arguments);
    EXPECT_EQ(program, L"D:\\Tools\\app.exe");
    EXPECT_EQ(arguments, L"-x file");
    SplitProgramLine(L"notepad.exe file.txt", program, arguments);
    EXPECT_EQ(program, L"notepad.exe file.txt");
    EXPECT_EQ(arguments, L"");
    SplitProgramLine(L"\"open only", program, arguments);
    EXPECT_EQ(program, L"");
    EXPECT_EQ(arguments, L"open only");

    EXPECT_EQ(CutAtLineBreak(L"hello\r\nQUIT :x"), L"hello");
    EXPECT_EQ(CutAtLineBreak(CString(L"a\0b", 3)), L"a");
    EXPECT_EQ(CutAtLineBreak(L"plain"), L"plain");
}
