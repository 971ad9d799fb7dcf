// Dragging tree items onto other items.
#include "controls/TreeView.h"

#include <windowsx.h>

LRESULT TTreeView::OnBeginDrag(NMHDR* header)
{
    NMTREEVIEWW* drag = (NMTREEVIEWW*)header;
    draggedItem = drag->itemNew.hItem;
    if (!dragImage.Attach(CreateDragImage(draggedItem)))
        return 0;
    dragging = true;
    POINT screen = drag->ptDrag;
    ClientToScreen(&screen);
    ImageList_BeginDrag(dragImage, 0, 0, 0);
    ImageList_DragEnter(::GetDesktopWindow(), screen.x, screen.y);
    ::SetCapture(m_hWnd);
    SetFocus();
    return 0;
}

LRESULT TTreeView::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (dragging) {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        POINT screen = point;
        ClientToScreen(&screen);
        ImageList_DragMove(screen.x, screen.y);
        HTREEITEM target = HitTest(point);
        if (target && dragListener)
            dragListener->OnDragOver(this, draggedItem, target);
        ImageList_DragShowNolock(FALSE);
        SelectDropTarget(target ? target : draggedItem);
        ImageList_DragShowNolock(TRUE);
        dropTarget = target;
    }
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

void TTreeView::EndDrag()
{
    dragging = false;
    dropTarget = nullptr;
    ::ReleaseCapture();
    ImageList_DragLeave(m_hWnd);
    ImageList_EndDrag();
    dragImage.DeleteImageList();
    SelectDropTarget(nullptr);
}

// The capture or the focus went elsewhere, the system cancelled modes, or the window goes.
bool TTreeView::IsDragInterruption(UINT message, LPARAM lParam) const
{
    if (message == WM_CAPTURECHANGED)
        return (HWND)lParam != m_hWnd;
    return message == WM_CANCELMODE || message == WM_KILLFOCUS || message == WM_DESTROY;
}

bool TTreeView::IsAncestor(HTREEITEM ancestor, HTREEITEM item) const
{
    for (HTREEITEM up = GetParentItem(item); up; up = GetParentItem(up))
        if (up == ancestor)
            return true;
    return false;
}

LRESULT TTreeView::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_LBUTTONUP, wParam, lParam);
    if (!dragging)
        return result;
    EndDrag();
    HTREEITEM target = HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    // Never into itself or its own branch.
    if (!target || target == draggedItem || IsAncestor(draggedItem, target))
        return result;
    if (dragListener)
        dragListener->OnDrop(this, draggedItem, target);
    return result;
}

HTREEITEM TTreeView::CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM after)
{
    wchar_t text[1024] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    item.hItem = source;
    item.pszText = text;
    item.cchTextMax = 1024;
    item.stateMask = 0xF0; // bold, expanded, expanded once, partly expanded
    GetItem(&item);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item = item;
    insert.item.state &= 0xF0;
    HTREEITEM copy = InsertItem(&insert);
    HTREEITEM previous = TVI_FIRST;
    for (HTREEITEM child = GetChildItem(source); child && copy; child = GetNextSiblingItem(child))
        previous = CopyItem(child, copy, previous);
    return copy;
}
