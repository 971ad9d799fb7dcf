#pragma once
// Real keyboard and mouse input through SendInput, as a user gives it, and screenshots of
// windows kept as PNG files for a person to look at.

#include <windows.h>

#include <initializer_list>

class CWnd;

// A visible topmost window on the button-face background, ready for real input: windows of other
// test programs on the desktop cannot catch the clicks meant for it.
BOOL CreateTopmostWindow(CWnd& window, const wchar_t* title, int x, int y, int width, int height);

// Brings the window's top-level window to the front and gives the window the focus.
void FocusForInput(HWND window);
// Presses the key with the modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU ...), then pumps.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// The same for keys after which Wine's default handling enters the menu bar (F10, also with
// Shift); Escape, pressed from a timer, leaves it again.
void PressMenuKey(WORD key, std::initializer_list<WORD> modifiers = {});
void TypeText(const wchar_t* text);
// The whole text in one go, as a quick typist's keys come: a control's type-ahead, which a slow
// machine would split between keys pressed one round trip apart, sees them as one word.
void TypeTextAtOnce(const wchar_t* text);
// Queues the key press without pumping, for a loop of the system's own (a message box, a
// chooser, an open menu) to read.
void QueueKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Screen coordinates. A click waits out the double-click time after the last press of any step
// here or in PointerInput.h first, so that it starts a gesture of its own.
void ClickAt(POINT point, bool right = false);
void DoubleClickAt(POINT point);
// Every step that presses a button tells the clock the click steps read.
void NoteButtonPress();
// Queues a left click without pumping, for a loop of the system's own (an open menu) to read.
void QueueClickAt(POINT point);
// One notch of the wheel (120) per unit, away from the user when positive.
void TurnWheel(POINT point, int notches);
// Presses the left button at one point, moves in steps to the other and releases there.
void DragMouse(POINT from, POINT to);
// The centre of a window's client area, or a client point, in screen coordinates.
POINT ScreenPointOf(HWND window);
POINT ScreenPointOf(HWND window, int x, int y);
// A child's window rectangle in its parent's client coordinates.
RECT WindowRectIn(HWND window, HWND parent);
// Writes what the screen shows of the window to a PNG file; folders are made as needed.
bool SaveWindowPng(HWND window, const wchar_t* path);
