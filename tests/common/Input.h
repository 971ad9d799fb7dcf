#pragma once
// Real input for window tests: SendInput, as a user's mouse and keyboard would give it, with
// the messages pumped after each step so the windows have handled it.

#include <windows.h>

#include <initializer_list>

// Screen coordinates.
void MoveMouseTo(POINT screen);
void PressLeftButton();
void ReleaseLeftButton();
void ClickLeft(POINT screen);
void DoubleClickLeft(POINT screen);
void ClickRight(POINT screen);
void TurnWheel(int delta);
// Presses the keys in order and releases them in reverse: {VK_CONTROL, 'C'}.
void PressKeys(std::initializer_list<WORD> keys);
// Several chords queued at once, before any is handled: a later one reaches a modal loop that an
// earlier one starts (Shift+F10 then Esc for the menu mode F10 leaves behind).
void PressChords(std::initializer_list<std::initializer_list<WORD>> chords);
// A client point of a window in screen coordinates.
POINT ClientToScreenPoint(HWND hwnd, int x, int y);
