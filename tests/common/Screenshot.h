#pragma once
// Pictures of real windows: pixels for checks, PNG files under the build folder for people.

#include "classlib/String.h"

#include <windows.h>

#include <vector>

struct TPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data; // top row first
    COLORREF At(int x, int y) const { return data[(size_t)y * width + x]; }
};

// The client area as it is drawn now.
TPixels CaptureClient(HWND hwnd);
// The whole window with its frame.
TPixels CaptureWindow(HWND hwnd);
// Written next to the test program, in its "screenshots" folder; returns the path.
CString SaveScreenshot(const TPixels& pixels, const wchar_t* name);
