#pragma once
// Input steps that UserInput.h does not make: the left button held while the test waits, a
// part of a wheel notch, and a popup menu's key queued with the click that opens it.

#include <windows.h>

// Screen coordinates.
void MoveMouseTo(POINT screen);
void PressLeftButton();
void ReleaseLeftButton();
// Wheel turn in units of 1/120 notch, away from the user when positive.
void TurnWheelBy(int delta);
// A right click and then a key queued with it, for the popup menu the click opens.
void RightClickThenKey(POINT screen, WORD key);
