#include "controls/LayoutManager.h"

void TLayoutManager::AddControl(UINT anchors, HWND control)
{
    RECT client, rect;
    ::GetClientRect(parent, &client);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    if (!(anchors & (LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_RIGHT)))
        anchors |= LAYOUT_ANCHOR_LEFT;
    if (!(anchors & (LAYOUT_ANCHOR_TOP | LAYOUT_ANCHOR_BOTTOM)))
        anchors |= LAYOUT_ANCHOR_TOP;
    Entry entry = {control, anchors, 0, 0, 0, 0};
    if (anchors & LAYOUT_ANCHOR_LEFT)
        entry.left = rect.left - client.left;
    if (anchors & LAYOUT_ANCHOR_RIGHT)
        entry.right = rect.right - client.right;
    if (anchors & LAYOUT_ANCHOR_TOP)
        entry.top = rect.top - client.top;
    if (anchors & LAYOUT_ANCHOR_BOTTOM)
        entry.bottom = rect.bottom - client.bottom;
    entries.push_back(entry);
}

namespace {

// One axis: both anchors stretch; one keeps the size at that edge.
void PlaceSpan(bool nearAnchor, bool farAnchor, int nearDistance, int farDistance, int farEdge, int size, int& from,
               int& to)
{
    if (nearAnchor && farAnchor) {
        from = nearDistance;
        to = farEdge + farDistance;
    } else if (farAnchor) {
        to = farEdge + farDistance;
        from = to - size;
    } else {
        from = nearDistance;
        to = from + size;
    }
}

} // namespace

void TLayoutManager::RepositionControl(const Entry& entry)
{
    RECT client, rect;
    ::GetClientRect(parent, &client);
    ::GetWindowRect(entry.control, &rect);
    int x1, x2, y1, y2;
    PlaceSpan(entry.anchors & LAYOUT_ANCHOR_LEFT, entry.anchors & LAYOUT_ANCHOR_RIGHT, entry.left, entry.right,
              client.right, rect.right - rect.left, x1, x2);
    PlaceSpan(entry.anchors & LAYOUT_ANCHOR_TOP, entry.anchors & LAYOUT_ANCHOR_BOTTOM, entry.top, entry.bottom,
              client.bottom, rect.bottom - rect.top, y1, y2);
    ::MoveWindow(entry.control, x1, y1, x2 - x1, y2 - y1, TRUE);
    ::InvalidateRect(entry.control, nullptr, TRUE);
}

void TLayoutManager::Relayout()
{
    for (const Entry& entry : entries)
        RepositionControl(entry);
    ::InvalidateRect(parent, nullptr, TRUE);
}
