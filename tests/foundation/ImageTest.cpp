#include "foundation/Image.h"
#include "foundation/BmpImage.h"

#include "tests/common/JpegEncoder.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Colours below are 0xRRGGBB.
const DWORD kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kGrey = 0x808080;

struct TBmpLayout {
    int width = 3;
    int height = 2; // negative: rows top-down
    int bits = 24;
    DWORD compression = BI_RGB;
    DWORD colorsUsed = 0;
    std::vector<DWORD> table; // 0x00RRGGBB entries, or the three masks
    std::string data;         // pixel bytes as stored
    DWORD headerSize = 40;
    bool pixelOffset = true; // false: the file header's pixel offset is 0
};

void Put32(std::string& out, DWORD value)
{
    for (int i = 0; i < 4; i++)
        out += (char)(value >> (8 * i));
}

void Put16(std::string& out, WORD value)
{
    out += (char)value;
    out += (char)(value >> 8);
}

std::string MakeBmp(const TBmpLayout& layout)
{
    std::string info;
    if (layout.headerSize == 12) {
        Put32(info, 12);
        Put16(info, (WORD)layout.width);
        Put16(info, (WORD)layout.height);
        Put16(info, 1);
        Put16(info, (WORD)layout.bits);
        for (DWORD entry : layout.table)
            info += std::string{(char)entry, (char)(entry >> 8), (char)(entry >> 16)};
    } else {
        Put32(info, layout.headerSize);
        Put32(info, (DWORD)layout.width);
        Put32(info, (DWORD)layout.height);
        Put16(info, 1);
        Put16(info, (WORD)layout.bits);
        Put32(info, layout.compression);
        Put32(info, (DWORD)layout.data.size());
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, layout.colorsUsed);
        Put32(info, 0);
        info.resize(layout.headerSize, '\0');
        for (DWORD entry : layout.table)
            Put32(info, entry);
    }
    std::string file = "BM";
    Put32(file, (DWORD)(14 + info.size() + layout.data.size()));
    Put32(file, 0);
    Put32(file, layout.pixelOffset ? (DWORD)(14 + info.size()) : 0);
    return file + info + layout.data;
}

// The picture's pixel at x, y counted from the top, as 0xRRGGBB.
DWORD PixelAt(const TImage& image, int x, int y)
{
    const BYTE* p = image.GetPixels() + (size_t)(image.GetHeight() - 1 - y) * GetImageStride(image.GetWidth()) + x * 3;
    return (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0];
}

std::vector<DWORD> AllPixels(const TImage& image)
{
    std::vector<DWORD> pixels;
    for (int y = 0; y < image.GetHeight(); y++)
        for (int x = 0; x < image.GetWidth(); x++)
            pixels.push_back(PixelAt(image, x, y));
    return pixels;
}

class ImageLoadTest : public ::testing::Test {
protected:
    bool LoadBmp(const TBmpLayout& layout) { return LoadBytes(MakeBmp(layout), L"pic.bmp"); }
    bool LoadBytes(const std::string& bytes, const wchar_t* name)
    {
        CString path = temp.File(name);
        EXPECT_TRUE(WriteFileBytes(path, CStringA(bytes.data(), (int)bytes.size())));
        return TImageLoader().LoadFromFile(path, image);
    }
    // The test picture: top row red, green, blue; bottom row white, grey, black.
    void ExpectTestPicture()
    {
        ASSERT_FALSE(image.IsEmpty());
        ASSERT_EQ(image.GetWidth(), 3);
        ASSERT_EQ(image.GetHeight(), 2);
        EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kRed, kGreen, kBlue, kWhite, kGrey, 0}));
    }

    TTempFolder temp;
    TImage image;
};

std::string Rows24(bool topDown)
{
    std::string top = std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00", 9) + std::string(3, '\0');
    std::string bottom = std::string("\xFF\xFF\xFF\x80\x80\x80\x00\x00\x00", 9) + std::string(3, '\0');
    return topDown ? top + bottom : bottom + top;
}

const std::vector<DWORD> kPalette = {0, kRed, kGreen, kBlue, kWhite, kGrey};

TEST_F(ImageLoadTest, TwentyFourBitsTopDownAndBottomUpGiveTheSamePicture)
{
    TBmpLayout layout;
    layout.data = Rows24(false);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();
    layout.height = -2;
    layout.data = Rows24(true);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();
    EXPECT_EQ(image.GetHeight(), 2);
}

TEST_F(ImageLoadTest, PalettePicturesOfOneFourAndEightBits)
{
    TBmpLayout layout;
    layout.bits = 8;
    layout.table = kPalette;
    layout.colorsUsed = (DWORD)kPalette.size();
    layout.data = std::string("\x04\x05\x00\x00\x01\x02\x03\x00", 8);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();

    layout.bits = 4;
    layout.data = std::string("\x45\x00\x00\x00\x12\x30\x00\x00", 8);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();

    layout.bits = 1;
    layout.table = {kGreen, kWhite};
    layout.data = std::string("\x40\x00\x00\x00\xA0\x00\x00\x00", 8); // 010 over 101
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kWhite, kGreen, kWhite, kGreen, kWhite, kGreen}));
}

TEST_F(ImageLoadTest, IndexesBeyondTheColoursUsedAreBlack)
{
    TBmpLayout layout;
    layout.bits = 8;
    layout.colorsUsed = 2;
    layout.table = {kRed, kGreen};
    layout.data = std::string("\x00\x01\x02\x00\x00\x01\x02\x00", 8);
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kRed, kGreen, 0, kRed, kGreen, 0}));
}

TEST_F(ImageLoadTest, SixteenBitsAreFiveFiveFiveWithoutMasksAndFiveSixFiveWithThem)
{
    TBmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bits = 16;
    std::string row;
    Put16(row, 0x7C00); // red at full scale
    Put16(row, 0x0210); // green 16 of 31, blue 16 of 31
    layout.data = row;
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(PixelAt(image, 0, 0), kRed);
    EXPECT_EQ(PixelAt(image, 1, 0), 0x008484u);

    layout.compression = BI_BITFIELDS;
    layout.table = {0xF800, 0x07E0, 0x001F};
    row.clear();
    Put16(row, 0xFFFF);
    Put16(row, 0x07E0);
    layout.data = row;
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(PixelAt(image, 0, 0), kWhite);
    EXPECT_EQ(PixelAt(image, 1, 0), kGreen);
}

TEST_F(ImageLoadTest, ThirtyTwoBitsWithDefaultAndOwnMasks)
{
    TBmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bits = 32;
    layout.data.clear();
    Put32(layout.data, 0xAA123456);
    Put32(layout.data, 0x00FF0000);
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(PixelAt(image, 0, 0), 0x123456u);
    EXPECT_EQ(PixelAt(image, 1, 0), kRed);

    layout.compression = BI_BITFIELDS;
    layout.table = {0x000000FF, 0x0000FF00, 0}; // red low, green, no blue channel
    layout.data.clear();
    Put32(layout.data, 0x00FFFF20);
    Put32(layout.data, 0x000000FF);
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(PixelAt(image, 0, 0), 0x20FF00u);
    EXPECT_EQ(PixelAt(image, 1, 0), kRed);
}

TEST_F(ImageLoadTest, RunLengthPicturesDecode)
{
    TBmpLayout layout;
    layout.bits = 8;
    layout.compression = BI_RLE8;
    layout.table = kPalette;
    layout.colorsUsed = (DWORD)kPalette.size();
    // Bottom row: literal 4 5 0 (padded); top row: run of one 1, literal... as runs 1x1 1x2 1x3.
    layout.data = std::string("\x00\x03\x04\x05\x00\x00\x00\x00"
                              "\x01\x01\x01\x02\x01\x03\x00\x01",
                              16);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();

    layout.bits = 4;
    layout.compression = BI_RLE4;
    // Bottom row: literal 4 5 0; top row: run 1 2 1 (alternating nibbles) then a jump.
    layout.data = std::string("\x00\x03\x45\x00\x00\x00"
                              "\x02\x12\x01\x30\x00\x01",
                              12);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();
}

TEST(BmpRleTest, CutCodesAndOverrunsFailWhileCleanEndsSucceed)
{
    std::vector<BYTE> rows(8);
    const BYTE cutLiteral[] = {0, 5, 1, 2};
    EXPECT_FALSE(DecodeBmpRle8(cutLiteral, sizeof cutLiteral, rows.data(), 4, 2, 4));
    const BYTE cutDelta[] = {0, 2, 1};
    EXPECT_FALSE(DecodeBmpRle8(cutDelta, sizeof cutDelta, rows.data(), 4, 2, 4));
    const BYTE longRun[] = {200, 7};
    EXPECT_FALSE(DecodeBmpRle8(longRun, sizeof longRun, rows.data(), 4, 2, 4));
    const BYTE deltaPastEnd[] = {0, 2, 0, 1, 0, 2, 0, 9, 3, 7};
    EXPECT_TRUE(DecodeBmpRle8(deltaPastEnd, sizeof deltaPastEnd, rows.data(), 4, 2, 4));
    const BYTE endsBetweenCodes[] = {2, 9};
    EXPECT_TRUE(DecodeBmpRle8(endsBetweenCodes, sizeof endsBetweenCodes, rows.data(), 4, 2, 4));
    EXPECT_EQ(rows[0], 9);
    EXPECT_EQ(rows[1], 9);
    std::vector<BYTE> nibbleRows(8);
    const BYTE longNibbleRun[] = {9, 0x11};
    EXPECT_FALSE(DecodeBmpRle4(longNibbleRun, sizeof longNibbleRun, nibbleRows.data(), 4, 2, 4));
    const BYTE shortNibbleRun[] = {8, 0x12};
    EXPECT_TRUE(DecodeBmpRle4(shortNibbleRun, sizeof shortNibbleRun, nibbleRows.data(), 4, 2, 4));
    EXPECT_EQ(nibbleRows[0], 0x12);
    EXPECT_EQ(nibbleRows[1], 0x12);
    EXPECT_EQ(nibbleRows[2], 0); // the rest of the run lies past the row's four pixels
}

TEST(BmpRleTest, EightBitRunsGoOnIntoTheNextRowUntilThePictureEnds)
{
    std::vector<BYTE> rows(8);
    const BYTE run[] = {6, 9};
    EXPECT_TRUE(DecodeBmpRle8(run, sizeof run, rows.data(), 4, 2, 4));
    EXPECT_EQ(rows, (std::vector<BYTE>{9, 9, 9, 9, 9, 9, 0, 0}));
    rows.assign(8, 0);
    const BYTE literal[] = {0, 2, 3, 0, 0, 5, 1, 2, 3, 4, 5, 0};
    EXPECT_TRUE(DecodeBmpRle8(literal, sizeof literal, rows.data(), 4, 2, 4));
    EXPECT_EQ(rows, (std::vector<BYTE>{0, 0, 0, 1, 2, 3, 4, 5}));
    const BYTE pastEnd[] = {0, 2, 3, 0, 6, 9};
    EXPECT_FALSE(DecodeBmpRle8(pastEnd, sizeof pastEnd, rows.data(), 4, 2, 4));
}

TEST(BmpRleTest, FourBitMovePastTheRowIsFineUntilAPixelLandsThere)
{
    std::vector<BYTE> rows(8);
    const BYTE moveThenNextRow[] = {0, 2, 20, 0, 0, 0, 2, 0x12, 0, 1};
    EXPECT_TRUE(DecodeBmpRle4(moveThenNextRow, sizeof moveThenNextRow, rows.data(), 4, 2, 4));
    EXPECT_EQ(rows, (std::vector<BYTE>{0, 0, 0, 0, 0x12, 0, 0, 0}));
    const BYTE moveThenRun[] = {0, 2, 20, 0, 2, 0x12};
    EXPECT_FALSE(DecodeBmpRle4(moveThenRun, sizeof moveThenRun, rows.data(), 4, 2, 4));
}

TEST_F(ImageLoadTest, CoreHeaderPicturesDecode)
{
    TBmpLayout layout;
    layout.headerSize = 12;
    layout.data = Rows24(false);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();
    layout.bits = 8;
    layout.table = kPalette;
    layout.table.resize(256);
    layout.data = std::string("\x04\x05\x00\x00\x01\x02\x03\x00", 8);
    ASSERT_TRUE(LoadBmp(layout));
    ExpectTestPicture();
}

TEST_F(ImageLoadTest, RefusedHeadersLeaveTheImageAlone)
{
    TBmpLayout good;
    good.data = Rows24(false);
    ASSERT_TRUE(LoadBmp(good));

    const struct {
        const char* what;
        void (*change)(TBmpLayout&);
    } refused[] = {
        {"4 bits with a core header", [](TBmpLayout& l) { l.headerSize = 12, l.bits = 4, l.table.assign(16, 0); }},
        {"newer header", [](TBmpLayout& l) { l.headerSize = 124; }},
        {"top-down run lengths", [](TBmpLayout& l) { l.bits = 8, l.compression = BI_RLE8, l.height = -2; }},
        {"4-bit run lengths with 8 bits", [](TBmpLayout& l) { l.bits = 8, l.compression = BI_RLE4; }},
        {"bit fields with 24 bits", [](TBmpLayout& l) { l.compression = BI_BITFIELDS; }},
        {"2 bits", [](TBmpLayout& l) { l.bits = 2; }},
        {"no width", [](TBmpLayout& l) { l.width = 0; }},
        {"unknown compression", [](TBmpLayout& l) { l.compression = 4; }},
        // Dimensions far beyond what the file holds, and ones whose size overflows 32 bits.
        {"huge height", [](TBmpLayout& l) { l.height = 0x7FFFFFFF; }},
        {"huge width", [](TBmpLayout& l) { l.width = 0x40000000, l.height = 4; }},
        {"32-bit rows past 4 GB", [](TBmpLayout& l) { l.bits = 32, l.width = 0x20000001, l.height = 8; }},
        {"huge run-length picture",
         [](TBmpLayout& l) {
             l.bits = 8, l.compression = BI_RLE8, l.width = l.height = 60000, l.data = std::string("\x00\x01", 2);
         }},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.what);
        TBmpLayout layout = good;
        row.change(layout);
        EXPECT_FALSE(LoadBmp(layout));
        ExpectTestPicture();
    }
    std::string bytes = MakeBmp(good);
    EXPECT_FALSE(LoadBytes("BA" + bytes.substr(2), L"pic.bmp"));
    EXPECT_FALSE(LoadBytes(bytes.substr(0, 30), L"pic.bmp"));
    EXPECT_FALSE(LoadBytes(bytes.substr(0, 10), L"pic.bmp"));
    ExpectTestPicture();
}

TEST_F(ImageLoadTest, OversizedColourCountIsCappedAndShortPixelDataLeavesBlack)
{
    TBmpLayout layout;
    layout.bits = 8;
    layout.colorsUsed = 0xFFFFFFF0;
    layout.table = kPalette;
    layout.table.resize(256);
    layout.data = std::string("\x04\x05\x00\x00\x01", 5); // top row cut off
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kRed, 0, 0, kWhite, kGrey, 0}));
}

TEST_F(ImageLoadTest, PixelsWithoutAnOffsetFollowTheWholeDeclaredColourTable)
{
    TBmpLayout layout;
    layout.bits = 1;
    layout.colorsUsed = 4; // two entries more than one bit can index
    layout.table = {kGreen, kWhite, kRed, kBlue};
    layout.data = std::string("\x40\x00\x00\x00\xA0\x00\x00\x00", 8); // 010 over 101
    layout.pixelOffset = false;
    ASSERT_TRUE(LoadBmp(layout));
    EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kWhite, kGreen, kWhite, kGreen, kWhite, kGreen}));

    // A table that runs past the end of the file leaves no place for the pixels.
    layout.colorsUsed = 0xFFFFFFF0;
    EXPECT_FALSE(LoadBmp(layout));
    EXPECT_EQ(AllPixels(image), (std::vector<DWORD>{kWhite, kGreen, kWhite, kGreen, kWhite, kGreen}));
}

TEST_F(ImageLoadTest, DecoderIsChosenByTheLowerCasedExtension)
{
    TBmpLayout layout;
    layout.data = Rows24(false);
    std::string bmp = MakeBmp(layout);
    EXPECT_TRUE(LoadBytes(bmp, L"pic.BMP"));
    EXPECT_FALSE(LoadBytes(bmp, L"pic.png"));
    EXPECT_FALSE(LoadBytes(bmp, L"picture"));
    // A BMP named as a JPEG goes to the JPEG decoder, which refuses it.
    CreateDirectoryW(temp.File(L"my.pictures"), nullptr);
    EXPECT_FALSE(LoadBytes(bmp, L"my.pictures\\back.jpg"));
    EXPECT_FALSE(LoadBytes(bmp, L"my.pictures\\back"));
    ExpectTestPicture();
}

// A JPEG of solid 8 × 8 blocks (left block, right block).
std::string EncodeJpeg(J_COLOR_SPACE space, int components, const BYTE* left, const BYTE* right)
{
    return EncodeJpeg(
        16, 8, space, components, false,
        [&](int, JSAMPLE* row) {
            for (int x = 0; x < 16; x++)
                memcpy(&row[x * components], x < 8 ? left : right, components);
        },
        100);
}

void ExpectNear(DWORD actual, DWORD expected)
{
    for (int shift = 0; shift < 24; shift += 8)
        EXPECT_NEAR((int)(actual >> shift & 0xFF), (int)(expected >> shift & 0xFF), 3)
            << std::hex << actual << " vs " << expected;
}

TEST_F(ImageLoadTest, GreyRgbAndCmykJpegsDecode)
{
    const BYTE greyLeft[] = {40}, greyRight[] = {200};
    ASSERT_TRUE(LoadBytes(EncodeJpeg(JCS_GRAYSCALE, 1, greyLeft, greyRight), L"grey.jpeg"));
    ASSERT_EQ(image.GetWidth(), 16);
    ASSERT_EQ(image.GetHeight(), 8);
    DWORD grey = PixelAt(image, 0, 0);
    EXPECT_EQ(grey & 0xFF, grey >> 8 & 0xFF);
    EXPECT_EQ(grey & 0xFF, grey >> 16);
    ExpectNear(grey, 0x282828);
    ExpectNear(PixelAt(image, 15, 7), 0xC8C8C8);

    const BYTE rgbLeft[] = {220, 30, 40}, rgbRight[] = {20, 60, 230};
    ASSERT_TRUE(LoadBytes(EncodeJpeg(JCS_RGB, 3, rgbLeft, rgbRight), L"rgb.JPG"));
    ExpectNear(PixelAt(image, 0, 0), 0xDC1E28);
    ExpectNear(PixelAt(image, 15, 7), 0x143CE6);

    // Stored inverted: 255 is no ink; the fourth channel scales the other three.
    const BYTE cmykLeft[] = {200, 100, 50, 128}, cmykRight[] = {255, 255, 255, 255};
    ASSERT_TRUE(LoadBytes(EncodeJpeg(JCS_CMYK, 4, cmykLeft, cmykRight), L"cmyk.jif"));
    ExpectNear(PixelAt(image, 0, 0), (200 * 128 / 255) << 16 | (100 * 128 / 255) << 8 | (50 * 128 / 255));
    ExpectNear(PixelAt(image, 15, 0), kWhite);
}

TEST_F(ImageLoadTest, TruncatedOrCorruptJpegsFailAndLeaveTheImage)
{
    const BYTE left[] = {220, 30, 40}, right[] = {20, 60, 230};
    std::string jpeg = EncodeJpeg(JCS_RGB, 3, left, right);
    ASSERT_TRUE(LoadBytes(jpeg, L"good.jpg"));
    HBITMAP before = image.GetHandle();
    EXPECT_FALSE(LoadBytes(jpeg.substr(0, jpeg.size() / 2), L"cut.jpg"));
    EXPECT_FALSE(LoadBytes(jpeg.substr(0, 100), L"header.jpg"));
    EXPECT_FALSE(LoadBytes("\xFF\xD8\xFF\xE0 not a picture", L"junk.jpg"));
    EXPECT_FALSE(LoadBytes("", L"empty.jpg"));
    EXPECT_FALSE(TImageLoader().LoadFromFile(temp.File(L"missing.jpg"), image));
    EXPECT_EQ(image.GetHandle(), before);
    ExpectNear(PixelAt(image, 0, 0), 0xDC1E28);
}

// Where a marker segment of the given kind starts, or npos.
size_t FindSegment(const std::string& jpeg, unsigned char marker)
{
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && (unsigned char)jpeg[pos] == 0xFF) {
        if ((unsigned char)jpeg[pos + 1] == marker)
            return pos;
        pos += 2 + ((unsigned char)jpeg[pos + 2] << 8 | (unsigned char)jpeg[pos + 3]);
    }
    return std::string::npos;
}

// 64 × 64, red above blue; a baseline file has a restart marker after every row of 16 × 16 blocks.
std::string EncodeTwoBandJpeg(bool progressive = false)
{
    return EncodeJpeg(
        64, 64, JCS_RGB, 3, progressive,
        [](int y, JSAMPLE* row) {
            for (int x = 0; x < 64; x++) {
                row[x * 3] = y < 32 ? 220 : 20;
                row[x * 3 + 1] = y < 32 ? 30 : 60;
                row[x * 3 + 2] = y < 32 ? 40 : 230;
            }
        },
        95, progressive ? 0 : 1);
}

// Damage inside the picture's data is shown the way other viewers show it: what comes before is
// intact, the damaged part filled in, the size the file declares kept. Stray bytes between
// segments are harmless too. A file too small for the picture it declares is refused.
TEST_F(ImageLoadTest, DamagedJpegDataLoadsWhileAnImpossibleSizeFails)
{
    const BYTE left[] = {220, 30, 40}, right[] = {20, 60, 230};
    std::string jpeg = EncodeJpeg(JCS_RGB, 3, left, right);
    // Some cameras leave stray bytes between segments.
    std::string stray = jpeg;
    stray.insert(FindSegment(jpeg, 0xDB), "\x00\x13\x37junk");
    ASSERT_TRUE(LoadBytes(stray, L"stray.jpg"));
    ExpectNear(PixelAt(image, 0, 0), 0xDC1E28);

    std::string bands = EncodeTwoBandJpeg();
    size_t scan = FindSegment(bands, 0xDA);
    ASSERT_NE(scan, std::string::npos);
    size_t middle = scan + (bands.size() - scan) / 2;
    size_t lostRestart = bands.find("\xFF\xD1", scan);
    ASSERT_NE(lostRestart, std::string::npos);
    const struct {
        const char* what;
        size_t at;
        std::string bytes;
        bool bottomIntact; // the data after the damage resumes at a restart marker
    } cases[] = {
        {"bytes overwritten", middle, std::string(6, '\xFE'), false},
        {"an end marker in the scan", middle, "\xFF\xD9", false},
        {"a restart marker lost", lostRestart, std::string(2, '\0'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string damaged = bands;
        damaged.replace(c.at, c.bytes.size(), c.bytes);
        if (!LoadBytes(damaged, L"damaged.jpg")) {
            ADD_FAILURE() << "refused";
            continue;
        }
        EXPECT_EQ(image.GetWidth(), 64);
        EXPECT_EQ(image.GetHeight(), 64);
        ExpectNear(PixelAt(image, 0, 0), 0xDC1E28);
        ExpectNear(PixelAt(image, 63, 15), 0xDC1E28);
        if (c.bottomIntact)
            ExpectNear(PixelAt(image, 0, 63), 0x143CE6);
    }
    HBITMAP before = image.GetHandle();

    // Small files that declare a huge picture, and one larger than its data could fill: a bit
    // for each of its blocks would take 3 KB.
    size_t frame = FindSegment(jpeg, 0xC0);
    ASSERT_NE(frame, std::string::npos);
    ASSERT_LT(jpeg.size(), 2000u);
    for (const char* size : {"\x00\xFF\xFF\x10", "\x04\x00\x04\x00"}) {
        std::string huge = jpeg;
        huge.replace(frame + 5, 4, size, 4); // height, width
        EXPECT_FALSE(LoadBytes(huge, L"huge.jpg")) << (unsigned char)size[0];
    }
    EXPECT_EQ(image.GetHandle(), before);
}

// Some cameras and cut copies leave off only the final end marker: every row of such a picture
// is there and shows. A file that ends inside the picture's data, or before the last scan of a
// progressive picture, is refused as a cut file is.
TEST_F(ImageLoadTest, AJpegLackingOnlyItsEndMarkerLoadsWhileCutDataIsRefused)
{
    const std::string bands = EncodeTwoBandJpeg();
    const std::string progressive = EncodeTwoBandJpeg(true);
    const size_t lastScan = progressive.rfind("\xFF\xDA");
    ASSERT_NE(lastScan, std::string::npos);
    ASSERT_GT(lastScan, FindSegment(progressive, 0xDA)) << "a progressive file has several scans";
    const struct {
        const char* what;
        std::string bytes;
        bool loads;
    } cases[] = {
        {"whole", bands, true},
        {"without its end marker", bands.substr(0, bands.size() - 2), true},
        {"progressive without its end marker", progressive.substr(0, progressive.size() - 2), true},
        {"a byte of the last rows missing", bands.substr(0, bands.size() - 3), false},
        {"the last rows missing", bands.substr(0, bands.size() - 40), false},
        {"progressive without its last scan", progressive.substr(0, lastScan), false},
        {"progressive ending inside its last scan", progressive.substr(0, progressive.size() - 3), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        image.SetBitmap(nullptr, nullptr, nullptr);
        bool loaded = LoadBytes(c.bytes, L"camera.jpg");
        EXPECT_EQ(c.loads, loaded);
        if (!loaded)
            continue;
        EXPECT_EQ(image.GetHeight(), 64);
        ExpectNear(PixelAt(image, 0, 0), 0xDC1E28);
        ExpectNear(PixelAt(image, 63, 63), 0x143CE6);
    }
}

TEST_F(ImageLoadTest, RepeatedFailedJpegLoadsDoNotLeakGdiObjects)
{
    const BYTE left[] = {1, 2, 3}, right[] = {4, 5, 6};
    std::string jpeg = EncodeJpeg(JCS_RGB, 3, left, right);
    std::string cut = jpeg.substr(0, jpeg.size() - 40);
    EXPECT_FALSE(LoadBytes(cut, L"cut.jpg"));
    DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 50; i++)
        EXPECT_FALSE(LoadBytes(cut, L"cut.jpg"));
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects + 2);
}

} // namespace
