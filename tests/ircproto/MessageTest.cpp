#include "foundation/CodePage.h"
#include "ircproto/ReceiveMessage.h"
#include "ircproto/SendMessage.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace {

TIRCReceiveMessageA ParseLine(const CStringA& line)
{
    TIRCReceiveMessageA msg;
    msg.rawLine = line;
    msg.Parse();
    return msg;
}

// prefix|nick|user|host|COMMAND|numeric then each parameter in [ ].
CStringA Describe(const CStringA& line)
{
    TIRCReceiveMessageA msg = ParseLine(line);
    CStringA text = msg.prefix + "|" + msg.nick + "|" + msg.user + "|" + msg.host + "|" + msg.command;
    text.AppendFormat("|%d", msg.numeric);
    for (const CStringA& param : msg.params)
        text += "[" + param + "]";
    return text;
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

std::mt19937 rng;

int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

// Random bytes, weighted toward those the parser and builder treat specially; excluded bytes
// are redrawn ('\n' in the list excludes NUL as well).
CStringA Bytes(int maxLength, const char* excluded = "")
{
    static const char kSpecial[] = {' ', ' ', ':', '!', '@', '\r', '\n', '\0', '\x1b'};
    CStringA text;
    for (int i = 0, len = Below(maxLength + 1); i < len; i++) {
        char c;
        do
            c = Below(3) == 0 ? kSpecial[Below(sizeof kSpecial)] : (char)Below(256);
        while ((c && strchr(excluded, c)) || (!c && strchr(excluded, '\n')));
        text.Append(&c, 1);
    }
    return text;
}

} // namespace

TEST(ReceiveParse, LinesSplitIntoFields)
{
    const char* cases[][2] = {
        {":srv PING", "srv|srv|||PING|0"},
        {":n!u@h PRIVMSG #c :hello,  world ", "n!u@h|n|u|h|PRIVMSG|0[#c][hello,  world ]"},
        {":n!u PRIVMSG #c :x", "n!u|n|||PRIVMSG|0[#c][x]"},
        {"privmsg #c :x", "||||PRIVMSG|0[#c][x]"},
        {":srv 001 me :Hi", "srv|srv|||001|1[me][Hi]"},
        {"433abc x", "||||433abc|433[x]"},
        {"PRIVMSG #c :", "||||PRIVMSG|0[#c][]"},
        {"PRIVMSG #c", "||||PRIVMSG|0[#c]"},
        {"MODE  #c   +o  a    b   ", "||||MODE|0[#c][+o][a][b]"},
        {"X a:b\tc :d :e", "||||X|0[a:b\tc][d :e]"},
        // bad input from a server
        {"", "|||||0"},
        {"     ", "|||||0"},
        {":srv   ", "srv|srv||||0"},
        {": PING", "||||PING|0"},
        {":a!!b@@c@d!e KICK", "a!!b@@c@d!e|a|!b|@c@d!e|KICK|0"},
        {":only trailing", "only|only|||TRAILING|0"},
        {"::x y", ":x|:x|||Y|0"},
        {"NOTICE :", "||||NOTICE|0[]"},
        {"2147483648 x", "||||2147483648|2147483647[x]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(c[0]), c[1]) << c[0];
    EXPECT_EQ(ParseLine(CStringA('9', 400)).numeric, INT_MAX);
}

TEST(ReceiveParse, HostileLines)
{
    EXPECT_EQ(Describe(CStringA("PRIVMSG #c\0d :a\0b", 17)), CStringA("||||PRIVMSG|0[#c\0d][a\0b]", 24));

    CStringA line("MODE");
    for (int i = 0; i < 700; i++)
        line.AppendFormat(" p%d", i);
    TIRCReceiveMessageA many = ParseLine(line);
    ASSERT_EQ(many.params.size(), 700u);
    EXPECT_EQ(many.params[699], "p699");

    CStringA big = ":" + CStringA('n', 8192) + " PRIVMSG " + CStringA('#', 8192) + " :" + CStringA('x', 8192);
    TIRCReceiveMessageA longOne = ParseLine(big);
    EXPECT_EQ(longOne.nick.GetLength(), 8192);
    ASSERT_EQ(longOne.params.size(), 2u);
    EXPECT_EQ(longOne.params[1].GetLength(), 8192);

    TIRCReceiveMessageA reused = ParseLine(":n!u@h 005 a b :c");
    reused.rawLine = "PING";
    reused.Parse();
    EXPECT_EQ(reused.prefix + reused.nick + reused.user + reused.host, "");
    EXPECT_TRUE(reused.numeric == 0 && reused.params.empty());
}

TEST(ReceiveMessage, ParamAccessOutOfRangeIsEmpty)
{
    TIRCReceiveMessage msg;
    EXPECT_EQ(msg.GetParamsFrom(0), L"");
    msg.params = {L"me", L"a", L"b c"};
    EXPECT_EQ(msg.GetParam(-1) + msg.GetParam(3) + msg.GetParam(INT_MAX), L"");
    EXPECT_EQ(msg.GetParam(2), L"b c");
    EXPECT_EQ(msg.GetParamsFrom(1), L"a b c");
    EXPECT_EQ(msg.GetParamsFrom(3) + msg.GetParamsFrom(INT_MAX), L"");
}

TEST(SendBuild, LineLayoutAndPenalty)
{
    EXPECT_EQ(Built("JOIN", "", "").line, "JOIN\r\n");
    EXPECT_EQ(Built("JOIN", "", "").penalty, 2);
    EXPECT_EQ(Built("JOIN", "", "key").line, "JOIN key\r\n");
    EXPECT_EQ(Built("PRIVMSG", "#c", ":hi there").line, "PRIVMSG #c :hi there\r\n");
    // 99 bytes with CR LF weigh 2, 100 weigh 3; only PRIVMSG and NOTICE grow
    EXPECT_EQ(Built("PRIVMSG", "#c", ":" + CStringA('x', 85)).penalty, 2);
    EXPECT_EQ(Built("PRIVMSG", "#c", ":" + CStringA('x', 86)).penalty, 3);
    EXPECT_EQ(Built("notice", "#c", ":" + CStringA('x', 187)).penalty, 4);
    EXPECT_EQ(Built("TOPIC", "#c", ":" + CStringA('x', 400)).penalty, 2);

    TIRCSendMessage msg = Built("PRIVMSG", "#c", ":" + CStringA('x', 589));
    EXPECT_EQ(msg.line, "PRIVMSG #c :" + CStringA('x', 498) + "\r\n");
    EXPECT_EQ(msg.penalty, 7);
    msg.Build();
    EXPECT_EQ(msg.line.GetLength(), 512);
    EXPECT_EQ(msg.penalty, 7);
    msg = TIRCSendMessage();
    msg.penalty = 25;
    msg.Build();
    EXPECT_EQ(msg.penalty, 10);
}

TEST(SendBuild, LineBreaksAndNulsEndAParameter)
{
    EXPECT_EQ(Built("PRIVMSG", "#c", ":hi\r\nQUIT :bye").line, "PRIVMSG #c :hi\r\n");
    EXPECT_EQ(Built("PRIVMSG", "#c\nx", ":a\rb").line, "PRIVMSG #c :a\r\n");
    EXPECT_EQ(Built("TOPIC", "#c", CStringA(":a\0\nKILL", 8)).line, "TOPIC #c :a\r\n");
    EXPECT_EQ(Built("MODE", "\r\n", "+i").line, "MODE +i\r\n");
    EXPECT_EQ(Built("NICK\r\nQUIT", "x", "").line, "NICK x\r\n");
    // Blanks, colons and TABs are text, not ends.
    EXPECT_EQ(Built("PRIVMSG", "#c", ":a b\t:c ").line, "PRIVMSG #c :a b\t:c \r\n");
}

TEST(SendBuild, EncodedTextIsCutBetweenCharacters)
{
    // "PRIVMSG #ch :" is 13 bytes; the 166th three-byte character spans bytes 508 to 510.
    CStringA utf8 = ":" + ConvertToUtf8(CString(L'\u3042', 200));
    CStringA line = Built("PRIVMSG", "#ch", utf8, CP_UTF8).line;
    EXPECT_EQ(line, ("PRIVMSG #ch " + utf8).Left(13 + 165 * 3) + "\r\n");
    EXPECT_EQ(Built("PRIVMSG", "#ch", utf8).line.GetLength(), 512); // code page unknown: byte cut

    // "TOPIC #c :x" is 11 bytes, so a double-byte character spans bytes 509 and 510.
    CStringA sjis = ":x" + ConvertToShiftJis(CString(L'\u3042', 300));
    EXPECT_EQ(Built("TOPIC", "#c", sjis, CP_SHIFT_JIS).line, ("TOPIC #c " + sjis).Left(509) + "\r\n");

    // ISO-2022-JP: the cut falls between pairs and the line returns to ASCII within 510 bytes.
    CStringA jis = ":\x1b$B";
    for (int i = 0; i < 300; i++)
        jis += "$\"";
    line = Built("PRIVMSG", "#c", jis + "\x1b(B", CP_ISO2022JP).line;
    EXPECT_EQ(line, ("PRIVMSG #c " + jis).Left(12 + 3 + 246 * 2) + "\x1b(B\r\n");
    CStringA mixed = ":\x1b$B$\"\x1b(B" + CStringA('a', 600);
    EXPECT_EQ(Built("PRIVMSG", "#c", mixed, CP_ISO2022JP).line, ("PRIVMSG #c " + mixed).Left(510) + "\r\n");
}

TEST(MessageFuzz, ParsingArbitraryBytesIsStable)
{
    rng.seed(1207);
    for (int round = 0; round < 5000; round++) {
        TIRCReceiveMessageA msg = ParseLine(Bytes(round % 50 == 0 ? 9000 : 300));
        ASSERT_GE(msg.numeric, 0);
        if (msg.command.IsEmpty()) {
            ASSERT_TRUE(msg.params.empty());
            continue;
        }
        // written back with the last parameter as a trailing one, it parses the same
        CStringA line = ":" + msg.prefix + " " + msg.command;
        for (size_t i = 0; i < msg.params.size(); i++) {
            ASSERT_TRUE(i + 1 == msg.params.size() || (msg.params[i].Find(' ') < 0 && msg.params[i][0] != ':'));
            line += (i + 1 == msg.params.size() ? " :" : " ") + msg.params[i];
        }
        TIRCReceiveMessageA again = ParseLine(line);
        ASSERT_EQ(again.prefix + "|" + again.nick + "|" + again.user + "|" + again.host + "|" + again.command,
                  msg.prefix + "|" + msg.nick + "|" + msg.user + "|" + msg.host + "|" + msg.command);
        ASSERT_EQ(again.numeric, msg.numeric);
        ASSERT_EQ(again.params, msg.params);
    }
}

TEST(MessageFuzz, BuiltLinesAreOneBoundedLine)
{
    rng.seed(7);
    const UINT codePages[] = {0, CP_UTF8, CP_SHIFT_JIS, CP_ISO2022JP, 1252};
    for (int round = 0; round < 5000; round++) {
        TIRCSendMessage msg;
        msg.command = Bytes(12);
        msg.firstParam = Bytes(round % 10 == 0 ? 700 : 60);
        msg.secondParam = Bytes(round % 3 == 0 ? 900 : 200);
        msg.codePage = codePages[Below(5)];
        msg.penalty = Below(12);
        msg.Build();
        CStringA body = msg.line.Left(msg.line.GetLength() - 2);
        ASSERT_EQ(msg.line.Right(2), "\r\n");
        ASSERT_LE(body.GetLength(), 510);
        ASSERT_LT(body.FindOneOf("\r\n"), 0);
        ASSERT_LT(body.Find('\0'), 0);
        ASSERT_LE(msg.penalty, 10);
    }
}

TEST(MessageFuzz, ParseOfBuildGivesTheMessageBack)
{
    rng.seed(42);
    int wholeLines = 0;
    for (int round = 0; round < 5000; round++) {
        TIRCSendMessage msg;
        if (Below(4) == 0)
            msg.command.Format("%03d", Below(1000));
        else
            for (int i = 0, n = 1 + Below(9); i < n; i++)
                msg.command += (char)((Below(2) ? 'A' : 'a') + Below(26));
        std::vector<CStringA> params;
        for (int i = 0, n = Below(6); i < n; i++)
            params.push_back("w" + Bytes(20, " \r\n"));
        bool trailing = Below(3) != 0;
        if (trailing)
            params.push_back(Bytes(500, "\r\n"));
        for (size_t i = 0; i < params.size(); i++) {
            CStringA& target = i == 0 && !(trailing && params.size() == 1) ? msg.firstParam : msg.secondParam;
            if (!target.IsEmpty())
                target += ' ';
            target += (trailing && i + 1 == params.size() ? ":" : "") + params[i];
        }
        msg.Build();

        TIRCReceiveMessageA parsed = ParseLine(msg.line.Left(msg.line.GetLength() - 2));
        CStringA upper(msg.command);
        ASSERT_EQ(parsed.command, upper.MakeUpper());
        ASSERT_EQ(parsed.numeric, msg.command[0] <= '9' ? atoi(msg.command) : 0);
        if (msg.line.GetLength() < 512) {
            wholeLines++;
            ASSERT_EQ(parsed.params, params);
            continue;
        }
        // a cut line only shortens the last parameter that reached it
        ASSERT_LE(parsed.params.size(), params.size());
        for (size_t i = 0; i < parsed.params.size(); i++)
            ASSERT_EQ(params[i].Left(parsed.params[i].GetLength()), parsed.params[i]);
    }
    EXPECT_GT(wholeLines, 3000);
}
