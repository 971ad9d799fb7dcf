#pragma once
// TPropertyTabSheet: a modal sheet that shows its pages on the tabs of a tab control. Derived
// sheets add their pages in OnInitDialog and show the first. OK checks every page whose window
// exists and stores them all only when each has passed; a page that fails comes to the front with
// its control focused and its text shown, and the sheet stays open. Cancel stores nothing.

#include "controls/UpdateDialog.h"
#include "res/windows/prefs.h"

#include <commctrl.h>

#include <vector>

class TPropertyPage;

// Shows the page of the index in wParam.
#define WM_SHOW_PROPERTY_PAGE (WM_APP + 100)

class TPropertyTabSheet : public TUpdateDialog {
public:
    explicit TPropertyTabSheet(CWnd* parent = nullptr);
    ~TPropertyTabSheet() override;

    // The page stays owned by the caller; its tab goes last.
    void AddPage(TPropertyPage* page, CString title);
    // Selects the tab and shows its page, making its window the first time.
    void ShowPage(int index);
    // Checks every shown page, then stores them all; false (nothing stored) at the first
    // page that fails, which is then shown with the problem.
    bool ApplyPages();

    int GetPageCount() const { return (int)pages.size(); }
    int GetCurrentIndex() const;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TPropertyTabSheet)
        MESSAGE_HANDLER(WM_SHOW_PROPERTY_PAGE, OnShowPageMessage)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdle)
        NOTIFY_HANDLER(IDC_PROPERTY_TAB, TCN_SELCHANGE, OnSelChange)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    LRESULT OnShowPageMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelChange(NMHDR* header);

    CWnd tab;
    std::vector<TPropertyPage*> pages;
};
