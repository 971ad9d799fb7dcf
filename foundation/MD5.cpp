#include "foundation/MD5.h"

#include <cstring>

void THashAlgorithmBase::Update(const void* data, size_t length)
{
    size_t blockSize = static_cast<size_t>(GetBlockSize());
    if (length == 0 || blockSize == 0 || blockSize > MAX_BLOCK_SIZE)
        return;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    total += length;
    if (buffered > 0) {
        if (buffered + length < blockSize) {
            memcpy(block + buffered, p, length);
            buffered += static_cast<uint32_t>(length);
            return;
        }
        size_t fill = blockSize - buffered;
        memcpy(block + buffered, p, fill);
        Transform(block, blockSize);
        p += fill;
        length -= fill;
        buffered = 0;
        if (length == 0)
            return;
    }
    size_t left = Transform(p, length);
    memcpy(block, p + length - left, left);
    buffered = static_cast<uint32_t>(left);
}

void THashAlgorithmBase::FinalizeToHex(char* hex)
{
    static const char digits[] = "0123456789abcdef";
    unsigned char digest[MAX_DIGEST_SIZE];
    int size = GetDigestSize();
    if (size > MAX_DIGEST_SIZE)
        size = 0;
    if (size > 0)
        Finalize(digest);
    Initialize();
    for (int i = 0; i < size; i++) {
        *hex++ = digits[digest[i] >> 4];
        *hex++ = digits[digest[i] & 15];
    }
    *hex = 0;
}

CStringA THashAlgorithmBase::GetHexDigest()
{
    CStringA result;
    char* buffer = result.GetBuffer(1025);
    FinalizeToHex(buffer);
    result.ReleaseBuffer();
    return result;
}

namespace {

inline uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

uint32_t ReadLittleEndian(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteLittleEndian(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

const uint32_t SINES[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

const int SHIFTS[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

void CompressBlock(const unsigned char* data, uint32_t* state)
{
    uint32_t x[16];
    for (int i = 0; i < 16; i++)
        x[i] = ReadLittleEndian(data + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; i++) {
        int round = i / 16;
        uint32_t f;
        int k;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        uint32_t rotated = RotateLeft(a + f + SINES[i] + x[k], SHIFTS[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

void TMD5::Initialize()
{
    buffered = 0;
    total = 0;
    state[0] = 0x67452301;
    state[1] = 0xEFCDAB89;
    state[2] = 0x98BADCFE;
    state[3] = 0x10325476;
}

size_t TMD5::TransformWithState(const unsigned char* data, uint32_t* state, size_t length) const
{
    for (; length >= 64; length -= 64, data += 64)
        CompressBlock(data, state);
    return length;
}

size_t TMD5::Transform(const unsigned char* data, size_t length) { return TransformWithState(data, state, length); }

void TMD5::Finalize(unsigned char* digest) const
{
    uint32_t work[4] = {state[0], state[1], state[2], state[3]};
    unsigned char last[64] = {};
    memcpy(last, block, buffered);
    last[buffered] = 0x80;
    if (buffered >= 56) {
        TransformWithState(last, work, 64);
        memset(last, 0, 56);
    }
    uint64_t bits = total * 8;
    for (int i = 0; i < 8; i++)
        last[56 + i] = static_cast<unsigned char>(bits >> (8 * i));
    TransformWithState(last, work, 64);
    for (int i = 0; i < 4; i++)
        WriteLittleEndian(digest + 4 * i, work[i]);
}
