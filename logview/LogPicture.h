#pragma once
// The log view's off-screen picture, kept between paints: a window uncovered again is copied
// from it, and lines arriving at the end move the kept rows up instead of drawing them again.
// Its pixels are a 32-bit DIB section, so text can be written straight into them.

#include "log/PixelCanvas.h"

#include <windows.h>

class TLogPicture {
public:
    // A picture of this size for painting into dc; made tells whether it is new (its pixels are
    // undefined). False when it cannot be made.
    bool Prepare(HDC dc, int width, int height, bool& made);
    void Free() { m_canvas.Free(); }
    HDC GetDC() const { return m_canvas.GetDC(); }
    // Moves the band from y = from to the bottom up to y = to.
    void MoveUp(int from, int to);
    void CopyTo(HDC target, const RECT& rect) const;

private:
    TPixelCanvas m_canvas;
};
