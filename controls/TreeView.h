#pragma once
// TTreeView: the program's tree-view control. Keys, selection, context menus, double clicks and
// custom drawing go to ITreeViewListener; items can be dragged onto others (ITreeViewDragListener).

#include "classlib/MsgMap.h"
#include "classlib/ToolBar.h"
#include "classlib/TreeCtrl.h"

class TTreeView;

class ITreeViewListener {
public:
    // Key operations return true when they consumed the key.
    virtual bool OnKeyDown(UINT key) = 0;
    virtual bool OnSysKeyDown(UINT key) = 0;
    virtual void OnSelChanged(TTreeView* tree, HTREEITEM newItem, HTREEITEM oldItem) = 0;
    // item may be null; screen coordinates.
    virtual void OnContextMenu(TTreeView* tree, HTREEITEM item, int x, int y) = 0;
    virtual void OnDoubleClick(TTreeView* tree, HTREEITEM item, int x, int y) = 0;
    virtual void OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result) = 0;

protected:
    ~ITreeViewListener() = default;
};

class ITreeViewDragListener {
public:
    // May replace the target, or set it to null to refuse it.
    virtual void OnDragOver(TTreeView* tree, HTREEITEM dragged, HTREEITEM& target) = 0;
    virtual void OnDrop(TTreeView* tree, HTREEITEM dragged, HTREEITEM target) = 0;

protected:
    ~ITreeViewDragListener() = default;
};

class TTreeView : public CTreeCtrl {
public:
    BOOL PreTranslateMessage(MSG* msg) override;

    int GetItemDepth(HTREEITEM item) const;
    bool IsItemVisible(HTREEITEM item) const;
    void ExpandAncestors(HTREEITEM item);
    // Among the rows the user can see by scrolling, from the first root; -1 when collapsed away.
    int GetVisibleIndex(HTREEITEM item) const;
    void ScrollItemIntoView(HTREEITEM item);
    void SetVerticalScrollPos(int pos);
    void SetFontAndItemHeight(HFONT font);
    HTREEITEM GetLastChild(HTREEITEM item) const;
    HTREEITEM GetLastItem() const;
    void ExpandBranches(HTREEITEM item, UINT action);
    void ExpandAll(HTREEITEM item, UINT action);
    int GetSiblingPosition(HTREEITEM item) const;
    // During an item's custom draw: its position among its siblings ("%02d") in the text colour
    // on the text background, in a box one indent wide at the left of its row.
    void DrawSiblingNumber(const NMTVCUSTOMDRAW* draw);
    HTREEITEM CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM after);
    bool IsDragging() const { return dragging; }

    BEGIN_MSG_MAP(TTreeView)
        // The control still gets these; a drag they interrupt ends without a drop.
        if (dragging && IsDragInterruption(uMsg, lParam))
            EndDrag();
        REFLECTED_NOTIFY_HANDLER(TVN_SELCHANGEDW, OnSelChanged)
        REFLECTED_NOTIFY_HANDLER(NM_RCLICK, OnRightClick)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
        REFLECTED_NOTIFY_HANDLER_EX(NM_DBLCLK, OnDblClkNotify)
        REFLECTED_NOTIFY_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        REFLECTED_NOTIFY_HANDLER(TVN_BEGINDRAGW, OnBeginDrag)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSysKeyDownMessage)
    END_MSG_MAP()

    bool expandOnDoubleClick = true;
    ITreeViewListener* listener = nullptr;
    ITreeViewDragListener* dragListener = nullptr;

private:
    bool HandleKeyDown(UINT key);
    void ReportContextMenu(HTREEITEM item, POINT screen);
    HTREEITEM ItemAtScreenPoint(POINT screen) const;
    void EndDrag();
    bool IsDragInterruption(UINT message, LPARAM lParam) const;
    bool IsAncestor(HTREEITEM ancestor, HTREEITEM item) const;

    LRESULT OnSelChanged(NMHDR* header);
    LRESULT OnRightClick(NMHDR* header);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    BOOL OnDblClkNotify(NMHDR* header, LRESULT* result);
    LRESULT OnCustomDraw(NMHDR* header);
    LRESULT OnBeginDrag(NMHDR* header);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysKeyDownMessage(WPARAM wParam, LPARAM lParam);

    CImageList dragImage;
    bool dragging = false;
    HTREEITEM draggedItem = nullptr;
    HTREEITEM dropTarget = nullptr;
};
