#pragma once
// TLayoutManager: keeps a resizable dialog's controls at fixed distances from the edges they
// are anchored to; the dialog calls Relayout from WM_SIZE.

#include <windows.h>

#include <vector>

enum : UINT {
    LAYOUT_ANCHOR_TOP = 1,
    LAYOUT_ANCHOR_RIGHT = 2,
    LAYOUT_ANCHOR_BOTTOM = 4,
    LAYOUT_ANCHOR_LEFT = 8,
    LAYOUT_ANCHOR_ALL = 0xF,
};

class TLayoutManager {
public:
    struct Entry {
        HWND control;
        UINT anchors;
        int left, right, top, bottom; // distances to the parent's client edges
    };

    virtual ~TLayoutManager() = default;

    // The control's distances are taken from where it stands now; no horizontal anchor means
    // left, no vertical one top.
    void AddControl(UINT anchors, HWND control);
    void Relayout();
    void RepositionControl(const Entry& entry);

    HWND parent = nullptr;

private:
    std::vector<Entry> entries;
};
