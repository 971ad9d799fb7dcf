#pragma once
// Picture files written byte by byte, beside the decoders under test.

#include "foundation/Image.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

// A 24-bit bottom-up BMP whose pixel at x, y (from the top) is colour(x, y), a COLORREF.
inline void WriteBmp(const CString& path, int width, int height, const std::function<COLORREF(int, int)>& colour)
{
    int stride = GetImageStride(width);
    std::string bytes(54 + (size_t)stride * height, '\0');
    BITMAPFILEHEADER file = {0x4D42, (DWORD)bytes.size(), 0, 0, 54};
    BITMAPINFOHEADER info = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    memcpy(&bytes[0], &file, 14);
    memcpy(&bytes[14], &info, 40);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            COLORREF c = colour(x, y);
            char* p = &bytes[54 + (size_t)(height - 1 - y) * stride + x * 3];
            p[0] = (char)GetBValue(c);
            p[1] = (char)GetGValue(c);
            p[2] = (char)GetRValue(c);
        }
    ASSERT_TRUE(WriteFileBytes(path, CStringA(bytes.data(), (int)bytes.size())));
}
