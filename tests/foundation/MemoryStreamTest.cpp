#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

void Put(TMemoryStream& s, const char* bytes, int n) { ASSERT_EQ(s.Write(bytes, n), n); }

} // namespace

TEST(MemoryStream, GrowsByWholePages)
{
    TMemoryStream s;
    EXPECT_EQ(s.GetCapacity(), 0);
    Put(s, "x", 1);
    EXPECT_EQ(s.GetCapacity(), 4096);
    char block[4095] = {};
    Put(s, block, 4095);
    EXPECT_EQ(s.GetCapacity(), 4096);
    Put(s, "y", 1);
    EXPECT_EQ(s.GetCapacity(), 8192);
    EXPECT_EQ(s.GetSize(), 4097);
    EXPECT_TRUE(s.Reserve(100)); // never shrinks
    EXPECT_EQ(s.GetCapacity(), 8192);
    EXPECT_EQ(s.Write("z", 0), 0);
    EXPECT_EQ(s.Write("z", -5), 0);
    EXPECT_EQ(s.GetSize(), 4097);
}

TEST(MemoryStream, ReserveZeroReleasesEverything)
{
    TMemoryStream s;
    Put(s, "data", 4);
    EXPECT_TRUE(s.Reserve(0));
    EXPECT_EQ(s.GetCapacity(), 0);
    EXPECT_EQ(s.GetSize(), 0);
}

TEST(MemoryStream, RefusesSizesThatWouldWrap)
{
    TMemoryStream s;
    Put(s, "abc", 3);
    EXPECT_FALSE(s.Reserve(INT_MAX));
    EXPECT_EQ(s.GetCapacity(), 4096);
    // A count that overflows size + count appends only what fits.
    char fill[4093] = {};
    Put(s, fill, 4093);
    EXPECT_EQ(s.Write(fill, INT_MAX), 0);
    EXPECT_EQ(s.GetSize(), 4096);
}

TEST(MemoryStream, PeekAndDiscardFromTheFront)
{
    TMemoryStream s;
    Put(s, "abcdef", 6);
    char out[8] = {};
    EXPECT_EQ(s.Peek(out, 4), 4);
    EXPECT_EQ(memcmp(out, "abcd", 4), 0);
    EXPECT_EQ(s.GetSize(), 6);
    s.Discard(2);
    EXPECT_EQ(s.Peek(out, 8), 4);
    EXPECT_EQ(memcmp(out, "cdef", 4), 0);
    s.Discard(100);
    EXPECT_EQ(s.GetSize(), 0);
    EXPECT_EQ(s.Peek(out, 8), 0);
    s.Discard(-1);
    EXPECT_EQ(s.GetSize(), 0);
}

TEST(MemoryStreamReadLine, TakesLinesWithoutTheirEnds)
{
    TMemoryStream s;
    Put(s, "abc\r\ndef", 8);
    EXPECT_EQ(s.ReadLine(), "abc");
    EXPECT_EQ(s.GetSize(), 3);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.GetSize(), 3); // an incomplete line stays buffered
    Put(s, "\n\r\n\n", 4);
    EXPECT_EQ(s.ReadLine(), "def");
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.GetSize(), 1);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.GetSize(), 0);
    EXPECT_EQ(s.ReadLine(), "");
}

TEST(MemoryStreamReadLine, LoneCrIsNotALineEnd)
{
    TMemoryStream s;
    Put(s, "abc\r", 4);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.GetSize(), 4);
    Put(s, "x\n", 2);
    EXPECT_EQ(s.ReadLine(), "abc\rx");
}

TEST(MemoryStreamReadLine, NulBytesBecomeBlanks)
{
    TMemoryStream s;
    Put(s, "a\0b\nc\0", 6);
    EXPECT_EQ(s.ReadLine(), "a b");
    EXPECT_EQ(s.GetSize(), 2);
    EXPECT_EQ(s.GetData()[1], ' '); // also in what stays buffered
}

TEST(MemoryStreamReadLine, ManyLinesAcrossPages)
{
    TMemoryStream s;
    CStringA expected[500];
    for (int i = 0; i < 500; i++) {
        expected[i].Format("PRIVMSG #c :line %d with some padding text", i);
        CStringA wire = expected[i] + "\r\n";
        Put(s, wire, wire.GetLength());
    }
    for (int i = 0; i < 500; i++)
        ASSERT_EQ(s.ReadLine(), expected[i]);
    EXPECT_EQ(s.GetSize(), 0);
}

// Random chunks in, lines and discards out, checked against a plain string model of the queue.
TEST(MemoryStreamReadLine, InterleavedWritesAndTakesMatchAPlainQueue)
{
    TMemoryStream s;
    std::string model;
    unsigned seed = 12345;
    auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    const char alphabet[] = "ab\r\n\0 x";
    for (int round = 0; round < 3000; round++) {
        std::string chunk;
        for (unsigned n = next(300); n > 0; n--)
            chunk += alphabet[next(sizeof alphabet - 1)];
        Put(s, chunk.data(), (int)chunk.size());
        model += chunk;
        for (unsigned takes = next(6); takes > 0; takes--) {
            if (next(8) == 0) {
                int n = (int)next(50);
                s.Discard(n);
                model.erase(0, n);
                continue;
            }
            size_t lf = model.find('\n');
            CStringA line = s.ReadLine();
            if (lf == std::string::npos) {
                ASSERT_EQ(line, "");
                for (char& c : model)
                    c = c ? c : ' ';
                continue;
            }
            std::string expected = model.substr(0, lf);
            for (char& c : expected)
                c = c ? c : ' ';
            if (!expected.empty() && expected.back() == '\r')
                expected.pop_back();
            ASSERT_EQ(std::string(line.GetString(), line.GetLength()), expected) << "round " << round;
            model.erase(0, lf + 1);
        }
        ASSERT_EQ(s.GetSize(), (int)model.size());
        ASSERT_EQ(s.HasLineEnd(), model.find('\n') != std::string::npos);
    }
    // The block stays near what is buffered, however long the stream ran.
    EXPECT_LE(s.GetCapacity(), 2 * (s.GetSize() + 4096) + 4096);
}

TEST(MemoryStream, UnreadPutsBytesBackInFront)
{
    TMemoryStream s;
    Put(s, "line two\n", 9);
    ASSERT_TRUE(s.Unread("one\n", 4));
    EXPECT_EQ(s.ReadLine(), "one");
    s.Discard(5);
    ASSERT_TRUE(s.Unread("ONE ", 4)); // into the room the discard left
    EXPECT_EQ(s.ReadLine(), "ONE two");
    EXPECT_EQ(s.GetSize(), 0);
    // NULs put back become blanks like any others, also behind bytes already looked at.
    Put(s, "x\0y", 3);
    EXPECT_EQ(s.ReadLine(), "");
    ASSERT_TRUE(s.Unread("a\0b", 3));
    Put(s, "\0\n", 2);
    EXPECT_EQ(s.ReadLine(), "a bx y ");
    EXPECT_TRUE(s.Unread("", 0));
}

TEST(MemoryStream, ManyPiecesPutBackKeepTheirOrder)
{
    TMemoryStream s;
    Put(s, "end\n", 4);
    std::string expected = "end";
    for (int i = 0; i < 20000; i++) {
        char piece[2] = {(char)('a' + i % 26), (char)('A' + i % 26)};
        ASSERT_TRUE(s.Unread(piece, 2));
        expected.insert(0, piece, 2);
    }
    CStringA line = s.ReadLine();
    EXPECT_TRUE(std::string(line.GetString(), line.GetLength()) == expected);
    EXPECT_LE(s.GetCapacity(), 4 * 40004 + 4096);
}
