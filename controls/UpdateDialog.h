#pragma once
// TUpdateDialog: the base of every dialog. Modal runs are counted with TModalManager's counter
// so the main window stays disabled while any is open; controls and popup menus follow the
// dialog's update handlers.

#include "classlib/Dialog.h"
#include "classlib/DynCreate.h"
#include "classlib/MsgMap.h"
#include "classlib/String.h"

#include <vector>

class TUpdateDialog : public CDialog {
    DECLARE_DYNCREATE(TUpdateDialog)

public:
    explicit TUpdateDialog(UINT templateId = 0, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
    ~TUpdateDialog() override;

    INT_PTR DoModal() override;
    // A notice of its own (an offer, an invitation): created without a parent and shown; centred
    // on the work area while the main window is hidden or minimised. Unless asked to activate it
    // leaves the keyboard where the user types. False when not created.
    bool ShowOwnWindow(UINT templateId, bool activate);

    BEGIN_MSG_MAP(TUpdateDialog)
        MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdle)
    END_MSG_MAP()

protected:
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
};

// The most characters a dialog's text field takes, unless it says otherwise.
const int kTextLimit = 10000;

// Text helpers for a dialog's controls.
void SetSpinEditValue(HWND edit, HWND spin, int value, int min, int max);
// The edit's number clamped into the spin control's range; no digits read as 0.
int GetSpinEditValue(HWND edit, HWND spin);
// A limit of 0 or less keeps the control's own limit.
void SetEditText(HWND edit, const CString& text, int limit);
void SetComboText(HWND combo, const CString& text, int limit);
CString GetControlText(HWND window);
void SetEditLines(const std::vector<CString>& lines, HWND edit);
void GetEditLines(HWND edit, std::vector<CString>& lines);
