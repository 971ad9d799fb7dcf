#pragma once
// TListBox reports keys, clicks and selection changes to its owner; TCheckListBox adds a check
// box to every item.

#include "classlib/ListBox.h"
#include "classlib/MsgMap.h"

#include <vector>

class TListBox;

class IListBoxListener {
public:
    // Key operations return true when they consumed the key; by default none does.
    virtual bool OnKeyDown(TListBox*, UINT) { return false; }
    virtual bool OnSysKeyDown(TListBox*, UINT) { return false; }
    virtual void OnDoubleClick(TListBox*, UINT, int, int) {}
    virtual void OnClick(TListBox*, UINT, int, int) {}
    virtual void OnSelChange(TListBox*) {}

protected:
    ~IListBoxListener() = default;
};

class ICheckListBoxListener : public IListBoxListener {
public:
    virtual void OnCheckChange(TListBox* list) = 0;

protected:
    ~ICheckListBoxListener() = default;
};

class TListBox : public CListBox {
public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void GetItems(std::vector<CString>& items) const;
    void SetItems(const std::vector<CString>& items);
    // The first item equal to the text under the comparison (0 for equal), or -1.
    int FindItem(const CString& text, int (*compare)(const CString&, const CString&)) const;
    // After a deletion at index: that index selected, or the last item when the list is shorter.
    void SelectNear(int index);
    virtual void UpdateHorizontalExtent();
    // The item at a client point, by rows from the top index; -1 below the last item.
    int ItemFromPoint(int x, int y) const;

    BEGIN_MSG_MAP(TListBox)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
        REFLECTED_COMMAND_HANDLER(LBN_SELCHANGE, OnSelChange)
    END_MSG_MAP()

    IListBoxListener* listener = nullptr;

protected:
    int WidestItemText() const;
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    void OnSelChange();
    bool checkChanged = false; // a check box changed in the current click
};

// An owner-drawn list box whose items carry a check box, toggled by a click on the box or by
// the space key. The check state is the item's data.
class TCheckListBox : public TListBox {
public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void UpdateHorizontalExtent() override;
    bool GetCheck(int index) const;
    void SetCheck(int index, bool check);
    // From the press that toggled a box to its release, or to the loss of the capture when the
    // release goes elsewhere: the selection notices the list box sends meanwhile come from that
    // click.
    bool IsInBoxClick() const { return boxClick; }

    BEGIN_MSG_MAP(TCheckListBox)
        MESSAGE_HANDLER(KV_REFLECTED(WM_DRAWITEM), OnDrawItem)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnCheckDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnCheckDblClk)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnCheckUp)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        CHAIN_MSG_MAP(TListBox)
    END_MSG_MAP()

    ICheckListBoxListener* checkListener = nullptr;

private:
    void ToggleCheck(int index);
    bool ToggleIfOnBox(LPARAM lParam);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);

    bool boxClick = false;
    bool releasing = false;
};
