#include "foundation/CodePage.h"
#include "ircproto/ReceiveMessage.h"
#include "ircproto/SendMessage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

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

TIRCReceiveMessageA ParseLine(const CStringA& line)
{
    TIRCReceiveMessageA msg;
    msg.rawLine = line;
    msg.Parse();
    return msg;
}

} // namespace

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
