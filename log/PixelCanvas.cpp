#include "log/PixelCanvas.h"

bool TPixelCanvas::Create(HDC compatible, int width, int height)
{
    Free();
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(compatible);
    m_bitmap = m_dc ? CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!m_bitmap) {
        Free();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_pixels = static_cast<DWORD*>(bits);
    m_width = width;
    m_height = height;
    return true;
}

void TPixelCanvas::Free()
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
    m_pixels = nullptr;
    m_width = m_height = 0;
}
