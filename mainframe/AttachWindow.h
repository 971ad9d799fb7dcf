#pragma once
// TAttachWindow: a frame window that snaps to the edges of the desktop work area while the user
// drags it by its caption.

#include "classlib/Frame.h"
#include "classlib/MsgMap.h"

// Where a window of the dragged rectangle's size lands with its top-left corner at topLeft.
// Each edge within distance of the work area's edge moves onto it; with release on, a window
// pushed distance or more beyond an edge is let go.
RECT SnapToWorkArea(const RECT& proposed, POINT topLeft, const RECT& workArea, int distance, bool release);

class TAttachWindow : public CFrameWnd {
public:
    BEGIN_MSG_MAP(TAttachWindow)
        MESSAGE_HANDLER(WM_MOVING, OnMoving)
        MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
        MESSAGE_HANDLER(WM_ENTERSIZEMOVE, OnEnterSizeMove)
    END_MSG_MAP()

    bool snapEnabled = false;
    int snapDistance = 16;
    int dragOffsetX = 0;
    int dragOffsetY = 0;
    bool releaseBeyondEdge = false;
    // Kept here for the owner: the window stays above all others.
    bool alwaysOnTop = false;

private:
    LRESULT OnMoving(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnterSizeMove(WPARAM wParam, LPARAM lParam);
    // Where the cursor holds the window: the cursor less the window's top-left corner.
    void TakeDragOffset();
};
