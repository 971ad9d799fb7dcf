#pragma once
// TPropertyPage: a settings page shown inside a sheet. The owner hands each page the record it
// edits before any page window exists; the sheet makes a page's window the first time it shows
// it. The page loads its controls from the record then, checks them when the sheet is confirmed,
// and writes them back only when every shown page has passed its check.
//
// Most pages are their Exchange list; pages with lists of their own add to Load and Store.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"

class TPropertyPage : public TUpdateDialog {
public:
    explicit TPropertyPage(UINT templateId) : TUpdateDialog(templateId, nullptr), templateId(templateId) {}

    UINT GetTemplateId() const { return templateId; }

    // Loads the controls from the record; a page without its record keeps the template's content.
    BOOL OnInitDialog() override;
    // Stores the controls into the record. The sheet calls it only after every check passed.
    void OnOK() override;
    // Nothing is written; pages with state of their own (column widths) override it.
    void OnCancel() override {}
    // False with the control to focus and the text to show when the controls cannot be stored.
    virtual bool Validate(TDialogProblem& problem);
    // Shows the problem's text over the sheet, then focuses its control with the text selected.
    // The sheet brings the page to the front first.
    void ShowProblem(const TDialogProblem& problem);
    // Called by sheets that show one page at a time each time the page comes to the front.
    virtual void OnPageShow() {}

    // Esc cancels the sheet, except in an open list, which it only closes; Enter presses the
    // sheet's default button except in a multi-line edit that takes Enter as a line break.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The record the page edits has been set.
    virtual bool HasRecord() const = 0;
    // The page's controls, their fields and rules, for every direction.
    virtual void Exchange(TDialogExchange&) {}
    // After the Exchange list: what the list cannot say (list views, computed fields).
    virtual void Load() {}
    virtual void Store() {}

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

private:
    UINT templateId;
};
