// Every test program checks at its start that it runs on the heap its ctest entry asks for: this
// program run again, asking for the other heap, must fail at once and say why.

#include "foundation/RunCommand.h"

#include <gtest/gtest.h>

#include <string>

TEST(DISABLED_HeapChild, Runs) { printf("<ran>"); }

namespace {
const char kPlain[] = "KV_PLAIN_HEAP";

// This program run again with its one child test, its entry's heap request set or cleared.
std::string RunChild(bool askPlain)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CStringA command;
    command.Format("\"%s\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_HeapChild.Runs", exe);
    char was[8] = "";
    bool had = ::GetEnvironmentVariableA(kPlain, was, sizeof was) > 0;
    ::SetEnvironmentVariableA(kPlain, askPlain ? "1" : nullptr);
    CStringA output = RunCommandCapturingOutput(command, "");
    ::SetEnvironmentVariableA(kPlain, had ? was : nullptr);
    return std::string(output.GetString(), output.GetLength());
}
} // namespace

TEST(HeapCheckTest, AProgramOnAnotherHeapThanItsEntryAsksForFailsBeforeItsTests)
{
    char asked[8] = "";
    bool plainHere = ::GetEnvironmentVariableA(kPlain, asked, sizeof asked) > 0 && asked[0];

    std::string same = RunChild(plainHere);
    EXPECT_NE(std::string::npos, same.find("<ran>")) << same;
    EXPECT_EQ(std::string::npos, same.find("heap:")) << same;

    // This program passed its own check, so the other request cannot hold.
    std::string other = RunChild(!plainHere);
    EXPECT_EQ(std::string::npos, other.find("<ran>")) << other;
    EXPECT_NE(std::string::npos,
              other.find(plainHere ? "the entry runs on the checking heap, but free checking is off"
                                   : "asks for the plain heap (KV_PLAIN_HEAP), but free checking is on"))
        << other;
}
