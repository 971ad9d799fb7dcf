#include "logview/LogPicture.h"

bool TLogPicture::Prepare(HDC dc, int width, int height, bool& made)
{
    made = false;
    if (m_canvas.GetDC() && width == m_canvas.GetWidth() && height == m_canvas.GetHeight())
        return true;
    made = m_canvas.Create(dc, width, height);
    return made;
}

void TLogPicture::MoveUp(int from, int to)
{
    const int width = m_canvas.GetWidth(), height = m_canvas.GetHeight();
    if (m_canvas.GetDC() && from > to && from < height)
        BitBlt(m_canvas.GetDC(), 0, to, width, height - from, m_canvas.GetDC(), 0, from, SRCCOPY);
}

void TLogPicture::CopyTo(HDC target, const RECT& rect) const
{
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_canvas.GetDC(), rect.left,
           rect.top, SRCCOPY);
}
