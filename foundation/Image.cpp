#include "foundation/Image.h"

TImage::TImage() { SetBitmap(nullptr, nullptr, nullptr); }

TImage::~TImage() { SetBitmap(nullptr, nullptr, nullptr); }

void TImage::SetBitmap(HBITMAP newBitmap, const BITMAPINFOHEADER* newHeader, void* newPixels)
{
    if (bitmap)
        DeleteObject(bitmap);
    bitmap = nullptr;
    ZeroMemory(&header, sizeof header);
    header.biSize = sizeof header;
    pixels = nullptr;
    if (newBitmap && newHeader && newPixels) {
        bitmap = newBitmap;
        header = *newHeader;
        pixels = newPixels;
    }
}

void TImage::Draw(HDC dc, int x, int y) const
{
    if (!bitmap)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, header.biWidth, header.biHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void TImage::DrawStretched(HDC dc, int left, int top, int right, int bottom) const
{
    if (!bitmap)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, left, top, right - left, bottom - top, memory, 0, 0, header.biWidth, header.biHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

HBITMAP CreateImageSection(int width, int height, BITMAPINFOHEADER& header, void*& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!section || !pixels) {
        if (section)
            DeleteObject(section);
        pixels = nullptr;
        return nullptr;
    }
    ZeroMemory(pixels, (size_t)GetImageStride(width) * (size_t)height);
    header = info.bmiHeader;
    return section;
}

bool TImageLoader::LoadFromFile(const CString& path, TImage& image)
{
    CString lower = path;
    lower.MakeLower();
    int dot = lower.ReverseFind(L'.');
    if (dot < 0)
        return false;
    CString extension = lower.Mid(dot + 1);
    if (extension == L"jpg" || extension == L"jpeg" || extension == L"jif")
        return TJpegImageLoader().Load(path, image);
    if (extension == L"bmp")
        return TBmpImageLoader().Load(path, image);
    return false;
}
