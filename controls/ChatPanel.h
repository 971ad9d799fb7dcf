#pragma once
// TChatPanel: the log views of the nodes as cards above the input line.

#include "controls/CardLayoutPanel.h"
#include "controls/Edit.h"

class TChatPanel : public CWnd {
public:
    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Also called when the input line's height changed.
    void RecalcLayout();

    BEGIN_MSG_MAP(TChatPanel)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

    TBorderCardLayoutPanel cards;
    TInputEdit input;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM) { return HandFocusBack(wParam); }
};
