#include "foundation/RunCommand.h"
#include "tests/common/WaitingChild.h"

#include <gtest/gtest.h>

#include <string>

// Child programs for the tests below: this test program run again with one of these selected.
namespace {
void WriteAll(HANDLE h, const std::string& bytes)
{
    DWORD written = 0;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}
} // namespace

TEST(DISABLED_Child, EchoInput)
{
    std::string input;
    char buf[512];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buf, sizeof buf, &got, nullptr) && got > 0)
        input.append(buf, got);
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), "<" + input + ">");
}

TEST(DISABLED_Child, NulBytes) { WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), std::string("<a\0b\0\0c>", 8)); }

TEST(DISABLED_Child, FloodStandardError)
{
    WriteAll(GetStdHandle(STD_ERROR_HANDLE), std::string(256 * 1024, 'e'));
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), "<done>");
}

TEST(DISABLED_Child, WaitForRelease)
{
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), TWaitingChild::WaitInChild() ? "<released>" : "<never released>");
}

namespace {
CStringA ChildCommand(const char* name)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CStringA command;
    command.Format("\"%s\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_Child.%s", exe, name);
    return command;
}

// The child's own part of its output, between its markers (the test runner prints around it).
std::string Marked(const CStringA& output)
{
    std::string all(output.GetString(), output.GetLength());
    size_t open = all.find('<');
    size_t close = all.rfind('>');
    return open == std::string::npos || close == std::string::npos || close < open
               ? std::string("(no markers)")
               : all.substr(open + 1, close - open - 1);
}
} // namespace

TEST(RunCommandTest, CapturesWhatTheCommandPrints)
{
    EXPECT_STREQ("hello world\r\n", RunCommandCapturingOutput("cmd /c echo hello world", ""));
    EXPECT_EQ(0, RunCommandCapturingOutput("cmd /c rem", "").GetLength());
}

TEST(RunCommandTest, CommandThatCannotBeFoundGivesEmptyText)
{
    EXPECT_EQ(0, RunCommandCapturingOutput("kv2-no-such-program-here.exe", "").GetLength());
}

TEST(RunCommandTest, InputIsWrittenAndClosedSoTheCommandSeesItsEnd)
{
    EXPECT_EQ("line 1\r\nline 2", Marked(RunCommandCapturingOutput(ChildCommand("EchoInput"), "line 1\r\nline 2")));
    EXPECT_EQ("", Marked(RunCommandCapturingOutput(ChildCommand("EchoInput"), "")));
}

TEST(RunCommandTest, LargeInputDoesNotBlock)
{
    std::string big(200 * 1024, 'i');
    EXPECT_EQ(big, Marked(RunCommandCapturingOutput(ChildCommand("EchoInput"), CStringA(big.data(), (int)big.size()))));
}

TEST(RunCommandTest, NulBytesInTheOutputAreKept)
{
    EXPECT_EQ(std::string("a\0b\0\0c", 6), Marked(RunCommandCapturingOutput(ChildCommand("NulBytes"), "")));
}

TEST(RunCommandTest, MuchOutputOnStandardErrorDoesNotHangTheCommand)
{
    EXPECT_EQ("done", Marked(RunCommandCapturingOutput(ChildCommand("FloodStandardError"), "")));
}

TEST(RunCommandTest, ACommandIsWaitedForHoweverLongItRuns)
{
    TWaitingChild child;
    ASSERT_TRUE(child.IsHooked()) << "the program does not reach the clocks, waits and kill through its imports";
    EXPECT_EQ("released", Marked(RunCommandCapturingOutput(ChildCommand("WaitForRelease"), "")));
    EXPECT_EQ(0, child.Kills()) << "the command was ended while it ran";
}
