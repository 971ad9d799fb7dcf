#include "foundation/CodePage.h"
#include "irc/ReceiveMessage.h"
#include "irc/SendMessage.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class TByteSource {
  public:
    explicit TByteSource(unsigned seed) : m_rng(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    // Bytes weighted toward those the parser treats specially.
    CStringA Any(int maxLength)
    {
        static const char kSpecial[] = {' ', ' ', ' ', ':', '!', '@', '\r', '\n', '\0', '\t', '\x1b'};
        CStringA text;
        int len = Below(maxLength + 1);
        for (int i = 0; i < len; i++) {
            char c = Below(3) == 0 ? kSpecial[Below(sizeof kSpecial)] : (char)Below(256);
            text.Append(&c, 1);
        }
        return text;
    }

    // A word the builder and parser keep intact: no blank, line break or NUL, no leading ':'.
    CStringA Word(int maxLength)
    {
        CStringA word;
        int len = 1 + Below(maxLength);
        for (int i = 0; i < len; i++) {
            char c;
            do
                c = (char)Below(256);
            while (c == ' ' || c == '\r' || c == '\n' || c == '\0' || (i == 0 && c == ':'));
            word.Append(&c, 1);
        }
        return word;
    }

    CStringA Trailing(int maxLength)
    {
        CStringA text;
        int len = Below(maxLength + 1);
        for (int i = 0; i < len; i++) {
            char c;
            do
                c = Below(4) == 0 ? ' ' : (char)Below(256);
            while (c == '\r' || c == '\n' || c == '\0');
            text.Append(&c, 1);
        }
        return text;
    }

  private:
    std::mt19937 m_rng;
};

TIRCReceiveMessageA ParseLine(const CStringA& line)
{
    TIRCReceiveMessageA msg;
    msg.rawLine = line;
    msg.Parse();
    return msg;
}

// Writes a parsed message back as a line; the last parameter always goes as a trailing one.
CStringA Serialise(const TIRCReceiveMessageA& msg)
{
    CStringA line = ":" + msg.prefix + " " + msg.command;
    for (size_t i = 0; i < msg.params.size(); i++) {
        line += i + 1 == msg.params.size() ? " :" : " ";
        line += msg.params[i];
    }
    return line;
}

} // namespace

TEST(MessageFuzz, ParsingArbitraryBytesIsStable)
{
    TByteSource source(20261207);
    for (int round = 0; round < 5000; round++) {
        CStringA line = source.Any(round % 50 == 0 ? 9000 : 300);
        TIRCReceiveMessageA msg = ParseLine(line);
        ASSERT_GE(msg.numeric, 0);
        if (msg.command.IsEmpty()) {
            ASSERT_TRUE(msg.params.empty());
            continue;
        }
        for (size_t i = 0; i + 1 < msg.params.size(); i++) {
            ASSERT_FALSE(msg.params[i].IsEmpty());
            ASSERT_LT(msg.params[i].Find(' '), 0);
            ASSERT_NE(msg.params[i][0], ':');
        }
        TIRCReceiveMessageA again = ParseLine(Serialise(msg));
        ASSERT_EQ(again.prefix, msg.prefix);
        ASSERT_EQ(again.nick, msg.nick);
        ASSERT_EQ(again.user, msg.user);
        ASSERT_EQ(again.host, msg.host);
        ASSERT_EQ(again.command, msg.command);
        ASSERT_EQ(again.numeric, msg.numeric);
        ASSERT_EQ(again.params, msg.params);
    }
}

TEST(MessageFuzz, BuiltLinesAreOneBoundedLine)
{
    TByteSource source(7);
    const UINT codePages[] = {0, CP_UTF8, CP_SHIFT_JIS, CP_ISO2022JP, 1252};
    for (int round = 0; round < 5000; round++) {
        TIRCSendMessage msg;
        msg.command = source.Any(12);
        msg.firstParam = source.Any(round % 10 == 0 ? 700 : 60);
        msg.secondParam = source.Any(round % 3 == 0 ? 900 : 200);
        msg.codePage = codePages[source.Below(5)];
        msg.penalty = source.Below(12);
        msg.Build();
        const CStringA& line = msg.line;
        ASSERT_LE(line.GetLength(), 512);
        ASSERT_GE(line.GetLength(), 2);
        ASSERT_EQ(line.Right(2), "\r\n");
        CStringA body = line.Left(line.GetLength() - 2);
        ASSERT_LT(body.FindOneOf("\r\n"), 0);
        ASSERT_LT(body.Find('\0'), 0);
        ASSERT_LE(msg.penalty, 10);
        // whatever was sent parses without touching anything beyond the line
        ParseLine(body);
    }
}

TEST(MessageFuzz, ParseOfBuildGivesTheMessageBack)
{
    TByteSource source(42);
    int wholeLines = 0;
    for (int round = 0; round < 5000; round++) {
        CStringA command;
        if (source.Below(4) == 0) {
            command.Format("%03d", source.Below(1000));
        } else {
            for (int i = 0, n = 1 + source.Below(9); i < n; i++)
                command += (char)((source.Below(2) ? 'A' : 'a') + source.Below(26));
        }
        std::deque<CStringA> params;
        int middles = source.Below(6);
        for (int i = 0; i < middles; i++)
            params.push_back(source.Word(20));
        bool trailing = source.Below(3) != 0;
        if (trailing)
            params.push_back(source.Trailing(500));

        TIRCSendMessage msg;
        msg.command = command;
        size_t next = 0;
        if (middles > 0)
            msg.firstParam = params[next++];
        for (; next < params.size(); next++) {
            if (!msg.secondParam.IsEmpty())
                msg.secondParam += ' ';
            if (trailing && next + 1 == params.size())
                msg.secondParam += ':';
            msg.secondParam += params[next];
        }
        msg.Build();

        TIRCReceiveMessageA parsed = ParseLine(msg.line.Left(msg.line.GetLength() - 2));
        CStringA upper(command);
        upper.MakeUpper();
        ASSERT_EQ(parsed.command, upper);
        ASSERT_EQ(parsed.numeric, command[0] <= '9' ? atoi(command) : 0);
        ASSERT_EQ(parsed.prefix, "");
        if (msg.line.GetLength() < 512) {
            wholeLines++;
            ASSERT_EQ(parsed.params, params) << round;
        } else {
            // the cut only shortens the last parameter that reached the line
            ASSERT_LE(parsed.params.size(), params.size());
            for (size_t i = 0; i + 1 < parsed.params.size(); i++)
                ASSERT_EQ(parsed.params[i], params[i]);
            if (!parsed.params.empty()) {
                size_t last = parsed.params.size() - 1;
                ASSERT_EQ(params[last].Left(parsed.params[last].GetLength()), parsed.params[last]);
            }
        }
    }
    EXPECT_GT(wholeLines, 3000); // most generated messages fit and must come back whole
}

TEST(MessageFuzz, Utf8TextSurvivesTheCut)
{
    TByteSource source(99);
    for (int round = 0; round < 500; round++) {
        CString text;
        for (int i = 0, n = 100 + source.Below(400); i < n; i++) {
            const wchar_t pool[] = {L'a', L'\u00e9', L'\u3042', L'\u6f22', L' '};
            text += pool[source.Below(5)];
        }
        if (source.Below(4) == 0)
            text += L"\U0001F600";
        CStringA encoded = ConvertToUtf8(text);
        TIRCSendMessage msg;
        msg.command = "PRIVMSG";
        msg.firstParam = "#c";
        msg.secondParam = ":" + encoded;
        msg.codePage = CP_UTF8;
        msg.Build();
        CStringA full = "PRIVMSG #c :" + encoded;
        CStringA body = msg.line.Left(msg.line.GetLength() - 2);
        ASSERT_EQ(ConvertToUtf8(ConvertFromUtf8(body)), body);
        ASSERT_EQ(full.Left(body.GetLength()), body);
        if (full.GetLength() > 510)
            ASSERT_GE(body.GetLength(), 507); // at most a three-byte tail is given up
        else
            ASSERT_EQ(body, full);
    }
}
