#pragma once
// A modeless window that follows the main window: disabled while a modal dialog runs, hidden
// while the main window is minimised, and top-most when it is. Owners gather the handles of
// their windows and apply each change to all of them.

#include <windows.h>

#include <vector>

class IModelessWindow {
public:
    // Null for a window that does not exist (yet).
    virtual HWND GetWindowHandle() const = 0;

protected:
    ~IModelessWindow() = default;
};

// Each skips null handles.
void EnableModelessWindows(const std::vector<HWND>& windows, bool enable);
// Hidden, or shown again without taking the activation.
void HideModelessWindows(const std::vector<HWND>& windows, bool hide);
void SetModelessWindowsTopMost(const std::vector<HWND>& windows, bool topMost);
