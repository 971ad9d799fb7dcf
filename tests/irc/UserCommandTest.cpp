#include "irc/UserCommand.h"

#include <gtest/gtest.h>

namespace {

CString Parsed(const wchar_t* line, const wchar_t* current = L"#cur")
{
    TUserCommand command;
    if (!ParseUserCommand(line, current, command))
        return L"(none)";
    return command.command + L"|" + command.target + L"|" + command.text;
}

} // namespace

TEST(UserCommand, LinesSplitIntoWordTargetAndText)
{
    const wchar_t* const cases[][2] = {
        {L"", L"(none)"},
        {L"   ", L"(none)"},
        {L"msg nick hello there", L"PRIVMSG|nick|hello there"},
        {L"privmsg #a,#b :hi", L"PRIVMSG|#a,#b|hi"},
        {L"notice nick", L"NOTICE|nick|"},
        {L"ctcp version nick", L"CTCP|nick|version"},
        {L"ctcpquery PING nick 123", L"CTCP|nick|PING 123"},
        {L"ctcp", L"CTCP||"},
        {L"ctcp action #a waves", L"ACTION|#a|waves"},
        {L"privmsg nick :\1VERSION\1", L"CTCP|nick|VERSION"},
        {L"privmsg nick :\1ACTION x\1", L"ACTION|nick|x"},
        {L"notice nick :\1PING 5\1 tail", L"CTCPREPLY|nick|PING 5"},
        {L"me waves", L"ACTION|#cur|waves"},
        {L"me :)", L"ACTION|#cur|:)"},
        {L"kick #a x,y,z :bye now", L"KICK|#a|x,y,z :bye now"},
        {L"topic #a ::", L"TOPIC|#a|:"},
        {L"topic #a :", L"TOPIC|#a|"},
        {L"join #a,#b k1", L"JOIN|#a,#b|k1"},
        {L"whois nick", L"WHOIS||nick"},
        {L"away", L"AWAY||"},
        {L"away :gone for now", L"AWAY||gone for now"},
        {L"/join #a", L"/JOIN||#a"},
        {L"mode #a +ooo a b c", L"MODE|#a|+ooo a b c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c[0]), c[1]) << c[0];
    EXPECT_EQ(Parsed(L"me waves", L""), L"ACTION||waves");
}

TEST(UserCommand, KickPenaltyCountsNicksUpToTheFirstGap)
{
    const struct {
        const wchar_t* nicks;
        int penalty;
    } cases[] = {{L"", 1}, {L"x", 4}, {L"x,y", 7}, {L"x,y,z", 10}, {L"a,b,c,d,e", 10}, {L"x,,y", 4}, {L",x", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CountKickPenalty(c.nicks), c.penalty) << c.nicks;
}

TEST(UserCommand, AddressedNicksInTheirOrder)
{
    EXPECT_EQ(GetAddressedNicks(L"nick: hello"), std::vector<CString>{L"nick"});
    EXPECT_EQ(GetAddressedNicks(L"@nick hello"), std::vector<CString>{L"nick"});
    EXPECT_EQ(GetAddressedNicks(L"@"), std::vector<CString>{L""});
    EXPECT_EQ(GetAddressedNicks(L"hello >  nick"), std::vector<CString>{L"nick"});
    EXPECT_EQ(GetAddressedNicks(L"@a b: c >d"), (std::vector<CString>{L"@a b", L"a", L"d"}));
    EXPECT_TRUE(GetAddressedNicks(L":x hello").empty());
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
