#pragma once
// Input steps that UserInput.h does not make: the left button held while the test waits, the
// wheel, and keys queued together so that a later one reaches a modal loop an earlier one starts.

#include <windows.h>

#include <initializer_list>

// Screen coordinates.
void MoveMouseTo(POINT screen);
void PressLeftButton();
void ReleaseLeftButton();
void TurnWheel(int delta);
// Each chord's keys are pressed in order and released in reverse; all go out before any is
// handled (Shift+F10 then Esc for the menu mode that F10 leaves behind).
void PressChords(std::initializer_list<std::initializer_list<WORD>> chords);
// A right click and then a key queued with it, for the popup menu the click opens.
void RightClickThenKey(POINT screen, WORD key);
