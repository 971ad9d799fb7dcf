#pragma once
// Where a log view shows its lines, found by the view's own hit test as a pointer would.

#include "logview/LogView.h"

// The top of the line in the view's client area; -1 when the line is not shown.
inline int LineTop(TLogView& view, int line)
{
    RECT client;
    view.GetClientRect(&client);
    for (int y = 0; y < client.bottom; y++) {
        POINT probe = {client.right / 2, y};
        TLogTextPos pos;
        if (view.HitTest(probe, pos, false) && pos.line == line)
            return y;
    }
    return -1;
}
