#pragma once
// Memory bitmaps that drawing tests paint into, read pixel by pixel, and save as PNG artefacts
// (uncompressed, so no library is needed) for a person to look at.

#include "classlib/String.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

class TMemoryCanvas {
public:
    // Rows run top-down unless asked otherwise, as most pictures a program makes do.
    TMemoryCanvas(int width, int height, COLORREF background = RGB(255, 255, 255), bool topDown = true)
        : width(width), height(height), topDown(topDown)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = topDown ? -height : height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
        Fill(RECT{0, 0, width, height}, background);
    }
    TMemoryCanvas(const TMemoryCanvas&) = delete;
    TMemoryCanvas& operator=(const TMemoryCanvas&) = delete;
    ~TMemoryCanvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    void Fill(const RECT& rect, COLORREF color)
    {
        GdiFlush();
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                if (x >= 0 && y >= 0 && x < width && y < height)
                    bits[Row(y) * width + x] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        DWORD p = bits[Row(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Row(int y) const { return topDown ? y : height - 1 - y; }
    // Pixels that differ from those of a canvas of the same size and row order.
    int Differing(const TMemoryCanvas& other) const
    {
        GdiFlush();
        int n = 0;
        for (int i = 0; i < width * height; i++)
            n += bits[i] != other.bits[i];
        return n;
    }
    // Pixels of exactly that colour inside the rectangle (clipped to the canvas).
    int Count(const RECT& rect, COLORREF color) const
    {
        int n = 0;
        for (int y = rect.top < 0 ? 0 : rect.top; y < rect.bottom && y < height; y++)
            for (int x = rect.left < 0 ? 0 : rect.left; x < rect.right && x < width; x++)
                n += Pixel(x, y) == color;
        return n;
    }

    // Pixels within the tolerance of that colour in each of red, green and blue: smoothed text
    // has only a few of exactly its own colour.
    int CountNear(const RECT& rect, COLORREF color, int tolerance) const
    {
        int n = 0;
        for (int y = rect.top < 0 ? 0 : rect.top; y < rect.bottom && y < height; y++)
            for (int x = rect.left < 0 ? 0 : rect.left; x < rect.right && x < width; x++) {
                COLORREF p = Pixel(x, y);
                n += abs(GetRValue(p) - GetRValue(color)) <= tolerance &&
                     abs(GetGValue(p) - GetGValue(color)) <= tolerance &&
                     abs(GetBValue(p) - GetBValue(color)) <= tolerance;
            }
        return n;
    }

    // Writes a PNG with stored deflate blocks; false when the file cannot be written.
    bool SavePng(const CString& path) const
    {
        GdiFlush();
        std::vector<unsigned char> raw;
        for (int y = 0; y < height; y++) {
            raw.push_back(0);
            for (int x = 0; x < width; x++) {
                COLORREF c = Pixel(x, y);
                raw.push_back(GetRValue(c));
                raw.push_back(GetGValue(c));
                raw.push_back(GetBValue(c));
            }
        }
        std::vector<unsigned char> z = {0x78, 0x01};
        for (size_t pos = 0; pos < raw.size() || pos == 0;) {
            size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
            z.push_back(pos + n == raw.size() ? 1 : 0);
            unsigned char header[] = {(unsigned char)n, (unsigned char)(n >> 8), (unsigned char)~n,
                                      (unsigned char)(~n >> 8)};
            z.insert(z.end(), header, header + 4);
            z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
            pos += n;
            if (n == 0)
                break;
        }
        unsigned a = 1, b = 0;
        for (unsigned char c : raw) {
            a = (a + c) % 65521;
            b = (b + a) % 65521;
        }
        Put32(z, (b << 16) | a);
        std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::vector<unsigned char> ihdr;
        Put32(ihdr, width);
        Put32(ihdr, height);
        unsigned char rest[] = {8, 2, 0, 0, 0};
        ihdr.insert(ihdr.end(), rest, rest + 5);
        Chunk(png, "IHDR", ihdr);
        Chunk(png, "IDAT", z);
        Chunk(png, "IEND", {});
        FILE* file = _wfopen(path, L"wb");
        if (!file)
            return false;
        bool ok = fwrite(png.data(), 1, png.size(), file) == png.size();
        return fclose(file) == 0 && ok;
    }

    HDC dc;
    int width, height;
    bool topDown;

private:
    static void Put32(std::vector<unsigned char>& out, unsigned v)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back((unsigned char)(v >> shift));
    }
    static void Chunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data)
    {
        Put32(png, (unsigned)data.size());
        std::vector<unsigned char> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        unsigned crc = 0xFFFFFFFF;
        for (unsigned char c : body) {
            crc ^= c;
            for (int k = 0; k < 8; k++)
                crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
        }
        png.insert(png.end(), body.begin(), body.end());
        Put32(png, ~crc);
    }

    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits = nullptr;
};

// The folder for screenshots of the test run: "screenshots" beside the test program (under
// build/), created on demand; tests that move the working directory still write there.
inline CString ScreenshotPath(const wchar_t* name)
{
    wchar_t module[MAX_PATH * 2] = L"";
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH * 2);
    CString folder(module, (int)length);
    int slash = folder.ReverseFind(L'\\');
    folder = slash >= 0 ? folder.Left(slash + 1) + L"screenshots" : CString(L"screenshots");
    CreateDirectoryW(folder, nullptr);
    return folder + L"\\" + name;
}

// What the screen shows of the window's client area, to read pixel by pixel.
inline std::unique_ptr<TMemoryCanvas> CaptureClient(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    auto canvas =
        std::make_unique<TMemoryCanvas>(client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas->dc, 0, 0, canvas->width, canvas->height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas;
}
