// The JPEG decoder over libjpeg. The library's error exit long-jumps back into DecodeJpeg, so
// that frame and every frame the jump skips hold only plain data: nothing there has a destructor.

#include "foundation/Image.h"

#include <io.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <jpeglib.h>

#include <jerror.h>
}

namespace {

struct TJpegError {
    jpeg_error_mgr manager;
    jmp_buf abandon;
    bool ranOut; // the file ended and the library stood in an end marker for the rest
};

void AbandonLoad(j_common_ptr info) { longjmp(reinterpret_cast<TJpegError*>(info->err)->abandon, 1); }

// A file that ends early would be padded with grey to its declared size: refused. A file whose
// data is whole but lacks only its end marker (some cameras, a copy cut short by two bytes) ends
// too, yet the decoder then asks for nothing more; so the load is abandoned only when it warns
// again after the end, needing data the file no longer has. Damage inside the data (a bad code,
// a lost restart marker, a segment cut short) is filled in and shown, as every viewer does; the
// size guard below bounds what a small file can make the decoder do.
void AbandonOnWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    TJpegError* error = reinterpret_cast<TJpegError*>(info->err);
    if (error->ranOut)
        longjmp(error->abandon, 1);
    if (info->err->msg_code == JWRN_JPEG_EOF)
        error->ranOut = true;
}

// Files of several scans are read whole before the first row comes out, and a file cut between
// two scans ends without a further warning. A progressive picture is whole when every
// coefficient has been brought to full precision; other multi-scan files are too rare to guess.
bool ScansComplete(jpeg_decompress_struct& info)
{
    if (!jpeg_has_multiple_scans(&info))
        return true;
    if (!info.progressive_mode || !info.coef_bits)
        return false;
    for (int c = 0; c < info.num_components; c++) {
        for (int k = 0; k < DCTSIZE2; k++) {
            if (info.coef_bits[c][k] != 0)
                return false;
        }
    }
    return true;
}

// Data a file holds bounds the picture it can make: a Huffman code is at least one bit, and every
// 8 x 8 block of every component begins with one. Arithmetic coding goes below a bit a block, so
// there only the smallest sampled component's share is counted, one block for every 16 x 64
// pixels. A file that declares more is padding, which would cost the decoder as much as a picture.
bool FileCanCarry(const jpeg_decompress_struct& info, unsigned long long fileSize)
{
    if ((unsigned long long)info.image_width * info.image_height > fileSize * 8 * 16 * 64)
        return false;
    if (info.arith_code)
        return true;
    unsigned long long blocks = 0;
    for (int i = 0; i < info.num_components; i++)
        blocks += (unsigned long long)info.comp_info[i].width_in_blocks * info.comp_info[i].height_in_blocks;
    return blocks <= fileSize * 8;
}

struct TJpegResult {
    HBITMAP section;
    BITMAPINFOHEADER header;
    void* pixels;
};

bool DecodeJpeg(FILE* input, unsigned long long fileSize, TJpegResult& result)
{
    jpeg_decompress_struct info;
    TJpegError error;
    // Touched between setjmp and longjmp, so kept in memory for the clean-up after a jump.
    HBITMAP volatile section = nullptr;
    BYTE* volatile row = nullptr;

    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = AbandonLoad;
    error.manager.emit_message = AbandonOnWarning;
    error.ranOut = false;
    if (setjmp(error.abandon)) {
        jpeg_destroy_decompress(&info);
        free(row);
        if (section)
            DeleteObject(section);
        return false;
    }
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof info);
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    // Checked before the library sizes its own buffers from the header.
    if (!FileCanCarry(info, fileSize))
        longjmp(error.abandon, 1);
    jpeg_start_decompress(&info);
    if (error.ranOut && !ScansComplete(info))
        longjmp(error.abandon, 1);

    const int width = (int)info.output_width;
    const int height = (int)info.output_height;
    const int components = info.output_components;
    if (width <= 0 || height <= 0 || (unsigned long long)width * height * 3 > 0x7FFFFFFF)
        longjmp(error.abandon, 1);
    void* pixels = nullptr;
    section = CreateImageSection(width, height, result.header, pixels);
    if (!section)
        longjmp(error.abandon, 1);
    row = static_cast<BYTE*>(malloc((size_t)components * width));
    if (!row)
        longjmp(error.abandon, 1);

    const int stride = GetImageStride(width);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        // The first scanline is the top row, the last row of a bottom-up DIB.
        BYTE* out = static_cast<BYTE*>(pixels) + (size_t)(height - (int)info.output_scanline) * stride;
        for (int x = 0; x < width; x++, out += 3) {
            const BYTE* in = row + x * components;
            if (components == 1) {
                out[0] = out[1] = out[2] = in[0];
            } else if (components == 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            } else if (components == 4) {
                out[0] = (BYTE)(in[2] * in[3] / 255);
                out[1] = (BYTE)(in[1] * in[3] / 255);
                out[2] = (BYTE)(in[0] * in[3] / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    free(row);
    result.section = section;
    result.pixels = pixels;
    return true;
}

} // namespace

bool TJpegImageLoader::Load(const CString& path, TImage& image)
{
    FILE* input = _wfopen(path, L"rb");
    if (!input)
        return false;
    long long fileSize = _filelengthi64(_fileno(input));
    TJpegResult result = {};
    bool decoded = fileSize > 0 && DecodeJpeg(input, (unsigned long long)fileSize, result);
    fclose(input);
    if (!decoded)
        return false;
    image.SetBitmap(result.section, &result.header, result.pixels);
    return true;
}
