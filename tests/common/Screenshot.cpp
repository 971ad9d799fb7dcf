#include "tests/common/Screenshot.h"

#include <cstdio>

namespace {

TPixels Capture(HDC source, int width, int height)
{
    TPixels pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mem && bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        pixels.width = width;
        pixels.height = height;
        pixels.data.resize((size_t)width * height);
        const DWORD* p = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < pixels.data.size(); i++)
            pixels.data[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
        SelectObject(mem, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (mem)
        DeleteDC(mem);
    return pixels;
}

unsigned long Crc(const unsigned char* data, size_t length, unsigned long crc = 0xFFFFFFFFul)
{
    static unsigned long table[256];
    if (!table[1])
        for (unsigned long n = 0; n < 256; n++) {
            unsigned long c = n;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320ul ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    for (size_t i = 0; i < length; i++)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void PutBig32(std::vector<unsigned char>& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((unsigned char)(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& body)
{
    PutBig32(out, (unsigned long)body.size());
    std::vector<unsigned char> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBig32(out, Crc(typed.data(), typed.size()) ^ 0xFFFFFFFFul);
}

// Uncompressed deflate blocks: larger files, but nothing to depend on.
std::vector<unsigned char> Zlib(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back((unsigned char)(n & 0xFF));
        out.push_back((unsigned char)(n >> 8));
        out.push_back((unsigned char)(~n & 0xFF));
        out.push_back((unsigned char)((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

} // namespace

TPixels CaptureClient(HWND hwnd)
{
    RECT rect;
    GetClientRect(hwnd, &rect);
    HDC dc = GetDC(hwnd);
    TPixels pixels = Capture(dc, rect.right, rect.bottom);
    ReleaseDC(hwnd, dc);
    return pixels;
}

TPixels CaptureWindow(HWND hwnd)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    HDC dc = GetWindowDC(hwnd);
    TPixels pixels = Capture(dc, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(hwnd, dc);
    return pixels;
}

CString SaveScreenshot(const TPixels& pixels, const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    folder = folder.Left(folder.ReverseFind(L'\\') + 1) + L"screenshots\\";
    CreateDirectoryW(folder, nullptr);
    const CString file = folder + name + L".png";

    std::vector<unsigned char> raw;
    raw.reserve((size_t)pixels.height * (pixels.width * 3 + 1));
    for (int y = 0; y < pixels.height; y++) {
        raw.push_back(0);
        for (int x = 0; x < pixels.width; x++) {
            const COLORREF c = pixels.At(x, y);
            raw.insert(raw.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    }
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig32(header, (unsigned long)pixels.width);
    PutBig32(header, (unsigned long)pixels.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", Zlib(raw));
    PutChunk(png, "IEND", {});
    if (FILE* f = _wfopen(file, L"wb")) {
        fwrite(png.data(), 1, png.size(), f);
        fclose(f);
    }
    return file;
}
