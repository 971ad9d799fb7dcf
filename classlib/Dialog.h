#pragma once
// CDialog: a dialog made from its template resource, modal (DoModal) or modeless (Create).

#include "classlib/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Runs the dialog until EndDialog; returns its result, or -1 when the template cannot be made.
    // The owner is disabled meanwhile (when it was enabled) and enabled again before the
    // dialog goes, so activation returns to it.
    virtual INT_PTR DoModal();
    BOOL Create(UINT templateId = 0, CWnd* parent = nullptr);
    // Modeless, with no owner window, so it neither hides nor minimises with the parent given to
    // the constructor, which stays for the dialog's own use (to centre on, to pass keys to).
    BOOL CreateUnowned(UINT templateId);
    void EndDialog(int result);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND CreateFromTemplate(HWND owner);
    void RunModalLoop();

    bool m_modal = false;
    bool m_endRequested = false;
    int m_result = -1;
};
