#include "foundation/ModelessWindow.h"

void EnableModelessWindows(const std::vector<HWND>& windows, bool enable)
{
    for (HWND window : windows)
        if (window)
            ::EnableWindow(window, enable ? TRUE : FALSE);
}

void HideModelessWindows(const std::vector<HWND>& windows, bool hide)
{
    for (HWND window : windows)
        if (window)
            ::ShowWindow(window, hide ? SW_HIDE : SW_SHOWNA);
}

void SetModelessWindowsTopMost(const std::vector<HWND>& windows, bool topMost)
{
    for (HWND window : windows)
        if (window)
            ::SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
