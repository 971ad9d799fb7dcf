#include "log/LogPicture.h"

bool TLogPicture::Prepare(HDC dc, int width, int height, bool& made)
{
    made = false;
    if (m_dc && width == m_width && height == m_height)
        return true;
    Free();
    if (width <= 0 || height <= 0)
        return false;
    // A 32-bit DIB section: text can then be written straight into its pixels.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(dc);
    m_bitmap = m_dc ? CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!m_bitmap) {
        Free();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    made = true;
    return true;
}

void TLogPicture::Free()
{
    if (m_dc && m_oldBitmap)
        SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_dc)
        DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_width = m_height = 0;
}

void TLogPicture::MoveUp(int from, int to)
{
    if (m_dc && from > to && from < m_height)
        BitBlt(m_dc, 0, to, m_width, m_height - from, m_dc, 0, from, SRCCOPY);
}

void TLogPicture::CopyTo(HDC target, const RECT& rect) const
{
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_dc, rect.left, rect.top,
           SRCCOPY);
}
