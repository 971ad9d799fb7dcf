// Enable rules of the edit commands: each follows the control that has the keyboard focus.

#include "app/MainFrame.h"
#include "classlib/CmdUI.h"
#include "log/LogView.h"

namespace {

bool HasEditSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return start != end;
}

} // namespace

CMainFrame::TEditFocus CMainFrame::GetEditFocus(TLogView*& view)
{
    view = nullptr;
    HWND focus = ::GetFocus();
    if (!focus)
        return EditFocusOther;
    if (TLogView* console = contentPanel.GetConsoleLog(); console && console->m_hWnd == focus) {
        view = console;
        return EditFocusLog;
    }
    TChatPanel* chat = contentPanel.GetChatPanel();
    if (chat && focus == chat->input.m_hWnd)
        return EditFocusInput;
    // A node's log view is one of the chat panel's cards.
    if (chat && ::GetParent(focus) == chat->cards.m_hWnd) {
        view = dynamic_cast<TLogView*>(CWnd::FromHandlePermanent(focus));
        if (view)
            return EditFocusLog;
    }
    if (focus == contentPanel.GetSearchBar().edit.m_hWnd)
        return EditFocusSearch;
    TServerTreeView* tree = contentPanel.GetServerTree();
    TListPanel* members = contentPanel.GetMemberListPanel();
    if ((tree && focus == tree->m_hWnd) || (members && ::IsChild(members->m_hWnd, focus)))
        return EditFocusList;
    return EditFocusOther;
}

void CMainFrame::OnUpdateEditCopy(CCmdUI* ui)
{
    TLogView* view = nullptr;
    switch (GetEditFocus(view)) {
    case EditFocusLog:
        ui->Enable(view->HasSelection() && !view->GetSelectedText().IsEmpty());
        break;
    case EditFocusInput:
    case EditFocusSearch:
        ui->Enable(HasEditSelection(::GetFocus()));
        break;
    default:
        ui->Enable(FALSE);
    }
}

void CMainFrame::OnUpdateEditSelectAll(CCmdUI* ui)
{
    TLogView* view = nullptr;
    switch (GetEditFocus(view)) {
    case EditFocusLog:
        ui->Enable(view->GetLineCount() > 0);
        break;
    case EditFocusInput:
        ui->Enable(::GetWindowTextLengthW(::GetFocus()) > 0);
        break;
    default:
        ui->Enable(FALSE);
    }
}

void CMainFrame::OnUpdateEditPaste(CCmdUI* ui)
{
    TLogView* view = nullptr;
    ui->Enable(GetEditFocus(view) != EditFocusOther && ::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

// Cut, delete and undo always act on the input line.
void CMainFrame::OnUpdateEditCut(CCmdUI* ui)
{
    TChatPanel* chat = contentPanel.GetChatPanel();
    ui->Enable(chat && HasEditSelection(chat->input.m_hWnd));
}

void CMainFrame::OnUpdateEditUndo(CCmdUI* ui)
{
    TChatPanel* chat = contentPanel.GetChatPanel();
    ui->Enable(chat && ::SendMessageW(chat->input.m_hWnd, EM_CANUNDO, 0, 0));
}
