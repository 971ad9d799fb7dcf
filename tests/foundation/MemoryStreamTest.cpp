#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

void Put(TMemoryStream& s, const char* bytes, int n) { ASSERT_EQ(s.Write(bytes, n), n); }

} // namespace

TEST(MemoryStream, GrowsByWholePages)
{
    TMemoryStream s;
    EXPECT_EQ(s.capacity, 0);
    Put(s, "x", 1);
    EXPECT_EQ(s.capacity, 4096);
    char block[4095] = {};
    Put(s, block, 4095);
    EXPECT_EQ(s.capacity, 4096);
    Put(s, "y", 1);
    EXPECT_EQ(s.capacity, 8192);
    EXPECT_EQ(s.size, 4097);
    EXPECT_TRUE(s.Reserve(100)); // never shrinks
    EXPECT_EQ(s.capacity, 8192);
    EXPECT_EQ(s.Write("z", 0), 0);
    EXPECT_EQ(s.Write("z", -5), 0);
    EXPECT_EQ(s.size, 4097);
}

TEST(MemoryStream, ReserveZeroReleasesEverything)
{
    TMemoryStream s;
    Put(s, "data", 4);
    EXPECT_TRUE(s.Reserve(0));
    EXPECT_EQ(s.buffer, nullptr);
    EXPECT_EQ(s.size, 0);
    EXPECT_EQ(s.capacity, 0);
}

TEST(MemoryStream, RefusesSizesThatWouldWrap)
{
    TMemoryStream s;
    Put(s, "abc", 3);
    EXPECT_FALSE(s.Reserve(INT_MAX));
    EXPECT_EQ(s.capacity, 4096);
    // A count that overflows size + count appends only what fits.
    char fill[4093] = {};
    Put(s, fill, 4093);
    EXPECT_EQ(s.Write(fill, INT_MAX), 0);
    EXPECT_EQ(s.size, 4096);
}

TEST(MemoryStream, PeekAndDiscardFromTheFront)
{
    TMemoryStream s;
    Put(s, "abcdef", 6);
    char out[8] = {};
    EXPECT_EQ(s.Peek(out, 4), 4);
    EXPECT_EQ(memcmp(out, "abcd", 4), 0);
    EXPECT_EQ(s.size, 6);
    s.Discard(2);
    EXPECT_EQ(s.Peek(out, 8), 4);
    EXPECT_EQ(memcmp(out, "cdef", 4), 0);
    s.Discard(100);
    EXPECT_EQ(s.size, 0);
    EXPECT_EQ(s.Peek(out, 8), 0);
    s.Discard(-1);
    EXPECT_EQ(s.size, 0);
}

TEST(MemoryStreamReadLine, TakesLinesWithoutTheirEnds)
{
    TMemoryStream s;
    Put(s, "abc\r\ndef", 8);
    EXPECT_EQ(s.ReadLine(), "abc");
    EXPECT_EQ(s.size, 3);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.size, 3); // an incomplete line stays buffered
    Put(s, "\n\r\n\n", 4);
    EXPECT_EQ(s.ReadLine(), "def");
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.size, 1);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.size, 0);
    EXPECT_EQ(s.ReadLine(), "");
}

TEST(MemoryStreamReadLine, LoneCrIsNotALineEnd)
{
    TMemoryStream s;
    Put(s, "abc\r", 4);
    EXPECT_EQ(s.ReadLine(), "");
    EXPECT_EQ(s.size, 4);
    Put(s, "x\n", 2);
    EXPECT_EQ(s.ReadLine(), "abc\rx");
}

TEST(MemoryStreamReadLine, NulBytesBecomeBlanks)
{
    TMemoryStream s;
    Put(s, "a\0b\nc\0", 6);
    EXPECT_EQ(s.ReadLine(), "a b");
    EXPECT_EQ(s.size, 2);
    EXPECT_EQ(s.buffer[1], ' '); // also in what stays buffered
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
    EXPECT_EQ(s.size, 0);
}
