#include "dialogs/NickDialog.h"

#include "classlib/CmdUI.h"
#include "controls/KeyState.h"
#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"
#include "res/strings/dialogs.h"

#include <imm.h>

TNickDialog::TNickDialog() : TUpdateDialog(IDD_NICK_DIALOG) {}

BOOL TNickDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    list.SubclassDlgItem(IDC_NICK_LIST, m_hWnd);
    edit.SubclassDlgItem(IDC_NICK_NEW, m_hWnd);
    list.listener = this;
    edit.listener = this;
    SetEditText(::GetDlgItem(m_hWnd, IDC_NICK_CURRENT), nick, kTextLimit);
    Exchange(TDialogExchange::Direction::Load);
    list.ResetContent();
    for (const CString& entry : nickList) {
        if (entry.IsEmpty())
            continue;
        InsertItem(list.GetCount(), entry.Mid(1), entry[0] == L'+');
    }
    list.UpdateHorizontalExtent();
    FocusEditAll();
    // Nicks are typed in ASCII: a Japanese input method left on would only get in the way.
    if (HIMC context = ::ImmGetContext(m_hWnd)) {
        imeWasOpen = ::ImmGetOpenStatus(context) != FALSE;
        if (imeWasOpen)
            ::ImmSetOpenStatus(context, FALSE);
        ::ImmReleaseContext(m_hWnd, context);
    }
    SetWindowText(LoadResourceString(IDS_NICK_DIALOG_TITLE) + serverName);
    // The focus was placed here.
    return FALSE;
}

int TNickDialog::FindNick(const CString& text) const { return list.FindItem(text, IRCCompareNoCase); }

bool TNickDialog::IsAwayChecked() const { return ::IsDlgButtonChecked(m_hWnd, IDC_NICK_AWAY) == BST_CHECKED; }

void TNickDialog::InsertItem(int index, const CString& text, bool check)
{
    int at = (int)list.SendMessage(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text.GetString());
    if (at >= 0)
        list.SetCheck(at, check);
}

bool TNickDialog::CanAdd() const
{
    CString text = GetEditText();
    return !text.IsEmpty() && FindNick(text) < 0;
}

bool TNickDialog::CanOverwrite() const
{
    CString text = GetEditText();
    int selected = list.GetCurSel();
    if (text.IsEmpty() || selected < 0)
        return false;
    return !(FindNick(text) >= 0 && IsAwayChecked() == list.GetCheck(selected));
}

bool TNickDialog::CanMoveUp() const { return list.GetCount() >= 2 && list.GetCurSel() > 0; }

bool TNickDialog::CanMoveDown() const
{
    int selected = list.GetCurSel();
    return list.GetCount() >= 2 && selected >= 0 && selected < list.GetCount() - 1;
}

void TNickDialog::OnUpdateAdd(CCmdUI* ui) { ui->Enable(CanAdd()); }
void TNickDialog::OnUpdateOverwrite(CCmdUI* ui) { ui->Enable(CanOverwrite()); }
void TNickDialog::OnUpdateDelete(CCmdUI* ui) { ui->Enable(list.GetCurSel() >= 0); }
void TNickDialog::OnUpdateUp(CCmdUI* ui) { ui->Enable(CanMoveUp()); }
void TNickDialog::OnUpdateDown(CCmdUI* ui) { ui->Enable(CanMoveDown()); }

void TNickDialog::OnAdd()
{
    if (!CanAdd())
        return;
    InsertItem(list.GetCount(), GetEditText(), IsAwayChecked());
    list.SetCurSel(list.GetCount() - 1);
    list.UpdateHorizontalExtent();
}

void TNickDialog::OnOverwrite()
{
    if (!CanOverwrite())
        return;
    int selected = list.GetCurSel();
    list.DeleteString(selected);
    InsertItem(selected, GetEditText(), IsAwayChecked());
    list.SetCurSel(selected);
    list.UpdateHorizontalExtent();
}

void TNickDialog::DeleteSelected()
{
    int selected = list.GetCurSel();
    if (selected < 0)
        return;
    list.DeleteString(selected);
    list.SelectNear(selected);
    OnSelChange(&list);
}

void TNickDialog::OnDelete() { DeleteSelected(); }

// The item at index and the one below change places, each with its check.
void TNickDialog::SwapWithNext(int index)
{
    CString text = list.GetText(index);
    bool check = list.GetCheck(index);
    list.DeleteString(index);
    InsertItem(index + 1, text, check);
}

void TNickDialog::OnUp()
{
    if (!CanMoveUp())
        return;
    int selected = list.GetCurSel();
    SwapWithNext(selected - 1);
    list.SetCurSel(selected - 1);
}

void TNickDialog::OnDown()
{
    if (!CanMoveDown())
        return;
    int selected = list.GetCurSel();
    SwapWithNext(selected);
    list.SetCurSel(selected + 1);
}

void TNickDialog::FillFromSelection()
{
    int selected = list.GetCurSel();
    if (selected < 0)
        return;
    edit.SetWindowText(list.GetText(selected));
    ::CheckDlgButton(m_hWnd, IDC_NICK_AWAY, list.GetCheck(selected) ? BST_CHECKED : BST_UNCHECKED);
}

void TNickDialog::OnSelChange(TListBox*)
{
    // The list box may tell of a box's click more than once; none of it is a pick. Space sends no
    // notice at all, so the next pick after it fills the edit.
    if (!list.IsInBoxClick())
        FillFromSelection();
}

void TNickDialog::OnDoubleClick(TListBox*, UINT, int, int)
{
    if (list.GetCurSel() >= 0)
        OnOK();
}

void TNickDialog::FocusEditAll()
{
    edit.SetFocus();
    edit.SetSel(0, -1);
}

bool TNickDialog::OnKeyDown(TEdit*, UINT key)
{
    if (IsAnyModifierDown())
        return false;
    if (key == VK_DOWN || key == VK_NEXT) {
        if (list.GetCount() > 0) {
            list.SetCurSel(0);
            list.SendMessage(LB_SETCARETINDEX, 0);
            list.SetFocus();
            OnSelChange(&list);
        }
        return true;
    }
    return key == VK_UP || key == VK_PRIOR;
}

bool TNickDialog::OnEnter(TEdit*, UINT)
{
    OnOK();
    return true;
}

bool TNickDialog::OnKeyDown(TListBox*, UINT key)
{
    if (IsNeverReportedKey(key))
        return false;
    if (key == VK_RETURN) {
        OnOK();
        return true;
    }
    if (IsAnyModifierDown())
        return false;
    if (key == VK_BACK || key == VK_DELETE) {
        DeleteSelected();
        if (list.GetCount() == 0)
            FocusEditAll();
        return true;
    }
    if ((key == VK_UP || key == VK_PRIOR) && list.GetCurSel() <= 0) {
        list.SetCurSel(-1);
        FocusEditAll();
        return true;
    }
    return false;
}

void TNickDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.Edit(IDC_NICK_NEW, nick, nickLength);
    io.Check(IDC_NICK_AWAY, away);
}

void TNickDialog::StoreResults()
{
    Exchange(TDialogExchange::Direction::Store);
    nickList.clear();
    int count = list.GetCount();
    for (int i = 0; i < count; i++)
        nickList.push_back((list.GetCheck(i) ? L"+" : L"-") + list.GetText(i));
    if (!imeWasOpen)
        return;
    if (HIMC context = ::ImmGetContext(m_hWnd)) {
        if (!::ImmGetOpenStatus(context))
            ::ImmSetOpenStatus(context, TRUE);
        ::ImmReleaseContext(m_hWnd, context);
    }
}

void TNickDialog::OnOK()
{
    StoreResults();
    TUpdateDialog::OnOK();
}

void TNickDialog::OnCancel()
{
    StoreResults();
    TUpdateDialog::OnCancel();
}
