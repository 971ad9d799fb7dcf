#pragma once
// Finding the windows a command shows, and answering a modal one from inside its own loop.

#include <windows.h>

#include <functional>

// The first shown top-level window of this thread that matches, or null.
HWND FindShownWindow(const std::function<bool(HWND)>& match);
std::function<bool(HWND)> HasControl(int id);
std::function<bool(HWND)> HasCaption(const wchar_t* caption);
// A timer of its own watches for the window, so menus and other loops may run meanwhile; the
// step runs once, inside whatever modal loop shows the window. One watch at a time.
void WhenShown(std::function<bool(HWND)> match, std::function<void(HWND)> step);
void StopWatching();
// How many watched windows have shown so far.
int ShownWindowCount();
