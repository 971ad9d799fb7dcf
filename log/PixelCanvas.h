#pragma once
// A memory DC that draws into a 32-bit top-down DIB section, whose pixels the program may read
// and write as well.

#include <windows.h>

class TPixelCanvas {
public:
    TPixelCanvas() = default;
    TPixelCanvas(const TPixelCanvas&) = delete;
    TPixelCanvas& operator=(const TPixelCanvas&) = delete;
    ~TPixelCanvas() { Free(); }

    // False, with nothing kept, when it cannot be made.
    bool Create(HDC compatible, int width, int height);
    void Free();
    HDC GetDC() const { return m_dc; }
    DWORD* GetPixels() const { return m_pixels; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    DWORD* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
};
