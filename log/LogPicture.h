#pragma once
// The log view's off-screen picture, kept between paints: a window uncovered again is copied
// from it, and lines arriving at the end move the kept rows up instead of drawing them again.

#include <windows.h>

class TLogPicture {
public:
    TLogPicture() = default;
    TLogPicture(const TLogPicture&) = delete;
    TLogPicture& operator=(const TLogPicture&) = delete;
    ~TLogPicture() { Free(); }

    // A picture of this size for painting into dc; made tells whether it is new (its pixels are
    // undefined). False when it cannot be made.
    bool Prepare(HDC dc, int width, int height, bool& made);
    void Free();
    HDC GetDC() const { return m_dc; }
    // Moves the band from y = from to the bottom up to y = to.
    void MoveUp(int from, int to);
    void CopyTo(HDC target, const RECT& rect) const;

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
};
