#include "logview/LogViewInput.h"

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// Shared by every view: half notches from one view complete in the next.
int g_wheelAccumulator = 0;

} // namespace

int GetAutoScrollSpeed(int y, int clientHeight)
{
    if (y < 0)
        return Clamp(5 * y, -200, -10);
    if (y > clientHeight)
        return Clamp(5 * (y - clientHeight), 10, 200);
    return 0;
}

int GetAutoScrollSteps(DWORD elapsed, int interval)
{
    if (interval != 10)
        return 1;
    return Clamp((int)(elapsed / 10u > 6u ? 6u : elapsed / 10u), 1, 6);
}

int TakeWheelNotches(int delta)
{
    g_wheelAccumulator += delta;
    const int notches = g_wheelAccumulator / WHEEL_DELTA; // truncates toward zero
    g_wheelAccumulator -= notches * WHEEL_DELTA;
    return notches;
}

int GetWheelScrollRows()
{
    UINT rows = 0;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &rows, 0) || rows == 0)
        return 3;
    return rows >= 1000 ? 1000 : (int)rows; // WHEEL_PAGESCROLL included
}
