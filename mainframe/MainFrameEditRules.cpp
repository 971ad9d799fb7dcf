// The edit commands and the log views' URL and address commands: each follows the control that
// has the keyboard focus.

#include "classlib/CmdUI.h"
#include "controls/Clipboard.h"
#include "foundation/IrcMarkup.h"
#include "irc/IRCChannel.h"
#include "logview/LogView.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "world/IRCWorld.h"

namespace {

bool HasEditSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return start != end;
}

bool IsDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// The edit command a key of the accelerator table stands for, or 0.
UINT EditCommandOfKey(UINT key)
{
    bool ctrl = IsDown(VK_CONTROL), shift = IsDown(VK_SHIFT), alt = IsDown(VK_MENU);
    if (alt || shift)
        return 0;
    if (key == VK_DELETE)
        return ctrl ? 0 : ID_EDIT_CLEAR;
    if (!ctrl)
        return 0;
    switch (key) {
    case 'C':
        return ID_EDIT_COPY;
    case 'V':
        return ID_EDIT_PASTE;
    case 'X':
        return ID_EDIT_CUT;
    case 'Z':
        return ID_EDIT_UNDO;
    case 'A':
        return ID_EDIT_SELECT_ALL;
    default:
        return 0;
    }
}

void PutCaretAtEnd(HWND edit)
{
    int length = ::GetWindowTextLengthW(edit);
    ::SendMessageW(edit, EM_SETSEL, length, length);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
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

// Cut, delete and undo act on the search bar while it has the focus, else on the input line.
HWND CMainFrame::GetCutTarget()
{
    TLogView* view = nullptr;
    if (GetEditFocus(view) == EditFocusSearch)
        return ::GetFocus();
    TChatPanel* chat = contentPanel.GetChatPanel();
    return chat ? chat->input.m_hWnd : nullptr;
}

void CMainFrame::OnUpdateEditCut(CCmdUI* ui)
{
    HWND target = GetCutTarget();
    ui->Enable(target && HasEditSelection(target));
}

void CMainFrame::OnUpdateEditUndo(CCmdUI* ui)
{
    HWND target = GetCutTarget();
    ui->Enable(target && ::SendMessageW(target, EM_CANUNDO, 0, 0));
}

// An edit key whose command is greyed goes on to the focused control as an ordinary key, so Del
// still deletes a character and Ctrl+Z undoes in the search bar. In another window (the
// preferences) the edit keys are always that window's own: the commands act on this one's input.
BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        UINT id = EditCommandOfKey((UINT)msg->wParam);
        bool ours = msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd);
        if (id && (!ours || !IsCommandEnabled(id)))
            return FALSE;
    }
    return TAttachWindow::PreTranslateMessage(msg);
}

void CMainFrame::OnEditCopy()
{
    TLogView* view = nullptr;
    switch (GetEditFocus(view)) {
    case EditFocusLog:
        view->CopySelection();
        view->ClearSelection();
        break;
    case EditFocusInput:
    case EditFocusSearch:
        ::SendMessageW(::GetFocus(), WM_COPY, 0, 0);
        break;
    default:
        break;
    }
}

void CMainFrame::OnEditSelectAll()
{
    TLogView* view = nullptr;
    switch (GetEditFocus(view)) {
    case EditFocusLog:
        view->SelectAll();
        break;
    case EditFocusInput:
        ::SendMessageW(::GetFocus(), EM_SETSEL, 0, 0x7FFFFFFF);
        ::SendMessageW(::GetFocus(), EM_SCROLLCARET, 0, 0);
        break;
    default:
        break;
    }
}

void CMainFrame::SendToCutTarget(UINT message)
{
    if (HWND target = GetCutTarget())
        ::SendMessageW(target, message, 0, 0);
}

void CMainFrame::OnEditCut() { SendToCutTarget(WM_CUT); }
void CMainFrame::OnEditClear() { SendToCutTarget(WM_CLEAR); }
void CMainFrame::OnEditUndo() { SendToCutTarget(EM_UNDO); }

// Text goes to the input line wherever the focus was; text with a line break for a joined
// channel, a single line with a trailing break too, is shown first, for the user to check before
// it is sent.
void CMainFrame::OnEditPaste()
{
    CString text = GetClipboardText();
    TChatPanel* chat = contentPanel.GetChatPanel();
    if (text.IsEmpty() || !chat)
        return;
    TLogView* view = nullptr;
    TEditFocus focus = GetEditFocus(view);
    if (focus == EditFocusSearch) {
        ::SendMessageW(::GetFocus(), WM_PASTE, 0, 0);
        return;
    }
    HWND input = chat->input.m_hWnd;
    if (focus != EditFocusInput) {
        ::SetFocus(input);
        PutCaretAtEnd(input);
    }
    // Any line break, a trailing one too, is shown before anything goes to the channel.
    if (text.Find(L"\r\n") >= 0) {
        auto [unit, channel] = GetSelectedNode();
        bool dccChat = channel && channel->GetKind() == TIRCChannel::KindDccChat;
        if (unit && channel && channel->IsJoined() && (dccChat || unit->GetState() == TIRCUnit::StateLoggedIn)) {
            ConfirmAndSendLines(unit, channel, text, true);
            return;
        }
    }
    ::SendMessageW(input, WM_PASTE, 0, 0);
}

void CMainFrame::OnPasteMyAddress()
{
    auto [unit, channel] = GetSelectedNode();
    TChatPanel* chat = contentPanel.GetChatPanel();
    if (!unit || !chat || unit->GetMyAddress().ToString() == L"255.255.255.255")
        return;
    CString address = unit->GetMyAddress().ToString();
    ::SendMessageW(chat->input.m_hWnd, EM_REPLACESEL, FALSE, (LPARAM)address.GetString());
    ::SetFocus(chat->input.m_hWnd);
}

// Markup goes in at the input line's caret over its selection; sending turns it into codes.
void CMainFrame::InsertMarkup(const CString& markup)
{
    TChatPanel* chat = contentPanel.GetChatPanel();
    if (chat)
        ::SendMessageW(chat->input.m_hWnd, EM_REPLACESEL, FALSE, (LPARAM)markup.GetString());
}

void CMainFrame::OnBoldEffect() { InsertMarkup(GetBoldMarkup()); }
void CMainFrame::OnUnderlineEffect() { InsertMarkup(GetUnderlineMarkup()); }
void CMainFrame::OnReverseEffect() { InsertMarkup(GetReverseMarkup()); }
void CMainFrame::OnStopEffect() { InsertMarkup(GetStopMarkup()); }

// The URL, address or nick the focused log view stored when its popup opened.
CString CMainFrame::GetFocusedContextText()
{
    HWND focus = ::GetFocus();
    TLogView* node = GetSelectedLogView();
    TLogView* console = contentPanel.GetConsoleLog();
    if (focus && node && focus == node->m_hWnd)
        return node->GetContextMenuText();
    if (focus && console && focus == console->m_hWnd)
        return console->GetContextMenuText();
    return CString();
}

void CMainFrame::OnCopyUrl()
{
    CString text = GetFocusedContextText();
    if (!text.IsEmpty())
        CopyTextToClipboard(text);
}

void CMainFrame::OnCopyAddress() { OnCopyUrl(); }

void CMainFrame::OnOpenUrl()
{
    if (world)
        world->OpenUrl(GetFocusedContextText(), false);
}

void CMainFrame::OnOpenUrlInNewWindow()
{
    if (world)
        world->OpenUrl(GetFocusedContextText(), true);
}
