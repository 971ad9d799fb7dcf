#include "foundation/BmpImage.h"
#include "foundation/Image.h"

#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const SIZE_T kMB = 1024 * 1024;

// Reserves every free stretch of the address space but one hole, so that an allocation larger than
// what is left there fails as it does when memory runs out. Released when it goes.
class TAddressSpaceSqueeze {
public:
    explicit TAddressSpaceSqueeze(SIZE_T hole)
    {
        reserved.reserve(1 << 16); // the list itself must not need memory once the space is taken
        void* kept = VirtualAlloc(nullptr, hole, MEM_RESERVE, PAGE_NOACCESS);
        for (SIZE_T chunk = (SIZE_T)1 << 30; chunk >= 64 * 1024; chunk /= 2)
            while (reserved.size() < reserved.capacity()) {
                void* p = VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS);
                if (!p)
                    break;
                reserved.push_back(p);
            }
        holeMade = kept && VirtualFree(kept, 0, MEM_RELEASE);
    }
    ~TAddressSpaceSqueeze()
    {
        for (void* p : reserved)
            VirtualFree(p, 0, MEM_RELEASE);
    }
    bool holeMade = false;

private:
    std::vector<void*> reserved;
};

// A run-length BMP whose codes end the picture at once, padded with zeros to the file size.
std::string RunLengthBmp(int bits, int width, int height, size_t fileSize)
{
    std::string bytes(fileSize, '\0');
    DWORD offset = 14 + 40 + (4u << bits);
    BITMAPFILEHEADER file = {0x4D42, (DWORD)fileSize, 0, 0, offset};
    BITMAPINFOHEADER info = {40, width, height, 1, (WORD)bits, (DWORD)(bits == 8 ? BI_RLE8 : BI_RLE4), 0, 0, 0, 0, 0};
    memcpy(&bytes[0], &file, sizeof file);
    memcpy(&bytes[14], &info, sizeof info);
    bytes[offset + 1] = 1; // 0 1: the end of the picture
    return bytes;
}

// A 64-bit address space is far too large to be filled this way.
#define SKIP_UNLESS_THE_ADDRESS_SPACE_CAN_BE_FILLED()                                                                  \
    if (sizeof(void*) > 4)                                                                                             \
    GTEST_SKIP() << "only a 32-bit address space is filled to a hole"

// What the step answers with only a hole of that size left in the address space.
bool WithOnlyAHoleOf(SIZE_T hole, const std::function<bool()>& step)
{
    TAddressSpaceSqueeze squeeze(hole);
    EXPECT_TRUE(squeeze.holeMade);
    return squeeze.holeMade && step();
}

} // namespace

// The picture's rows fit in memory but what decoding them needs on top does not: the load fails
// and the shown picture stays. 6 MB of rows, 12 MB of codes read whole.
TEST(ImageMemory, RunLengthBuffersThatCannotBeHadFailTheLoad)
{
    SKIP_UNLESS_THE_ADDRESS_SPACE_CAN_BE_FILLED();
    TTempFolder temp;
    CString path = temp.File(L"big.bmp");
    std::string bytes = RunLengthBmp(8, 6144, 1024, 14 * kMB);
    ASSERT_TRUE(WriteFileBytes(path, CStringA(bytes.data(), (int)bytes.size())));
    TImage image;
    ASSERT_TRUE(TImageLoader().LoadFromFile(path, image)) << "a picture the decoder takes";
    EXPECT_FALSE(WithOnlyAHoleOf(12 * kMB, [&] { return TImageLoader().LoadFromFile(path, image); }));
    EXPECT_EQ(image.GetWidth(), 6144);
}

// The four-bit decoder's row buffer, a byte a pixel of the row the header declares, is all it
// allocates: a row too wide for the memory left fails the decode, one that fits decodes.
TEST(ImageMemory, AFourBitRowBufferThatCannotBeHadFailsTheDecode)
{
    SKIP_UNLESS_THE_ADDRESS_SPACE_CAN_BE_FILLED();
    const int width = 12 * 1024 * 1024;
    std::vector<BYTE> rows(width / 2);
    const BYTE end[] = {0, 1};
    for (SIZE_T hole : {8 * kMB, 16 * kMB}) {
        bool decoded =
            WithOnlyAHoleOf(hole, [&] { return DecodeBmpRle4(end, sizeof end, rows.data(), width, 1, width / 2); });
        EXPECT_EQ(hole > (SIZE_T)width, decoded) << hole / kMB << " MB free";
    }
}
