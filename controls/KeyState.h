#pragma once
// Key tests shared by the controls that report keys to their owners.

#include <windows.h>

// Shift, Ctrl, the Windows keys and the Applications key: never reported, never consumed.
bool IsNeverReportedKey(UINT key);
// Held at the time of the message being handled.
bool IsKeyDown(int key);
bool IsAnyModifierDown();
// Shift+F10 without Ctrl and Alt: the system's context-menu key, never taken.
bool IsShiftF10(UINT key);
// A WM_CONTEXTMENU made by the keyboard carries -1, -1 for its point.
bool IsKeyboardContextMenu(LPARAM lParam);
