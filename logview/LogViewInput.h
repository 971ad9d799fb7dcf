#pragma once
// Arithmetic of the pointer and the wheel in a log view: auto-scroll speed while dragging past
// an edge, and whole wheel notches.

#include <windows.h>

// 0 inside the client height; negative above, positive below, magnitude 10 to 200.
int GetAutoScrollSpeed(int y, int clientHeight);
// 200 ms just outside the view, 10 ms from 40 pixels on.
inline int GetAutoScrollInterval(int speed) { return 210 - (speed < 0 ? -speed : speed); }
// Rows per timer tick: late ticks catch up only at the fastest interval, by at most 6 rows.
int GetAutoScrollSteps(DWORD elapsed, int interval);

// Adds to the one wheel accumulator of the process and takes the whole notches out of it.
int TakeWheelNotches(int delta);
// The system's rows per notch, 3 when it gives none; 1000 stands for a page (WHEEL_PAGESCROLL too).
int GetWheelScrollRows();
inline bool IsPageScrollSetting(int rows) { return rows >= 1000; }
