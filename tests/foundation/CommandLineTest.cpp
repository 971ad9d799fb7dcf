#include "foundation/CommandLine.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

CString Joined(const wchar_t* commandLine)
{
    TCommandLineOptions options;
    ParseCommandLineOptions(commandLine, options);
    CString text;
    for (const TCommandLineOption& option : options)
        text += L"(" + option.name + L"|" + option.value + L")";
    return text;
}

} // namespace

TEST(CommandLine, SplitsBlankAndTabSeparatedItems)
{
    EXPECT_EQ(Joined(L""), L"");
    EXPECT_EQ(Joined(L"SERVER=host:6667 USER=nick"), L"(SERVER|host:6667)(USER|nick)");
    EXPECT_EQ(Joined(L" a=1\tb=2 "), L"(a|1)(b|2)");
    EXPECT_EQ(Joined(L"no options here"), L"");
    EXPECT_EQ(Joined(L"a=1 trailing words"), L"(a|1)");
    EXPECT_EQ(Joined(L"a= b=2"), L"(a|)(b|2)");
}

TEST(CommandLine, QuotesTrimOneWordButDoNotJoinWords)
{
    EXPECT_EQ(Joined(L"NAME=\"x\""), L"(NAME|x)");
    EXPECT_EQ(Joined(L"NAME=\"two words\""), L"(NAME|\"two)");
    EXPECT_EQ(Joined(L"NAME=\"x\"tail b=1"), L"(NAME|x)(b|1)");
}

TEST(CommandLine, TheLastItemsValueIsLookedAtAgainUntilItWouldComeRoundUnchanged)
{
    const struct {
        const wchar_t* commandLine;
        const wchar_t* options;
    } cases[] = {
        {L"x=y=z", L"(x|y=z)(y|z)"},
        {L"a=1 x=y=z", L"(a|1)(x|y=z)(y|z)"},
        {L"a=b=c=d", L"(a|b=c=d)(b|c=d)(c|d)"},
        {L"x=y=z w=1", L"(x|y=z)(w|1)"}, // only the last item
        {L"x=y=", L"(x|y=)(y|)"},
        // Items with an empty name keep their "=" and must end, also as the last item.
        {L"=abc", L"(|=abc)"},
        {L"=abc k=v", L"(|=abc)(k|v)"},
        {L"k=v =", L"(k|v)(|=)"},
        {L"x==", L"(x|=)(|=)"},
        {L"k=v=w=", L"(k|v=w=)(v|w=)(w|)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(Joined(c.commandLine)), Narrow(c.options)) << Narrow(c.commandLine);
}

TEST(CommandLine, AppendsToWhatIsThere)
{
    TCommandLineOptions options = {{L"old", L"1"}};
    ParseCommandLineOptions(L"new=2", options);
    ASSERT_EQ(options.size(), 2u);
    EXPECT_EQ(options[1].name, L"new");
}

TEST(CommandLine, StartupReadsUserAndServersInAnyCase)
{
    TCommandLineOptions options;
    ParseCommandLineOptions(L"user=alice server=a profile=b SERVER=c other=d", options);
    TStartupOptions startup = ReadStartupOptions(options);
    EXPECT_EQ(startup.user, L"alice");
    ASSERT_EQ(startup.servers.size(), 3u);
    EXPECT_EQ(startup.servers[0], L"a");
    EXPECT_EQ(startup.servers[1], L"b");
    EXPECT_EQ(startup.servers[2], L"c");
    options.clear();
    ParseCommandLineOptions(L"USER=first User=second", options);
    EXPECT_EQ(ReadStartupOptions(options).user, L"second");
}
