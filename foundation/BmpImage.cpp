// The BMP decoder: core and info headers, 1 to 32 bits, RLE4 and RLE8, bit fields.

#include "foundation/BmpImage.h"
#include "foundation/Image.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A header whose pixels could not come from a file this size is refused before anything is
// allocated. Plain rows may be cut short (the rest stays black); runs of RLE data expand about
// 128 times at most, so 256 leaves room for skips.
const uint64_t kMaxPlainExpansion = 4;
const uint64_t kMaxRleExpansion = 256;

class TReader {
public:
    explicit TReader(const CString& path)
    {
        handle = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~TReader()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
    // False on a failing read; got tells how much came.
    bool Read(void* buffer, DWORD size, DWORD& got) { return ReadFile(handle, buffer, size, &got, nullptr) != 0; }
    bool ReadExact(void* buffer, DWORD size)
    {
        DWORD got = 0;
        return Read(buffer, size, got) && got == size;
    }
    bool Seek(uint64_t offset)
    {
        LARGE_INTEGER distance;
        distance.QuadPart = (LONGLONG)offset;
        return SetFilePointerEx(handle, distance, nullptr, FILE_BEGIN) != 0;
    }
    uint64_t Position() const
    {
        LARGE_INTEGER zero = {}, position = {};
        return SetFilePointerEx(handle, zero, &position, FILE_CURRENT) ? (uint64_t)position.QuadPart : 0;
    }
    uint64_t Size() const
    {
        LARGE_INTEGER size = {};
        return GetFileSizeEx(handle, &size) ? (uint64_t)size.QuadPart : 0;
    }

private:
    HANDLE handle;
};

struct TMaskChannel {
    DWORD mask;
    int shift;
    int width;
};

TMaskChannel GetMaskShiftAndWidth(DWORD mask)
{
    TMaskChannel channel = {mask, 0, 0};
    if (mask == 0)
        return channel;
    while (!(mask & (1u << channel.shift)))
        channel.shift++;
    while (channel.shift + channel.width < 32 && (mask & (1u << (channel.shift + channel.width))))
        channel.width++;
    return channel;
}

BYTE ExtractChannel(DWORD pixel, const TMaskChannel& channel)
{
    if (channel.width == 0)
        return 0;
    DWORD value = (pixel & channel.mask) >> channel.shift;
    if (channel.width >= 8)
        return (BYTE)(value >> (channel.width - 8));
    // Repeat the bits from the top so full scale stays full scale.
    DWORD widened = 0;
    for (int filled = 0; filled < 8; filled += channel.width)
        widened = (widened << channel.width) | value;
    int total = ((8 + channel.width - 1) / channel.width) * channel.width;
    return (BYTE)(widened >> (total - 8));
}

} // namespace

bool DecodeBmpRle8(const BYTE* data, size_t size, BYTE* dest, int /*width*/, int height, int stride)
{
    size_t pos = 0;
    int64_t x = 0, y = 0;
    const int64_t total = (int64_t)height * stride;
    while (pos < size) {
        if (y >= height)
            return true;
        if (pos + 2 > size)
            return false;
        BYTE count = data[pos++];
        BYTE code = data[pos++];
        if (count > 0) {
            // Rows lie end to end, so a run may go on into the next row.
            if (y * stride + x + count > total)
                return false;
            memset(dest + y * stride + x, code, count);
            x += count;
        } else if (code == 0) {
            x = 0;
            y++;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (pos + 2 > size)
                return false;
            x += data[pos++];
            y += data[pos++];
        } else {
            if (pos + code > size)
                return false;
            if (y * stride + x + code > total)
                return false;
            memcpy(dest + y * stride + x, data + pos, code);
            x += code;
            pos += code + (code & 1);
        }
    }
    return true;
}

bool DecodeBmpRle4(const BYTE* data, size_t size, BYTE* dest, int width, int height, int stride)
{
    // A header may declare a row far wider than memory allows.
    std::vector<BYTE> row;
    try {
        row.assign((size_t)width + 4, 0);
    } catch (...) {
        return false;
    }
    size_t pos = 0;
    int64_t x = 0, y = 0;
    auto flush = [&]() {
        if (y >= 0 && y < height) {
            BYTE* out = dest + y * stride;
            for (int i = 0; i < width; i++)
                out[i / 2] |= (i & 1) ? row[i] : (BYTE)(row[i] << 4);
        }
        std::fill(row.begin(), row.end(), 0);
    };
    while (pos < size) {
        if (y >= height)
            return true;
        if (pos + 2 > size)
            return false;
        BYTE count = data[pos++];
        BYTE code = data[pos++];
        if (count > 0) {
            if (x + count > (int64_t)row.size())
                return false;
            for (int i = 0; i < count; i++)
                row[x++] = (i & 1) ? (code & 0x0F) : (code >> 4);
        } else if (code == 0) {
            flush();
            x = 0;
            y++;
        } else if (code == 1) {
            flush();
            return true;
        } else if (code == 2) {
            if (pos + 2 > size)
                return false;
            BYTE dx = data[pos++];
            BYTE dy = data[pos++];
            if (dy > 0) {
                flush();
                y += dy;
            }
            // Only a pixel put past the row buffer is an error, not the move itself.
            x += dx;
        } else {
            size_t bytes = (code + 1) / 2;
            if (pos + bytes > size)
                return false;
            if (x + code > (int64_t)row.size())
                return false;
            for (int i = 0; i < code; i++) {
                BYTE b = data[pos + i / 2];
                row[x++] = (i & 1) ? (b & 0x0F) : (b >> 4);
            }
            pos += bytes + (bytes & 1);
        }
    }
    flush();
    return true;
}

namespace {

// What the headers say about the picture, in the info header's terms whatever the file had.
struct TBmpFormat {
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    bool core = false;
    int bits = 0;
    int width = 0;
    int height = 0; // positive
    bool topDown = false;
    std::vector<DWORD> colors; // palette entries as 0x00RRGGBB, or the three channel masks
    uint64_t stride = 0;       // of the rows as stored
};

const int kDecoded = -1;

int ReadCoreHeader(TReader& file, BITMAPINFOHEADER& header)
{
    BITMAPCOREHEADER coreHeader;
    if (!file.ReadExact(&coreHeader, sizeof coreHeader))
        return 20;
    if (coreHeader.bcWidth == 0 || coreHeader.bcHeight == 0)
        return 21;
    if (coreHeader.bcBitCount != 1 && coreHeader.bcBitCount != 8 && coreHeader.bcBitCount != 24)
        return 22;
    header.biSize = sizeof header;
    header.biWidth = coreHeader.bcWidth;
    header.biHeight = coreHeader.bcHeight;
    header.biPlanes = 1;
    header.biBitCount = coreHeader.bcBitCount;
    header.biCompression = BI_RGB;
    return kDecoded;
}

int ReadInfoHeader(TReader& file, BITMAPINFOHEADER& header)
{
    if (!file.ReadExact(&header, sizeof header))
        return 30;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN)
        return 31;
    if (header.biCompression > BI_BITFIELDS)
        return 32;
    if (header.biHeight < 0 && header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
        return 33;
    WORD bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 34;
    if (header.biCompression == BI_RLE4 && bits != 4)
        return 35;
    if (header.biCompression == BI_RLE8 && bits != 8)
        return 36;
    if (header.biCompression == BI_BITFIELDS && bits != 16 && bits != 32)
        return 37;
    return kDecoded;
}

int ReadHeaders(TReader& file, TBmpFormat& format)
{
    if (!file.ReadExact(&format.fileHeader, sizeof format.fileHeader))
        return 0;
    if (format.fileHeader.bfType != 0x4D42)
        return 1;
    DWORD headerSize = 0;
    if (!file.ReadExact(&headerSize, sizeof headerSize) || !file.Seek(sizeof format.fileHeader))
        return 10;
    format.header = {};
    int result = 60; // newer header versions are not read
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        format.core = true;
        result = ReadCoreHeader(file, format.header);
    } else if (headerSize == sizeof(BITMAPINFOHEADER)) {
        result = ReadInfoHeader(file, format.header);
    }
    if (result != kDecoded)
        return result;
    format.bits = format.header.biBitCount;
    format.width = format.header.biWidth;
    format.topDown = format.header.biHeight < 0;
    format.height = format.topDown ? -format.header.biHeight : format.header.biHeight;
    format.stride = (((uint64_t)format.bits * (uint64_t)format.width + 31) / 32) * 4;
    return kDecoded;
}

int ReadPalette(TReader& file, TBmpFormat& format)
{
    // Entries beyond what the bits can index are never used, so only those are kept.
    DWORD colorCount = 0;
    DWORD declaredCount = 0;
    if (format.bits <= 8) {
        colorCount = 1u << format.bits;
        declaredCount = !format.core && format.header.biClrUsed != 0 ? format.header.biClrUsed : colorCount;
        if (declaredCount < colorCount)
            colorCount = declaredCount;
    } else if ((format.bits == 16 || format.bits == 32) && format.header.biCompression == BI_BITFIELDS) {
        colorCount = 3;
    }
    format.colors.assign(colorCount, 0);
    if (format.core) {
        for (DWORD& color : format.colors) {
            RGBTRIPLE entry;
            if (!file.ReadExact(&entry, sizeof entry))
                return 102;
            color = entry.rgbtBlue | (entry.rgbtGreen << 8) | (entry.rgbtRed << 16);
        }
    } else if (colorCount > 0 && !file.ReadExact(format.colors.data(), colorCount * sizeof(DWORD))) {
        return 102;
    }
    // Without a pixel offset the pixels follow the whole table as the header declares it.
    if (declaredCount > colorCount && format.fileHeader.bfOffBits == 0) {
        uint64_t end = file.Position() + (uint64_t)(declaredCount - colorCount) * sizeof(DWORD);
        if (end > file.Size())
            return 102;
        if (!file.Seek(end))
            return 101;
    }
    return kDecoded;
}

// The stored rows, unpacked when run-length coded.
int ReadPixels(TReader& file, const TBmpFormat& format, std::vector<BYTE>& source)
{
    const uint64_t dataSize = format.stride * (uint64_t)format.height;
    const uint64_t destSize = (uint64_t)GetImageStride(format.width) * (uint64_t)format.height;
    const DWORD compression = format.header.biCompression;
    const bool rle = compression == BI_RLE4 || compression == BI_RLE8;
    const uint64_t fileSize = file.Size();
    if (dataSize > fileSize * (rle ? kMaxRleExpansion : kMaxPlainExpansion) || dataSize > 0x7FFFFFFF ||
        (uint64_t)format.width * 3 > 0x7FFFFFFF || destSize > 0x7FFFFFFF)
        return 103;
    try {
        source.assign((size_t)dataSize, 0);
    } catch (...) {
        return 103;
    }
    const DWORD offset = format.fileHeader.bfOffBits;
    if (offset != 0 && !file.Seek(offset))
        return 104;
    DWORD got = 0;
    if (!rle)
        return file.Read(source.data(), (DWORD)dataSize, got) ? kDecoded : 105;
    // Literal runs of small pictures can take more room than the rows they fill, so the codes are
    // read to the end of the file rather than cut at the unpacked size.
    uint64_t start = offset != 0 ? offset : file.Position();
    uint64_t packedSize = fileSize > start ? fileSize - start : 0;
    if (packedSize > dataSize * 2 + 0x10000)
        packedSize = dataSize * 2 + 0x10000;
    std::vector<BYTE> packed;
    try {
        packed.assign((size_t)packedSize, 0);
    } catch (...) {
        return 103;
    }
    if (!file.Read(packed.data(), (DWORD)packedSize, got))
        return 106;
    const int stride = (int)format.stride;
    bool decoded = compression == BI_RLE8
                       ? DecodeBmpRle8(packed.data(), got, source.data(), format.width, format.height, stride)
                       : DecodeBmpRle4(packed.data(), got, source.data(), format.width, format.height, stride);
    return decoded ? kDecoded : 106;
}

void PutColor(BYTE* out, DWORD color)
{
    out[0] = (BYTE)color;
    out[1] = (BYTE)(color >> 8);
    out[2] = (BYTE)(color >> 16);
}

// Every stored row into the bottom-up 24-bit rows of the section.
void ConvertRows(const TBmpFormat& format, const std::vector<BYTE>& source, BYTE* pixels)
{
    const int bits = format.bits;
    const bool ownMasks = format.colors.size() == 3 && (bits == 16 || bits == 32);
    const TMaskChannel red = GetMaskShiftAndWidth(ownMasks ? format.colors[0] : bits == 16 ? 0x7C00 : 0xFF0000);
    const TMaskChannel green = GetMaskShiftAndWidth(ownMasks ? format.colors[1] : bits == 16 ? 0x3E0 : 0xFF00);
    const TMaskChannel blue = GetMaskShiftAndWidth(ownMasks ? format.colors[2] : bits == 16 ? 0x1F : 0xFF);
    const int destStride = GetImageStride(format.width);
    for (int r = 0; r < format.height; r++) {
        const BYTE* in = source.data() + (size_t)r * (size_t)format.stride;
        BYTE* out = pixels + (size_t)(format.topDown ? format.height - 1 - r : r) * destStride;
        for (int x = 0; x < format.width; x++, out += 3) {
            if (bits <= 8) {
                int bitPos = x * bits;
                DWORD index = (in[bitPos / 8] >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
                PutColor(out, index < format.colors.size() ? format.colors[index] : 0);
            } else if (bits == 24) {
                memcpy(out, in + x * 3, 3);
            } else {
                DWORD pixel = bits == 16 ? (DWORD)(in[x * 2] | (in[x * 2 + 1] << 8))
                                         : (DWORD)(in[x * 4] | (in[x * 4 + 1] << 8) | (in[x * 4 + 2] << 16) |
                                                   ((DWORD)in[x * 4 + 3] << 24));
                out[0] = ExtractChannel(pixel, blue);
                out[1] = ExtractChannel(pixel, green);
                out[2] = ExtractChannel(pixel, red);
            }
        }
    }
}

} // namespace

bool TBmpImageLoader::Load(const CString& path, TImage& image) { return Decode(path, image) == -1; }

int TBmpImageLoader::Decode(const CString& path, TImage& image)
{
    TReader file(path);
    if (!file.IsOpen())
        return 0;
    TBmpFormat format;
    std::vector<BYTE> source;
    int result = ReadHeaders(file, format);
    if (result == kDecoded)
        result = ReadPalette(file, format);
    if (result == kDecoded)
        result = ReadPixels(file, format, source);
    if (result != kDecoded)
        return result;

    BITMAPINFOHEADER outHeader;
    void* pixels = nullptr;
    HBITMAP section = CreateImageSection(format.width, format.height, outHeader, pixels);
    if (!section)
        return 110;
    ConvertRows(format, source, static_cast<BYTE*>(pixels));
    outHeader = format.header;
    outHeader.biSize = sizeof outHeader;
    outHeader.biHeight = format.height;
    image.SetBitmap(section, &outHeader, pixels);
    return kDecoded;
}
