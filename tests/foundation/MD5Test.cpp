#include "foundation/MD5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct TRfcVector {
    const char* input;
    const char* digest;
};

// The test suite of RFC 1321.
const TRfcVector RFC_1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

CStringA HashOf(const std::string& data)
{
    TMD5 md5;
    md5.Update(data.data(), data.size());
    return md5.GetHexDigest();
}

} // namespace

TEST(MD5, Rfc1321TestSuite)
{
    for (const TRfcVector& v : RFC_1321)
        EXPECT_EQ(HashOf(v.input), v.digest) << v.input;
}

TEST(MD5, InputFedInPiecesGivesTheSameDigest)
{
    std::string data;
    for (int i = 0; i < 1000; i++)
        data += static_cast<char>(i * 7 + i / 13);
    CStringA whole = HashOf(data);
    for (size_t piece : {1u, 63u, 64u, 65u, 7u, 128u}) {
        TMD5 md5;
        for (size_t at = 0; at < data.size(); at += piece)
            md5.Update(data.data() + at, std::min(piece, data.size() - at));
        EXPECT_EQ(md5.GetHexDigest(), whole) << piece;
    }
    // The longest RFC 1321 vector fed unevenly.
    const char* digits = RFC_1321[6].input;
    TMD5 md5;
    md5.Update(digits, 3);
    md5.Update(digits + 3, 0);
    md5.Update(digits + 3, 60);
    md5.Update(digits + 63, strlen(digits) - 63);
    EXPECT_EQ(md5.GetHexDigest(), RFC_1321[6].digest);
}

TEST(MD5, PaddingAtTheBlockEdges)
{
    // 55 bytes pad in one block, 56 and 64 need a second one.
    EXPECT_EQ(HashOf(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(HashOf(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(HashOf(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(HashOf(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(MD5, DigestStartsTheHashOver)
{
    TMD5 md5;
    md5.Update("abc", 3);
    char hex[33];
    md5.FinalizeToHex(hex);
    EXPECT_STREQ(hex, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5.GetHexDigest(), "d41d8cd98f00b204e9800998ecf8427e");
    md5.Update("a", 1);
    unsigned char digest[16];
    md5.Finalize(digest); // leaves the running state as it was
    EXPECT_EQ(digest[0], 0x0c);
    md5.Update("bc", 2);
    EXPECT_EQ(md5.GetHexDigest(), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5.GetDigestSize(), 16);
    EXPECT_EQ(md5.GetBlockSize(), 64);
}
