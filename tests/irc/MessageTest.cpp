#include "foundation/CodePage.h"
#include "irc/ReceiveMessage.h"
#include "irc/SendMessage.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TIRCReceiveMessageA ParseLine(const CStringA& line)
{
    TIRCReceiveMessageA msg;
    msg.rawLine = line;
    msg.Parse();
    return msg;
}

std::deque<CStringA> Params(std::initializer_list<const char*> items)
{
    std::deque<CStringA> params;
    for (const char* item : items)
        params.push_back(item);
    return params;
}

TIRCSendMessage Built(const CStringA& command, const CStringA& first, const CStringA& second, UINT codePage = 0)
{
    TIRCSendMessage msg;
    msg.command = command;
    msg.firstParam = first;
    msg.secondParam = second;
    msg.codePage = codePage;
    msg.Build();
    return msg;
}

} // namespace

TEST(ReceiveParse, PrefixSplitsIntoNickUserHost)
{
    TIRCReceiveMessageA ping = ParseLine(":srv PING");
    EXPECT_EQ(ping.prefix, "srv");
    EXPECT_EQ(ping.nick, "srv");
    EXPECT_EQ(ping.user, "");
    EXPECT_EQ(ping.host, "");
    EXPECT_EQ(ping.command, "PING");
    EXPECT_TRUE(ping.params.empty());

    TIRCReceiveMessageA msg = ParseLine(":n!u@h PRIVMSG #c :hello,  world ");
    EXPECT_EQ(msg.nick, "n");
    EXPECT_EQ(msg.user, "u");
    EXPECT_EQ(msg.host, "h");
    EXPECT_EQ(msg.command, "PRIVMSG");
    EXPECT_EQ(msg.params, Params({"#c", "hello,  world "}));

    TIRCReceiveMessageA noHost = ParseLine(":n!u PRIVMSG #c :x");
    EXPECT_EQ(noHost.nick, "n");
    EXPECT_EQ(noHost.user, "");
    EXPECT_EQ(noHost.host, "");
}

TEST(ReceiveParse, CommandWordAndNumeric)
{
    TIRCReceiveMessageA lower = ParseLine("privmsg #c :x");
    EXPECT_EQ(lower.command, "PRIVMSG");
    EXPECT_EQ(lower.numeric, 0);
    TIRCReceiveMessageA welcome = ParseLine(":srv 001 me :Welcome");
    EXPECT_EQ(welcome.command, "001");
    EXPECT_EQ(welcome.numeric, 1);
    EXPECT_EQ(ParseLine("433abc x").numeric, 433);
    EXPECT_EQ(ParseLine("433abc x").command, "433abc");
}

TEST(ReceiveParse, NumericWithEndlessDigitsSaturates)
{
    EXPECT_EQ(ParseLine("2147483647 x").numeric, INT_MAX);
    EXPECT_EQ(ParseLine("2147483648 x").numeric, INT_MAX);
    EXPECT_EQ(ParseLine(CStringA('9', 400) + " x").numeric, INT_MAX);
    EXPECT_EQ(ParseLine("0000000000000000000042").numeric, 42);
}

TEST(ReceiveParse, ParametersAndTrailing)
{
    EXPECT_EQ(ParseLine("PRIVMSG #c :").params, Params({"#c", ""}));
    EXPECT_EQ(ParseLine("PRIVMSG #c").params, Params({"#c"}));
    EXPECT_EQ(ParseLine("MODE  #c   +o  a    b").params, Params({"#c", "+o", "a", "b"}));
    EXPECT_EQ(ParseLine("X a:b :c :d").params, Params({"a:b", "c :d"}));
    EXPECT_EQ(ParseLine("X a\tb c").params, Params({"a\tb", "c"}));
    EXPECT_EQ(ParseLine("X a b   ").params, Params({"a", "b"}));
}

TEST(ReceiveParse, EmptyLinesAndPrefixAloneGiveNoCommand)
{
    for (const char* line : {"", "     ", ":srv", ":srv    ", ":", ": "}) {
        TIRCReceiveMessageA msg = ParseLine(line);
        EXPECT_EQ(msg.command, "") << line;
        EXPECT_TRUE(msg.params.empty()) << line;
    }
    EXPECT_EQ(ParseLine(":a!b@c").nick, "a");
}

TEST(ReceiveParse, ReparseClearsEveryField)
{
    TIRCReceiveMessageA msg = ParseLine(":n!u@h 005 a b :c");
    msg.rawLine = "PING";
    msg.Parse();
    EXPECT_EQ(msg.prefix, "");
    EXPECT_EQ(msg.nick, "");
    EXPECT_EQ(msg.user, "");
    EXPECT_EQ(msg.host, "");
    EXPECT_EQ(msg.numeric, 0);
    EXPECT_TRUE(msg.params.empty());
}

TEST(ReceiveParseHostile, OddPrefixesTrailingAloneAndNuls)
{
    TIRCReceiveMessageA many = ParseLine(":a!!b@@c@d!e PRIVMSG x");
    EXPECT_EQ(many.nick, "a");
    EXPECT_EQ(many.user, "!b");
    EXPECT_EQ(many.host, "@c@d!e");
    EXPECT_EQ(ParseLine(":@!x KICK").user, "");
    EXPECT_EQ(ParseLine(":@!x KICK").nick, "@");

    TIRCReceiveMessageA trailing = ParseLine(":only trailing");
    EXPECT_EQ(trailing.command, "TRAILING");
    TIRCReceiveMessageA colon = ParseLine("::x y");
    EXPECT_EQ(colon.prefix, ":x");
    EXPECT_EQ(colon.command, "Y");
    TIRCReceiveMessageA lone = ParseLine("NOTICE :");
    EXPECT_EQ(lone.params, Params({""}));

    CStringA withNul("PRIVMSG #c\0d :a\0b", 17);
    TIRCReceiveMessageA nul = ParseLine(withNul);
    EXPECT_EQ(nul.command, "PRIVMSG");
    ASSERT_EQ(nul.params.size(), 2u);
    EXPECT_EQ(nul.params[0], CStringA("#c\0d", 4));
    EXPECT_EQ(nul.params[1], CStringA("a\0b", 3));
    EXPECT_EQ(ParseLine(CStringA("\0", 1)).command, CStringA("\0", 1));
}

TEST(ReceiveParseHostile, HundredsOfParametersAndLongLines)
{
    CStringA line("MODE");
    for (int i = 0; i < 700; i++)
        line.AppendFormat(" p%d", i);
    TIRCReceiveMessageA msg = ParseLine(line);
    ASSERT_EQ(msg.params.size(), 700u);
    EXPECT_EQ(msg.params[15], "p15");
    EXPECT_EQ(msg.params[699], "p699");

    CStringA big = ":" + CStringA('n', 8192) + " PRIVMSG " + CStringA('#', 8192) + " :" + CStringA('x', 8192);
    TIRCReceiveMessageA longOne = ParseLine(big);
    EXPECT_EQ(longOne.nick.GetLength(), 8192);
    ASSERT_EQ(longOne.params.size(), 2u);
    EXPECT_EQ(longOne.params[1].GetLength(), 8192);
}

TEST(ReceiveMessage, GetParamOutOfRangeIsEmpty)
{
    TIRCReceiveMessage msg;
    EXPECT_EQ(msg.GetParam(0), L"");
    EXPECT_EQ(msg.GetParamsFrom(0), L"");
    msg.params = {L"me", L"a", L"b c"};
    EXPECT_EQ(msg.GetParam(-1), L"");
    EXPECT_EQ(msg.GetParam(3), L"");
    EXPECT_EQ(msg.GetParam(INT_MAX), L"");
    EXPECT_EQ(msg.GetParam(2), L"b c");
    EXPECT_EQ(msg.GetParamsFrom(1), L"a b c");
    EXPECT_EQ(msg.GetParamsFrom(3), L"");
    EXPECT_EQ(msg.GetParamsFrom(INT_MAX), L"");
}

TEST(SendBuild, LineLayoutAndPenalty)
{
    TIRCSendMessage join = Built("JOIN", "", "");
    EXPECT_EQ(join.line, "JOIN\r\n");
    EXPECT_EQ(join.penalty, 2);
    EXPECT_TRUE(join.built);
    EXPECT_EQ(Built("JOIN", "", "key").line, "JOIN key\r\n");
    EXPECT_EQ(Built("PRIVMSG", "#c", ":hi there").line, "PRIVMSG #c :hi there\r\n");

    // 99 bytes with CR LF weighs 2, 100 weighs 3
    EXPECT_EQ(Built("PRIVMSG", "#c", ":" + CStringA('x', 85)).penalty, 2);
    EXPECT_EQ(Built("PRIVMSG", "#c", ":" + CStringA('x', 86)).penalty, 3);
    EXPECT_EQ(Built("notice", "#c", ":" + CStringA('x', 186)).penalty, 3);
    EXPECT_EQ(Built("notice", "#c", ":" + CStringA('x', 187)).penalty, 4);
    EXPECT_EQ(Built("TOPIC", "#c", ":" + CStringA('x', 400)).penalty, 2);

    TIRCSendMessage heavy;
    heavy.command = "KICK";
    heavy.penalty = 25;
    heavy.Build();
    EXPECT_EQ(heavy.penalty, 10);
}

TEST(SendBuild, OverlongLineIsCutTo510Bytes)
{
    CStringA text = ":" + CStringA('x', 600 - 11);
    TIRCSendMessage msg = Built("PRIVMSG", "#c", text);
    EXPECT_EQ(msg.line.GetLength(), 512);
    EXPECT_EQ(msg.line, ("PRIVMSG #c " + text).Left(510) + "\r\n");
    EXPECT_EQ(msg.penalty, 7);

    CStringA line = msg.line;
    msg.Build();
    EXPECT_EQ(msg.line, line);
    EXPECT_EQ(msg.penalty, 7);
}

TEST(SendBuild, LineBreaksAndNulsEndAParameter)
{
    EXPECT_EQ(Built("PRIVMSG", "#c", ":hi\r\nQUIT :bye").line, "PRIVMSG #c :hi\r\n");
    EXPECT_EQ(Built("PRIVMSG", "#c\nx", ":a\rb").line, "PRIVMSG #c :a\r\n");
    EXPECT_EQ(Built("TOPIC", "#c", CStringA(":a\0\nKILL", 8)).line, "TOPIC #c :a\r\n");
    EXPECT_EQ(Built("MODE", "\r\n", "+i").line, "MODE +i\r\n");
    EXPECT_EQ(Built("NICK\r\nQUIT", "x", "").line, "NICK x\r\n");
}

TEST(SendBuild, Utf8CutKeepsWholeCharacters)
{
    // "PRIVMSG #c :" is 12 bytes; three-byte characters then straddle byte 510.
    CStringA text = ":" + ConvertToUtf8(CString(L'\u3042', 200));
    TIRCSendMessage msg = Built("PRIVMSG", "#c", text, CP_UTF8);
    CStringA line = msg.line.Left(msg.line.GetLength() - 2);
    EXPECT_EQ(line.GetLength(), 12 + 166 * 3);
    EXPECT_EQ(ConvertToUtf8(ConvertFromUtf8(line)), line);

    // without the code page the cut stays at the byte limit
    EXPECT_EQ(Built("PRIVMSG", "#c", text).line.GetLength(), 512);
}

TEST(SendBuild, ShiftJisCutKeepsWholeCharacters)
{
    // "TOPIC #c :x" is 11 bytes, so the double-byte characters straddle byte 510.
    CStringA text = ":x" + ConvertToShiftJis(CString(L'\u3042', 300));
    TIRCSendMessage msg = Built("TOPIC", "#c", text, CP_SHIFT_JIS);
    EXPECT_EQ(msg.line.GetLength(), 509 + 2);
    EXPECT_EQ(msg.line.Left(509), ("TOPIC #c " + text).Left(509));
}

TEST(SendBuild, Iso2022JpCutReturnsToAscii)
{
    const char* kanji = "\x1b$B";
    const char* ascii = "\x1b(B";
    CStringA text = CStringA(":") + kanji;
    for (int i = 0; i < 300; i++)
        text += "$\"";
    text += ascii;
    TIRCSendMessage msg = Built("PRIVMSG", "#c", text, 50221);
    EXPECT_LE(msg.line.GetLength(), 512);
    CStringA line = msg.line.Left(msg.line.GetLength() - 2);
    ASSERT_GE(line.GetLength(), 3);
    EXPECT_EQ(line.Right(3), ascii);
    int pairs = line.GetLength() - 12 - 3 - 3;
    EXPECT_EQ(pairs % 2, 0);
    EXPECT_EQ(line.GetLength(), 510); // 12 + ESC $ B + 246 pairs + ESC ( B

    // a cut in the ASCII stretch after the kanji needs no extra return
    CStringA mixed = CStringA(":") + kanji + "$\"" + ascii + CStringA('a', 600);
    TIRCSendMessage plain = Built("PRIVMSG", "#c", mixed, 50221);
    EXPECT_EQ(plain.line.GetLength(), 512);
    EXPECT_EQ(plain.line.Left(510), ("PRIVMSG #c " + mixed).Left(510));
}
