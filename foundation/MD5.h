#pragma once
// Hashing: the base buffers input into blocks and writes hex digests; TMD5 is the algorithm.

#include "classlib/String.h"

#include <cstddef>
#include <cstdint>

class THashAlgorithmBase {
public:
    static const int MAX_BLOCK_SIZE = 64;
    static const int MAX_DIGEST_SIZE = 64;

    THashAlgorithmBase() = default;
    virtual ~THashAlgorithmBase() = default;
    virtual int GetDigestSize() const = 0;
    virtual int GetBlockSize() const = 0;
    virtual void Initialize() = 0;
    // Runs the compression over the whole blocks of data; returns the bytes left over.
    virtual size_t TransformWithState(const unsigned char* data, uint32_t* state, size_t length) const = 0;
    virtual size_t Transform(const unsigned char* data, size_t length) = 0;
    // Writes the digest without changing the running state.
    virtual void Finalize(unsigned char* digest) const = 0;

    void Update(const void* data, size_t length);
    // hex needs room for 2 * GetDigestSize() + 1 characters; the hash starts over afterwards.
    void FinalizeToHex(char* hex);
    CStringA GetHexDigest();

protected:
    uint32_t buffered = 0;
    uint64_t total = 0;
    unsigned char block[MAX_BLOCK_SIZE] = {};
};

class TMD5 : public THashAlgorithmBase {
public:
    TMD5() { Initialize(); }
    int GetDigestSize() const override { return 16; }
    int GetBlockSize() const override { return 64; }
    void Initialize() override;
    size_t TransformWithState(const unsigned char* data, uint32_t* state, size_t length) const override;
    size_t Transform(const unsigned char* data, size_t length) override;
    void Finalize(unsigned char* digest) const override;

private:
    uint32_t state[4];
};
