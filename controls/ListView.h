#pragma once
// TListView: the program's list-view control. Keys, clicks, context menus, custom drawing and
// column clicks go to one owner through IListViewListener.

#include "classlib/ListCtrl.h"
#include "classlib/MsgMap.h"

#include <vector>

class TListView;

class IListViewListener {
public:
    // Key operations return true when they consumed the key.
    virtual bool OnKeyDown(UINT key) = 0;
    virtual bool OnSysKeyDown(UINT key) = 0;
    virtual void OnDoubleClick(TListView* list, UINT flags, int x, int y) = 0; // client coordinates
    virtual void OnRightClick(TListView* list) = 0;
    virtual void OnContextMenu(TListView* list, int x, int y) = 0; // screen coordinates
    virtual void OnCustomDraw(TListView* list, NMHDR* header, LRESULT* result) = 0;
    virtual void OnColumnClick(TListView* list, int column) = 0;

protected:
    ~IListViewListener() = default;
};

class TListView : public CListCtrl {
public:
    explicit TListView(IListViewListener* listener = nullptr) : listener(listener) {}

    BOOL PreTranslateMessage(MSG* msg) override;

    void DeselectAll();
    void ClearSelectionAndFocus();
    int FindItemByText(const CString& text) const;
    int FindItemByData(LPARAM value) const;
    int GetItemImage(int item) const;
    void SetItemImage(int item, int image);
    // The whole cell text, however long.
    CString GetItemText(int item, int column) const;
    void GetSelectedItemTexts(std::vector<CString>& texts) const;
    void GetSelectedItemData(std::vector<LPARAM>& data) const;
    void GetSelectedItemIndexes(std::vector<int>& indexes) const;
    // The item with its texts, image, data and state to another index, counted without it;
    // returns the new index.
    int MoveItem(int from, int to);
    // 0 icons, 1 small icons, 2 list, 3 report.
    int GetViewIndex() const;
    // The row and column under the pointer where the message being handled (a click) happened;
    // false when it is over no row.
    bool GetCellAtMessagePos(int& row, int& column) const;

    BEGIN_MSG_MAP(TListView)
        REFLECTED_NOTIFY_HANDLER_EX(LVN_ITEMCHANGED, OnItemChanged)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
        REFLECTED_NOTIFY_HANDLER(NM_RCLICK, OnRightClick)
        REFLECTED_NOTIFY_HANDLER(NM_RDBLCLK, OnRightClick)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        REFLECTED_NOTIFY_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        REFLECTED_NOTIFY_HANDLER(LVN_COLUMNCLICK, OnColumnClick)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()

    IListViewListener* listener;

private:
    bool HandleKeyDown(UINT key);
    BOOL OnItemChanged(NMHDR* header, LRESULT* result);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnRightClick(NMHDR* header);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnCustomDraw(NMHDR* header);
    LRESULT OnColumnClick(NMHDR* header);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);

    bool clicking = false; // inside the list's own handling of a button press
    int toggledRow = -1;   // the row whose check box the last press changed
};
