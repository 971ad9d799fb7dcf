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
    bool Seek(DWORD offset)
    {
        return SetFilePointer(handle, (LONG)offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
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
    std::vector<BYTE> row((size_t)width + 4);
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

bool TBmpImageLoader::Load(const CString& path, TImage& image)
{
    return Decode(path, image) == -1;
}

int TBmpImageLoader::Decode(const CString& path, TImage& image)
{
    TReader file(path);
    if (!file.IsOpen())
        return 0;
    BITMAPFILEHEADER fileHeader;
    if (!file.ReadExact(&fileHeader, sizeof fileHeader))
        return 0;
    if (fileHeader.bfType != 0x4D42)
        return 1;
    DWORD headerSize = 0;
    if (!file.ReadExact(&headerSize, sizeof headerSize) || !file.Seek(sizeof fileHeader))
        return 10;

    BITMAPINFOHEADER header = {};
    bool core = false;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
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
        core = true;
    } else if (headerSize == sizeof(BITMAPINFOHEADER)) {
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
    } else {
        return 60;
    }

    const int bits = header.biBitCount;
    const int width = header.biWidth;
    const bool topDown = header.biHeight < 0;
    const int height = topDown ? -header.biHeight : header.biHeight;

    // A colours-used count beyond what the bits can index would only read past the table.
    DWORD colorCount = 0;
    if (bits <= 8) {
        colorCount = 1u << bits;
        if (!core && header.biClrUsed != 0 && header.biClrUsed < colorCount)
            colorCount = header.biClrUsed;
    } else if ((bits == 16 || bits == 32) && header.biCompression == BI_BITFIELDS) {
        colorCount = 3;
    }
    std::vector<DWORD> colors(colorCount);
    if (core) {
        for (DWORD i = 0; i < colorCount; i++) {
            RGBTRIPLE entry;
            if (!file.ReadExact(&entry, sizeof entry))
                return 102;
            colors[i] = entry.rgbtBlue | (entry.rgbtGreen << 8) | (entry.rgbtRed << 16);
        }
    } else if (colorCount > 0 && !file.ReadExact(colors.data(), colorCount * sizeof(DWORD))) {
        return 102;
    }

    const uint64_t stride = (((uint64_t)bits * (uint64_t)width + 31) / 32) * 4;
    const uint64_t dataSize = stride * (uint64_t)height;
    const uint64_t destSize = (uint64_t)GetImageStride(width) * (uint64_t)height;
    const bool rle = header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8;
    const uint64_t fileSize = file.Size();
    if (dataSize > fileSize * (rle ? kMaxRleExpansion : kMaxPlainExpansion) || dataSize > 0x7FFFFFFF ||
        (uint64_t)width * 3 > 0x7FFFFFFF || destSize > 0x7FFFFFFF)
        return 103;
    std::vector<BYTE> source;
    try {
        source.assign((size_t)dataSize, 0);
    } catch (...) {
        return 103;
    }
    if (fileHeader.bfOffBits != 0 && !file.Seek(fileHeader.bfOffBits))
        return 104;

    DWORD got = 0;
    if (!rle) {
        if (!file.Read(source.data(), (DWORD)dataSize, got))
            return 105;
    } else {
        // Literal runs of small pictures can take more room than the rows they fill, so the
        // codes are read to the end of the file rather than cut at the unpacked size.
        uint64_t start = fileHeader.bfOffBits != 0 ? fileHeader.bfOffBits : file.Position();
        uint64_t packedSize = fileSize > start ? fileSize - start : 0;
        if (packedSize > dataSize * 2 + 0x10000)
            packedSize = dataSize * 2 + 0x10000;
        std::vector<BYTE> packed((size_t)packedSize);
        if (!file.Read(packed.data(), (DWORD)packedSize, got))
            return 106;
        bool decoded = header.biCompression == BI_RLE8
                           ? DecodeBmpRle8(packed.data(), got, source.data(), width, height, (int)stride)
                           : DecodeBmpRle4(packed.data(), got, source.data(), width, height, (int)stride);
        if (!decoded)
            return 106;
    }

    BITMAPINFOHEADER outHeader;
    void* pixels = nullptr;
    HBITMAP section = CreateImageSection(width, height, outHeader, pixels);
    if (!section)
        return 110;

    TMaskChannel red, green, blue;
    if (colors.size() == 3 && (bits == 16 || bits == 32)) {
        red = GetMaskShiftAndWidth(colors[0]);
        green = GetMaskShiftAndWidth(colors[1]);
        blue = GetMaskShiftAndWidth(colors[2]);
    } else if (bits == 16) {
        red = GetMaskShiftAndWidth(0x7C00);
        green = GetMaskShiftAndWidth(0x3E0);
        blue = GetMaskShiftAndWidth(0x1F);
    } else {
        red = GetMaskShiftAndWidth(0xFF0000);
        green = GetMaskShiftAndWidth(0xFF00);
        blue = GetMaskShiftAndWidth(0xFF);
    }

    const int destStride = GetImageStride(width);
    for (int r = 0; r < height; r++) {
        const BYTE* in = source.data() + (size_t)r * (size_t)stride;
        BYTE* out = static_cast<BYTE*>(pixels) + (size_t)(topDown ? height - 1 - r : r) * destStride;
        for (int x = 0; x < width; x++, out += 3) {
            DWORD color = 0;
            if (bits <= 8) {
                int bitPos = x * bits;
                int index = (in[bitPos / 8] >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
                color = (DWORD)index < colorCount ? colors[index] : 0;
                out[0] = (BYTE)color;
                out[1] = (BYTE)(color >> 8);
                out[2] = (BYTE)(color >> 16);
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
    outHeader = header;
    outHeader.biSize = sizeof outHeader;
    outHeader.biHeight = height;
    image.SetBitmap(section, &outHeader, pixels);
    return -1;
}
