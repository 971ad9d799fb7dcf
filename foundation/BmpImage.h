#pragma once
// Run-length decoding of BMP pixel data into uncompressed rows (row r at r × stride). True when
// the data ended cleanly; false when a code is cut off or a run would leave the rows.

#include <windows.h>

#include <cstddef>

bool DecodeBmpRle8(const BYTE* data, size_t size, BYTE* dest, int width, int height, int stride);
bool DecodeBmpRle4(const BYTE* data, size_t size, BYTE* dest, int width, int height, int stride);
