#pragma once
// TPropertyTreeSheet: settings pages chosen from a tree of their titles, with a title banner over
// the page area. Pages are registered before the window exists, each under its parent page; a
// page's window is made the first time its item is chosen. OK checks every page made so far and
// stores them only when all have passed; Cancel stores nothing.

#include "classlib/TreeCtrl.h"
#include "controls/Label.h"
#include "controls/UpdateDialog.h"
#include "foundation/ResourceString.h"
#include "res/windows/preference.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <vector>

class TPropertyPage;
struct TDialogProblem;

// Shows the entry of the index in wParam.
#define WM_SHOW_TREE_PAGE (WM_APP + 100)

class TPropertyTreeSheet : public TUpdateDialog {
public:
    explicit TPropertyTreeSheet(CWnd* parent = nullptr);
    ~TPropertyTreeSheet() override;

    // Only before the window exists; a parent not registered puts the item at the top.
    bool AddPage(TPropertyPage* page, CString title, TPropertyPage* parent = nullptr);
    bool ShowPage(int index);
    bool SelectPage(TPropertyPage* page);
    // Checks every page made so far, then stores them all; false (nothing stored) at the first
    // that fails, which is then shown with its problem.
    bool ApplyPages();

    int GetPageCount() const { return (int)entries.size(); }
    TPropertyPage* GetPage(int index) const;
    int GetCurrentIndex() const { return current; }
    TPropertyPage* GetCurrentPage() const;
    HWND GetTree() const { return tree.m_hWnd; }
    // The tree item of a registered page, null when it has none.
    HTREEITEM FindItem(TPropertyPage* page) const;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // The frames the sheet belongs to see its keys first, so their accelerators keep working.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(TPropertyTreeSheet)
        MESSAGE_HANDLER(WM_SHOW_TREE_PAGE, OnShowPageMessage)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdle)
        NOTIFY_HANDLER(IDC_SHEET_TREE, TVN_SELCHANGEDW, OnSelChanged)
        NOTIFY_HANDLER(IDC_SHEET_TREE, TVN_GETDISPINFOW, OnGetDispInfo)
        NOTIFY_HANDLER(IDC_SHEET_TREE, NM_CUSTOMDRAW, OnTreeCustomDraw)
        COMMAND_ID_HANDLER(IDC_SHEET_HELP, OnHelp)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

protected:
    virtual void OnHelp();

private:
    struct TEntry {
        UINT templateId;
        TPropertyPage* page;
        TPropertyPage* parent;
        CString title;
    };

    LRESULT OnShowPageMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelChanged(NMHDR* header);
    LRESULT OnGetDispInfo(NMHDR* header);
    LRESULT OnTreeCustomDraw(NMHDR* header);
    void ShowProblem(TPropertyPage* page, const TDialogProblem& problem);
    int FindEntry(const TEntry* entry) const;

    CTreeCtrl tree;
    TGradientStatic banner;
    std::vector<std::unique_ptr<TEntry>> entries;
    std::map<TPropertyPage*, HTREEITEM> items;
    int current = -1;
    RECT pageRect = {};
};

// A page that is a member of its sheet and registers itself there when it is made: members are
// made in the order they are declared, so the declarations are the sheet's list of pages, each
// under its parent page (none puts it at the top).
template <class TPage> class TSheetPage : public TPage {
public:
    TSheetPage(TPropertyTreeSheet* sheet, UINT title, TPropertyPage* parent = nullptr)
    {
        sheet->AddPage(this, LoadResourceString(title), parent);
    }
};
