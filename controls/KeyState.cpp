#include "controls/KeyState.h"

#include <windowsx.h>

bool IsNeverReportedKey(UINT key) { return key == VK_CONTROL || key == VK_SHIFT || (key >= VK_LWIN && key <= VK_APPS); }

bool IsKeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool IsAnyModifierDown() { return IsKeyDown(VK_SHIFT) || IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU); }

bool IsShiftF10(UINT key)
{
    return key == VK_F10 && IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU);
}

bool IsKeyboardContextMenu(LPARAM lParam) { return GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1; }
