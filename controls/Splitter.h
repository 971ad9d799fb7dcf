#pragma once
// TSplitter: two owned panes side by side (vertical bar) or one above the other, with a bar
// the user drags. The bar is the uncovered strip between the panes.

#include "classlib/MsgMap.h"
#include "classlib/Wnd.h"

class TSplitter : public CWnd {
public:
    enum Mode { SECOND_ONLY = 0, FIRST_ONLY = 1, BOTH = 2 };

    ~TSplitter() override;

    // On success the first pane sits at the left (top) edge and the position is 50.
    bool Create(HWND parent, UINT id, bool verticalBar);
    void RecalcLayout();
    // The position as shown: the second pane keeps the minimum where it can.
    int ClampPosition(int position) const;

    BEGIN_MSG_MAP(TSplitter)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

    CWnd* first = nullptr;
    CWnd* second = nullptr;
    bool vertical = true;
    bool farSide = true; // the first pane at the right (bottom) edge
    int barWidth = 3;
    int position = 0; // the first pane's size, from its own edge
    int minimum = 0;
    int mode = BOTH;

private:
    RECT BarRect(int clampedPosition) const;
    int PositionAt(int x, int y) const;
    void DrawTracker(int at);
    void PlacePanes(int p);

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnSetFocus(WPARAM, LPARAM);

    bool dragging = false;
    POINT dragStart = {};
    int trackPosition = 0;
    HWND focusToRestore = nullptr;
};
