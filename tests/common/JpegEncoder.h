#pragma once
// Test pictures encoded with the JPEG library itself.

#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

#include <cstdlib>
#include <string>
#include <vector>

// fill(y, row) sets one row of width × components samples. restartRows > 0 puts a restart
// marker after every that many rows of blocks.
template <typename Fill>
std::string EncodeJpeg(int width, int height, J_COLOR_SPACE space, int components, bool progressive, Fill fill,
                       int quality = 75, int restartRows = 0)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.restart_in_rows = restartRows;
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row((size_t)width * components);
    while (info.next_scanline < info.image_height) {
        fill((int)info.next_scanline, row.data());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes((const char*)buffer, size);
    free(buffer);
    return bytes;
}
