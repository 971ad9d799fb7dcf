#pragma once
// List and tree views that paint through an off-screen bitmap, so rows do not flicker while
// they change; TMemDC is the bitmap context.

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "controls/ListView.h"
#include "controls/TreeView.h"

class TMemDC : public CDC {
public:
    // Over the target's clip box; straight into the target when it prints.
    explicit TMemDC(HDC target);
    // Copies the picture to the target.
    ~TMemDC() override;

    RECT rect = {};

private:
    CBitmap bitmap;
    HGDIOBJ oldBitmap = nullptr;
    HDC target;
    bool offScreen;
};

// Paints the control through a TMemDC filled with background first; erasing is skipped.
LRESULT PaintDoubleBuffered(CWnd* control, COLORREF background);

class TDoubleBufferedListView : public TListView {
public:
    using TListView::TListView;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TDoubleBufferedTreeView : public TTreeView {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The server tree. A double click acts by the world's own rule (connect, quit, join, part or
// toggle), so the control does not toggle the branch on its own as well.
class TServerTreeView : public TDoubleBufferedTreeView {
public:
    TServerTreeView() { expandOnDoubleClick = false; }
};
