#pragma once
// The sixteen IRC colours, by colour number: painting, colour pickers and markup share them.

#include <windows.h>

constexpr COLORREF kIrcPalette[16] = {
    RGB(255, 255, 255), RGB(0, 0, 0),     RGB(0, 0, 128),     RGB(0, 128, 0),     RGB(255, 0, 0),   RGB(128, 0, 0),
    RGB(128, 0, 128),   RGB(255, 128, 0), RGB(255, 255, 0),   RGB(0, 255, 0),     RGB(0, 128, 128), RGB(0, 255, 255),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(128, 128, 128), RGB(192, 192, 192),
};
