#pragma once
// Pictures for log backgrounds and previews: BMP and JPEG files decoded into a 24-bit bottom-up
// DIB section, drawn at a point or stretched.

#include "classlib/String.h"

#include <windows.h>

class TImage {
public:
    TImage();
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;
    virtual ~TImage();

    // Deletes the previous bitmap; takes ownership only when all three are given.
    void SetBitmap(HBITMAP bitmap, const BITMAPINFOHEADER* header, void* pixels);
    void Draw(HDC dc, int x, int y) const;
    void DrawStretched(HDC dc, int left, int top, int right, int bottom) const;

    bool IsEmpty() const { return bitmap == nullptr; }
    int GetWidth() const { return header.biWidth; }
    int GetHeight() const { return header.biHeight; }
    HBITMAP GetHandle() const { return bitmap; }
    // Rows bottom-up, B G R, each padded to four bytes.
    const BYTE* GetPixels() const { return static_cast<const BYTE*>(pixels); }

private:
    HBITMAP bitmap = nullptr;
    BITMAPINFOHEADER header;
    void* pixels = nullptr;
};

class TImageLoader {
public:
    virtual ~TImageLoader() = default;
    // Picks the decoder by the extension; the image is replaced only on success.
    bool LoadFromFile(const CString& path, TImage& image);
};

class TBmpImageLoader {
public:
    virtual ~TBmpImageLoader() = default;
    bool Load(const CString& path, TImage& image);

private:
    // -1 on success, else the number of the check that failed.
    int Decode(const CString& path, TImage& image);
};

class TJpegImageLoader {
public:
    virtual ~TJpegImageLoader() = default;
    bool Load(const CString& path, TImage& image);
};

// The 24-bit bottom-up DIB section both decoders produce; zeroed.
HBITMAP CreateImageSection(int width, int height, BITMAPINFOHEADER& header, void*& pixels);
inline int GetImageStride(int width) { return ((24 * width + 31) / 32) * 4; }
